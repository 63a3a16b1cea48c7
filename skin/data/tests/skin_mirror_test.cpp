// Drawing for a mirrored (right-to-left) context: a picture composed off
// screen in the target's layout matches what is drawn on the target
// directly, reflected as a whole, its text unreflected.
#include "skin/data/skin_mirror.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/skin_draw.h"
#include "skin/data/skin_text.h"
#include "skin/data/tests/pixel_checks.h"

namespace skin {
namespace {

using testing::Fill;
using testing::Ink;
using testing::PixelsAre;
using testing::SolidBitmap;

constexpr COLORREF kGrey = RGB(128, 128, 128), kRed = RGB(200, 0, 0), kBlue = RGB(0, 0, 200);

// Red left column, blue elsewhere, a magenta corner at the top right.
gui::TBitmap Picture() {
  gui::TBitmap b = SolidBitmap(6, 4, kBlue);
  Fill(b, 0, 0, 1, 4, kRed);
  Fill(b, 5, 0, 6, 1, TransparentColour);
  return b;
}

// What a skinner composes in the target's layout and copies there is what
// it would have drawn there directly; the guard gives the layout back.
TEST(Mirroring, AComposedPictureMatchesDrawingOnTheMirroredTarget) {
  gui::TBitmap picture = Picture();
  gui::TBitmap direct = SolidBitmap(30, 16, kGrey), composed = SolidBitmap(30, 16, kGrey);
  SetMirrored(direct.DC(), true);
  SetMirrored(composed.DC(), true);
  const auto draw = [&picture](HDC dc) {
    DrawFrame(dc, RECT{1, 1, 13, 5}, picture, true, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    DrawSkinText(dc, L"Ab", RECT{2, 5, 30, 16}, DT_SINGLELINE);
  };
  draw(direct.DC());
  gui::TBitmap work = SolidBitmap(30, 16, kGrey);
  {
    const TMirrorLike like(work.DC(), composed.DC());
    EXPECT_TRUE(IsMirrored(work.DC()));
    draw(work.DC());
    BitBlt(composed.DC(), 0, 0, 30, 16, work.DC(), 0, 0, SRCCOPY);
  }
  EXPECT_FALSE(IsMirrored(work.DC()));
  SetMirrored(direct.DC(), false);
  SetMirrored(composed.DC(), false);
  EXPECT_TRUE(PixelsAre(composed, [&direct](int x, int y) { return direct.Pixel(x, y); }));
  // The picture's red column is at the right, the text at the right half
  // reading as it does on a context that is not mirrored.
  EXPECT_EQ(composed.Pixel(28, 2), kRed);
  gui::TBitmap plain = SolidBitmap(30, 16, kGrey);
  SetBkMode(plain.DC(), TRANSPARENT);
  DrawSkinText(plain.DC(), L"Ab", RECT{0, 5, 30, 16}, DT_SINGLELINE);
  const std::vector<std::string> text = Ink(composed, RECT{0, 5, 30, 16}, kGrey);
  EXPECT_EQ(text, Ink(plain, RECT{0, 5, 30, 16}, kGrey));
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(Ink(composed, RECT{0, 5, 10, 16}, kGrey), std::vector<std::string>{});
}

}  // namespace
}  // namespace skin
