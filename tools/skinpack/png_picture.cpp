#include "tools/skinpack/png_picture.h"

#include <stdexcept>

#include "core/skindef/alpha_picture.h"
#include "core/skindef/bitmap_header.h"

#if SKINPACK_PNG
#include <png.h>
#endif

namespace skinpack {

bool IsPngName(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == ".png";
}

std::string StoredPictureName(const std::string& name) {
  return IsPngName(name) ? name.substr(0, name.size() - 4) + ".bmp" : name;
}

#if SKINPACK_PNG

namespace {

std::vector<std::uint8_t> Bitmap24(int width, int height, const std::vector<std::uint32_t>& pixels) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(height), offset = 14 + 40;
  std::vector<std::uint8_t> out;
  auto put = [&out](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  put(0x4D42, 2), put(offset + pixelBytes, 4), put(0, 4), put(offset, 4);
  put(40, 4), put(static_cast<std::uint32_t>(width), 4), put(static_cast<std::uint32_t>(height), 4);
  put(1, 2), put(24, 2), put(0, 4), put(pixelBytes, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t rowStart = out.size();
    for (int x = 0; x < width; ++x)
      put(pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)], 3);
    out.resize(rowStart + stride, 0);
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> PngToBitmap(std::span<const std::uint8_t> png) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
    const std::string reason = image.message;
    png_image_free(&image);
    throw std::runtime_error("not a PNG picture the library reads (" + reason + ")");
  }
  const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  if (image.width < 1 || image.height < 1 || image.width > static_cast<png_uint_32>(core::kMaxPictureSide) ||
      image.height > static_cast<png_uint_32>(core::kMaxPictureSide) ||
      std::uint64_t{image.width} * image.height > core::kMaxPicturePixels) {
    png_image_free(&image);
    throw std::runtime_error("larger than the engine reads (4096 pixels a side, 4,194,304 in all)");
  }
  // Bytes blue, green, red, alpha: little-endian 0xAARRGGBB, straight alpha.
  image.format = PNG_FORMAT_BGRA;
  core::AlphaPicture picture{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  picture.pixels.resize(std::size_t{image.width} * image.height);
  if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
    const std::string reason = image.message;
    png_image_free(&image);
    throw std::runtime_error("not a PNG picture the library reads (" + reason + ")");
  }
  if (!alpha) return Bitmap24(picture.width, picture.height, picture.pixels);
  for (std::uint32_t& p : picture.pixels) p = core::Premultiply(p);
  return core::WriteAlphaBitmap(picture);
}

#else

std::vector<std::uint8_t> PngToBitmap(std::span<const std::uint8_t>) {
  throw std::runtime_error("this skinpack reads no PNG pictures; pack with the build machine's skinpack");
}

#endif

}  // namespace skinpack
