// Non-client input on a skinned frame: hit testing from the frame's layout,
// the caption buttons and bar items under the mouse, sizing and the hover
// timer.
#include <windowsx.h>

#include "gui/forms.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

POINT TWinSkinForm::ScreenToWindow(int x, int y) const {
  if (facts_.Mirrored && facts_.Show != shMinimized) {
    // By pixel, as the mirrored window DC maps them (ScreenToClient is a
    // pixel off).
    RECT window{};
    GetWindowRect(wnd_, &window);
    return POINT{window.right - 1 - x, y - window.top};
  }
  POINT p{x, y};
  ScreenToClient(wnd_, &p);
  if (facts_.Show != shMinimized) {
    p.x += facts_.Frame.Left;
    p.y += facts_.Frame.Top + facts_.MenuHeight;
  }
  return p;
}

RECT TWinSkinForm::WindowToScreen(const RECT& r) const {
  RECT window{};
  GetWindowRect(wnd_, &window);
  TFrameInput in;
  in.Mirrored = facts_.Mirrored;
  in.Window = SIZE{window.right - window.left, window.bottom - window.top};
  RECT shown = ShownRect(in, r);
  OffsetRect(&shown, window.left, window.top);
  return shown;
}

// The system answers first (its sizing band, the client); what it leaves is
// the skin frame's. Skinned close, minimise and maximise buttons answer as
// the system's would, so tools that look for those boxes find them; their
// clicks stay ours.
LRESULT TWinSkinForm::WMNcHitTest(WPARAM wParam, LPARAM lParam) {
  const LRESULT hit = CallDefault(WM_NCHITTEST, wParam, lParam);
  // A program's own menu stays on its window: where the system would put
  // its bar is the skin's frame, which says where the skin's bar is.
  if (hit != HTNOWHERE && !(hit == HTMENU && MenuBar())) return hit;
  const POINT screen = PointOf(lParam);
  const TFrameInput in = FrameInput();
  return FrameHitTest(in, LayoutFrame(in), ScreenToWindow(screen.x, screen.y), ScaleToScreen(3),
                      GetSystemMetrics(SM_CXSIZE));
}

TNCObject* TWinSkinForm::FindNCObject(POINT p) {
  // Laid out now, for the window as it is: never the last paint's places.
  // The button the hit test finds is the one pressed and tracked.
  const TFrameInput in = FrameInput();
  if (TWinSysButton* button = buttons_.Hit(FrameHit(in, LayoutFrame(in), p, 0, 0))) return button;
  return MenuBar() ? MenuBar()->FindMenuButton(p) : nullptr;
}

LRESULT TWinSkinForm::WMNcMouseMove(WPARAM wParam, LPARAM lParam) {
  const POINT screen = PointOf(lParam);
  // The window's own bars show the part under the mouse, active or not.
  if (FramePaintable() && scrollBars_.MouseMove(wnd_, wParam, screen, *skinData_)) return 0;
  if (!facts_.Active) return 0;
  if (TNCObject* object = FindNCObject(ScreenToWindow(screen.x, screen.y))) {
    object->MouseEnter();
    return 0;
  }
  if (TNCObject* current = CurrentObject()) current->MouseLeave();
  return CallDefault(WM_NCMOUSEMOVE, wParam, lParam);
}

LRESULT TWinSkinForm::WMNcLButtonDown(WPARAM wParam, LPARAM lParam) {
  menuBar_.FollowWindowMenu();
  const POINT screen = PointOf(lParam);
  if (TNCObject* object = FindNCObject(ScreenToWindow(screen.x, screen.y))) {
    if (!facts_.Active) SetForegroundWindow(wnd_);
    object->MouseDown();
    if (auto* item = dynamic_cast<TMenuBtn*>(object)) menuBar_.Open(*item);
    return 0;
  }
  // A maximised window is not dragged by its caption; the band around the
  // skinned bar's items is no system menu bar to track (the window may
  // still hold its menu).
  if (facts_.Show == shMaximized && wParam == HTCAPTION && facts_.Active) wParam = HTMENU;
  if (wParam == HTMENU && (MenuBar() || GetMenu(wnd_))) return 0;
  return CallDefault(WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT TWinSkinForm::WMNcLButtonUp(WPARAM wParam, LPARAM lParam) {
  const POINT screen = PointOf(lParam);
  if (TNCObject* object = FindNCObject(ScreenToWindow(screen.x, screen.y))) {
    // A bar item has opened on the press already.
    auto* button = dynamic_cast<TWinSysButton*>(object);
    if (button && CurrentObject() == button) {
      button->MouseUp();
      DoButtonAction(screen.x, screen.y);
    }
    return 0;
  }
  return CallDefault(WM_NCLBUTTONUP, wParam, lParam);
}

LRESULT TWinSkinForm::WMNcLButtonDblClk(WPARAM, LPARAM) {
  if (facts_.Show != shNormal) {
    RestoreWindow();
  } else if (facts_.WindowButtons & wbMaximize) {
    ToggleMaximize();
  }
  return 0;
}

LRESULT TWinSkinForm::WMNcRButtonDown(WPARAM wParam, LPARAM lParam) {
  if (wParam == HTCAPTION && facts_.Mdi != mkChild) {
    const POINT screen = PointOf(lParam);
    ShowSystemMenu(screen.x, screen.y);
    return 0;
  }
  return CallDefault(WM_NCRBUTTONDOWN, wParam, lParam);
}

bool TWinSkinForm::AnswerKeyMenu(LPARAM ch) {
  if (!frameSkinned_ || (facts_.Mdi != mkChild && (facts_.Style & WS_CHILD))) return false;
  if (menuBar_.Tracking() || ch == ' ' || ch == '-' || GetCapture()) return false;
  menuBar_.FollowWindowMenu();
  if (ch == 0) {
    if (MenuBar()) menuBar_.TrackKeys();
    return true;
  }
  if (!FindAccelButton(static_cast<wchar_t>(ch))) return false;
  menuBar_.Accelerator(static_cast<WPARAM>(ch));
  return true;
}

LRESULT TWinSkinForm::WMSize(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallDefault(WM_SIZE, wParam, lParam);
  if (wParam == SIZE_RESTORED) facts_.Show = shNormal;
  if (wParam == SIZE_MINIMIZED) facts_.Show = shMinimized;
  if (wParam == SIZE_MAXIMIZED) facts_.Show = shMaximized;
  if (facts_.Show == shMinimized) return result;
  if (facts_.Mdi == mkChild && (MdiMaximized() || facts_.Show != shNormal)) return result;
  if (state_ == ssRunning || state_ == ssReskinning) UpdateRegion();
  return result;
}

LRESULT TWinSkinForm::WMGetMinMaxInfo(WPARAM wParam, LPARAM lParam) {
  // The system sizes a maximised MDI child from the styles it has while it
  // asks, and the window's placement says "maximised" only afterwards: a
  // child on its way to the maximised state gets its caption back first, so
  // that caption and frame end up outside the client window.
  const bool child = facts_.Mdi == mkChild;
  const bool childMaximising = child && facts_.Show == shMaximized;
  if (childMaximising) SetSystemCaption(true);
  const LRESULT result = CallDefault(WM_GETMINMAXINFO, wParam, lParam);
  ReadShowState();
  if (childMaximising && facts_.Show == shNormal) facts_.Show = shMaximized;
  if (facts_.Show == shMinimized || (child && facts_.Show == shMaximized)) {
    SetSystemCaption(true);
  } else {
    if (child && MdiMaximized()) host_->ChangeMdiMaximized(false);
    SetSystemCaption(false);
  }
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  // A program that keeps its window from shrinking below a size of its own
  // (a file dialog: its first size) measured it in the system's frame: in
  // the skin's it means the same client size.
  if (!form_ && !systemCaptionOn_) {
    const SIZE system = SystemFrameSize();
    if (info->ptMinTrackSize.x != GetSystemMetrics(SM_CXMINTRACK))
      info->ptMinTrackSize.x += facts_.Frame.Left + facts_.Frame.Right - system.cx;
    if (info->ptMinTrackSize.y != GetSystemMetrics(SM_CYMINTRACK))
      info->ptMinTrackSize.y += facts_.Frame.Top + facts_.Frame.Bottom - system.cy;
  }
  return result;
}

// The system's frame, caption and borders, for the window's styles as they
// are with the caption the skin took off given back (a menu bar is the same
// height in both).
SIZE TWinSkinForm::SystemFrameSize() const {
  DWORD style = facts_.Style;
  if (facts_.WindowButtons & wbCaptionRemoved) style |= WS_CAPTION;
  RECT frame{};
  AdjustWindowRectEx(&frame, style, FALSE, static_cast<DWORD>(GetWindowLongPtrW(wnd_, GWL_EXSTYLE)));
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

SIZE TWinSkinForm::ScrollBarsSize() const {
  return TFrameScrollBars::Room(static_cast<DWORD>(GetWindowLongPtrW(wnd_, GWL_STYLE)));
}

void TWinSkinForm::HoverTick() {
  if (menuBar_.Tracking()) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (TNCObject* current = CurrentObject()) {
    const POINT p = ScreenToWindow(cursor.x, cursor.y);
    if (FindNCObject(p) != current) current->MouseLeave();
  }
  if (!form_ && HotButton()) {
    const RECT r = HotButton()->LastPaintedRect();
    if (!PtInRect(&r, cursor)) {
      HotButton()->SendMouseLeave();
      SetHotButton(nullptr);
    }
  }
}

}  // namespace skin
