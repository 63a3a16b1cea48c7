// Tool bars (ToolbarWindow32): the bar drawn from the skin's Toolbars
// picture (frame 1; the button face without one), each button's look from
// the same strip (4 hot, 2 pressed, 5 checked, nothing at rest) and the
// captions in the skin's button text, through the custom drawing a tool bar
// asks of its parent, which the skinned parent hands on here. The buttons'
// images and the bar's layout stay the control's own.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "skin/controls/skin_control.h"

namespace skin {

class TSkinToolBar : public TSkinControl {
  GUI_CLASS(TSkinToolBar, TSkinControl)
 public:
  // The frames of the Toolbars strip.
  enum TToolbarFrame { tfBar = 1, tfPressed = 2, tfPlain = 3, tfHot = 4, tfDown = 5 };
  static constexpr int kFrames = 5;

  explicit TSkinToolBar(gui::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  bool ParentNotify(const NMHDR& header, LRESULT& result) override;
  // The answer to one of the tool bar's custom-draw notifications.
  LRESULT CustomDraw(NMTBCUSTOMDRAW& draw);
  // The frame of the strip a button in the custom-draw state shows; 0 for
  // none (a button at rest shows the bar).
  static int FrameFor(UINT itemState);

 private:
  void DrawBar(HDC dc, const RECT& client);
  void DrawSeparators(HDC dc);
  COLORREF DownColour() const;
};

}  // namespace skin
