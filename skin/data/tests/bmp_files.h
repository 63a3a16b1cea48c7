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
#include "core/skindef/tests/bmp_builder.h"

namespace skin::testing {

using Bytes = std::vector<std::uint8_t>;

using core::testing::BmpLayout;
using core::testing::MakeBmp;
using core::testing::Put16;
using core::testing::Put32;
using core::testing::Rows;

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
