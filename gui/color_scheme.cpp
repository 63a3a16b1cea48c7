#include "gui/color_scheme.h"

#include "gui/controls.h"
#include "gui/messages.h"

namespace gui {

namespace {

// Each thread draws its own windows in the scheme its engine put in force.
thread_local const TColorScheme* t_scheme = nullptr;

// COLOR_ indexes GetSysColorBrush answers for (COLOR_SCROLLBAR to
// COLOR_MENUBAR).
constexpr int kLastColorIndex = 30;

// Runs inside EnumThreadWindows and EnumChildWindows: nothing may be
// thrown through them.
void NotifyWindow(HWND wnd) {
  try {
    if (TWinControl* control = TWinControl::FindControl(wnd)) control->Perform(CM_SYSCOLORCHANGE);
  } catch (...) {
    HandleException(nullptr);
  }
}

BOOL CALLBACK NotifyChild(HWND wnd, LPARAM) {
  NotifyWindow(wnd);
  return TRUE;
}

BOOL CALLBACK RedrawTopLevel(HWND wnd, LPARAM) {
  NotifyWindow(wnd);
  EnumChildWindows(wnd, NotifyChild, 0);
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return TRUE;
}

int CtlColorBackground(UINT msg) {
  switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return COLOR_WINDOW;
    case WM_CTLCOLORSCROLLBAR:
      return COLOR_SCROLLBAR;
    default:
      return COLOR_BTNFACE;
  }
}

}  // namespace

const TColorScheme* CurrentColorScheme() { return t_scheme; }

void SetColorScheme(const TColorScheme* scheme) {
  if (scheme == t_scheme) return;
  t_scheme = scheme;
  ColorSchemeChanged();
}

void ColorSchemeChanged() { EnumThreadWindows(GetCurrentThreadId(), RedrawTopLevel, 0); }

COLORREF SchemeColor(int index) { return t_scheme ? t_scheme->SysColor(index) : GetSysColor(index); }

HBRUSH SchemeColorBrush(int index) { return t_scheme ? t_scheme->SysColorBrush(index) : GetSysColorBrush(index); }

bool IsSystemColorBrush(HBRUSH brush) {
  if (!brush) return false;
  for (int i = 0; i <= kLastColorIndex; ++i)
    if (GetSysColorBrush(i) == brush) return true;
  return false;
}

LRESULT CtlColorsFrom(const TColorScheme& scheme, UINT msg, WPARAM wParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  const int background = CtlColorBackground(msg);
  SetTextColor(dc, scheme.SysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, scheme.SysColor(background));
  return reinterpret_cast<LRESULT>(scheme.SysColorBrush(background));
}

LRESULT DefaultCtlColors(HWND parent, UINT msg, WPARAM dc, LPARAM child) {
  if (!t_scheme) return DefWindowProcW(parent, msg, dc, child);
  return CtlColorsFrom(*t_scheme, msg, dc);
}

}  // namespace gui
