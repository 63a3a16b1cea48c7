// The headers of a Windows bitmap file (.bmp) checked before any of it is
// handed to the system: every field is bounded before it takes part in
// arithmetic, and all arithmetic is done in 64 bits, so that a crafted
// header can neither wrap a size nor point the system's reader past the end
// of the file. Portable (no windows.h): the same check runs in the native
// build under the sanitizers and the fuzzer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace core {

struct BitmapFileLayout {
  enum class Header { Core, Info };
  enum class Compression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

  Header header = Header::Info;
  std::uint32_t headerSize = 0;  // 12 (core header) or 40, 52, 56, 108, 124
  std::int32_t width = 0;
  std::int32_t height = 0;  // always positive
  bool topDown = false;
  std::uint16_t bitCount = 0;
  Compression compression = Compression::Rgb;
  // The colour table: entries of 4 bytes (3 for a core header) starting
  // right after the header, or after the three masks of a 40-byte
  // BI_BITFIELDS header.
  std::uint32_t colourCount = 0;
  std::size_t colourTableOffset = 0;  // from the start of the file
  std::size_t colourTableBytes = 0;
  // BI_BITFIELDS: red, green, blue masks (from the header or after it).
  std::uint32_t masks[3] = {0, 0, 0};
  // BI_BITFIELDS with a header of 56 bytes or more: the alpha mask (0: none).
  std::uint32_t alphaMask = 0;
  // The pixels: rows of stride bytes for uncompressed images, or
  // pixelBytes of run-length code.
  std::size_t pixelOffset = 0;  // bfOffBits
  std::size_t pixelBytes = 0;   // all of it lies inside the file
  std::size_t stride = 0;       // 0 for run-length code
};

// The largest picture read: 4096 pixels a side, wide enough for any strip a
// real skin holds at 192 dpi (our widest, 23 scroll-bar frames, is 782 there),
// and 4,194,304 pixels in all, so that one picture takes at most 16 MB as the
// 32-bit bitmap it becomes (64 MB once scaled for 192 dpi).
inline constexpr std::int32_t kMaxPictureSide = 4096;
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 22;

// Why a file was refused.
enum class BitmapProblem {
  None,
  NotABitmap,       // not a bitmap file, or its headers contradict each other or the file
  TooLarge,         // beyond kMaxPictureSide or kMaxPicturePixels
  RunsPastPicture,  // run-length code that would write outside the picture
  RunsPastData,     // run-length code that ends inside a run
};

// The layout of a bitmap file whose headers are consistent and whose colour
// table, masks and pixels lie inside the bytes given; nothing otherwise
// (and, when asked, why). Accepted: the core header (1, 4, 8, 24 bits) and
// the info headers of 40 to 124 bytes with 1, 4, 8, 16, 24 or 32 bits,
// uncompressed, run-length coded (8 bits RLE8, 4 bits RLE4, bottom-up only,
// every run inside the picture and the code) or with bit-field masks (16 and
// 32 bits); width and height between 1 and kMaxPictureSide, at most
// kMaxPicturePixels in all.
std::optional<BitmapFileLayout> ParseBitmapFile(std::span<const std::uint8_t> file, BitmapProblem* problem = nullptr);

}  // namespace core
