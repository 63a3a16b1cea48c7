// A small 24-bit raster with the shapes the skin generator draws, and the
// Windows BMP writer. Shapes are hard-edged on purpose: the engine keys
// transparency on exact magenta, so a blended edge would leave a pink fringe.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

using Rgb = std::uint32_t;  // 0xRRGGBB
constexpr Rgb kMagenta = 0xFF00FF;

Rgb Mix(Rgb a, Rgb b, int percent_b);

class Raster {
 public:
  Raster(int width, int height, Rgb fill = kMagenta);

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb At(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
  void Set(int x, int y, Rgb colour);

  void Fill(int x, int y, int w, int h, Rgb colour);
  // A rounded rectangle: corners outside radius r keep what was there. Pixels
  // count as inside by their centres, so any radius gives hard edges.
  void RoundRect(int x, int y, int w, int h, double r, Rgb fill);
  // A rounded rectangle with an outline `stroke` pixels thick.
  void RoundBox(int x, int y, int w, int h, double r, Rgb outline, Rgb fill, int stroke = 1);
  void Disc(double cx, double cy, double radius, Rgb colour);
  void Ring(double cx, double cy, double radius, double thickness, Rgb colour);
  // A thick line from (x0, y0) to (x1, y1), pixels whose centre is within half the width.
  void Line(double x0, double y0, double x1, double y1, double width, Rgb colour);
  // A solid arrow head of `rows` rows pointing in a direction ('l', 'r', 'u',
  // 'd'), each row one pixel shorter at both ends than the one before, the
  // last being the tip. Across the arrow: with single_tip the tip is one pixel
  // on the pixel holding (cx, cy), otherwise two pixels either side of the
  // pixel edge nearest to it. Along the arrow it is centred exactly when the
  // rows allow; otherwise the rows are placed from the pixel holding the centre.
  void Chevron(double cx, double cy, int rows, char direction, bool single_tip, Rgb colour);
  void Blit(const Raster& source, int x, int y);
  Raster Crop(int x, int y, int w, int h) const;

  // The raster as a Windows bitmap file, 24 bits per pixel, bottom-up.
  std::vector<std::uint8_t> ToBmp() const;

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
};

}  // namespace skingen
