// Push-button skinners: ordinary push buttons, buttons with a glyph and
// windowless tool buttons, drawn entirely from the skin's button strip
// (frames: 1 normal, 2 pressed, 3 disabled, 4 hot or focused) with the hot
// and pressed looks tracked here. A skinned push button never sees its own
// left-button-down, so the skinner makes the click on release.
#pragma once
#include <windows.h>

#include <string>

#include "gui/bitmap.h"
#include "gui/buttons.h"
#include "skin/controls/skin_control.h"

namespace skin {

class TDataSkinButton;

// Frame numbers of the button strip.
enum TButtonLook { blNormal = 1, blPressed = 2, blDisabled = 3, blHot = 4 };

// The caption routine the button and status-bar skinners share: measured,
// one pixel above the vertical centre, centred horizontally for DT_CENTER,
// otherwise spanning the rectangle with the given alignment.
void DrawCaption(HDC dc, const std::wstring& text, const RECT& rect, UINT format);

class TSkinButton : public TSkinControl {
  GUI_CLASS(TSkinButton, TSkinControl)
 public:
  explicit TSkinButton(gui::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The look the last paint used (a TButtonLook).
  int LastLook() const { return lastLook_; }

 protected:
  // Whether the skin can draw buttons at all.
  TDataSkinButton* ButtonElement() const;
  void RefreshState();
  void Click();
  // Text colour of a look, as the skin gives it (ButtonText when absent).
  COLORREF LookTextColour(int look, bool onlyGiven, COLORREF fallback) const;
  // Face and frame of a look into `target` (client-size composition).
  void DrawFace(gui::TBitmap& target, int look, int frameCount);

  int lastLook_ = 0;
};

class TSkinBitButton : public TSkinButton {
  GUI_CLASS(TSkinBitButton, TSkinButton)
 public:
  explicit TSkinBitButton(gui::TComponent* owner) : TSkinButton(owner) {}
  void DrawSkin(HDC dc, const RECT& rect) override;
  // The glyph image the last paint showed (1-based), 0 without a glyph.
  int LastGlyphImage() const { return lastGlyph_; }

 protected:
  // Glyph and caption laid out over a composed face (client size w x h);
  // nudgeCentred: the tool buttons' centring when only the spacing is given.
  void DrawGlyphAndText(HDC dc, gui::TButtonGlyph& glyph, int w, int h, int look, bool nudgeCentred);

  int lastGlyph_ = 0;
};

// Windowless tool buttons: hooked through the control's window method and
// painted through the device context the parent hands it.
class TSkinSpeedButton : public TSkinBitButton {
  GUI_CLASS(TSkinSpeedButton, TSkinBitButton)
 public:
  explicit TSkinSpeedButton(gui::TComponent* owner) : TSkinBitButton(owner) {}

  // Takes the windowless control it is given through its window method.
  bool Attach(const TSkinnerAttach& how) override;
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void PaintSkin(HDC dc) override;

 private:
  void DrawSpeedButton(HDC dc);
};

}  // namespace skin
