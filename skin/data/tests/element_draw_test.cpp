// One element drawn in a state: what the element says (keying, frames,
// tiling) unless the state says otherwise.
#include "skin/data/element_draw.h"

#include <gtest/gtest.h>

#include "skin/data/skin_draw.h"
#include "skin/data/tests/pixel_checks.h"

namespace skin {
namespace {

using testing::Fill;
using testing::PixelsAre;
using testing::SolidBitmap;

constexpr COLORREF kRed = RGB(200, 0, 0), kBlue = RGB(0, 0, 200), kGreen = RGB(0, 160, 0);
constexpr COLORREF kMagenta = TransparentColour;

// Two 4 x 4 frames side by side: the first red, the second a blue ring
// around a magenta 2 x 2 centre; one-pixel margins.
void MakeElement(TDataSkinObject& e) {
  e.Image = SolidBitmap(8, 4, kRed);
  Fill(e.Image, 4, 0, 8, 4, kBlue);
  Fill(e.Image, 5, 1, 7, 3, kMagenta);
  e.LeftWidth = e.TopHeight = e.RightWidth = e.BottomHeight = 1;
  e.FrameCount = 2;
}

// The second frame's look on green: ring blue, centre `centre`.
auto Ring(COLORREF centre) {
  return [centre](int x, int y) { return (x == 0 || y == 0 || x == 3 || y == 3) ? kBlue : centre; };
}

gui::TBitmap Drawn(const TDataSkinObject& e, const TElementState& state, RECT target = RECT{0, 0, 4, 4}) {
  gui::TBitmap out = SolidBitmap(4, 4, kGreen);
  DrawElement(out.DC(), target, e, state);
  return out;
}

TEST(ElementDraw, TheElementDecidesUnlessTheStateSaysOtherwise) {
  TDataSkinObject e("Test");
  MakeElement(e);
  e.Trans = 1;
  EXPECT_TRUE(PixelsAre(Drawn(e, {.Frame = 2}), Ring(kGreen)));
  EXPECT_TRUE(PixelsAre(Drawn(e, {.Frame = 2, .Keying = TElementKeying::Opaque}), Ring(kMagenta)));
  EXPECT_TRUE(PixelsAre(Drawn(e, {.Frame = 2, .Fit = TElementFit::Border, .Keying = TElementKeying::Opaque}),
                        Ring(kGreen)));
  e.Trans = 0;
  EXPECT_TRUE(PixelsAre(Drawn(e, {.Frame = 2}), Ring(kMagenta)));
  EXPECT_TRUE(PixelsAre(Drawn(e, {.Frame = 2, .Fit = TElementFit::Stretch, .Keying = TElementKeying::Keyed}),
                        Ring(kGreen)));
  // The first frame; and the whole picture as one frame when the state
  // counts one.
  EXPECT_TRUE(PixelsAre(Drawn(e, {}), [](int, int) { return kRed; }));
  const gui::TBitmap whole = Drawn(e, {.Fit = TElementFit::Stretch, .Frames = 1});
  EXPECT_EQ(whole.Pixel(0, 0), kRed);
  EXPECT_EQ(whole.Pixel(3, 0), kBlue);
  // Another picture of the element, with the element's frames.
  gui::TBitmap other = SolidBitmap(8, 4, kBlue);
  Fill(other, 0, 0, 4, 4, kRed);
  EXPECT_TRUE(PixelsAre(Drawn(e, {.Frame = 2, .Picture = &other}), [](int, int) { return kBlue; }));
  // An inverted target and an empty picture draw nothing.
  EXPECT_TRUE(PixelsAre(Drawn(e, {}, RECT{4, 0, 0, 4}), [](int, int) { return kGreen; }));
  const gui::TBitmap none;
  EXPECT_TRUE(PixelsAre(Drawn(e, {.Picture = &none}), [](int, int) { return kGreen; }));
  // A frame piece's Stretch key reads the other way round; a state may
  // still choose.
  e.TileKeyIsStretch = true;
  e.Tile = 1;
  EXPECT_FALSE(IsTiled(e));
  EXPECT_TRUE(IsTiled(e, {.Tiling = TElementTiling::Tiled}));
  e.Tile = 0;
  EXPECT_TRUE(IsTiled(e));
  EXPECT_FALSE(IsTiled(e, {.Tiling = TElementTiling::Stretched}));
}

}  // namespace
}  // namespace skin
