// Right-to-left windows (WS_EX_LAYOUTRTL) have mirrored device contexts
// (LAYOUT_RTL): x counts from the right edge, a picture copied there comes
// out reflected, text does not. The skin draws such a window as the system
// draws it. A picture a skinner composes off screen for a mirrored context
// is composed in the same layout, so that what it draws there and what it
// draws on the context directly agree: positions and pictures reflected as
// a whole, and text (which the system never reflects) reading as it should.
// Copies between two contexts of one layout keep the picture as it is.
#pragma once
#include <windows.h>

namespace skin {

// Whether drawing on the context is mirrored.
bool IsMirrored(HDC dc);
// Whether the window is laid out right to left (its contexts are mirrored).
bool IsMirrored(HWND wnd);

// A rectangle of the screen in the coordinates of the window's window DC:
// from the window's top-left corner, or (reflected) from the top-right one
// of a mirrored window.
RECT WindowDcRect(HWND wnd, const RECT& screen);

// Lays a memory context out mirrored or not, for as long as its picture is
// kept. Call it once the context's bitmap has its size: the mirror is
// measured across the bitmap then.
void SetMirrored(HDC dc, bool mirrored);

// A memory context laid out as the context its picture is for, for the
// guard's life (its other state comes back with the layout). Made once the
// bitmap has its size, which must not change before the guard ends.
class TMirrorLike {
 public:
  TMirrorLike(HDC composing, HDC target) : TMirrorLike(composing, IsMirrored(target)) {}
  TMirrorLike(HDC composing, bool mirrored);
  TMirrorLike(const TMirrorLike&) = delete;
  TMirrorLike& operator=(const TMirrorLike&) = delete;
  ~TMirrorLike();

 private:
  HDC dc_;
  int saved_ = 0;
};

}  // namespace skin
