#include "skin/data/menu_glyphs.h"

#include <array>
#include <cstdint>

namespace skin {

namespace {

constexpr int kStripWidth = 4 * kMenuGlyphSize;
constexpr int kRowBytes = kStripWidth / 8;  // 64 bits: already word-aligned

// Monochrome rows with bit 1 = white (the mask colour) and 0 = black.
class GlyphCanvas {
 public:
  GlyphCanvas() { bits_.fill(0xFF); }
  void Dot(int glyph, int x, int y) {
    const int px = glyph * kMenuGlyphSize + x;
    bits_[static_cast<std::size_t>(y * kRowBytes + px / 8)] &= static_cast<std::uint8_t>(~(0x80 >> (px % 8)));
  }
  void Box(int glyph, int left, int top, int right, int bottom, int topThickness) {
    for (int x = left; x <= right; ++x) {
      for (int t = 0; t < topThickness; ++t) Dot(glyph, x, top + t);
      Dot(glyph, x, bottom);
    }
    for (int y = top; y <= bottom; ++y) {
      Dot(glyph, left, y);
      Dot(glyph, right, y);
    }
  }
  const std::uint8_t* Data() const { return bits_.data(); }

 private:
  std::array<std::uint8_t, kRowBytes * kMenuGlyphSize> bits_{};
};

}  // namespace

gui::BitmapHandle CreateMenuGlyphStrip() {
  GlyphCanvas canvas;
  // Restore: two overlapping windows, the back one peeking out top right.
  canvas.Box(mgRestore, 6, 3, 12, 8, 2);
  canvas.Box(mgRestore, 3, 6, 9, 12, 2);
  // Maximise: one window with a thick title band.
  canvas.Box(mgMaximize, 3, 3, 12, 12, 2);
  // Minimise: a bar at the bottom.
  for (int x = 4; x <= 10; ++x) {
    canvas.Dot(mgMinimize, x, 11);
    canvas.Dot(mgMinimize, x, 12);
  }
  // Close: a cross two pixels thick.
  for (int i = 0; i <= 7; ++i) {
    canvas.Dot(mgClose, 4 + i, 4 + i);
    canvas.Dot(mgClose, 5 + i, 4 + i);
    canvas.Dot(mgClose, 11 - i, 4 + i);
    canvas.Dot(mgClose, 12 - i, 4 + i);
  }
  return gui::BitmapHandle(CreateBitmap(kStripWidth, kMenuGlyphSize, 1, 1, canvas.Data()));
}

}  // namespace skin
