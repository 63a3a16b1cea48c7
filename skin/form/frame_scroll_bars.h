// TFrameScrollBars: the window scroll bars of a skinned top-level window of
// no framework form (a plain program's view with WS_VSCROLL or WS_HSCROLL).
// The skin's frame leaves them their room beside the client area, where the
// system keeps placing, hit testing and tracking them; the skin's bars are
// painted there with the frame and again whenever the system's have changed
// (a program's SetScrollInfo draws the system's bar at once).
#pragma once
#include <windows.h>

#include "gui/bitmap.h"
#include "skin/controls/skin_scrollbar.h"

namespace skin {

class TSkinData;

class TFrameScrollBars {
 public:
  // The width and height the bars the style gives take.
  static SIZE Room(DWORD style);
  // Takes their room off a client rectangle.
  static void Reserve(DWORD style, DWORD exStyle, RECT& client);
  // Paints the bars (and the corner between two) onto the window's DC.
  void Paint(HWND wnd, HDC windowDc, TSkinData& data);
  // Paints them again when what the system's bars show changed since.
  void FollowChanges(HWND wnd, TSkinData& data);
  // Whether the window has bars of its own.
  static bool Has(HWND wnd);

 private:
  struct TShown {
    TBarShown Horz, Vert;
    bool operator==(const TShown&) const = default;
  };
  static TShown Read(HWND wnd);
  TShown painted_;
};

}  // namespace skin
