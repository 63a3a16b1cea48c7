// Regions cut from bitmaps, compared with the expected region through
// CombineRgn(RGN_XOR), which leaves nothing when the two are equal.
#include "skin/data/skin_region.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "skin/data/skin_draw.h"
#include "skin/data/tests/pixel_checks.h"

namespace skin {
namespace {

// The union of one-pixel squares for every (x, y) the predicate keeps.
gui::RegionHandle PixelRegion(int w, int h, int dx, int dy, const std::function<bool(int, int)>& keep) {
  gui::RegionHandle result(CreateRectRgn(0, 0, 0, 0));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (keep(x, y)) {
        gui::RegionHandle pixel(CreateRectRgn(x + dx, y + dy, x + dx + 1, y + dy + 1));
        CombineRgn(result.get(), result.get(), pixel.get(), RGN_OR);
      }
  return result;
}

::testing::AssertionResult SameRegion(HRGN actual, HRGN expected) {
  if (!actual) return ::testing::AssertionFailure() << "no region";
  gui::RegionHandle difference(CreateRectRgn(0, 0, 0, 0));
  const int kind = CombineRgn(difference.get(), actual, expected, RGN_XOR);
  if (kind == NULLREGION) return ::testing::AssertionSuccess();
  RECT box{};
  GetRgnBox(difference.get(), &box);
  return ::testing::AssertionFailure() << "regions differ within (" << box.left << "," << box.top << ")-(" << box.right
                                       << "," << box.bottom << ")";
}

int RectangleCount(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<std::uint8_t> data(size);
  GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data()));
  return static_cast<int>(reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount);
}

TEST(RegionFromBitmap, MagentaWithToleranceOneCutsOutGreenZeroAndOneOnly) {
  const COLORREF row[] = {TransparentColour, RGB(255, 1, 255), RGB(255, 2, 255), RGB(254, 0, 255),
                          RGB(255, 0, 254),  RGB(0, 0, 0),     TransparentColour, RGB(255, 1, 255)};
  gui::TBitmap b(8, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 8; ++x) b.SetPixel(x, y, y == 1 && x == 0 ? RGB(9, 9, 9) : row[x]);
  gui::RegionHandle region = CreateRegionFromBitmap(b, 5, 7, 1, 1, 1, TransparentColour);
  gui::RegionHandle expected = PixelRegion(8, 3, 5, 7, [&](int x, int y) {
    const COLORREF c = b.Pixel(x, y);
    return c != TransparentColour && c != RGB(255, 1, 255);
  });
  EXPECT_TRUE(SameRegion(region.get(), expected.get()));

  // Each channel has its own range: a blue tolerance of 1 takes 0xFF00FE in.
  gui::RegionHandle blueTolerant = CreateRegionFromBitmap(b, 0, 0, 1, 0, 0, RGB(255, 0, 254));
  gui::RegionHandle expectedBlue = PixelRegion(8, 3, 0, 0, [&](int x, int y) {
    const COLORREF c = b.Pixel(x, y);
    return c != TransparentColour && c != RGB(255, 0, 254);
  });
  EXPECT_TRUE(SameRegion(blueTolerant.get(), expectedBlue.get()));
}

TEST(RegionFromBitmap, AllTransparentGivesAnEmptyRegion) {
  gui::TBitmap b = testing::SolidBitmap(9, 4, TransparentColour);
  gui::RegionHandle region = CreateRegionFromBitmap(b, 0, 0, 1, 1, 1, TransparentColour);
  ASSERT_TRUE(region);
  RECT box;
  EXPECT_EQ(GetRgnBox(region.get(), &box), NULLREGION);
}

// A DIB section of the given row order holding a checkerboard of magenta and
// grey with a fully opaque first row: 60 x 150 gives three batches of runs.
struct TCheckerDib {
  gui::BitmapHandle Bitmap;
  static constexpr int W = 60, H = 150;
  static bool Opaque(int x, int y) { return y == 0 || (x + y) % 2 == 0; }

  explicit TCheckerDib(bool topDown) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = W;
    bmi.bmiHeader.biHeight = topDown ? -H : H;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap.reset(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < H; ++y) {
      const int stored = topDown ? y : H - 1 - y;
      for (int x = 0; x < W; ++x) pixels[stored * W + x] = Opaque(x, y) ? 0x808080u : 0xFF00FFu;
    }
  }
};

TEST(RegionFromBitmap, ManyRunsAreMergedInBatchesWhateverTheRowOrder) {
  gui::RegionHandle expected = PixelRegion(TCheckerDib::W, TCheckerDib::H, -3, 4, TCheckerDib::Opaque);
  ASSERT_GT(RectangleCount(expected.get()), 4000);
  for (bool topDown : {true, false}) {
    SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
    TCheckerDib dib(topDown);
    ASSERT_TRUE(dib.Bitmap);
    gui::RegionHandle region = CreateRegionFromBitmap(dib.Bitmap.get(), -3, 4, 1, 1, 1, TransparentColour);
    EXPECT_TRUE(SameRegion(region.get(), expected.get()));

    // The same rows walked in place, the bottom-up ones from their end.
    DIBSECTION info{};
    ASSERT_EQ(GetObjectW(dib.Bitmap.get(), sizeof info, &info), static_cast<int>(sizeof info));
    const auto* bits = static_cast<const std::uint8_t*>(info.dsBm.bmBits);
    const std::ptrdiff_t stride = TCheckerDib::W * 4;
    const TScanLines lines = topDown ? TScanLines{bits, stride, TCheckerDib::W, TCheckerDib::H}
                                     : TScanLines{bits + stride * (TCheckerDib::H - 1), -stride, TCheckerDib::W,
                                                  TCheckerDib::H};
    gui::RegionHandle walked = CreateRegionFromScanLines(lines, -3, 4, 1, 1, 1, TransparentColour);
    EXPECT_TRUE(SameRegion(walked.get(), expected.get()));
  }
  // A device-dependent bitmap goes through a 32-bit copy.
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < TCheckerDib::H; ++y)
    for (int x = 0; x < TCheckerDib::W; ++x) pixels.push_back(TCheckerDib::Opaque(x, y) ? 0x808080u : 0xFF00FFu);
  gui::BitmapHandle ddb(CreateBitmap(TCheckerDib::W, TCheckerDib::H, 1, 32, pixels.data()));
  ASSERT_TRUE(ddb);
  gui::RegionHandle region = CreateRegionFromBitmap(ddb.get(), -3, 4, 1, 1, 1, TransparentColour);
  EXPECT_TRUE(SameRegion(region.get(), expected.get()));
}

}  // namespace
}  // namespace skin
