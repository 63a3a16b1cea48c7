#include "skin/controls/skin_scrollbar.h"

#include <windowsx.h>

#include "gui/handles.h"
#include "gui/messages.h"
#include "gui/ranges.h"
#include "skin/controls/skin_edits.h"
#include "skin/data/element_draw.h"
#include "skin/data/look_transitions.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_mirror.h"

namespace skin {

namespace {

// The arrow strip: left, right, up and down arrows, four looks each.
constexpr int kArrowFrames = 23;
enum TArrowFrame : int { afLeft = 1, afRight = 5, afUp = 9, afDown = 13 };
enum TArrowLook : int { alNormal = 0, alPressed = 1, alHot = 2, alDisabled = 3 };
constexpr int kTrackFrames = 4;
constexpr int kTrackHot = 4;
enum TThumbFrame : int { tfNormal = 1, tfDragged = 2, tfHot = 3 };
// The thickness bars are composed at before they are stretched onto the bar.
constexpr int kWorkThickness = 16;
// Wider than any real bar: the rectangles of minimised windows.
constexpr int kLargestBar = 10000;
// SetWindowPos: recalculate the frame, change nothing else, and leave the
// parent's pending paint to its turn (the window it sits in may be about to
// get its own frame fitted and painted).
constexpr UINT kFrameChanged =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_DEFERERASE;

// The frame is recalculated without a redraw, which may drop a paint the
// control (and its children, a list view's header) still had pending:
// everything is painted again, bars included.
void RecalculateFrame(HWND wnd) {
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0, kFrameChanged);
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool Usable(const std::unique_ptr<TDataSkinObject>& element) { return element && !element->Image.Empty(); }

// The rectangle `from` .. `to` along a bar in a work bitmap `thickness` thick.
RECT Along(bool vertical, int from, int to, int thickness) {
  return vertical ? RECT{0, from, thickness, to} : RECT{from, 0, to, thickness};
}

// Sets a flag for as long as the control's own procedure handles a message.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& flag_;
};

// A frame of nothing but a sunken client edge and the bars: the skin draws
// all of it (the edge as its flat border), so the system need not draw its
// own bars first, which under Wine's themed drawing costs several
// milliseconds a bar.
bool SkinCoversFrame(HWND wnd) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_EXSTYLE));
  if (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) return false;
  return !(exStyle & (WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME));
}

}  // namespace

bool HasScrollbarSkin(const TSkinContent& skin) { return Usable(skin.Scrollbar); }

bool TBarHover::Move(HWND wnd, bool vertical, int part) {
  if (part == part_ && (part == kNoScrollHit || vertical == vertical_)) return false;
  if (part_ == kNoScrollHit && part != kNoScrollHit) {
    TRACKMOUSEEVENT leave{sizeof(leave), leave_, wnd, 0};
    TrackMouseEvent(&leave);
  }
  part_ = part;
  vertical_ = vertical;
  return true;
}

int AlongWindowBar(HWND wnd, const RECT& placed, const RECT& bar, bool vertical, POINT screen) {
  if (vertical) return screen.y - placed.top - bar.top;
  return (IsMirrored(wnd) ? placed.right - 1 - screen.x : screen.x - placed.left) - bar.left;
}

UINT DisabledArrows(HWND wnd, LONG object, bool scrollable) {
  if (!scrollable || !IsWindowEnabled(wnd)) return ESB_DISABLE_BOTH;
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  if (!GetScrollBarInfo(wnd, object, &info)) return ESB_ENABLE_BOTH;
  // Not the bar's own state: that calls a control whose page is everything
  // unavailable, which the system still draws with its whole-track thumb.
  UINT disabled = ESB_ENABLE_BOTH;
  if (info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) disabled |= ESB_DISABLE_LTUP;
  if (info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE) disabled |= ESB_DISABLE_RTDN;
  return disabled;
}

void DrawSkinBar(HDC dc, const RECT& bar, const TBarLook& look, TSkinContent& skin, gui::TBitmap& work) {
  if (!Usable(skin.Scrollbar)) return;
  const bool v = look.Vertical;
  const int length = v ? bar.bottom - bar.top : bar.right - bar.left;
  const int thickness = ScaleToScreen(kWorkThickness);
  if (length <= 0 || length > kLargestBar) return;
  if (v) {
    work.SetSize(thickness, length);
  } else {
    work.SetSize(length, thickness);
  }
  HDC wdc = work.DC();
  SetStretchBltMode(wdc, COLORONCOLOR);
  const RECT all{0, 0, work.Width(), work.Height()};
  gui::BrushHandle back(CreateSolidBrush(SkinColourToRGB(skin.Colours.Scrollbar)));
  FillRect(wdc, &all, back.get());

  const TThumbMetrics& m = look.Metrics;
  // Each part fades between its looks when the bar's owner asks.
  const auto draw = [&](const RECT& r, const TDataSkinObject& element, TElementState state, int part, TLookKind kind) {
    if (look.Owner)
      TLookTransitions::OfThread().Follow(state, TAnimatedPart{look.Owner, (v ? 8 : 0) + part}, kind,
                                          core::AnimatedKind::ScrollBar, skin.Animation, look.Repaint);
    DrawElement(wdc, r, element, state);
  };
  const std::unique_ptr<TDataSkinObject>& track = v ? skin.VertScroll : skin.HorzScroll;
  // The track and the thumb look hot while the pointer is anywhere over
  // their bar (and the track while its thumb is dragged), so that a bar
  // whose hot looks are wider widens as a whole; an arrow only under it.
  const bool dragged = look.Pressed == (v ? spVertThumb : spHorzThumb);
  const bool barHot = look.Hot != kNoScrollHit;
  const bool trackHot = barHot || dragged;
  if (Usable(track))
    draw(Along(v, m.Arrow, length - m.Arrow, thickness), *track,
         {.Frame = trackHot && FramesOf(*track, {.Frames = kTrackFrames}) >= kTrackHot ? kTrackHot : 1,
          .Frames = kTrackFrames},
         1, trackHot ? TLookKind::Hot : TLookKind::Normal);

  const int arrow = ArrowLength(length, m.Arrow);
  const auto arrowLook = [&](TScrollPart part, int hit, UINT disabledBit) {
    if (look.Disabled & disabledBit) return alDisabled;
    return look.Pressed == part ? alPressed : look.Hot == hit ? alHot : alNormal;
  };
  const int firstLook = arrowLook(v ? spUpArrow : spLeftArrow, SB_LINEUP, ESB_DISABLE_LTUP);
  const int secondLook = arrowLook(v ? spDownArrow : spRightArrow, SB_LINEDOWN, ESB_DISABLE_RTDN);
  const auto arrowState = [](int frame) {
    return TElementState{
        .Frame = frame, .Fit = TElementFit::Stretch, .Frames = kArrowFrames, .Keying = TElementKeying::Keyed};
  };
  const auto kindOf = [](int arrowLookNow) {
    return arrowLookNow == alPressed ? TLookKind::Pressed
           : arrowLookNow == alHot   ? TLookKind::Hot
           : arrowLookNow == alNormal ? TLookKind::Normal
                                      : TLookKind::Other;
  };
  draw(Along(v, 0, arrow, thickness), *skin.Scrollbar, arrowState((v ? afUp : afLeft) + firstLook), 2,
       kindOf(firstLook));
  draw(Along(v, length - arrow, length, thickness), *skin.Scrollbar, arrowState((v ? afDown : afRight) + secondLook),
       3, kindOf(secondLook));

  const std::unique_ptr<TDataSkinObject>& thumb = v ? skin.VertScrollThumb : skin.HorzScrollThumb;
  const bool disabled = (look.Disabled & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH;
  if (Usable(thumb) && !disabled && m.Thumb > 0 && m.Thumb <= m.Track) {
    const int from = m.Arrow + m.Offset;
    const bool hot = !dragged && barHot && FramesOf(*thumb) >= tfHot;
    draw(Along(v, from, from + m.Thumb, thickness), *thumb,
         {.Frame = dragged ? tfDragged : hot ? tfHot : tfNormal, .Tiling = TElementTiling::Stretched}, 4,
         dragged ? TLookKind::Pressed : hot ? TLookKind::Hot : TLookKind::Normal);
  }

  gui::SavedDcState saved(dc);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, wdc, 0, 0, work.Width(),
             work.Height(), SRCCOPY);
}

// ---------------------------------------------------------------------------
// TSkinScrollbar

TSkinScrollbar::TSkinScrollbar(gui::TComponent* owner) : TSkinControl(owner) { ResetBars(false); }

TSkinScrollbar::~TSkinScrollbar() {
  *alive_ = false;
  // The system draws its own bars again, once the skinner has let go.
  if (Handle && SkinnerState() == ksAttached && IsWindow(Handle) && !(Control && Control->IsDestroying()))
    RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
}

void TSkinScrollbar::ResetBars(bool ownThumbTracking) {
  tracking_ = false;
  for (const bool vertical : {false, true}) {
    TBarState& bar = Bar(vertical);
    bar.InScroll = false;
    bar.Info.cbSize = sizeof(SCROLLINFO);
    bar.Metrics.StyleBit = vertical ? WS_VSCROLL : WS_HSCROLL;
  }
  trackThumb_ = ownThumbTracking;
  shownHorz_ = shownVert_ = TBarShown{};
}

void TSkinScrollbar::FollowNewWindow() {
  TSkinControl::FollowNewWindow();
  ResetBars(trackThumb_);
}

bool TSkinScrollbar::Attach(const TSkinnerAttach& how) {
  if (Attached()) return true;
  if (how.Window) {
    if (!AttachToWindow(how)) return false;
    ResetBars(how.OwnThumbTracking);
  } else {
    auto* control = dynamic_cast<gui::TWinControl*>(how.Control);
    if (!control || !HookWindowMethod(control)) return RefuseAttach(how);
    BindToControl(control, how, false);
    ResetBars(how.OwnThumbTracking);
    Enabled = (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED) == 0;
    SetAttached(true);
    SetSkinnerState(ksAttached);
  }
  firstPaintDue_ = true;
  RecalculateFrame(Handle);
  return true;
}

bool TSkinScrollbar::BeforeMessage(gui::TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      CallDefault(m);
      return false;
    case WM_NCPAINT:
      // The skin paints the whole frame itself where it covers all of it;
      // otherwise the system paints first and the skin goes over its bars.
      if (PaintsWholeFrame()) {
        PaintSkin(nullptr);
        m.Result = 0;
        return false;
      }
      break;
    case WM_NCMOUSEMOVE:
      // The system does not hot-track bars the skin has painted over: the
      // skin shows the part under the mouse itself.
      if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
        if (HasSkin() && HasScrollbarSkin(SkinData->Skin()) && !tracking_) {
          const bool vertical = m.WParam == HTVSCROLL;
          SetHotPart(vertical, PartAt(vertical, POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}));
        }
        return false;
      }
      SetHotPart(false, kNoScrollHit);
      break;
    case WM_NCMOUSELEAVE:
      SetHotPart(false, kNoScrollHit);
      break;
    case WM_NCLBUTTONDOWN:
    // The system's own handling of a double click on a bar drags the thumb
    // its way.
    case WM_NCLBUTTONDBLCLK:
      if (trackThumb_ && PressOnThumb(m)) {
        m.Result = 0;
        return false;
      }
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      ScrollNotification(m, m.Msg == WM_VSCROLL);
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinScrollbar::AfterMessage(gui::TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_PRINT:
      Redraw();
      break;
    case WM_NCPAINT:
      // The system has just drawn its bars: the skin goes straight over
      // them. A repaint of the client from here would run inside the
      // BeginPaint that sent this message, which then erases what the nested
      // paint drew and paints nothing (a list view stays blank).
      PaintSkin(nullptr);
      break;
    case WM_PAINT:
      // Drawn again even when this paint's BeginPaint drew the frame: a
      // control may show or move its bars while it paints (a tree view
      // does), and the system draws them over the skin's.
      TSkinControl::AfterMessage(m);
      firstPaintDue_ = false;
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
  RepaintChangedBars();
}

bool TSkinScrollbar::PaintsWholeFrame() const {
  if (tracking_ || vert_.InScroll || horz_.InScroll || SkinnerState() != ksAttached) return false;
  if (!HasSkin() || !HasScrollbarSkin(SkinData->Skin()) || IsIconic(Handle)) return false;
  return SkinCoversFrame(Handle);
}

void TSkinScrollbar::PaintSkin(HDC dc) {
  paintedHorz_ = paintedVert_ = TBarShown{};
  TSkinControl::PaintSkin(dc);
  if (dc) return;
  firstPaintDue_ = false;
  shownHorz_ = paintedHorz_;
  shownVert_ = paintedVert_;
}

TBarShown TSkinScrollbar::SystemBar(bool vertical, const TBarShown* known) const {
  TBarShown bar;
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
  if (!(style & (vertical ? WS_VSCROLL : WS_HSCROLL))) return bar;
  bar.Present = true;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  if (GetScrollInfo(Handle, vertical ? SB_VERT : SB_HORZ, &info)) bar.Range = RangeOf(info);
  const bool scrollable = CanScroll(bar.Range);
  // Arrows that are known, on a bar whose range and enabled state leave
  // them as they were, are not asked for again.
  if (known && known->Present && known->Disabled != ESB_DISABLE_BOTH && scrollable && IsWindowEnabled(Handle)) {
    bar.Disabled = known->Disabled;
  } else {
    bar.Disabled = DisabledArrows(Handle, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, scrollable);
  }
  return bar;
}

void TSkinScrollbar::RepaintChangedBars() {
  // A drag or the control's own scrolling repaints the bar when it is done.
  if (firstPaintDue_ || tracking_ || vert_.InScroll || horz_.InScroll || SkinnerState() != ksAttached) return;
  if (!HasSkin() || !HasScrollbarSkin(SkinData->Skin()) || IsIconic(Handle)) return;
  // Presence, range, position and the window's enabled state are the
  // window's own data and cheap to read after every message. The arrows'
  // disabled state of a horizontal bar costs a round trip to the system
  // (it asks which window has the mouse): it is read again at most every
  // kArrowsRecheckMs, so a program's EnableScrollBar, the one change that
  // leaves everything else as it was, shows after the next message that
  // comes that long after the last reading.
  const DWORD now = GetTickCount();
  const bool readArrows = now - arrowsReadAt_ >= kArrowsRecheckMs;
  if (readArrows) arrowsReadAt_ = now;
  const TBarShown horz = SystemBar(false, readArrows ? nullptr : &shownHorz_);
  if (horz != shownHorz_ || SystemBar(true, readArrows ? nullptr : &shownVert_) != shownVert_) PaintSkin(nullptr);
}

void TSkinScrollbar::SkinChanged() {
  TSkinControl::SkinChanged();
  shownHorz_ = shownVert_ = TBarShown{};
  if (Handle) RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
}

void TSkinScrollbar::ScrollNotification(gui::TMessage& m, bool vertical) {
  pressedPart_ = PressedPartFor(LOWORD(m.WParam), vertical);
  {
    TFlagScope scrolling(Bar(vertical).InScroll);
    CallDefault(m);
  }
  PaintSkin(nullptr);
}

void TSkinScrollbar::MeasureBars(const RECT& windowRect) {
  barStyle_ = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
  barExStyle_ = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_EXSTYLE));
  // The control's own procedure may hide a bar while it scrolls it; it is
  // back once the notification is handled.
  if (vert_.InScroll) barStyle_ |= WS_VSCROLL;
  if (horz_.InScroll) barStyle_ |= WS_HSCROLL;
  RECT client{};
  GetClientRect(Handle, &client);
  TScrollBarsInput in;
  in.WindowWidth = windowRect.right - windowRect.left;
  in.WindowHeight = windowRect.bottom - windowRect.top;
  in.ClientWidth = client.right;
  in.ClientHeight = client.bottom;
  in.Style = barStyle_;
  in.ExStyle = barExStyle_;
  in.EdgeMetric = GetSystemMetrics(SM_CXEDGE);
  in.BarWidth = GetSystemMetrics(SM_CXHSCROLL);
  const TScrollBarsLayout layout = LayoutScrollBars(in);
  horz_.Rect = layout.Horz;
  vert_.Rect = layout.Vert;
  cornerRect_ = layout.Corner;
  if (layout.HasHorz) MeasureThumb(false, horz_.Rect.right - horz_.Rect.left);
  if (layout.HasVert) MeasureThumb(true, vert_.Rect.bottom - vert_.Rect.top);
}

void TSkinScrollbar::MeasureThumb(bool vertical, int barLength) {
  if (tracking_) return;
  TBarState& bar = Bar(vertical);
  SCROLLINFO& info = bar.Info;
  SCROLLINFO read{};
  read.cbSize = sizeof(read);
  read.fMask = SIF_ALL;
  if (!GetScrollInfo(Handle, vertical ? SB_VERT : SB_HORZ, &read)) return;
  info = read;
  TThumbSizes sizes;
  sizes.BarLength = barLength;
  sizes.Arrow = GetSystemMetrics(SM_CXHSCROLL);
  sizes.MinThumb = MinimumThumb(sizes.Arrow);
  sizes.SystemThumb = GetSystemMetrics(SM_CXHTHUMB);
  TThumbMetrics& metrics = bar.Metrics;
  const bool scrollable = MeasureWindowThumb(RangeOf(info), sizes, metrics);
  UINT& disabled = bar.Disabled;
  disabled = DisabledArrows(Handle, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, scrollable);
  // A disabled bar has no thumb to show or to press.
  if ((disabled & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH) {
    metrics.Thumb = 0;
    metrics.Offset = 0;
  }
}

void TSkinScrollbar::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasSkin() || !HasScrollbarSkin(SkinData->Skin())) return;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (IsIconic(Handle) || width > kLargestBar || height > kLargestBar) return;
  // A list's or view's sunken client edge, in the system's white and
  // greys, becomes the edit boxes' flat border.
  if (GetWindowLongPtrW(Handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) DrawFlatBorder(dc, rect, Handle, *SkinData);
  MeasureBars(rect);
  paintedHorz_ = SystemBar(false);
  paintedVert_ = SystemBar(true);
  const bool horz = (barStyle_ & WS_HSCROLL) != 0, vert = (barStyle_ & WS_VSCROLL) != 0;
  if (horz && !IsRectEmpty(&horz_.Rect)) PaintBar(dc, false);
  if (vert && !IsRectEmpty(&vert_.Rect)) PaintBar(dc, true);
  if (horz && vert) FillFace(dc, cornerRect_);
}

void TSkinScrollbar::PaintBar(HDC dc, bool vertical) {
  // The control's own procedure is moving that bar and repaints it itself.
  const TBarState& bar = Bar(vertical);
  if (bar.InScroll) return;
  TBarLook look;
  look.Vertical = vertical;
  look.Metrics = bar.Metrics;
  look.Metrics.Arrow = GetSystemMetrics(SM_CXHSCROLL);
  look.Pressed = pressedPart_;
  look.Disabled = bar.Disabled;
  look.Hot = hover_.On(vertical);
  look.Owner = this;
  look.Repaint = [this, vertical] {
    PaintThrough(nullptr, [&](HDC windowDc, const RECT& r) {
      MeasureBars(r);
      PaintBar(windowDc, vertical);
    });
  };
  gui::TBitmap work;  // made for the paint, not kept
  DrawSkinBar(dc, bar.Rect, look, SkinData->Skin(), work);
}

int TSkinScrollbar::PartAt(bool vertical, POINT screen) {
  RECT window{};
  if (!GetWindowRect(Handle, &window)) return kNoScrollHit;
  const RECT placed = window;
  OffsetRect(&window, -window.left, -window.top);
  MeasureBars(window);
  const TBarState& bar = Bar(vertical);
  return HitTestBar(AlongWindowBar(Handle, placed, bar.Rect, vertical, screen), bar.Metrics);
}

void TSkinScrollbar::SetHotPart(bool vertical, int part) {
  if (hover_.Move(Handle, vertical, part)) PaintSkin(nullptr);
}

bool TSkinScrollbar::PressOnThumb(const gui::TMessage& m) {
  if (m.WParam != HTHSCROLL && m.WParam != HTVSCROLL) return false;
  const bool vertical = m.WParam == HTVSCROLL;
  RECT window{};
  if (!HasSkin() || !HasScrollbarSkin(SkinData->Skin()) || !GetWindowRect(Handle, &window)) return false;
  const POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const RECT placed = window;
  OffsetRect(&window, -window.left, -window.top);
  MeasureBars(window);
  const TBarState& bar = Bar(vertical);
  if (HitTestBar(AlongWindowBar(Handle, placed, bar.Rect, vertical, screen), bar.Metrics) != SB_THUMBTRACK)
    return false;
  pressedPart_ = vertical ? spVertThumb : spHorzThumb;
  PaintSkin(nullptr);
  DragThumb(vertical, screen);
  return true;
}

void TSkinScrollbar::DragThumb(bool vertical, POINT start) {
  const std::shared_ptr<bool> alive = alive_;
  const HWND wnd = Handle;
  const UINT notification = vertical ? WM_VSCROLL : WM_HSCROLL;
  const int bar = vertical ? SB_VERT : SB_HORZ;
  const TThumbMetrics atPress = Bar(vertical).Metrics;
  const TScrollRange range = RangeOf(Bar(vertical).Info);
  int position = range.Pos;
  // A mirrored bar runs from its right end.
  const bool mirrored = IsMirrored(wnd);
  tracking_ = true;
  // Moves over other windows still reach the drag.
  SetCapture(wnd);
  bool quit = false;
  int quitCode = 0;
  for (;;) {
    // Another window took the mouse (a deactivation, a window of its own
    // that captured it): the drag is over, and the button's release
    // belongs to whoever has the mouse now.
    if (GetCapture() != wnd) break;
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      quit = true;
      quitCode = static_cast<int>(msg.wParam);
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (!*alive || !IsWindow(wnd)) break;
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) continue;
    POINT at{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    if (msg.message == WM_MOUSEMOVE) ClientToScreen(msg.hwnd, &at);
    const int offset = DragOffset(atPress, vertical ? at.y - start.y : mirrored ? start.x - at.x : at.x - start.x);
    const int dragged = DragPosition(range, atPress, offset);
    if (dragged == position) continue;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    info.nPos = dragged;
    info.nTrackPos = dragged;
    Bar(vertical).Metrics.Offset = offset;
    SetScrollInfo(wnd, bar, &info, FALSE);
    position = dragged;
    SendMessageW(wnd, notification, MAKEWPARAM(SB_THUMBTRACK, position), 0);
    if (!*alive || !IsWindow(wnd)) break;
  }
  // Only locals from here on when the skinner is gone (the skin switched
  // off under the drag): the control still ends its drag as usual.
  if (*alive) tracking_ = false;
  if (IsWindow(wnd)) {
    if (GetCapture() == wnd) ReleaseCapture();
    SendMessageW(wnd, notification, MAKEWPARAM(SB_THUMBPOSITION, position), 0);
    PostMessageW(wnd, notification, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
  }
  if (quit) PostQuitMessage(quitCode);
}

// ---------------------------------------------------------------------------
// TSkinScControl

bool TSkinScControl::Vertical() const {
  if (auto* bar = dynamic_cast<gui::TScrollBar*>(Control)) return bar->Kind() == gui::TScrollBarKind::sbVertical;
  return (GetWindowLongPtrW(Handle, GWL_STYLE) & SBS_VERT) != 0;
}

TScrollRange TSkinScControl::ReadRange() const {
  if (auto* bar = dynamic_cast<gui::TScrollBar*>(Control))
    return TScrollRange{bar->Min(), bar->Max(), bar->PageSize(), bar->Position()};
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(Handle, SB_CTL, &info);
  return RangeOf(info);
}

bool TSkinScControl::Attach(const TSkinnerAttach& how) {
  if (!TSkinControl::Attach(how)) return false;
  FollowSkin();
  return true;
}

void TSkinScControl::SkinChanged() {
  TSkinControl::SkinChanged();
  FollowSkin();
}

void TSkinScControl::FollowNewWindow() {
  TSkinControl::FollowNewWindow();
  FollowSkin();
}

void TSkinScControl::FollowSkin() {
  systemTheme_.Apply(Handle, Control && HasSkin() && HasScrollbarSkin(SkinData->Skin()));
}

bool TSkinScControl::BeforeMessage(gui::TMessage& m) {
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) return false;
      break;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_ENABLE_ARROWS:
      // The system redraws its own bar right away; the skin goes back on top.
      CallDefault(m);
      PaintSkin(nullptr);
      return false;
    case gui::CN_HSCROLL:
    case gui::CN_VSCROLL:
      PressedPart = PressedPartFor(LOWORD(m.WParam), m.Msg == gui::CN_VSCROLL);
      CallDefault(m);
      PaintSkin(nullptr);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The press runs the system's tracking loop, which draws the bar
      // itself on release, after the last scroll notification.
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
      // Themed bars light up the part under the pointer by drawing
      // themselves; the skin shows the part under the mouse in its own
      // hot look.
      CallDefault(m);
      if (m.Msg == WM_MOUSEMOVE || m.Msg == WM_MOUSELEAVE) {
        const bool vertical = Vertical();
        const POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        RECT client{};
        GetClientRect(Handle, &client);
        const int part = m.Msg == WM_MOUSELEAVE || !HasSkin() || !PtInRect(&client, at)
                             ? kNoScrollHit
                             : HitTestBar(vertical ? at.y : at.x, Measure(client));
        hover_.Move(Handle, vertical, part);
      }
      PaintSkin(nullptr);
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinScControl::AfterMessage(gui::TMessage& m) {
  // The system marks a focused bar with a blinking caret over its own
  // thumb, which is not where the skin draws it.
  if (m.Msg == WM_SETFOCUS) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) && thread.hwndCaret == Handle) DestroyCaret();
  }
  TSkinControl::AfterMessage(m);
}

TThumbMetrics TSkinScControl::Measure(const RECT& rect) {
  TThumbSizes sizes;
  sizes.BarLength = Vertical() ? rect.bottom - rect.top : rect.right - rect.left;
  sizes.Arrow = GetSystemMetrics(SM_CXHSCROLL);
  sizes.MinThumb = MinimumThumb(sizes.Arrow);
  sizes.SystemThumb = GetSystemMetrics(SM_CXHTHUMB);
  TThumbMetrics measured{sizes.Arrow, TrackLength, ThumbLength, ThumbOffset, 0};
  if (MeasureControlThumb(ReadRange(), sizes, measured)) {
    TrackLength = measured.Track;
    ThumbLength = measured.Thumb;
    ThumbOffset = measured.Offset;
  }
  return TThumbMetrics{sizes.Arrow, TrackLength, ThumbLength, ThumbOffset, 0};
}

void TSkinScControl::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasSkin() || !HasScrollbarSkin(SkinData->Skin())) return;
  TBarLook look;
  look.Vertical = Vertical();
  look.Metrics = Measure(rect);
  look.Pressed = PressedPart;
  look.Disabled = DisabledArrows(Handle, OBJID_CLIENT, true);
  look.Hot = hover_.On(look.Vertical);
  look.Owner = this;
  look.Repaint = [this] { PaintSkin(nullptr); };
  gui::TBitmap work;  // made for the paint, not kept
  DrawSkinBar(dc, rect, look, SkinData->Skin(), work);
}

}  // namespace skin
