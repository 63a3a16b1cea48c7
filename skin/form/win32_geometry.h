// The little of windows.h that the frame's geometry uses: rectangles,
// sizes, points, two window styles and the hit-test codes. On Windows it is
// windows.h itself; elsewhere the same names with the system's values, so
// that the pure layout builds on the host too, where its fuzz target runs.
#pragma once
#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>

using DWORD = std::uint32_t;
using LONG = std::int32_t;
using BOOL = int;

struct RECT {
  LONG left, top, right, bottom;
};
struct SIZE {
  LONG cx, cy;
};
struct POINT {
  LONG x, y;
};

inline constexpr DWORD WS_POPUP = 0x80000000u;
inline constexpr DWORD WS_THICKFRAME = 0x00040000u;

inline constexpr int HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2, HTMENU = 5, HTMINBUTTON = 8, HTMAXBUTTON = 9,
                     HTLEFT = 10, HTRIGHT = 11, HTBOTTOM = 15, HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17, HTBORDER = 18,
                     HTCLOSE = 20;

inline BOOL PtInRect(const RECT* r, POINT p) {
  return p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
inline BOOL OffsetRect(RECT* r, int dx, int dy) {
  r->left += dx;
  r->right += dx;
  r->top += dy;
  r->bottom += dy;
  return 1;
}
#endif
