// Windows bitmap files written byte by byte, for the tests of the bitmap
// readers and the seeds of their fuzzer. Portable: colours are 0x00BBGGRR
// values as the system's COLORREF holds them.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace core::testing {

using Bytes = std::vector<std::uint8_t>;

struct BmpLayout {
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows stored top-down
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;      // BI_RGB
  std::vector<std::uint32_t> palette;  // written as RGBQUAD entries
  std::vector<std::uint32_t> masks;    // bit fields after the header
  Bytes pixels;
};

// Header fields a crafted file states differently from what it holds.
struct BmpCraft {
  std::optional<std::uint32_t> clrUsed{};    // default: the palette's length
  std::optional<std::uint32_t> sizeImage{};  // default: the pixel byte count
  std::optional<std::uint32_t> offBits{};    // default: right after the palette
};

inline void Put32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void Put16(Bytes& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// File header, 40-byte info header, masks, palette, pixels.
inline Bytes MakeBmp(const BmpLayout& l, const BmpCraft& craft = {}) {
  const auto offset = static_cast<std::uint32_t>(14 + 40 + 4 * (l.masks.size() + l.palette.size()));
  Bytes out;
  Put16(out, 0x4D42);
  Put32(out, offset + static_cast<std::uint32_t>(l.pixels.size()));
  Put32(out, 0);
  Put32(out, craft.offBits.value_or(offset));
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(l.width));
  Put32(out, static_cast<std::uint32_t>(l.height));
  Put16(out, 1);
  Put16(out, l.bits);
  Put32(out, l.compression);
  Put32(out, craft.sizeImage.value_or(static_cast<std::uint32_t>(l.pixels.size())));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, craft.clrUsed.value_or(static_cast<std::uint32_t>(l.palette.size())));
  Put32(out, 0);
  for (std::uint32_t m : l.masks) Put32(out, m);
  for (std::uint32_t c : l.palette) {
    out.push_back(static_cast<std::uint8_t>(c >> 16));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
    out.push_back(static_cast<std::uint8_t>(c));
    out.push_back(0);
  }
  out.insert(out.end(), l.pixels.begin(), l.pixels.end());
  return out;
}

// Uncompressed rows as stored, each padded to a multiple of four bytes.
inline Bytes Rows(std::initializer_list<Bytes> rows) {
  Bytes out;
  for (const Bytes& row : rows) {
    out.insert(out.end(), row.begin(), row.end());
    out.resize((out.size() + 3) / 4 * 4, 0);
  }
  return out;
}

// A 1-bit picture whose colour table claims 0x40000000 entries: the table's
// byte size wraps to 0 in 32-bit arithmetic.
inline Bytes WrappedColourCountBmp() {
  BmpLayout l;
  l.width = 8;
  l.height = 2;
  l.bits = 1;
  l.palette = {0x000000, 0xFFFFFF};
  l.pixels = Rows({{0xAA}, {0x55}});
  return MakeBmp(l, {.clrUsed = 0x40000000});
}

}  // namespace core::testing
