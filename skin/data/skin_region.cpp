#include "skin/data/skin_region.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace skin {

namespace {

// The most rectangles handed to ExtCreateRegion at once; larger counts fail
// on some platforms.
constexpr DWORD kBatchRectangles = 2000;

// Collects one-pixel-high runs and ORs them into the result a batch at a
// time.
class TRegionBuilder {
 public:
  TRegionBuilder() : buffer_(sizeof(RGNDATAHEADER) + kBatchRectangles * sizeof(RECT)) { Restart(); }

  void Add(int left, int top, int right, int bottom) {
    RECT r{left, top, right, bottom};
    std::memcpy(buffer_.data() + sizeof(RGNDATAHEADER) + header_.nCount * sizeof(RECT), &r, sizeof r);
    ++header_.nCount;
    header_.rcBound.left = std::min(header_.rcBound.left, static_cast<LONG>(left));
    header_.rcBound.top = std::min(header_.rcBound.top, static_cast<LONG>(top));
    header_.rcBound.right = std::max(header_.rcBound.right, static_cast<LONG>(right));
    header_.rcBound.bottom = std::max(header_.rcBound.bottom, static_cast<LONG>(bottom));
    if (header_.nCount == kBatchRectangles) Flush();
  }

  gui::RegionHandle Finish() {
    Flush();
    gui::RegionHandle result;
    for (gui::RegionHandle& level : levels_) {
      if (!level) continue;
      if (!result) {
        result = std::move(level);
      } else {
        CombineRgn(result.get(), result.get(), level.get(), RGN_OR);
      }
    }
    if (!result) result.reset(CreateRectRgn(0, 0, 0, 0));
    return result;
  }

 private:
  void Restart() {
    header_ = RGNDATAHEADER{};
    header_.dwSize = sizeof(RGNDATAHEADER);
    header_.iType = RDH_RECTANGLES;
    header_.rcBound = RECT{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  }

  void Flush() {
    if (header_.nCount == 0) return;
    header_.nRgnSize = header_.nCount * sizeof(RECT);
    std::memcpy(buffer_.data(), &header_, sizeof header_);
    const DWORD size = static_cast<DWORD>(sizeof(RGNDATAHEADER) + header_.nRgnSize);
    gui::RegionHandle part(ExtCreateRegion(nullptr, size, reinterpret_cast<const RGNDATA*>(buffer_.data())));
    Restart();
    if (!part) return;
    // Batches are ORed like a binary counter: level k holds 2^k batches, so
    // each OR joins regions of about the same size instead of adding every
    // batch to an ever larger result.
    for (gui::RegionHandle& level : levels_) {
      if (!level) {
        level = std::move(part);
        return;
      }
      CombineRgn(part.get(), part.get(), level.get(), RGN_OR);
      level.reset();
    }
    levels_.push_back(std::move(part));
  }

  std::vector<std::uint8_t> buffer_;
  RGNDATAHEADER header_{};
  std::vector<gui::RegionHandle> levels_;
};

struct TChannelRange {
  std::uint8_t Low, High;
  bool Contains(std::uint8_t v) const { return v >= Low && v <= High; }
};

TChannelRange RangeOf(int value, int tolerance) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(std::clamp(value + tolerance, value, 255))};
}

// Every run of pixels that `cut` does not take out, row by row.
template <class Cut>
gui::RegionHandle RegionOfRuns(const TScanLines& pixels, int xOffset, int yOffset, Cut cut) {
  TRegionBuilder builder;
  for (int y = 0; y < pixels.Height; ++y) {
    const std::uint8_t* row = pixels.TopRow + static_cast<std::ptrdiff_t>(y) * pixels.Stride;
    int x = 0;
    while (x < pixels.Width) {
      while (x < pixels.Width && cut(row + 4 * x)) ++x;
      const int start = x;
      while (x < pixels.Width && !cut(row + 4 * x)) ++x;
      if (x > start) builder.Add(start + xOffset, y + yOffset, x + xOffset, y + yOffset + 1);
    }
  }
  return builder.Finish();
}

}  // namespace

gui::RegionHandle CreateRegionFromScanLines(const TScanLines& pixels, int xOffset, int yOffset, int blueTolerance,
                                            int greenTolerance, int redTolerance, COLORREF colour) {
  const TChannelRange blue = RangeOf(GetBValue(colour), blueTolerance);
  const TChannelRange green = RangeOf(GetGValue(colour), greenTolerance);
  const TChannelRange red = RangeOf(GetRValue(colour), redTolerance);
  auto inRange = [&](const std::uint8_t* p) { return blue.Contains(p[0]) && green.Contains(p[1]) && red.Contains(p[2]); };
  return RegionOfRuns(pixels, xOffset, yOffset, inRange);
}

gui::RegionHandle CreateRegionFromBitmap(const gui::TBitmap& bitmap, int xOffset, int yOffset, int blueTolerance,
                                         int greenTolerance, int redTolerance, COLORREF colour) {
  GdiFlush();
  const TScanLines lines{reinterpret_cast<const std::uint8_t*>(bitmap.Bits()),
                         static_cast<std::ptrdiff_t>(bitmap.Width()) * 4, bitmap.Width(), bitmap.Height()};
  // A picture with alpha says itself what is not there: what it does not
  // cover at all. Its colours, magenta included, are colours.
  if (bitmap.PremultipliedAlpha)
    return RegionOfRuns(lines, xOffset, yOffset, [](const std::uint8_t* p) { return p[3] == 0; });
  return CreateRegionFromScanLines(lines, xOffset, yOffset, blueTolerance, greenTolerance, redTolerance, colour);
}

gui::RegionHandle CreateRegionFromBitmap(HBITMAP bitmap, int xOffset, int yOffset, int blueTolerance,
                                         int greenTolerance, int redTolerance, COLORREF colour) {
  // Read as 32-bit top-down rows through the system: the row order a DIB
  // section reports for itself is not reliable on every platform.
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
    return gui::RegionHandle(CreateRectRgn(0, 0, 0, 0));
  }
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = info.bmWidth;
  bmi.bmiHeader.biHeight = -info.bmHeight;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(info.bmWidth) * static_cast<std::size_t>(info.bmHeight));
  gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  if (GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &bmi, DIB_RGB_COLORS) !=
      info.bmHeight) {
    return gui::RegionHandle(CreateRectRgn(0, 0, 0, 0));
  }
  const TScanLines lines{reinterpret_cast<const std::uint8_t*>(pixels.data()),
                         static_cast<std::ptrdiff_t>(info.bmWidth) * 4, info.bmWidth, info.bmHeight};
  return CreateRegionFromScanLines(lines, xOffset, yOffset, blueTolerance, greenTolerance, redTolerance, colour);
}

}  // namespace skin
