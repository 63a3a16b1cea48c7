// A picture with soft edges for skins whose pictures carry alpha. Shapes are
// drawn hard-edged at four samples a side per pixel (a Raster on which
// magenta means "not covered") and averaged down, so every edge pixel gets
// the share of it a shape covers as its alpha, premultiplied as the engine
// blends it. Coordinates and lengths are in pixels of the finished picture.
#pragma once
#include <cstdint>
#include <vector>

#include "core/skindef/alpha_picture.h"
#include "tools/skingen/raster.h"

namespace skingen {

class AlphaRaster {
 public:
  static constexpr int kSamples = 4;  // samples a side per pixel

  AlphaRaster(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }

  // Shapes cover what lies beneath them; kMagenta uncovers it again.
  void Fill(double x, double y, double w, double h, Rgb colour);
  void RoundRect(double x, double y, double w, double h, double r, Rgb colour);
  // A rounded rectangle with an outline `stroke` pixels thick.
  void RoundBox(double x, double y, double w, double h, double r, double stroke, Rgb outline, Rgb fill);
  void Disc(double cx, double cy, double radius, Rgb colour);
  void Line(double x0, double y0, double x1, double y1, double width, Rgb colour);
  void Triangle(double x0, double y0, double x1, double y1, double x2, double y2, Rgb colour);
  // What `source` covers, laid over this picture at (x, y), whole pixels.
  void Paint(const AlphaRaster& source, int x, int y);

  // The premultiplied pixels, top-down 0xAARRGGBB.
  core::AlphaPicture Resolve() const;

 private:
  int width_, height_;
  Raster samples_;
};

// A finished picture of a skin with alpha. Written as a 24-bit bitmap when
// it is opaque throughout (or clear throughout, then magenta), since only
// pictures with partial cover need the 32-bit form, and a slot the engine
// copies opaque must not carry alpha at all.
class SkinPicture {
 public:
  explicit SkinPicture(core::AlphaPicture pixels) : pixels_(std::move(pixels)) {}

  int width() const { return pixels_.width; }
  int height() const { return pixels_.height; }
  std::uint32_t At(int x, int y) const {
    return pixels_.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(pixels_.width) + static_cast<std::size_t>(x)];
  }
  bool Opaque() const;
  // Every partly covered pixel blended over `background`, for slots the
  // engine copies opaque.
  SkinPicture Over(Rgb background) const;
  std::vector<std::uint8_t> ToBmp() const;

 private:
  core::AlphaPicture pixels_;
};

}  // namespace skingen
