#include "tools/skingen/raster.h"

#include <algorithm>
#include <cmath>

namespace skingen {

Rgb Mix(Rgb a, Rgb b, int percent_b) {
  auto channel = [&](int shift) {
    const int ca = static_cast<int>(a >> shift & 0xFF), cb = static_cast<int>(b >> shift & 0xFF);
    return static_cast<Rgb>((ca * (100 - percent_b) + cb * percent_b + 50) / 100) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

Raster::Raster(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), fill) {}

void Raster::Set(int x, int y, Rgb colour) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[static_cast<std::size_t>(y * width_ + x)] = colour;
}

void Raster::Fill(int x, int y, int w, int h, Rgb colour) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, colour);
}

namespace {

// Whether the pixel (i, j) lies inside a rectangle with corners rounded by r.
bool InsideRounded(int i, int j, int x, int y, int w, int h, double r) {
  if (i < x || j < y || i >= x + w || j >= y + h) return false;
  const double px = i + 0.5, py = j + 0.5;
  const double cx = std::clamp(px, x + r, x + w - r);
  const double cy = std::clamp(py, y + r, y + h - r);
  const double dx = px - cx, dy = py - cy;
  return dx * dx + dy * dy <= (r + 0.05) * (r + 0.05);
}

}  // namespace

void Raster::RoundRect(int x, int y, int w, int h, double r, Rgb fill) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (InsideRounded(i, j, x, y, w, h, r)) Set(i, j, fill);
}

void Raster::RoundBox(int x, int y, int w, int h, double r, Rgb outline, Rgb fill, int stroke) {
  RoundRect(x, y, w, h, r, outline);
  RoundRect(x + stroke, y + stroke, w - 2 * stroke, h - 2 * stroke, std::max(r - stroke, 0.0), fill);
}

void Raster::Disc(double cx, double cy, double radius, Rgb colour) {
  for (int j = 0; j < height_; ++j)
    for (int i = 0; i < width_; ++i) {
      const double dx = i + 0.5 - cx, dy = j + 0.5 - cy;
      if (dx * dx + dy * dy <= radius * radius) Set(i, j, colour);
    }
}

void Raster::Ring(double cx, double cy, double radius, double thickness, Rgb colour) {
  for (int j = 0; j < height_; ++j)
    for (int i = 0; i < width_; ++i) {
      const double d = std::hypot(i + 0.5 - cx, j + 0.5 - cy);
      if (d <= radius && d > radius - thickness) Set(i, j, colour);
    }
}

void Raster::Line(double x0, double y0, double x1, double y1, double width, Rgb colour) {
  const double dx = x1 - x0, dy = y1 - y0, length2 = dx * dx + dy * dy;
  for (int j = 0; j < height_; ++j)
    for (int i = 0; i < width_; ++i) {
      const double px = i + 0.5, py = j + 0.5;
      const double t = length2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / length2, 0.0, 1.0) : 0.0;
      if (std::hypot(px - (x0 + t * dx), py - (y0 + t * dy)) <= width / 2) Set(i, j, colour);
    }
}

void Raster::Chevron(double cx, double cy, int rows, char direction, bool single_tip, Rgb colour) {
  // Drawn pointing down or right, then turned: a solid triangle reads best at small sizes.
  const bool vertical = direction == 'd' || direction == 'u';
  const bool forward = direction == 'd' || direction == 'r';
  const double along_centre = vertical ? cy : cx, across_centre = vertical ? cx : cy;
  const double exact_start = along_centre - rows / 2.0;
  int base = 0;  // the along position of the widest row
  if (exact_start == std::floor(exact_start)) {
    base = forward ? static_cast<int>(exact_start) : static_cast<int>(exact_start) + rows - 1;
  } else {
    const int pixel = static_cast<int>(std::floor(along_centre));
    base = forward ? pixel - rows / 2 : pixel + rows / 2;
  }
  for (int row = 0; row < rows; ++row) {
    const int along = forward ? base + row : base - row;
    int first = 0, last = 0;  // across, inclusive
    if (single_tip) {
      const int pixel = static_cast<int>(std::floor(across_centre));
      first = pixel - (rows - 1 - row);
      last = pixel + (rows - 1 - row);
    } else {
      const int edge = static_cast<int>(std::floor(across_centre + 0.5));
      first = edge - (rows - row);
      last = edge + (rows - row) - 1;
    }
    for (int across = first; across <= last; ++across) {
      if (vertical)
        Set(across, along, colour);
      else
        Set(along, across, colour);
    }
  }
}

void Raster::Blit(const Raster& source, int x, int y) {
  for (int j = 0; j < source.height_; ++j)
    for (int i = 0; i < source.width_; ++i) Set(x + i, y + j, source.At(i, j));
}

Raster Raster::Crop(int x, int y, int w, int h) const {
  Raster out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) out.Set(i, j, At(x + i, y + j));
  return out;
}

std::vector<std::uint8_t> Raster::ToBmp() const {
  const int row = (width_ * 3 + 3) & ~3;
  const std::uint32_t image_size = static_cast<std::uint32_t>(row * height_);
  std::vector<std::uint8_t> out;
  auto put16 = [&](std::uint32_t v) { out.push_back(v & 0xFF); out.push_back(v >> 8 & 0xFF); };
  auto put32 = [&](std::uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
  out.push_back('B');
  out.push_back('M');
  put32(54 + image_size);
  put32(0);
  put32(54);
  put32(40);  // BITMAPINFOHEADER
  put32(static_cast<std::uint32_t>(width_));
  put32(static_cast<std::uint32_t>(height_));
  put16(1);
  put16(24);
  put32(0);  // BI_RGB
  put32(image_size);
  put32(2835);  // 72 dpi
  put32(2835);
  put32(0);
  put32(0);
  for (int y = height_ - 1; y >= 0; --y) {
    for (int x = 0; x < width_; ++x) {
      const Rgb c = At(x, y);
      out.push_back(c & 0xFF);
      out.push_back(c >> 8 & 0xFF);
      out.push_back(c >> 16 & 0xFF);
    }
    for (int pad = width_ * 3; pad < row; ++pad) out.push_back(0);
  }
  return out;
}

}  // namespace skingen
