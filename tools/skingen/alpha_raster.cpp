#include "tools/skingen/alpha_raster.h"

#include <algorithm>
#include <cmath>

#include "core/skindef/picture_scale.h"

namespace skingen {

namespace {

int Samples(double pixels) { return static_cast<int>(std::lround(pixels * AlphaRaster::kSamples)); }

}  // namespace

AlphaRaster::AlphaRaster(int width, int height)
    : width_(width), height_(height), samples_(width * kSamples, height * kSamples) {}

void AlphaRaster::Fill(double x, double y, double w, double h, Rgb colour) {
  samples_.Fill(Samples(x), Samples(y), Samples(x + w) - Samples(x), Samples(y + h) - Samples(y), colour);
}

void AlphaRaster::RoundRect(double x, double y, double w, double h, double r, Rgb colour) {
  samples_.RoundRect(Samples(x), Samples(y), Samples(x + w) - Samples(x), Samples(y + h) - Samples(y), r * kSamples,
                     colour);
}

void AlphaRaster::RoundBox(double x, double y, double w, double h, double r, double stroke, Rgb outline, Rgb fill) {
  RoundRect(x, y, w, h, r, outline);
  RoundRect(x + stroke, y + stroke, w - 2 * stroke, h - 2 * stroke, std::max(r - stroke, 0.0), fill);
}

void AlphaRaster::Disc(double cx, double cy, double radius, Rgb colour) {
  samples_.Disc(cx * kSamples, cy * kSamples, radius * kSamples, colour);
}

void AlphaRaster::Line(double x0, double y0, double x1, double y1, double width, Rgb colour) {
  samples_.Line(x0 * kSamples, y0 * kSamples, x1 * kSamples, y1 * kSamples, width * kSamples, colour);
}

void AlphaRaster::Triangle(double x0, double y0, double x1, double y1, double x2, double y2, Rgb colour) {
  // Samples by their centres, on the inner side of all three edges.
  auto side = [](double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
  };
  const double k = kSamples;
  for (int j = 0; j < samples_.height(); ++j)
    for (int i = 0; i < samples_.width(); ++i) {
      const double px = (i + 0.5) / k, py = (j + 0.5) / k;
      const double a = side(x0, y0, x1, y1, px, py), b = side(x1, y1, x2, y2, px, py), c = side(x2, y2, x0, y0, px, py);
      if ((a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0)) samples_.Set(i, j, colour);
    }
}

void AlphaRaster::Paint(const AlphaRaster& source, int x, int y) {
  for (int j = 0; j < source.samples_.height(); ++j)
    for (int i = 0; i < source.samples_.width(); ++i) {
      const Rgb c = source.samples_.At(i, j);
      if (c != kMagenta) samples_.Set(x * kSamples + i, y * kSamples + j, c);
    }
}

core::AlphaPicture AlphaRaster::Resolve() const {
  core::Pixels fine{.width = samples_.width(), .height = samples_.height(), .data = {}, .alpha = true};
  fine.data.reserve(static_cast<std::size_t>(fine.width) * static_cast<std::size_t>(fine.height));
  for (int y = 0; y < fine.height; ++y)
    for (int x = 0; x < fine.width; ++x) {
      const Rgb c = samples_.At(x, y);
      fine.data.push_back(c == kMagenta ? 0u : 0xFF000000u | c);
    }
  // Each pixel averages exactly its samples: premultiplied, as drawn.
  const std::optional<core::Pixels> coarse = core::ScaleFrames(fine, {1, 1}, width_, height_);
  return core::AlphaPicture{width_, height_, coarse ? coarse->data : std::vector<std::uint32_t>()};
}

bool SkinPicture::Opaque() const {
  for (std::uint32_t p : pixels_.pixels)
    if (p >> 24 != 0xFF) return false;
  return true;
}

SkinPicture SkinPicture::Over(Rgb background) const {
  core::AlphaPicture out = pixels_;
  for (std::uint32_t& p : out.pixels) {
    const std::uint32_t a = p >> 24;
    auto channel = [&](int shift) {
      const std::uint32_t under = background >> shift & 0xFF;
      return std::min<std::uint32_t>(255, (p >> shift & 0xFF) + (under * (255 - a) + 127) / 255) << shift;
    };
    p = 0xFF000000u | channel(16) | channel(8) | channel(0);
  }
  return SkinPicture(std::move(out));
}

std::vector<std::uint8_t> SkinPicture::ToBmp() const {
  bool clear = true;
  for (std::uint32_t p : pixels_.pixels) clear = clear && p >> 24 == 0;
  if (!clear && !Opaque()) return core::WriteAlphaBitmap(pixels_);
  Raster flat(pixels_.width, pixels_.height);
  if (!clear)
    for (int y = 0; y < pixels_.height; ++y)
      for (int x = 0; x < pixels_.width; ++x) flat.Set(x, y, At(x, y) & 0xFFFFFF);
  return flat.ToBmp();
}

}  // namespace skingen
