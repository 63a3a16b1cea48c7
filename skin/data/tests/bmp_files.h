// Windows bitmap files written byte by byte for the loader tests, and skin
// archives assembled from named entries.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/archive/byte_stream.h"
#include "core/archive/skin_reader.h"
#include "core/archive/skin_writer.h"

namespace skin::testing {

using Bytes = std::vector<std::uint8_t>;

struct BmpLayout {
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows stored top-down
  std::uint16_t bits = 24;
  std::uint32_t compression = BI_RGB;
  std::vector<COLORREF> palette;       // written as RGBQUAD entries
  std::vector<std::uint32_t> masks;    // bit fields after the header
  Bytes pixels;
};

inline void Put32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void Put16(Bytes& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// File header, BITMAPINFOHEADER, masks, palette, pixels; biSizeImage is the
// pixel byte count and biClrUsed the palette length.
inline Bytes MakeBmp(const BmpLayout& l) {
  const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(4 * (l.masks.size() + l.palette.size()));
  Bytes out;
  Put16(out, 0x4D42);
  Put32(out, offset + static_cast<std::uint32_t>(l.pixels.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(l.width));
  Put32(out, static_cast<std::uint32_t>(l.height));
  Put16(out, 1);
  Put16(out, l.bits);
  Put32(out, l.compression);
  Put32(out, static_cast<std::uint32_t>(l.pixels.size()));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, static_cast<std::uint32_t>(l.palette.size()));
  Put32(out, 0);
  for (std::uint32_t m : l.masks) Put32(out, m);
  for (COLORREF c : l.palette) {
    out.push_back(GetBValue(c));
    out.push_back(GetGValue(c));
    out.push_back(GetRValue(c));
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

// A 24-bit picture filled by colour(x, y).
template <typename Colour>
Bytes Bmp24(int width, int height, Colour colour) {
  BmpLayout l;
  l.width = width;
  l.height = -height;
  for (int y = 0; y < height; ++y) {
    Bytes row;
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colour(x, y);
      row.insert(row.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
    }
    const Bytes padded = Rows({row});
    l.pixels.insert(l.pixels.end(), padded.begin(), padded.end());
  }
  return MakeBmp(l);
}

inline Bytes TextBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

// A reader holding an archive of the given entries, packed and compressed as
// a skin file is.
inline void LoadArchive(core::TSkinReader& reader, const std::vector<std::pair<std::string, Bytes>>& entries) {
  core::TSkinWriter writer;
  for (const auto& [name, contents] : entries) writer.AddEntry(name, contents);
  core::ByteStream archive(writer.BuildArchive());
  if (!reader.LoadArchive(archive)) throw std::runtime_error("test archive refused");
}

}  // namespace skin::testing
