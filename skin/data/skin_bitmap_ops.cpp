#include "skin/data/skin_bitmap_ops.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace skin {

namespace {

std::uint32_t* Row(gui::TBitmap& bitmap, int y) {
  return bitmap.Bits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.Width());
}

// Builds the turned bitmap pixel by pixel from where each target pixel comes
// from, then puts it in place of the old one.
template <class SourceOf>
void Rotate(gui::TBitmap& bitmap, SourceOf sourceOf) {
  if (bitmap.Empty()) return;
  const int w = bitmap.Width(), h = bitmap.Height();
  gui::TBitmap turned(h, w);
  if (turned.Empty()) return;
  GdiFlush();
  for (int ty = 0; ty < w; ++ty) {
    std::uint32_t* out = Row(turned, ty);
    for (int tx = 0; tx < h; ++tx) {
      const auto [sx, sy] = sourceOf(tx, ty, w, h);
      out[tx] = Row(bitmap, sy)[sx];
    }
  }
  turned.Transparent = bitmap.Transparent;
  turned.TransparentColor = bitmap.TransparentColor;
  turned.PremultipliedAlpha = bitmap.PremultipliedAlpha;
  bitmap = std::move(turned);
}

}  // namespace

void MirrorBitmap(gui::TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  GdiFlush();
  for (int y = 0; y < bitmap.Height(); ++y) std::reverse(Row(bitmap, y), Row(bitmap, y) + bitmap.Width());
}

void FlipBitmap(gui::TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  GdiFlush();
  for (int top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(Row(bitmap, top), Row(bitmap, top) + bitmap.Width(), Row(bitmap, bottom));
  }
}

void RotateBitmapLeft(gui::TBitmap& bitmap) {
  // Target (tx, ty) = (y, W - 1 - x), so x = W - 1 - ty and y = tx.
  Rotate(bitmap, [](int tx, int ty, int w, int) { return std::pair{w - 1 - ty, tx}; });
}

void RotateBitmapRight(gui::TBitmap& bitmap) {
  // Target (tx, ty) = (H - 1 - y, x), so x = ty and y = H - 1 - tx.
  Rotate(bitmap, [](int tx, int ty, int, int h) { return std::pair{ty, h - 1 - tx}; });
}

}  // namespace skin
