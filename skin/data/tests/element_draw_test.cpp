// One element drawn in a state: what the element says (keying, frames,
// tiling) unless the state says otherwise.
#include "skin/data/element_draw.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "core/skindef/alpha_picture.h"
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

// Frame 1 opaque red; frame 2 a half-covered blue ring (premultiplied)
// around a clear centre.
gui::TBitmap AlphaStrip() {
  core::AlphaPicture picture{8, 4, {}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool ring = x == 4 || x == 7 || y == 0 || y == 3;
      picture.pixels.push_back(x < 4 ? 0xFFC80000 : ring ? 0x80000064 : 0x00000000);
    }
  gui::TBitmap strip;
  EXPECT_TRUE(strip.LoadFromBmpBytes(core::WriteAlphaBitmap(picture)));
  return strip;
}

// Every pixel of the middle between the same pixel of the two looks, and
// within a step of halfway at progress 128.
::testing::AssertionResult Between(const gui::TBitmap& from, const gui::TBitmap& mid, const gui::TBitmap& to) {
  std::ostringstream diff;
  int wrong = 0;
  for (int y = 0; y < mid.Height(); ++y)
    for (int x = 0; x < mid.Width(); ++x) {
      const COLORREF a = from.Pixel(x, y), m = mid.Pixel(x, y), b = to.Pixel(x, y);
      for (int shift : {0, 8, 16}) {
        const int ca = (a >> shift) & 0xFF, cm = (m >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        if (std::abs(2 * cm - ca - cb) <= 3) continue;
        if (++wrong <= 6)
          diff << " (" << x << "," << y << "): 0x" << std::hex << a << " .. 0x" << m << " .. 0x" << b << std::dec;
        break;
      }
    }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " pixels not halfway:" << diff.str();
}

TEST(ElementDraw, ATransitionsMiddleLiesHalfwayBetweenItsLooksForEveryPictureKind) {
  TDataSkinObject e("Test");
  MakeElement(e);
  gui::TBitmap alpha = AlphaStrip();
  struct Kind {
    const char* name;
    int trans;
    const gui::TBitmap* picture;
  };
  for (const Kind& kind : {Kind{"24-bit", 0, nullptr}, Kind{"keyed", 1, nullptr}, Kind{"alpha", 0, &alpha}}) {
    SCOPED_TRACE(kind.name);
    e.Trans = kind.trans;
    for (const auto& [from, to] : {std::pair(1, 2), std::pair(2, 1)}) {
      const TElementState look{.Frame = to, .Picture = kind.picture};
      const gui::TBitmap before = Drawn(e, {.Frame = from, .Picture = kind.picture});
      const gui::TBitmap after = Drawn(e, look);
      TElementState middle = look;
      middle.FromFrame = from;
      middle.Progress = 128;
      EXPECT_TRUE(Between(before, Drawn(e, middle), after));
      // The ends are the looks themselves.
      middle.Progress = 0;
      EXPECT_TRUE(PixelsAre(Drawn(e, middle), [&](int x, int y) { return before.Pixel(x, y); }));
      middle.Progress = TElementState::kTransitionDone;
      EXPECT_TRUE(PixelsAre(Drawn(e, middle), [&](int x, int y) { return after.Pixel(x, y); }));
    }
  }
  // On a mirrored context the middle is of the mirrored looks.
  e.Trans = 1;
  Fill(e.Image, 4, 0, 5, 4, kRed);  // frame 2's left edge marks the side
  auto mirrored = [&](const TElementState& state) {
    gui::TBitmap out = SolidBitmap(6, 4, kGreen);
    SetLayout(out.DC(), LAYOUT_RTL);
    DrawElement(out.DC(), RECT{1, 0, 5, 4}, e, state);
    return out;
  };
  EXPECT_TRUE(Between(mirrored({.Frame = 1}), mirrored({.Frame = 2, .FromFrame = 1, .Progress = 128}),
                      mirrored({.Frame = 2})));
}

}  // namespace
}  // namespace skin
