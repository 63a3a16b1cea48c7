// The pixel size stated by a Windows bitmap file's headers, read without
// decoding the pixels (the definition's frame-count rules need only the size).
#pragma once
#include <cstdint>
#include <optional>
#include <span>

namespace core {

struct ImageSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const ImageSize&, const ImageSize&) = default;
};

// Nothing when the bytes are not a "BM" file with a core or info header.
// A top-down bitmap (negative height) reports its height as positive.
std::optional<ImageSize> ReadBitmapSize(std::span<const std::uint8_t> file);

}  // namespace core
