// Synthetic skin element bitmaps for the archive benchmarks: 24-bit Windows
// bitmaps with gradients, frames, magenta corners, dithering and a textured
// strip, shaped like the artwork a skin carries.
#pragma once
#include <cstdint>
#include <vector>

namespace bench {

std::vector<std::uint8_t> ElementBitmap(int width, int height, int seed);

}  // namespace bench
