// skin_draw_bench [REPEAT]: times the drawing primitives that run on every
// repaint or resize: window regions cut from 1920 x 1080 bitmaps (a frame
// with rounded magenta corners, and magenta noise as the worst case) beside
// the plain one-CombineRgn-per-run approach, nine-slice rendering of a
// window frame at 800 x 600 and 1024 x 768, and a push button drawn from a
// picture with alpha beside the same button keyed on magenta. Best of REPEAT
// runs (default 10).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>

#include "gui/bitmap.h"
#include "tests/support/best_of.h"
#include "gui/handles.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_region.h"

namespace {

double BestMs(int repeat, const std::function<void()>& work) { return BestSeconds(repeat, work) * 1000.0; }

// The approach batching replaces: one region per run, ORed in one at a time.
gui::RegionHandle NaiveRegion(const gui::TBitmap& b, int rows) {
  gui::RegionHandle result(CreateRectRgn(0, 0, 0, 0));
  const std::uint32_t* bits = b.Bits();
  for (int y = 0; y < rows; ++y) {
    const std::uint32_t* row = bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(b.Width());
    for (int x = 0; x < b.Width();) {
      while (x < b.Width() && row[x] == 0xFF00FFu) ++x;
      const int start = x;
      while (x < b.Width() && row[x] != 0xFF00FFu) ++x;
      if (x > start) {
        gui::RegionHandle run(CreateRectRgn(start, y, x, y + 1));
        CombineRgn(result.get(), result.get(), run.get(), RGN_OR);
      }
    }
  }
  return result;
}

gui::TBitmap RoundedFrame(int w, int h, int radius) {
  gui::TBitmap b(w, h);
  std::uint32_t* bits = b.Bits();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int cx = x < radius ? radius - x : (x >= w - radius ? x - (w - radius - 1) : 0);
      const int cy = y < radius ? radius - y : (y >= h - radius ? y - (h - radius - 1) : 0);
      const bool outside = cx * cx + cy * cy > radius * radius;
      bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] =
          outside ? 0xFF00FFu : 0x3060A0u;
    }
  return b;
}

gui::TBitmap MagentaNoise(int w, int h) {
  gui::TBitmap b(w, h);
  std::mt19937 random(1);
  std::uint32_t* bits = b.Bits();
  for (std::size_t i = 0; i < static_cast<std::size_t>(w) * static_cast<std::size_t>(h); ++i)
    bits[i] = (random() & 1) ? 0xFF00FFu : 0x202020u;
  return b;
}

// A 3-frame window skin: 60 x 60 frames, a 30-pixel caption, 8-pixel edges.
gui::TBitmap WindowFrameStrip() {
  gui::TBitmap b(180, 60);
  std::uint32_t* bits = b.Bits();
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 180; ++x)
      bits[y * 180 + x] = static_cast<std::uint32_t>((x * 7 + y * 13) & 0xFF) * 0x010101u;
  return b;
}

// Five 24 x 24 push-button frames with rounded corners: keyed on magenta,
// or with a soft corner pixel and clear outside when `alpha`.
gui::TBitmap ButtonStrip(bool alpha) {
  gui::TBitmap b(120, 24);
  std::uint32_t* bits = b.Bits();
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 120; ++x) {
      const int fx = x % 24, cx = std::min(fx, 23 - fx), cy = std::min(y, 23 - y);
      const bool outside = cx + cy < 2, edge = cx + cy == 2;
      std::uint32_t p = 0xFFE0E4ECu;
      if (outside) p = alpha ? 0u : 0xFF00FFu;
      if (edge && alpha) p = 0x80707278u;
      bits[y * 120 + x] = alpha ? p : (p & 0xFFFFFFu);
    }
  b.PremultipliedAlpha = alpha;
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  const int repeat = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

  const gui::TBitmap rounded = RoundedFrame(1920, 1080, 12);
  const gui::TBitmap noise = MagentaNoise(1920, 1080);
  std::printf("CreateRegionFromBitmap 1920x1080 rounded corners   %9.3f ms\n", BestMs(repeat, [&] {
                skin::CreateRegionFromBitmap(rounded, 0, 0, 1, 1, 1, skin::TransparentColour);
              }));
  std::printf("  one CombineRgn per run, same bitmap               %9.3f ms\n",
              BestMs(repeat, [&] { NaiveRegion(rounded, rounded.Height()); }));
  std::printf("CreateRegionFromBitmap 1920x1080 magenta noise     %9.3f ms\n", BestMs(repeat, [&] {
                skin::CreateRegionFromBitmap(noise, 0, 0, 1, 1, 1, skin::TransparentColour);
              }));
  // Per-run combining grows with the square of the runs; a band of the noise
  // is already slow enough to compare.
  constexpr int kBand = 16;
  const gui::TBitmap band = MagentaNoise(1920, kBand);
  std::printf("CreateRegionFromBitmap 1920x%d magenta noise       %9.3f ms\n", kBand, BestMs(repeat, [&] {
                skin::CreateRegionFromBitmap(band, 0, 0, 1, 1, 1, skin::TransparentColour);
              }));
  std::printf("  one CombineRgn per run, same band                 %9.3f ms\n",
              BestMs(std::min(repeat, 3), [&] { NaiveRegion(band, kBand); }));

  gui::TBitmap strip = WindowFrameStrip();
  const RECT margins{8, 30, 8, 8};
  for (auto [w, h] : {std::pair{800, 600}, std::pair{1024, 768}}) {
    for (bool tile : {false, true}) {
      std::printf("RenderNineSlice %4dx%-4d %-9s                   %9.3f ms\n", w, h, tile ? "tiled" : "stretched",
                  BestMs(repeat, [&] { skin::RenderNineSlice(RECT{0, 0, w, h}, strip, margins, false, tile, 3, 2); }));
    }
  }

  // What alpha costs a push button (its typical size) and a window-sized
  // draw: AlphaBlend against the magenta mask, in the same run.
  gui::TBitmap keyed = ButtonStrip(false), soft = ButtonStrip(true);
  gui::TBitmap target(1024, 768);
  for (auto [w, h] : {std::pair{120, 28}, std::pair{1024, 768}}) {
    const RECT r{0, 0, w, h}, m{5, 5, 5, 5};
    const double keyedMs = BestMs(repeat, [&] { skin::DrawNineSlice(target.DC(), r, keyed, false, false, true, 5, 1, m); });
    const double softMs = BestMs(repeat, [&] { skin::DrawNineSlice(target.DC(), r, soft, false, false, true, 5, 1, m); });
    std::printf("DrawNineSlice %4dx%-4d with alpha %9.3f ms, keyed on magenta %9.3f ms, ratio %.2f\n", w, h, softMs,
                keyedMs, softMs / keyedMs);
  }
  return 0;
}
