#include "gui/bitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>
#include <utility>

namespace gui {

TBitmap::TBitmap(TBitmap&& other) noexcept { *this = std::move(other); }

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this == &other) return *this;
  ReleaseDc();
  other.ReleaseDc();
  bitmap_ = std::move(other.bitmap_);
  bits_ = std::exchange(other.bits_, nullptr);
  width_ = std::exchange(other.width_, 0);
  height_ = std::exchange(other.height_, 0);
  Transparent = other.Transparent;
  TransparentColor = other.TransparentColor;
  return *this;
}

TBitmap::~TBitmap() { ReleaseDc(); }

void TBitmap::ReleaseDc() {
  if (!dc_) return;
  SelectObject(dc_, dcOld_);
  DeleteDC(dc_);
  dc_ = nullptr;
  dcOld_ = nullptr;
}

void TBitmap::SetSize(int width, int height) {
  ReleaseDc();
  bitmap_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
  if (width <= 0 || height <= 0) return;
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;  // top-down
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) return;
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
}

HDC TBitmap::DC() {
  if (!dc_ && bitmap_) {
    dc_ = CreateCompatibleDC(nullptr);
    dcOld_ = SelectObject(dc_, bitmap_.get());
  }
  return dc_;
}

COLORREF TBitmap::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  GdiFlush();
  const std::uint32_t p = bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void TBitmap::SetPixel(int x, int y, COLORREF c) {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  GdiFlush();
  bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] =
      static_cast<std::uint32_t>(GetRValue(c)) << 16 | static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
}

void TBitmap::LoadFromFormData(std::span<const std::uint8_t> data) {
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
    LoadFromBmpBytes(data);
    return;
  }
  std::uint32_t count = 0;
  if (data.size() < sizeof(count)) return;
  std::memcpy(&count, data.data(), sizeof(count));
  const std::size_t size = std::min<std::size_t>(count, data.size() - sizeof(count));
  if (size == 0) {
    SetSize(0, 0);
    return;
  }
  LoadFromBmpBytes(data.subspan(sizeof(count), size));
}

bool TBitmap::LoadFromBmpBytes(std::span<const std::uint8_t> data) {
  SetSize(0, 0);
  BITMAPFILEHEADER file;
  if (data.size() < sizeof file + sizeof(BITMAPCOREHEADER)) return false;
  std::memcpy(&file, data.data(), sizeof file);
  if (file.bfType != 0x4D42) return false;
  const std::span<const std::uint8_t> info = data.subspan(sizeof file);
  DWORD headerSize;
  std::memcpy(&headerSize, info.data(), 4);
  if (headerSize == sizeof(BITMAPCOREHEADER)) return LoadFromCoreBmp(data, file.bfOffBits);
  if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > info.size()) return false;
  BITMAPINFOHEADER h;
  std::memcpy(&h, info.data(), sizeof h);
  const LONG height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  if (h.biWidth <= 0 || height <= 0 || h.biWidth > 32767 || height > 32767 || h.biPlanes != 1) return false;
  if (file.bfOffBits >= data.size()) return false;
  const std::size_t available = data.size() - file.bfOffBits;

  // Colour table and bit masks must lie inside the buffer, and so must the
  // pixels of an uncompressed image.
  std::size_t colours = h.biClrUsed ? h.biClrUsed : (h.biBitCount <= 8 ? (1u << h.biBitCount) : 0);
  if (h.biCompression == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER)) colours = 3;
  if (headerSize + colours * 4 > info.size()) return false;
  if (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS) {
    const std::size_t stride = ((static_cast<std::size_t>(h.biWidth) * h.biBitCount + 31) / 32) * 4;
    if (h.biBitCount == 0 || stride * static_cast<std::size_t>(height) > available) return false;
  } else if (h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4) {
    if (h.biSizeImage == 0 || h.biSizeImage > available) return false;
  } else {
    return false;
  }

  SetSize(h.biWidth, height);
  if (Empty()) return false;
  const auto* bmi = reinterpret_cast<const BITMAPINFO*>(info.data());
  const int lines = StretchDIBits(DC(), 0, 0, width_, height_, 0, 0, width_, height_, data.data() + file.bfOffBits,
                                  bmi, DIB_RGB_COLORS, SRCCOPY);
  if (lines == 0 || lines == static_cast<int>(GDI_ERROR)) {
    SetSize(0, 0);
    return false;
  }
  GdiFlush();
  return true;
}

// The old OS/2-style header (12 bytes, 3-byte palette entries): rewritten as
// the usual header with a 4-byte palette, then read as any other.
bool TBitmap::LoadFromCoreBmp(std::span<const std::uint8_t> data, std::size_t bitsOffset) {
  BITMAPCOREHEADER core;
  std::memcpy(&core, data.data() + sizeof(BITMAPFILEHEADER), sizeof core);
  if (core.bcBitCount != 1 && core.bcBitCount != 4 && core.bcBitCount != 8 && core.bcBitCount != 24) return false;
  const std::size_t colours = core.bcBitCount <= 8 ? (1u << core.bcBitCount) : 0;
  const std::size_t paletteAt = sizeof(BITMAPFILEHEADER) + sizeof core;
  if (paletteAt + colours * 3 > data.size() || bitsOffset < paletteAt + colours * 3 || bitsOffset > data.size())
    return false;
  std::vector<std::uint8_t> converted(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + colours * 4);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = static_cast<DWORD>(converted.size());
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = core.bcWidth;
  info.biHeight = core.bcHeight;
  info.biPlanes = 1;
  info.biBitCount = core.bcBitCount;
  info.biCompression = BI_RGB;
  std::memcpy(converted.data(), &file, sizeof file);
  std::memcpy(converted.data() + sizeof file, &info, sizeof info);
  for (std::size_t i = 0; i < colours; ++i)
    std::memcpy(converted.data() + sizeof file + sizeof info + i * 4, data.data() + paletteAt + i * 3, 3);
  converted.insert(converted.end(), data.begin() + static_cast<std::ptrdiff_t>(bitsOffset), data.end());
  file.bfSize = static_cast<DWORD>(converted.size());
  std::memcpy(converted.data(), &file, sizeof file);
  return LoadFromBmpBytes(converted);
}

bool TBitmap::Assign(HBITMAP source) {
  BITMAP info{};
  if (!source || !GetObjectW(source, sizeof info, &info)) {
    SetSize(0, 0);
    return false;
  }
  SetSize(info.bmWidth, info.bmHeight);
  if (Empty()) return false;
  MemoryDcHandle src(CreateCompatibleDC(nullptr));
  SelectGuard select(src.get(), source);
  BitBlt(DC(), 0, 0, width_, height_, src.get(), 0, 0, SRCCOPY);
  GdiFlush();
  return true;
}

void TBitmap::CopyFrom(const TBitmap& source) {
  SetSize(source.width_, source.height_);
  if (!Empty()) {
    GdiFlush();
    std::memcpy(bits_, source.bits_, static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4);
  }
  Transparent = source.Transparent;
  TransparentColor = source.TransparentColor;
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
  if (!dc_ || bitmap.Empty()) return;
  if (bitmap.Transparent) {
    TransparentBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.DC(), 0, 0, bitmap.Width(), bitmap.Height(),
                   bitmap.TransparentColor);
  } else {
    BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.DC(), 0, 0, SRCCOPY);
  }
}

void TCanvas::FillRect(const RECT& r, TColor color) {
  BrushHandle brush(CreateSolidBrush(ColorToRGB(color)));
  ::FillRect(dc_, &r, brush.get());
}

}  // namespace gui
