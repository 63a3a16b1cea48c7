// The colour scheme: what the system's colour indexes (COLOR_WINDOW,
// COLOR_BTNFACE, ...) stand for when the framework draws. A colour written as
// a system colour (clBtnFace, clWindowText) is resolved through it, so a
// control that kept its default colours follows whatever scheme is in force,
// while one given an RGB colour keeps it. By default the scheme is the
// system's; another layer may put its own in place for a while.
#pragma once
#include <windows.h>

namespace gui {

class TColorScheme {
 public:
  virtual ~TColorScheme() = default;
  // The colour of a COLOR_ index, and a solid brush of it the scheme owns.
  virtual COLORREF SysColor(int index) const = 0;
  virtual HBRUSH SysColorBrush(int index) const = 0;
};

// The scheme in force; nullptr while it is the system's.
const TColorScheme* CurrentColorScheme();
// Puts `scheme` in force (nullptr: the system's again) and has every window
// of the thread redrawn in it: framework controls hear CM_SYSCOLORCHANGE
// first, so that those handing colours to a system control (a list view's
// LVM_SETBKCOLOR) hand over the new ones. The scheme must outlive its time
// in force.
void SetColorScheme(const TColorScheme* scheme);
// The same redraw, for a scheme in force whose colours changed.
void ColorSchemeChanged();

// GetSysColor and GetSysColorBrush through the scheme in force.
COLORREF SchemeColor(int index);
HBRUSH SchemeColorBrush(int index);
// Whether `brush` is one of the system's own colour brushes
// (GetSysColorBrush): the answer of a window that chose no colours.
bool IsSystemColorBrush(HBRUSH brush);

// Whether `msg` is one of the WM_CTLCOLOR* messages, WM_CTLCOLORMSGBOX to
// WM_CTLCOLORSTATIC.
constexpr bool IsCtlColorMessage(UINT msg) { return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC; }

// The answer to a WM_CTLCOLOR* message (msg) that nobody chose colours for:
// what DefWindowProc answers, in the scheme's colours (exactly
// DefWindowProc's while the scheme is the system's): text in WINDOWTEXT, on
// WINDOW for edits and list boxes, on SCROLLBAR for scroll bars and on
// BTNFACE for the rest.
LRESULT DefaultCtlColors(HWND parent, UINT msg, WPARAM dc, LPARAM child);
// The same in the colours of a given scheme.
LRESULT CtlColorsFrom(const TColorScheme& scheme, UINT msg, WPARAM dc);

}  // namespace gui
