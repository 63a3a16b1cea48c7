#include "core/skindef/bitmap_size.h"

namespace core {

namespace {

std::uint32_t Read16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t Read32(std::span<const std::uint8_t> b, std::size_t at) {
  return Read16(b, at) | Read16(b, at + 2) << 16;
}

}  // namespace

std::optional<ImageSize> ReadBitmapSize(std::span<const std::uint8_t> file) {
  constexpr std::size_t kFileHeader = 14;
  if (file.size() < kFileHeader + 12 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const std::uint32_t header_size = Read32(file, kFileHeader);
  if (header_size == 12) {  // BITMAPCOREHEADER: 16-bit unsigned sizes
    return ImageSize{static_cast<std::int32_t>(Read16(file, kFileHeader + 4)),
                     static_cast<std::int32_t>(Read16(file, kFileHeader + 6))};
  }
  if (header_size < 40 || file.size() < kFileHeader + 16) return std::nullopt;
  const auto width = static_cast<std::int32_t>(Read32(file, kFileHeader + 4));
  const auto height = static_cast<std::int32_t>(Read32(file, kFileHeader + 8));
  if (width < 0 || height == INT32_MIN) return std::nullopt;
  return ImageSize{width, height < 0 ? -height : height};
}

}  // namespace core
