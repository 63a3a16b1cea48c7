// Draws the skin gallery's pictures as .bmp files, 16 x 16 pixels each on
// magenta (the transparent colour of glyphs and image lists):
//   glyphgen OUT_DIR
// writes pictures.bmp (the image list: folder, palette, star, information),
// star.bmp (the bit button's glyph) and align-left.bmp, align-centre.bmp,
// align-right.bmp (the latching speed buttons).
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/skingen/raster.h"

namespace {

using skingen::Raster;
using skingen::Rgb;

constexpr int kSize = 16;
// A mid tone, so the lines read on light and dark button faces alike.
constexpr Rgb kInk = 0x4F7CB0;

void Folder(Raster& r, int x) {
  r.RoundBox(x + 1, 3, 6, 3, 1, 0x9A6B12, 0xE8B33C);
  r.RoundBox(x + 1, 5, 14, 9, 1, 0x9A6B12, 0xF4C84E);
  r.Fill(x + 2, 6, 12, 1, 0xFBE3A0);
}

void Palette(Raster& r, int x) {
  r.Disc(x + 8, 8, 7, 0x6B5433);
  r.Disc(x + 8, 8, 6, 0xE9D9B8);
  r.Disc(x + 5, 6, 1.6, 0xD63C3C);
  r.Disc(x + 9, 4.5, 1.6, 0x3C7BD6);
  r.Disc(x + 11.5, 7.5, 1.6, 0x3CA85A);
  r.Disc(x + 9.5, 11, 2, 0x6B5433);
}

// A five-pointed star: pixels whose centres fall inside the ten-cornered
// outline, with a darker rim where a neighbour falls outside.
bool InStar(double px, double py, double cx, double cy) {
  constexpr double kPi = 3.14159265358979;
  constexpr int kCorners = 10;
  double xs[kCorners], ys[kCorners];
  for (int i = 0; i < kCorners; ++i) {
    const double radius = i % 2 ? 3.1 : 7.6;
    const double angle = -kPi / 2 + i * kPi / 5;
    xs[i] = cx + radius * std::cos(angle);
    ys[i] = cy + radius * std::sin(angle);
  }
  bool inside = false;
  for (int i = 0, j = kCorners - 1; i < kCorners; j = i++)
    if ((ys[i] > py) != (ys[j] > py) && px < (xs[j] - xs[i]) * (py - ys[i]) / (ys[j] - ys[i]) + xs[i]) inside = !inside;
  return inside;
}

void Star(Raster& r, int x) {
  const double cx = x + 8, cy = 8.6;
  for (int py = 0; py < kSize; ++py)
    for (int px = x; px < x + kSize; ++px) {
      const auto in = [&](int dx, int dy) { return InStar(px + dx + 0.5, py + dy + 0.5, cx, cy); };
      if (!in(0, 0)) continue;
      const bool rim = !in(-1, 0) || !in(1, 0) || !in(0, -1) || !in(0, 1);
      r.Set(px, py, rim ? 0xB07A00 : 0xF6C21C);
    }
}

void Information(Raster& r, int x) {
  r.Disc(x + 7.5, 7.5, 7, 0x1F5FA8);
  r.Disc(x + 7.5, 7.5, 6, 0x3C86D6);
  r.Fill(x + 7, 4, 2, 2, 0xFFFFFF);
  r.Fill(x + 7, 7, 2, 5, 0xFFFFFF);
}

// Text lines of three lengths, flush left, centred or flush right.
Raster AlignGlyph(char side) {
  Raster r(kSize, kSize);
  const int lengths[] = {12, 8, 12, 6, 10};
  for (int i = 0; i < 5; ++i) {
    const int w = lengths[i];
    const int left = side == 'l' ? 2 : side == 'r' ? 14 - w : (kSize - w) / 2;
    r.Fill(left, 3 + i * 2, w, 1, kInk);
  }
  return r;
}

bool Write(const std::string& path, const Raster& r) {
  const auto bytes = r.ToBmp();
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::fprintf(stderr, "glyphgen: cannot write %s\n", path.c_str());
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: glyphgen OUT_DIR\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  Raster pictures(kSize * 4, kSize);
  Folder(pictures, 0);
  Palette(pictures, kSize);
  Star(pictures, kSize * 2);
  Information(pictures, kSize * 3);
  const bool ok = Write(dir + "pictures.bmp", pictures) && Write(dir + "star.bmp", pictures.Crop(kSize * 2, 0, kSize, kSize)) &&
                  Write(dir + "align-left.bmp", AlignGlyph('l')) && Write(dir + "align-centre.bmp", AlignGlyph('c')) &&
                  Write(dir + "align-right.bmp", AlignGlyph('r'));
  return ok ? 0 : 1;
}
