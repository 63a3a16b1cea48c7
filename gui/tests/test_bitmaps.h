// Bitmaps made in the tests: .bmp images of solid frames side by side.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace gui_test {

// A 24-bit .bmp of `frames` solid frames side by side, frame i (0-based)
// filled with colours[i]. With a corner colour, the top-left pixel of every
// frame has that colour instead (the key of glyphs drawn transparent).
inline std::vector<std::uint8_t> StripBmp(int frameWidth, int height, const std::vector<COLORREF>& colours,
                                          std::optional<COLORREF> corner = std::nullopt) {
  const int width = frameWidth * static_cast<int>(colours.size());
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> bmp(54 + static_cast<std::size_t>(stride) * height);
  const auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&bmp[at], &v, 4); };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bmp.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  bmp[26] = 1;
  bmp[28] = 24;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF c =
          corner && y == 0 && x % frameWidth == 0 ? *corner : colours[static_cast<std::size_t>(x / frameWidth)];
      // Rows are stored bottom-up.
      std::uint8_t* p = &bmp[54 + static_cast<std::size_t>(height - 1 - y) * stride + static_cast<std::size_t>(x) * 3];
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  return bmp;
}

// Bytes as the hexadecimal digits of a form description's binary value.
inline std::string Hex(const std::vector<std::uint8_t>& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (std::uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

}  // namespace gui_test
