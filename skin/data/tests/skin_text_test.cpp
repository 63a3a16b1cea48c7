// Skin text on both platform paths.
#include "skin/data/skin_text.h"

#include <gtest/gtest.h>

#include "skin/data/skin_mirror.h"
#include "skin/data/tests/pixel_checks.h"

namespace skin {
namespace {

TEST(SkinText, MeasuringLeavesTheRectangleAloneAndBothPathsDrawTheSame) {
  gui::TBitmap first = testing::SolidBitmap(80, 20, RGB(255, 255, 255));
  gui::TBitmap second = testing::SolidBitmap(80, 20, RGB(255, 255, 255));
  const RECT box{2, 2, 78, 18};
  for (DWORD version : {testing::kWindowsXp, testing::kWindows98}) {
    testing::ForcedWindowsVersion platform(version);
    gui::TBitmap& b = version == testing::kWindows98 ? second : first;
    SetBkMode(b.DC(), TRANSPARENT);
    RECT r = box;
    const int height = DrawSkinText(b.DC(), L"Skin Text", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(height, 0);
    EXPECT_TRUE(EqualRect(&r, &box));
    EXPECT_EQ(DrawSkinText(b.DC(), L"Skin Text", box, DT_SINGLELINE | DT_VCENTER), height);
  }
  EXPECT_TRUE(testing::PixelsAre(second, [&](int x, int y) { return first.Pixel(x, y); }));
  EXPECT_FALSE(testing::PixelsAre(first, [](int, int) { return RGB(255, 255, 255); })) << "no text was drawn";
}

// On a mirrored context a text stands where the context puts its rectangle,
// aligned from the right, and reads (its accelerator underlined under its
// letter) exactly as on a plain context.
TEST(SkinText, OnAMirroredContextTextIsPlacedMirroredAndDrawnUnmirrored) {
  constexpr COLORREF kWhite = RGB(255, 255, 255);
  for (const UINT align : {UINT{DT_LEFT}, UINT{DT_CENTER}, UINT{DT_RIGHT}}) {
    SCOPED_TRACE(align);
    gui::TBitmap mirrored = testing::SolidBitmap(90, 20, kWhite), plain = testing::SolidBitmap(90, 20, kWhite);
    SetMirrored(mirrored.DC(), true);
    SetBkMode(mirrored.DC(), TRANSPARENT);
    SetBkMode(plain.DC(), TRANSPARENT);
    DrawSkinText(mirrored.DC(), L"&File...", RECT{4, 2, 80, 18}, DT_SINGLELINE | align);
    EXPECT_TRUE(IsMirrored(mirrored.DC()));
    SetMirrored(mirrored.DC(), false);
    const UINT shown = align == DT_CENTER ? align : (align == DT_LEFT ? UINT{DT_RIGHT} : UINT{DT_LEFT});
    DrawSkinText(plain.DC(), L"&File...", RECT{10, 2, 86, 18}, DT_SINGLELINE | shown);
    EXPECT_TRUE(testing::PixelsAre(mirrored, [&](int x, int y) { return plain.Pixel(x, y); }));
  }
}

}  // namespace
}  // namespace skin
