// Skinners of the controls that show or choose a value in a range: the
// track bar (its thumb drawn through the control's own custom drawing, the
// channel and tick marks left to the control), the up-down buttons (also the
// scroll arrows of tabs and the spin buttons inside edits) and the progress
// bar (trough and fill over the control's own painting).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "skin/controls/skin_control.h"

namespace skin {

class TDataSkinObject;

class TSkinTrackBar : public TSkinControl {
  GUI_CLASS(TSkinTrackBar, TSkinControl)
 public:
  // The frame of the thumb strip the thumb is always drawn with.
  static constexpr int kThumbFrame = 2;

  explicit TSkinTrackBar(gui::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeMessage(gui::TMessage& message) override;
  // A track bar of a dialog box asks its parent, not itself, how to draw.
  bool ParentNotify(const NMHDR& header, LRESULT& result) override;
  // The answer to one custom-draw notification of the track bar: the
  // thumb and the channel are drawn here, the tick marks by the control.
  LRESULT CustomDraw(const NMCUSTOMDRAW& draw);

 private:
  void DrawThumb(HDC dc);
  void DrawChannel(HDC dc, const RECT& channel);
};

// Up-down buttons: the first (up or left) and the second (down or right)
// button, each in one of the looks 1 normal, 2 pressed, 3 disabled, 4 hot;
// the skin's strip holds the first button's looks in frames 1-4 and the
// second's in frames 5-8.
class TSkinUpDown : public TSkinControl {
  GUI_CLASS(TSkinUpDown, TSkinControl)
 public:
  enum TArrowLook { alNormal = 1, alPressed = 2, alDisabled = 3, alHot = 4 };
  static constexpr int kSecondButtonFrames = 4;

  explicit TSkinUpDown(gui::TComponent* owner) : TSkinControl(owner) {}

  // Skins an arrows window found inside another skinned control (the spin
  // buttons of an edit box, the scroll arrows of tabs), attached as `how`
  // says (the finder's InnerAttach): owned as the finder is, and the finder
  // is told when the new skinner goes away.
  static TSkinUpDown* SkinArrowsFor(TSkinControl& finder, const TSkinnerAttach& how);

  bool BeforeMessage(gui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The buttons are drawn one pixel inside the client area (spin buttons
  // inside an edit box).
  bool Inset = false;
  // Drawn as a left/right pair whatever the window's style (a tab set's
  // scroller).
  bool ForceHorizontal = false;

  // The frames the last drawing used for the first and second button.
  int LastFirstFrame() const { return lastFrames_[0]; }
  int LastSecondFrame() const { return lastFrames_[1]; }

 private:
  void DrawFlatButton(HDC dc, const RECT& r, int look, char arrow);

  int lastFrames_[2] = {0, 0};
};

class TSkinProgress : public TSkinControl {
  GUI_CLASS(TSkinProgress, TSkinControl)
 public:
  // The element's Style that asks for separate chunks.
  static constexpr int kChunkStyle = 1;
  enum TProgressFrame { pfTrough = 1, pfFill = 2 };

  // A marquee bar's block: a quarter of the bar, moved this many design
  // pixels each time the control's animation timer ticks.
  static constexpr int kMarqueeShare = 4;
  static constexpr int kMarqueeStep = 4;

  explicit TSkinProgress(gui::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeMessage(gui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // How much of the bar (width, or height when vertical) the position
  // fills: the position's share of the range, 0 for an empty range.
  static int FillExtent(int position, int low, int high, int extent);
  // The filled part along the bar, from its start (left, or bottom).
  struct TBlock {
    int Start = 0, Length = 0;
  };
  // Where a marquee bar's block is after that many timer ticks: it enters
  // at the start, leaves past the end, and comes round again.
  static TBlock MarqueeBlock(int steps, int extent);

 private:
  void DrawChunks(gui::TBitmap& target, const RECT& inner, const TBlock& block, bool vertical);

  int marqueeSteps_ = 0;
};

}  // namespace skin
