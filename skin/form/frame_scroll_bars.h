// TFrameScrollBars: the window scroll bars of a skinned top-level window of
// no framework form (a plain program's view with WS_VSCROLL or WS_HSCROLL).
// The skin's frame leaves them their room beside the client area, where the
// system keeps placing, hit testing and tracking them; the skin's bars are
// painted there with the frame and again whenever the system's have changed
// (a program's SetScrollInfo draws the system's bar at once). The part under
// the mouse shows its hot look, fading as the skin says.
#pragma once
#include <windows.h>

#include "gui/bitmap.h"
#include "skin/controls/skin_scrollbar.h"

namespace skin {

class TSkinData;

class TFrameScrollBars {
 public:
  TFrameScrollBars() = default;
  ~TFrameScrollBars();
  TFrameScrollBars(const TFrameScrollBars&) = delete;
  TFrameScrollBars& operator=(const TFrameScrollBars&) = delete;

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
  // A non-client mouse move (its hit code and screen point): the bar part
  // under the mouse looks hot, the bars' paint following. True when the
  // mouse is over a bar the skin draws: the system's own hot tracking
  // would draw its bar over the skin's.
  bool MouseMove(HWND wnd, WPARAM hit, POINT screen, TSkinData& data);
  // The mouse left the non-client area.
  void MouseLeft(HWND wnd, TSkinData& data);
  // The skin came off: no part stays hot, no fade repaints the bars.
  void Forget();

 private:
  struct TShown {
    TBarShown Horz, Vert;
    bool operator==(const TShown&) const = default;
  };
  // The bars' places in the window DC and their measures.
  struct TPlaced {
    TShown Shown;
    RECT Horz{}, Vert{};
    TBarLook Looks[2];  // horizontal, vertical
  };
  static TShown Read(HWND wnd);
  static TPlaced Place(HWND wnd);
  // Paints one bar (the vertical or the horizontal) of `placed`.
  void PaintBar(HWND wnd, HDC windowDc, TSkinData& data, TPlaced& placed, bool vertical);
  // Paints one bar onto the window: a step of its fade.
  void RepaintBar(bool vertical);
  void ShowHover(HWND wnd, bool vertical, int part, TSkinData& data);

  TShown painted_;
  TBarHover hover_{TME_LEAVE | TME_NONCLIENT};
  // Where a fade's steps paint: the window and skin of the last paint.
  HWND wnd_ = nullptr;
  TSkinData* data_ = nullptr;
};

}  // namespace skin
