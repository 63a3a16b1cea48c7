// libFuzzer target for the bitmap header check. Whatever it accepts, every
// byte of the colour table and of the pixels it reports is read here, so a
// range that reaches past the input is caught by the address sanitizer; the
// size reader used for frame counts must agree with it.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/skindef/bitmap_header.h"
#include "core/skindef/bitmap_size.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const auto layout = core::ParseBitmapFile(file);
  if (!layout) return 0;
  volatile std::uint8_t sum = 0;
  for (std::size_t i = 0; i < layout->colourTableBytes; ++i) sum = sum + data[layout->colourTableOffset + i];
  for (std::size_t i = 0; i < layout->pixelBytes; ++i) sum = sum + data[layout->pixelOffset + i];
  if (layout->width < 1 || layout->height < 1 || layout->width > core::kMaxPictureSide || layout->height > core::kMaxPictureSide) std::abort();
  if (layout->stride != 0 && layout->stride * static_cast<std::size_t>(layout->height) != layout->pixelBytes)
    std::abort();
  if (layout->pixelOffset < layout->colourTableOffset + layout->colourTableBytes) std::abort();
  const auto bounds = core::ReadBitmapSize(file);
  if (!bounds || bounds->width != layout->width || bounds->height != layout->height) std::abort();
  return 0;
}
