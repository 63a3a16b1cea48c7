// Skin text on both platform paths.
#include "skin/data/skin_text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace skin
