#include "core/skindef/bitmap_header.h"

#include <algorithm>

namespace core {

namespace {

constexpr std::uint64_t kFileHeader = 14;
constexpr std::uint32_t kCoreHeader = 12;
constexpr std::uint32_t kInfoHeader = 40;
// The most a header can state and still be read as a size at all; the
// picture limit proper is applied once the headers hold together.
constexpr std::int64_t kMaxSide = 32767;

std::uint32_t Read16(std::span<const std::uint8_t> b, std::uint64_t at) {
  return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t Read32(std::span<const std::uint8_t> b, std::uint64_t at) {
  return Read16(b, at) | Read16(b, at + 2) << 16;
}

bool KnownInfoHeaderSize(std::uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// Masks that select bits of a pixel of `bits` bits, none of them twice.
bool MasksFit(const std::uint32_t (&masks)[3], std::uint16_t bits) {
  const std::uint64_t allowed = (std::uint64_t{1} << bits) - 1;
  std::uint64_t seen = 0;
  for (std::uint32_t mask : masks) {
    if (mask == 0 || (mask & ~allowed) != 0 || (mask & seen) != 0) return false;
    seen |= mask;
  }
  return true;
}

// Walks run-length code as the system's decoder would, without writing a
// pixel: every run, delta and absolute block must stay inside its row and
// the picture's rows, and every code must be complete within the bytes.
// Code that ends without its end-of-picture mark ends the picture there.
BitmapProblem WalkRunLength(std::span<const std::uint8_t> code, std::int64_t width, std::int64_t height, bool fourBit) {
  std::int64_t x = 0, y = 0;
  std::size_t at = 0;
  const auto fits = [&](std::int64_t pixels) { return y < height && x + pixels <= width; };
  while (at < code.size()) {
    if (at + 2 > code.size()) return BitmapProblem::RunsPastData;
    const std::uint8_t count = code[at], value = code[at + 1];
    at += 2;
    if (count > 0) {  // a run of one value (RLE4: two alternating)
      if (!fits(count)) return BitmapProblem::RunsPastPicture;
      x += count;
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of picture
        return BitmapProblem::None;
      case 2: {  // move right and up
        if (at + 2 > code.size()) return BitmapProblem::RunsPastData;
        x += code[at];
        y += code[at + 1];
        at += 2;
        if (x > width || y > height) return BitmapProblem::RunsPastPicture;
        break;
      }
      default: {  // `value` pixels written out, padded to a whole word
        const std::size_t bytes = fourBit ? (value + 1u) / 2 : value;
        const std::size_t padded = (bytes + 1) / 2 * 2;
        if (!fits(value)) return BitmapProblem::RunsPastPicture;
        if (at + bytes > code.size()) return BitmapProblem::RunsPastData;
        at = std::min(code.size(), at + padded);
        x += value;
        break;
      }
    }
  }
  return BitmapProblem::None;
}

std::optional<BitmapFileLayout> ParseLayout(std::span<const std::uint8_t> file);

}  // namespace

std::optional<BitmapFileLayout> ParseBitmapFile(std::span<const std::uint8_t> file, BitmapProblem* problem) {
  BitmapProblem found = BitmapProblem::None;
  std::optional<BitmapFileLayout> layout = ParseLayout(file);
  if (!layout) {
    found = BitmapProblem::NotABitmap;
  } else if (layout->width > kMaxPictureSide || layout->height > kMaxPictureSide ||
             static_cast<std::uint64_t>(layout->width) * static_cast<std::uint64_t>(layout->height) >
                 kMaxPicturePixels) {
    found = BitmapProblem::TooLarge;
  } else if (layout->compression == BitmapFileLayout::Compression::Rle8 ||
             layout->compression == BitmapFileLayout::Compression::Rle4) {
    found = WalkRunLength(file.subspan(layout->pixelOffset, layout->pixelBytes), layout->width, layout->height,
                          layout->compression == BitmapFileLayout::Compression::Rle4);
  }
  if (problem) *problem = found;
  if (found != BitmapProblem::None) return std::nullopt;
  return layout;
}

namespace {

std::optional<BitmapFileLayout> ParseLayout(std::span<const std::uint8_t> file) {
  const std::uint64_t size = file.size();
  if (size < kFileHeader + 4 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  BitmapFileLayout l;
  l.headerSize = Read32(file, kFileHeader);
  const std::uint64_t headerEnd = kFileHeader + l.headerSize;
  if (headerEnd > size) return std::nullopt;
  std::uint64_t entryBytes = 4;
  std::uint64_t clrUsed = 0;
  std::uint32_t sizeImage = 0;

  if (l.headerSize == kCoreHeader) {
    l.header = BitmapFileLayout::Header::Core;
    l.width = static_cast<std::int32_t>(Read16(file, kFileHeader + 4));
    l.height = static_cast<std::int32_t>(Read16(file, kFileHeader + 6));
    if (Read16(file, kFileHeader + 8) != 1) return std::nullopt;
    l.bitCount = static_cast<std::uint16_t>(Read16(file, kFileHeader + 10));
    if (l.bitCount != 1 && l.bitCount != 4 && l.bitCount != 8 && l.bitCount != 24) return std::nullopt;
    entryBytes = 3;
  } else {
    if (!KnownInfoHeaderSize(l.headerSize)) return std::nullopt;
    const auto width = static_cast<std::int32_t>(Read32(file, kFileHeader + 4));
    const auto height = static_cast<std::int32_t>(Read32(file, kFileHeader + 8));
    if (Read16(file, kFileHeader + 12) != 1) return std::nullopt;
    l.bitCount = static_cast<std::uint16_t>(Read16(file, kFileHeader + 14));
    const std::uint32_t compression = Read32(file, kFileHeader + 16);
    sizeImage = Read32(file, kFileHeader + 20);
    clrUsed = Read32(file, kFileHeader + 32);
    // Widen before negating: INT32_MIN has no positive counterpart.
    const std::int64_t absHeight = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (width < 1 || width > kMaxSide || absHeight < 1 || absHeight > kMaxSide) return std::nullopt;
    l.width = width;
    l.height = static_cast<std::int32_t>(absHeight);
    l.topDown = height < 0;
    switch (compression) {
      case 0:
        if (l.bitCount != 1 && l.bitCount != 4 && l.bitCount != 8 && l.bitCount != 16 && l.bitCount != 24 &&
            l.bitCount != 32)
          return std::nullopt;
        l.compression = BitmapFileLayout::Compression::Rgb;
        break;
      case 1:
      case 2:
        // Run-length code is stored bottom-up only.
        if (l.bitCount != (compression == 1 ? 8 : 4) || l.topDown) return std::nullopt;
        l.compression = compression == 1 ? BitmapFileLayout::Compression::Rle8 : BitmapFileLayout::Compression::Rle4;
        break;
      case 3:
        if (l.bitCount != 16 && l.bitCount != 32) return std::nullopt;
        l.compression = BitmapFileLayout::Compression::BitFields;
        break;
      default:
        return std::nullopt;
    }
  }
  if (l.width < 1 || l.height < 1) return std::nullopt;

  // Bit-field masks: inside a header of 52 bytes or more, else three words
  // right after the 40-byte header.
  std::uint64_t tableStart = headerEnd;
  if (l.compression == BitmapFileLayout::Compression::BitFields) {
    const std::uint64_t masksAt = l.headerSize >= 52 ? kFileHeader + kInfoHeader : headerEnd;
    if (l.headerSize < 52) tableStart += 12;
    if (tableStart > size) return std::nullopt;
    for (int i = 0; i < 3; ++i) l.masks[i] = Read32(file, masksAt + 4 * static_cast<std::uint64_t>(i));
    if (!MasksFit(l.masks, l.bitCount)) return std::nullopt;
    // The alpha mask follows the colour masks in the longer headers; one
    // that overlaps them or the pixel's bits is no alpha at all.
    if (l.headerSize >= 56) {
      const std::uint32_t alpha = Read32(file, kFileHeader + kInfoHeader + 12);
      const std::uint64_t allowed = (std::uint64_t{1} << l.bitCount) - 1;
      if ((alpha & ~allowed) == 0 && (alpha & (l.masks[0] | l.masks[1] | l.masks[2])) == 0) l.alphaMask = alpha;
    }
  }

  // The colour table: at most one entry per value a pixel can hold; images
  // of more than 8 bits may carry an optimising palette of up to 256.
  const std::uint64_t maxColours = l.bitCount <= 8 ? (std::uint64_t{1} << l.bitCount) : 256;
  if (clrUsed > maxColours) return std::nullopt;
  const std::uint64_t colours = clrUsed != 0 ? clrUsed : (l.bitCount <= 8 ? maxColours : 0);
  const std::uint64_t tableBytes = colours * entryBytes;
  if (tableStart + tableBytes > size) return std::nullopt;
  l.colourCount = static_cast<std::uint32_t>(colours);
  l.colourTableOffset = static_cast<std::size_t>(tableStart);
  l.colourTableBytes = static_cast<std::size_t>(tableBytes);

  // The pixels start after the colour table and lie inside the file.
  const std::uint64_t offBits = Read32(file, 10);
  if (offBits < tableStart + tableBytes || offBits > size) return std::nullopt;
  const std::uint64_t available = size - offBits;
  if (l.compression == BitmapFileLayout::Compression::Rle8 || l.compression == BitmapFileLayout::Compression::Rle4) {
    if (sizeImage == 0 || sizeImage > available) return std::nullopt;
    l.pixelBytes = sizeImage;
  } else {
    const std::uint64_t stride = (static_cast<std::uint64_t>(l.width) * l.bitCount + 31) / 32 * 4;
    const std::uint64_t pixels = stride * static_cast<std::uint64_t>(l.height);
    if (pixels > available) return std::nullopt;
    l.stride = static_cast<std::size_t>(stride);
    l.pixelBytes = static_cast<std::size_t>(pixels);
  }
  l.pixelOffset = static_cast<std::size_t>(offBits);
  return l;
}

}  // namespace

}  // namespace core
