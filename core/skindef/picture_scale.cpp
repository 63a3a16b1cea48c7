#include "core/skindef/picture_scale.h"

#include <algorithm>
#include <cstdlib>

#include "core/archive/skin_reader.h"

namespace core {

namespace {

// The transparent colour, and its neighbour one green step up that window
// regions cut out too.
bool IsMagenta(std::uint32_t pixel) {
  pixel &= 0xFFFFFF;
  return pixel == 0xFF00FF || pixel == 0xFF01FF;
}

// One frame of `source` (at fx, fy, fw × fh) into one frame of `target`.
void ScaleFrame(const Pixels& source, int fx, int fy, int fw, int fh, Pixels& target, int tx, int ty, int tw,
                int th) {
  const bool whole = tw % fw == 0 && th % fh == 0;
  const std::uint32_t colourBits = source.alpha ? 0xFFFFFFFF : 0xFFFFFF;
  for (int y = 0; y < th; ++y) {
    std::uint32_t* out = &target.data[static_cast<std::size_t>(ty + y) * static_cast<std::size_t>(target.width) +
                                      static_cast<std::size_t>(tx)];
    for (int x = 0; x < tw; ++x) {
      // The source pixel under the target pixel's centre.
      const int cx = static_cast<int>((2LL * x + 1) * fw / (2LL * tw));
      const int cy = static_cast<int>((2LL * y + 1) * fh / (2LL * th));
      const std::uint32_t centre =
          source.data[static_cast<std::size_t>(fy + cy) * static_cast<std::size_t>(source.width) +
                      static_cast<std::size_t>(fx + cx)];
      if (whole || (!source.alpha && IsMagenta(centre))) {
        out[x] = centre & colourBits;
        continue;
      }
      // The source area [x·fw/tw, (x+1)·fw/tw) in units of 1/tw source
      // pixels, and likewise down; weights are the overlaps.
      const long long x0 = static_cast<long long>(x) * fw, x1 = x0 + fw;
      const long long y0 = static_cast<long long>(y) * fh, y1 = y0 + fh;
      long long a = 0, r = 0, g = 0, b = 0, total = 0;
      for (long long sy = y0 / th; sy * th < y1 && sy < fh; ++sy) {
        const long long wy = std::min(y1, (sy + 1) * th) - std::max(y0, sy * th);
        for (long long sx = x0 / tw; sx * tw < x1 && sx < fw; ++sx) {
          const long long wx = std::min(x1, (sx + 1) * tw) - std::max(x0, sx * tw);
          const std::uint32_t p = source.data[static_cast<std::size_t>(fy + sy) * static_cast<std::size_t>(source.width) +
                                              static_cast<std::size_t>(fx + sx)];
          if (!source.alpha && IsMagenta(p)) continue;
          const long long w = wx * wy;
          a += w * (p >> 24);
          r += w * ((p >> 16) & 0xFF);
          g += w * ((p >> 8) & 0xFF);
          b += w * (p & 0xFF);
          total += w;
        }
      }
      if (source.alpha) {
        out[x] = static_cast<std::uint32_t>((a + total / 2) / total) << 24 |
                 static_cast<std::uint32_t>((r + total / 2) / total) << 16 |
                 static_cast<std::uint32_t>((g + total / 2) / total) << 8 |
                 static_cast<std::uint32_t>((b + total / 2) / total);
        continue;
      }
      std::uint32_t mixed = static_cast<std::uint32_t>((r + total / 2) / total) << 16 |
                            static_cast<std::uint32_t>((g + total / 2) / total) << 8 |
                            static_cast<std::uint32_t>((b + total / 2) / total);
      // A mix that lands on the transparent colour would be cut out.
      if (IsMagenta(mixed)) mixed = 0xFE00FF;
      out[x] = mixed;
    }
  }
}

}  // namespace

std::int32_t ScaleLength(std::int32_t pixels, int dpi) {
  if (dpi == kDesignDpi || dpi <= 0) return pixels;
  const long long scaled = static_cast<long long>(pixels) * dpi;
  const long long half = kDesignDpi / 2;
  return static_cast<std::int32_t>(scaled >= 0 ? (scaled + half) / kDesignDpi : -((-scaled + half) / kDesignDpi));
}

bool IsDensityVariantName(std::string_view entry) {
  const std::string lower = LowerCaseName(entry);
  for (const DensityVariant& v : kDensityVariants)
    if (lower.ends_with(std::string(v.suffix) + ".bmp")) return true;
  return false;
}

std::string VariantEntryName(const std::string& entry, const char* suffix) {
  if (entry.size() < 4) return {};
  const std::string ext = entry.substr(entry.size() - 4);
  if (ext != ".bmp" && ext != ".BMP") return {};
  return entry.substr(0, entry.size() - 4) + suffix + ext;
}

int ChooseSourceDpi(int dpi, std::span<const int> available) {
  int best = kDesignDpi;
  for (int candidate : available) {
    const int distance = std::abs(candidate - dpi), bestDistance = std::abs(best - dpi);
    if (distance < bestDistance || (distance == bestDistance && candidate > best)) best = candidate;
  }
  return best;
}

std::optional<std::pair<int, int>> ScaledPictureSize(int width, int height, FrameGrid grid, int dpi) {
  if (grid.columns <= 0 || grid.rows <= 0 || width % grid.columns || height % grid.rows) return std::nullopt;
  return std::pair{grid.columns * ScaleLength(width / grid.columns, dpi),
                   grid.rows * ScaleLength(height / grid.rows, dpi)};
}

std::optional<Pixels> ScaleFrames(const Pixels& source, FrameGrid grid, int width, int height) {
  if (grid.columns <= 0 || grid.rows <= 0 || width <= 0 || height <= 0 || source.width % grid.columns ||
      source.height % grid.rows || width % grid.columns || height % grid.rows ||
      source.data.size() != static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height))
    return std::nullopt;
  const int fw = source.width / grid.columns, fh = source.height / grid.rows;
  const int tw = width / grid.columns, th = height / grid.rows;
  if (fw == 0 || fh == 0) return std::nullopt;
  Pixels target;
  target.width = width;
  target.height = height;
  target.data.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  target.alpha = source.alpha;
  for (int row = 0; row < grid.rows; ++row)
    for (int column = 0; column < grid.columns; ++column)
      ScaleFrame(source, column * fw, row * fh, fw, fh, target, column * tw, row * th, tw, th);
  return target;
}

}  // namespace core
