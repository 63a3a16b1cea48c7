// Container-like controls: group boxes get a thin rounded frame and their
// caption on the button face; panels are only recoloured; status bars are
// drawn whole, panels, texts and size grip, from the skin (an owner-drawn
// part by its program, inside the skin's panel). Also the skin's
// size grip, which dialog boxes' grips share.
#pragma once
#include "skin/controls/skin_control.h"

namespace skin {

class TSkinContent;

// True when the skin has a size-grip picture (frame 5 of ExtraImages).
bool HasSizeGripSkin(const TSkinContent& skin);
// Draws the skin's size grip at its own size, transparent, with its
// bottom-right corner at `corner` (exclusive); nothing without the picture.
void DrawSizeGrip(HDC dc, POINT corner, TSkinContent& skin);

class TSkinGroupBox : public TSkinControl {
  GUI_CLASS(TSkinGroupBox, TSkinControl)
 public:
  explicit TSkinGroupBox(gui::TComponent* owner) : TSkinControl(owner) {}
  void DrawSkin(HDC dc, const RECT& rect) override;
  // Top of the rounded frame the last paint drew.
  int LastFrameTop() const { return lastFrameTop_; }

 private:
  int lastFrameTop_ = -1;
};

// Recolours the control and nothing else: it never hooks the control, so
// it stays listed without counting as Attached() (ksCreated); its attach
// answers whether it was given a framework control to recolour.
class TSkinBox : public TSkinControl {
  GUI_CLASS(TSkinBox, TSkinControl)
 public:
  explicit TSkinBox(gui::TComponent* owner) : TSkinControl(owner) {}
  bool Attach(const TSkinnerAttach& how) override;
  void AfterMessage(gui::TMessage&) override {}
};

class TSkinStatusBar : public TSkinControl {
  GUI_CLASS(TSkinStatusBar, TSkinControl)
 public:
  explicit TSkinStatusBar(gui::TComponent* owner) : TSkinControl(owner) {}
  bool BeforeMessage(gui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  void DrawPanel(HDC dc, RECT panel, UINT format, int frame, std::wstring text);
  void DrawWindowParts(HDC dc, const RECT& r);
  void DrawOwnerPart(HDC dc, int part, RECT inside);
};

}  // namespace skin
