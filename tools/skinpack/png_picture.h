// PNG pictures from a skin author's folder, stored in the archive as the
// bitmaps the engine reads: a PNG with an alpha channel (or a transparent
// colour) becomes a 32-bit bitmap with premultiplied alpha, one without
// becomes a 24-bit bitmap, where magenta keeps its meaning. Decoded with
// libpng; built where the library is (the build machine's skinpack).
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skinpack {

// The .bmp file image of a PNG file; throws std::runtime_error with the
// library's reason for a file it cannot decode (or when PNG is not
// supported).
std::vector<std::uint8_t> PngToBitmap(std::span<const std::uint8_t> png);

// "name.png" -> "name.bmp" (any case of ".png"); other names unchanged.
std::string StoredPictureName(const std::string& name);
bool IsPngName(const std::string& name);

}  // namespace skinpack
