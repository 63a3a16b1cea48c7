// Check-box and radio-button skinners: the control paints itself (caption,
// focus rectangle, background), its caption on the skin's face in the skin's
// text colour; after every paint the skinner covers the
// glyph column with the button face and draws the skin's glyph frame for the
// current state (1 unchecked, 2 checked, 3 unchecked disabled, 4 checked
// disabled or grayed). A disabled caption's relief, which the system draws
// in its own colours, is recoloured from the skin's.
#pragma once
#include "skin/controls/skin_control.h"

namespace skin {

class TSkinCheckBox : public TSkinControl {
  GUI_CLASS(TSkinCheckBox, TSkinControl)
 public:
  explicit TSkinCheckBox(gui::TComponent* owner) : TSkinControl(owner) {}
  // Stays hooked to the control until it is freed with it.
  bool BeforeMessage(gui::TMessage&) override { return true; }
  void AfterMessage(gui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  // The frame the last paint drew (0: none).
  int LastFrame() const { return lastFrame_; }

 protected:
  virtual int StateFrame();
  void AnswerCaptionColours(HDC dc, LRESULT& brush);
  void DrawGlyph(HDC dc, const RECT& rect, gui::TBitmap& strip, int frameCount, core::AnimatedKind kind);
  void RecolourDisabledCaption(HDC dc, const RECT& caption);
  int lastFrame_ = 0;
};

class TSkinRadioButton : public TSkinCheckBox {
  GUI_CLASS(TSkinRadioButton, TSkinCheckBox)
 public:
  explicit TSkinRadioButton(gui::TComponent* owner) : TSkinCheckBox(owner) {}
  bool BeforeMessage(gui::TMessage& message) override { return TSkinControl::BeforeMessage(message); }
  void DrawSkin(HDC dc, const RECT& rect) override;

 protected:
  int StateFrame() override;
};

}  // namespace skin
