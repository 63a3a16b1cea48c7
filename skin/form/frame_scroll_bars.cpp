#include "skin/form/frame_scroll_bars.h"

#include <algorithm>

#include "gui/handles.h"
#include "skin/data/look_transitions.h"
#include "skin/data/skin_data.h"

namespace skin {

namespace {

constexpr DWORD kBars = WS_HSCROLL | WS_VSCROLL;

DWORD StyleOf(HWND wnd, int index) { return static_cast<DWORD>(GetWindowLongPtrW(wnd, index)); }

}  // namespace

bool TFrameScrollBars::Has(HWND wnd) { return (StyleOf(wnd, GWL_STYLE) & kBars) != 0; }

SIZE TFrameScrollBars::Room(DWORD style) {
  return SIZE{(style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0,
              (style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0};
}

namespace {

// Whether the vertical bar stands left of the client area on the screen:
// on the left side a window reading right to left puts it, the other way
// round in a mirrored window.
bool ShownLeft(DWORD exStyle) { return ((exStyle & WS_EX_LEFTSCROLLBAR) != 0) != ((exStyle & WS_EX_LAYOUTRTL) != 0); }

}  // namespace

void TFrameScrollBars::Reserve(DWORD style, DWORD exStyle, RECT& client) {
  const SIZE room = Room(style);
  if (ShownLeft(exStyle)) {
    client.left = std::min(client.right, client.left + room.cx);
  } else {
    client.right = std::max(client.left, client.right - room.cx);
  }
  client.bottom = std::max(client.top, client.bottom - room.cy);
}

TFrameScrollBars::TShown TFrameScrollBars::Read(HWND wnd) {
  TShown shown;
  const DWORD style = StyleOf(wnd, GWL_STYLE);
  for (bool vertical : {false, true}) {
    TBarShown& bar = vertical ? shown.Vert : shown.Horz;
    bar.Present = (style & (vertical ? WS_VSCROLL : WS_HSCROLL)) != 0;
    if (!bar.Present) continue;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(wnd, vertical ? SB_VERT : SB_HORZ, &info);
    bar.Range = RangeOf(info);
    bar.Disabled = DisabledArrows(wnd, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, CanScroll(bar.Range));
  }
  return shown;
}

TFrameScrollBars::~TFrameScrollBars() { TLookTransitions::ForgetOnThread(this); }

TFrameScrollBars::TPlaced TFrameScrollBars::Place(HWND wnd) {
  TPlaced placed;
  RECT window{}, client{};
  GetWindowRect(wnd, &window);
  GetClientRect(wnd, &client);
  MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  // A mirrored window DC counts from the window's right edge.
  const DWORD exStyle = StyleOf(wnd, GWL_EXSTYLE);
  if (exStyle & WS_EX_LAYOUTRTL) {
    const LONG w = window.right - window.left;
    client = RECT{w - client.right, client.top, w - client.left, client.bottom};
  }
  const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
  const bool leftBar = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  placed.Vert = RECT{leftBar ? client.left - cx : client.right, client.top, leftBar ? client.left : client.right + cx,
                     client.bottom};
  placed.Horz = RECT{client.left, client.bottom, client.right, client.bottom + cy};
  placed.Shown = Read(wnd);
  for (bool vertical : {false, true}) {
    const TBarShown& bar = vertical ? placed.Shown.Vert : placed.Shown.Horz;
    const RECT& r = vertical ? placed.Vert : placed.Horz;
    TBarLook& look = placed.Looks[vertical];
    look.Vertical = vertical;
    TThumbSizes sizes;
    sizes.BarLength = vertical ? r.bottom - r.top : r.right - r.left;
    sizes.Arrow = GetSystemMetrics(SM_CXHSCROLL);
    sizes.MinThumb = MinimumThumb(sizes.Arrow);
    sizes.SystemThumb = GetSystemMetrics(SM_CXHTHUMB);
    MeasureWindowThumb(bar.Range, sizes, look.Metrics);
    look.Metrics.Arrow = sizes.Arrow;
    look.Disabled = bar.Disabled;
    if ((look.Disabled & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH) look.Metrics.Thumb = look.Metrics.Offset = 0;
  }
  return placed;
}

void TFrameScrollBars::PaintBar(HWND wnd, HDC windowDc, TSkinData& data, TPlaced& placed, bool vertical) {
  TBarLook& look = placed.Looks[vertical];
  look.Hot = hover_.On(vertical);
  look.Owner = this;
  look.Repaint = [this, vertical] { RepaintBar(vertical); };
  wnd_ = wnd;
  data_ = &data;
  gui::TBitmap work;  // made for the paint, not kept
  DrawSkinBar(windowDc, vertical ? placed.Vert : placed.Horz, look, data.Skin(), work);
}

void TFrameScrollBars::Paint(HWND wnd, HDC windowDc, TSkinData& data) {
  if (!(StyleOf(wnd, GWL_STYLE) & kBars) || !HasScrollbarSkin(data.Skin())) return;
  TPlaced placed = Place(wnd);
  for (bool vertical : {false, true})
    if ((vertical ? placed.Shown.Vert : placed.Shown.Horz).Present) PaintBar(wnd, windowDc, data, placed, vertical);
  if (placed.Shown.Horz.Present && placed.Shown.Vert.Present) {
    const RECT corner{placed.Vert.left, placed.Horz.top, placed.Vert.right, placed.Horz.bottom};
    FillRect(windowDc, &corner, data.Palette().SysColorBrush(COLOR_BTNFACE));
  }
  painted_ = placed.Shown;
}

void TFrameScrollBars::RepaintBar(bool vertical) {
  if (!data_ || !IsWindow(wnd_) || IsIconic(wnd_) || !HasScrollbarSkin(data_->Skin())) return;
  TPlaced placed = Place(wnd_);
  if (!(vertical ? placed.Shown.Vert : placed.Shown.Horz).Present) return;
  gui::WindowDc dc(wnd_, GetWindowDC(wnd_));
  if (dc) PaintBar(wnd_, dc.get(), *data_, placed, vertical);
}

void TFrameScrollBars::ShowHover(HWND wnd, bool vertical, int part, TSkinData& data) {
  if (!hover_.Move(wnd, vertical, part)) return;
  gui::WindowDc dc(wnd, GetWindowDC(wnd));
  if (dc) Paint(wnd, dc.get(), data);
}

bool TFrameScrollBars::MouseMove(HWND wnd, WPARAM hit, POINT screen, TSkinData& data) {
  const bool overBar = (hit == HTHSCROLL || hit == HTVSCROLL) && Has(wnd) && HasScrollbarSkin(data.Skin());
  if (!overBar) {
    ShowHover(wnd, false, kNoScrollHit, data);
    return false;
  }
  const bool vertical = hit == HTVSCROLL;
  RECT window{};
  GetWindowRect(wnd, &window);
  const TPlaced placed = Place(wnd);
  const int along = AlongWindowBar(wnd, window, vertical ? placed.Vert : placed.Horz, vertical, screen);
  ShowHover(wnd, vertical, HitTestBar(along, placed.Looks[vertical].Metrics), data);
  return true;
}

void TFrameScrollBars::MouseLeft(HWND wnd, TSkinData& data) { ShowHover(wnd, false, kNoScrollHit, data); }

void TFrameScrollBars::Forget() {
  TLookTransitions::ForgetOnThread(this);
  hover_ = TBarHover{TME_LEAVE | TME_NONCLIENT};
  wnd_ = nullptr;
  data_ = nullptr;
}

void TFrameScrollBars::FollowChanges(HWND wnd, TSkinData& data) {
  if (!Has(wnd) || Read(wnd) == painted_) return;
  gui::WindowDc dc(wnd, GetWindowDC(wnd));
  if (dc) Paint(wnd, dc.get(), data);
}

}  // namespace skin
