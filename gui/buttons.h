// Buttons beyond the system push button: a push button that carries a glyph
// bitmap laid out beside its caption, and windowless tool buttons drawn
// through their parent, which may latch down as one of a group.
#pragma once
#include "gui/bitmap.h"
#include "gui/stdctrls.h"

namespace gui {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TBitBtn : public TButton {
  GUI_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* owner) : TButton(owner) {}

  // The glyph: NumGlyphs images side by side (normal, disabled, pressed, down).
  TBitmap Glyph;
  int NumGlyphs = 1;
  TButtonLayout Layout = TButtonLayout::blGlyphLeft;
  // Distance of the glyph from the edge, and between glyph and caption;
  // -1 means automatic.
  int Margin = -1;
  int Spacing = 4;

  static void DeclareProperties(std::vector<TPropInfo>& list);
};

// A control without a window of its own: its parent hands it mouse messages
// in its coordinates and a device context moved to its origin on WM_PAINT.
class TGraphicControl : public TControl {
  GUI_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
  void WndProc(TMessage& message) override;

 protected:
  virtual void Paint(HDC dc) { (void)dc; }
};

class TSpeedButton : public TGraphicControl {
  GUI_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* owner);

  // Buttons of one non-zero group in one parent latch down one at a time.
  int GroupIndex = 0;
  bool AllowAllUp = false;
  bool Down() const { return down_; }
  void SetDown(bool down);
  bool Pressed() const { return pressed_; }

  void WndProc(TMessage& message) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void Paint(HDC dc) override;

 private:
  bool down_ = false;
  bool pressed_ = false;
};

}  // namespace gui
