// Scroll-bar skinners. TSkinScrollbar paints over the window scroll bars of a
// scrolling control (memos, list boxes, list views, grids) from the skin's
// arrow strip, tracks and thumbs each time the control has painted and
// whenever a bar has changed behind its back, keeps the system from
// hot-tracking the bars and, when asked to, drags the thumb
// itself so that the thumb follows the skin's geometry; arrow and page
// clicks stay with the system. TSkinScControl paints a stand-alone
// scroll-bar control whole, as one skinned bar.
#pragma once
#include <functional>
#include <memory>

#include "skin/controls/scrollbar_layout.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/system_theme.h"

namespace skin {

class TSkinContent;

// What one bar is drawn with.
struct TBarLook {
  bool Vertical = false;
  TThumbMetrics Metrics;  // Arrow is SM_CXHSCROLL; arrows are shorter only on a bar too short for two
  TScrollPart Pressed = spNone;
  UINT Disabled = ESB_ENABLE_BOTH;  // ESB_DISABLE_LTUP, ESB_DISABLE_RTDN: the arrows drawn disabled
  // The part under the mouse, as HitTestBar names it (kNoScrollHit: none):
  // that arrow's hot frame; anywhere on the bar, the thumb's frame 3 and the
  // track's frame 4.
  int Hot = kNoScrollHit;
  // Whose bar it is, for fading its parts between looks (none: at once),
  // and what repaints the bar at each step.
  const void* Owner = nullptr;
  std::function<void()> Repaint;
};

// Draws one bar onto `bar` of `dc`: composed in `work` as long as the bar
// and 16 skin pixels thick (Scrollbar colour, track, two arrows of the
// 23-frame strip in their pressed, hot or disabled look, the thumb when it fits
// the track and the bar is not disabled), then stretched onto the bar in
// one copy. Draws nothing without the skin's arrow strip.
void DrawSkinBar(HDC dc, const RECT& bar, const TBarLook& look, TSkinContent& skin, gui::TBitmap& work);

// True when the skin has the arrow strip scroll bars are drawn from.
bool HasScrollbarSkin(const TSkinContent& skin);

// Which arrows of a bar (OBJID_HSCROLL, OBJID_VSCROLL or, for a scroll-bar
// control, OBJID_CLIENT) are disabled, as ESB_ flags: those the system
// reports, and both when the window is disabled or `scrollable` is false.
UINT DisabledArrows(HWND wnd, LONG object, bool scrollable);

// The bar part under the mouse, which its bar shows hot (an arrow's hot
// frame, the thumb's frame 3, the track's frame 4, fading as the skin's
// ScrollBar timings say). Each bar skinner keeps one; the first part the
// mouse comes over asks the system to say when the mouse leaves.
class TBarHover {
 public:
  // `leave`: TME_LEAVE for a control's client, with TME_NONCLIENT for a
  // window's own bars.
  explicit TBarHover(DWORD leave) : leave_(leave) {}
  // The mouse is over `part` (HitTestBar's code, kNoScrollHit: off the
  // bars) of one bar of `wnd`. True when what the bars show changes.
  bool Move(HWND wnd, bool vertical, int part);
  // The hot part of one bar (kNoScrollHit: none).
  int On(bool vertical) const { return vertical == vertical_ ? part_ : kNoScrollHit; }

 private:
  DWORD leave_;
  int part_ = kNoScrollHit;
  bool vertical_ = false;
};

// How far along `bar` (in the window DC's coordinates of `wnd`, as the
// window rectangle `placed` has it on the screen) a screen point lies: a
// mirrored window's bars are counted from its right edge.
int AlongWindowBar(HWND wnd, const RECT& placed, const RECT& bar, bool vertical, POINT screen);

// What a window's bar shows: whether it is there, its range and position,
// and which of its arrows are disabled.
struct TBarShown {
  bool Present = false;
  TScrollRange Range;
  UINT Disabled = ESB_ENABLE_BOTH;
  bool operator==(const TBarShown&) const = default;
};

class TSkinScrollbar : public TSkinControl {
  GUI_CLASS(TSkinScrollbar, TSkinControl)
 public:
  explicit TSkinScrollbar(gui::TComponent* owner);
  ~TSkinScrollbar() override;

  // A scrolling framework control: in front of its window method, never
  // recoloured. A window: subclassed. Either way its bars are painted, and
  // with OwnThumbTracking a press on a thumb is dragged by the skinner,
  // otherwise by the system.
  bool Attach(const TSkinnerAttach& how) override;
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  // Painted on the window (no DC), the bars' state is what the screen shows.
  void PaintSkin(HDC dc) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  // The frame is repainted too: a skin without bar pictures leaves them to
  // the system.
  void SkinChanged() override;

  // Reads the styles, lays the bars out for a window of `windowRect` (at the
  // origin) and, unless a drag runs, measures the thumbs.
  void MeasureBars(const RECT& windowRect);

  // The arrows' disabled state, which only a program's EnableScrollBar
  // changes by itself, is asked for again after a message at most this
  // often (it costs a round trip to the system).
  static constexpr DWORD kArrowsRecheckMs = 100;

  // What the skinner knows of one of the window's bars.
  struct TBarState {
    RECT Rect{};  // in the window DC's coordinates
    SCROLLINFO Info{};
    TThumbMetrics Metrics;
    // The disabled arrows (ESB_ flags) when the bar was measured; a bar with
    // both disabled has no thumb.
    UINT Disabled = ESB_ENABLE_BOTH;
    // The control's own procedure is handling a scroll notification of this
    // bar (and redrawing it): the skin leaves the bar alone meanwhile.
    bool InScroll = false;
  };
  const TBarState& Horz() const { return horz_; }
  const TBarState& Vert() const { return vert_; }
  // The square between two bars.
  const RECT& CornerRect() const { return cornerRect_; }
  // The bar part the last scroll notification or thumb press named.
  TScrollPart PressedPart() const { return pressedPart_; }
  // The skin's own thumb drag is running.
  bool Tracking() const { return tracking_; }
  // A press on a thumb is dragged by the skinner (OwnThumbTracking).
  bool TracksThumb() const { return trackThumb_; }

 protected:
  void FollowNewWindow() override;

 private:
  void ResetBars(bool ownThumbTracking);
  void PaintBar(HDC dc, bool vertical);
  void MeasureThumb(bool vertical, int barLength);
  void ScrollNotification(gui::TMessage& message, bool vertical);
  // The bar as the system has it now; the arrows' disabled state is taken
  // from `known` where nothing else about the bar says it may have changed.
  TBarShown SystemBar(bool vertical, const TBarShown* known = nullptr) const;
  // The control or a program changed a bar behind the skin's back (the
  // system then draws its own): the skin paints it again.
  void RepaintChangedBars();
  // The skin paints the whole non-client area (edge and bars) itself.
  bool PaintsWholeFrame() const;
  // A press on a thumb starts the skin's own drag; true when it did.
  bool PressOnThumb(const gui::TMessage& message);
  void DragThumb(bool vertical, POINT start);
  // The bar part under a non-client point (a WM_NCMOUSEMOVE's screen
  // point): which bar, and its HitTestBar code (kNoScrollHit: none).
  int PartAt(bool vertical, POINT screen);
  // Moves the hot look to the part under the mouse (or off the bars).
  void SetHotPart(bool vertical, int part);

  TBarState& Bar(bool vertical) { return vertical ? vert_ : horz_; }

  TBarState horz_, vert_;
  RECT cornerRect_{};
  TScrollPart pressedPart_ = spNone;
  DWORD barStyle_ = 0, barExStyle_ = 0;
  bool tracking_ = false;
  bool trackThumb_ = false;
  // The attach invalidated the whole window: until its paint, the bars on
  // the screen are the system's and that paint draws them all, so no
  // message repaints them before it.
  bool firstPaintDue_ = false;
  // The bars the last DrawSkin painted, and those the window shows (the
  // last paint onto the window itself).
  TBarShown paintedHorz_, paintedVert_, shownHorz_, shownVert_;
  // When the arrows' disabled state was last asked for (GetTickCount).
  DWORD arrowsReadAt_ = 0;
  TBarHover hover_{TME_LEAVE | TME_NONCLIENT};

  // Cleared when the skinner is freed: a drag loop that dispatched the
  // message that freed it must not touch it afterwards.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class TSkinScControl : public TSkinControl {
  GUI_CLASS(TSkinScControl, TSkinControl)
 public:
  explicit TSkinScControl(gui::TComponent* owner) : TSkinControl(owner) {}
  bool Attach(const TSkinnerAttach& how) override;
  void SkinChanged() override;
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  TScrollPart PressedPart = spNone;
  int TrackLength = 0, ThumbLength = 0, ThumbOffset = 0;

 protected:
  void FollowNewWindow() override;

 private:
  // The system's style off a framework bar the skin paints whole.
  void FollowSkin();
  bool Vertical() const;
  // The control's minimum, maximum, page size and position: the framework
  // control's properties, or the system's for a bare scroll-bar window.
  TScrollRange ReadRange() const;
  // The bar's measures for a control of `rect`, kept for the hit tests.
  TThumbMetrics Measure(const RECT& rect);

  TSystemThemeOff systemTheme_;
  TBarHover hover_{TME_LEAVE};
};

}  // namespace skin
