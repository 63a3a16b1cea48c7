#include "skin/data/skin_mirror.h"

namespace skin {

bool IsMirrored(HDC dc) { return dc && (GetLayout(dc) & LAYOUT_RTL) != 0; }

bool IsMirrored(HWND wnd) { return wnd && (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0; }

RECT WindowDcRect(HWND wnd, const RECT& screen) {
  RECT window{};
  GetWindowRect(wnd, &window);
  RECT r = screen;
  OffsetRect(&r, -window.left, -window.top);
  if (!IsMirrored(wnd)) return r;
  const LONG w = window.right - window.left;
  return RECT{w - r.right, r.top, w - r.left, r.bottom};
}

void SetMirrored(HDC dc, bool mirrored) {
  if (!dc) return;
  // Laid out afresh, so that the mirror spans the bitmap selected now.
  SetLayout(dc, 0);
  if (mirrored) SetLayout(dc, LAYOUT_RTL);
}

TMirrorLike::TMirrorLike(HDC composing, bool mirrored) : dc_(composing) {
  // A mirrored context is laid out afresh even when it already was: its
  // bitmap may have another size by now.
  if (!dc_ || (!mirrored && !IsMirrored(dc_))) return;
  saved_ = SaveDC(dc_);
  SetMirrored(dc_, mirrored);
}

TMirrorLike::~TMirrorLike() {
  if (saved_) RestoreDC(dc_, saved_);
}

}  // namespace skin
