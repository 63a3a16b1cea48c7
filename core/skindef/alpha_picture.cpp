#include "core/skindef/alpha_picture.h"

#include <algorithm>
#include <bit>

namespace core {

namespace {

std::uint32_t Read32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// One channel of a pixel under a mask, widened to 8 bits.
std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const std::uint32_t max = mask >> shift;
  const std::uint32_t value = (pixel & mask) >> shift;
  return max == 255 ? value : static_cast<std::uint32_t>((static_cast<std::uint64_t>(value) * 255 + max / 2) / max);
}

bool Uncompressed32(const BitmapFileLayout& l) {
  return l.bitCount == 32 && l.compression == BitmapFileLayout::Compression::Rgb && l.stride != 0;
}

bool BitFields32WithAlpha(const BitmapFileLayout& l) {
  return l.bitCount == 32 && l.compression == BitmapFileLayout::Compression::BitFields && l.alphaMask != 0 &&
         l.stride != 0;
}

// The stored pixel at (x, y) counted from the top.
std::uint32_t StoredPixel(std::span<const std::uint8_t> file, const BitmapFileLayout& l, int x, int y) {
  const std::size_t row = static_cast<std::size_t>(l.topDown ? y : l.height - 1 - y);
  return Read32(file, l.pixelOffset + row * l.stride + static_cast<std::size_t>(x) * 4);
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

bool HasAlphaChannel(std::span<const std::uint8_t> file, const BitmapFileLayout& layout) {
  if (BitFields32WithAlpha(layout)) return true;
  if (!Uncompressed32(layout)) return false;
  // The fourth byte zero throughout, or 255 throughout as some editors
  // write it, says nothing a 24-bit picture would not: such a picture keeps
  // its magenta.
  bool clear = false, opaque = false;
  for (int y = 0; y < layout.height; ++y)
    for (int x = 0; x < layout.width; ++x) {
      const std::uint32_t alpha = StoredPixel(file, layout, x, y) >> 24;
      clear = clear || alpha != 255;
      opaque = opaque || alpha != 0;
      if (clear && opaque) return true;
    }
  return false;
}

std::optional<AlphaPicture> ReadAlphaPicture(std::span<const std::uint8_t> file, const BitmapFileLayout& layout) {
  if (!HasAlphaChannel(file, layout)) return std::nullopt;
  const bool fields = layout.compression == BitmapFileLayout::Compression::BitFields;
  const std::uint32_t red = fields ? layout.masks[0] : 0x00FF0000, green = fields ? layout.masks[1] : 0x0000FF00,
                      blue = fields ? layout.masks[2] : 0x000000FF, alpha = fields ? layout.alphaMask : 0xFF000000;
  AlphaPicture picture{layout.width, layout.height, {}};
  picture.pixels.reserve(static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(layout.height));
  for (int y = 0; y < layout.height; ++y) {
    for (int x = 0; x < layout.width; ++x) {
      const std::uint32_t p = StoredPixel(file, layout, x, y);
      picture.pixels.push_back(Channel(p, alpha) << 24 | Channel(p, red) << 16 | Channel(p, green) << 8 |
                               Channel(p, blue));
    }
  }
  return picture;
}

std::optional<PremultiplyFault> FindPremultiplyFault(const AlphaPicture& picture) {
  std::optional<PremultiplyFault> fault;
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    const std::uint32_t p = picture.pixels[i], a = p >> 24;
    if (((p >> 16) & 0xFF) <= a && ((p >> 8) & 0xFF) <= a && (p & 0xFF) <= a) continue;
    if (!fault) {
      const auto width = static_cast<std::size_t>(picture.width);
      fault = PremultiplyFault{static_cast<int>(i % width), static_cast<int>(i / width), 0};
    }
    ++fault->count;
  }
  return fault;
}

void ClampToAlpha(AlphaPicture& picture) {
  for (std::uint32_t& p : picture.pixels) {
    const std::uint32_t a = p >> 24;
    const std::uint32_t r = std::min((p >> 16) & 0xFF, a), g = std::min((p >> 8) & 0xFF, a), b = std::min(p & 0xFF, a);
    p = a << 24 | r << 16 | g << 8 | b;
  }
}

std::uint32_t Premultiply(std::uint32_t straight) {
  const std::uint32_t a = straight >> 24;
  auto times = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  return a << 24 | times((straight >> 16) & 0xFF) << 16 | times((straight >> 8) & 0xFF) << 8 | times(straight & 0xFF);
}

std::vector<std::uint8_t> WriteAlphaBitmap(const AlphaPicture& picture) {
  constexpr std::uint32_t kHeader = 108, kOffset = 14 + kHeader;
  const auto pixelBytes = static_cast<std::uint32_t>(picture.pixels.size() * 4);
  std::vector<std::uint8_t> out;
  out.reserve(kOffset + pixelBytes);
  Put16(out, 0x4D42);
  Put32(out, kOffset + pixelBytes);
  Put32(out, 0);
  Put32(out, kOffset);
  Put32(out, kHeader);
  Put32(out, static_cast<std::uint32_t>(picture.width));
  Put32(out, static_cast<std::uint32_t>(picture.height));  // bottom-up
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 3);  // BI_BITFIELDS
  Put32(out, pixelBytes);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (std::uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) Put32(out, mask);
  Put32(out, 0x73524742);                     // LCS_sRGB
  for (int i = 0; i < 12; ++i) Put32(out, 0);  // end points and gamma, unused for sRGB
  for (int y = picture.height - 1; y >= 0; --y)
    for (int x = 0; x < picture.width; ++x)
      Put32(out, picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                                static_cast<std::size_t>(x)]);
  return out;
}

}  // namespace core
