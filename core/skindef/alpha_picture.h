// Pictures with per-pixel alpha: 32-bit bitmap files whose fourth byte (or
// the alpha mask of a bit-field header) gives each pixel's coverage. A skin
// stores them premultiplied, each colour channel already multiplied by its
// alpha, which is what the system's blending takes. 24-bit pictures, and
// 32-bit ones whose fourth byte is zero throughout (the byte the system's
// own reader leaves unused) or 255 throughout, carry no alpha and keep
// magenta transparency.
// Portable (no windows.h): the engine's loader, the checker and the packer
// share it.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/skindef/bitmap_header.h"

namespace core {

// Top-down rows of 0xAARRGGBB pixels.
struct AlphaPicture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};

// Whether the picture the layout describes carries alpha: 32 bits, either
// uncompressed with a fourth byte that is neither 0 throughout nor 255
// throughout, or bit fields with an alpha mask.
bool HasAlphaChannel(std::span<const std::uint8_t> file, const BitmapFileLayout& layout);

// The pixels of a picture that carries alpha, as stored (nothing for one
// that does not). Channels of masks narrower than 8 bits are widened.
std::optional<AlphaPicture> ReadAlphaPicture(std::span<const std::uint8_t> file, const BitmapFileLayout& layout);

// Where a premultiplied picture breaks its rule: a colour channel above the
// pixel's alpha (a picture saved with straight alpha shows bright fringes).
struct PremultiplyFault {
  int x = 0, y = 0;
  std::size_t count = 0;  // how many pixels break it
};
std::optional<PremultiplyFault> FindPremultiplyFault(const AlphaPicture& picture);

// Each colour channel cut to the pixel's alpha, so that blending can never
// overflow whatever the file said.
void ClampToAlpha(AlphaPicture& picture);

// Straight (unassociated) 0xAARRGGBB pixels multiplied by their alpha,
// rounding to nearest.
std::uint32_t Premultiply(std::uint32_t straight);

// A bitmap file of the picture: 32 bits, bit fields with an alpha mask in a
// 108-byte header, rows bottom-up, as paint programs write pictures with
// alpha.
std::vector<std::uint8_t> WriteAlphaBitmap(const AlphaPicture& picture);

}  // namespace core
