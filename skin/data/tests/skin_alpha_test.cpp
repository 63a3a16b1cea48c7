// Pictures with premultiplied alpha, read from 32-bit files and blended by
// every drawing primitive over known backgrounds; regions cut where they
// cover nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <sstream>

#include "core/skindef/alpha_picture.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_region.h"
#include "skin/data/tests/pixel_checks.h"

namespace skin {
namespace {

using testing::SolidBitmap;

// A 6 x 6 frame in rings: the outer ring covers nothing, the next is half
// covered (straight colour 200, 40, 100), the inside is opaque green. Frame
// 1 of the strip is opaque red, so a wrong frame shows.
constexpr int kFrame = 6;
constexpr std::uint32_t kClear = 0x00000000, kOpaque = 0xFF00C800;
const std::uint32_t kSoft = core::Premultiply(0x80C82864);

int Ring(int x, int y, int w, int h) { return std::min({x, y, w - 1 - x, h - 1 - y, 2}); }
std::uint32_t RingPixel(int ring) { return ring == 0 ? kClear : ring == 1 ? kSoft : kOpaque; }

gui::TBitmap AlphaStrip() {
  core::AlphaPicture picture{2 * kFrame, kFrame, {}};
  for (int y = 0; y < kFrame; ++y)
    for (int x = 0; x < 2 * kFrame; ++x)
      picture.pixels.push_back(x < kFrame ? 0xFFFF0000 : RingPixel(Ring(x - kFrame, y, kFrame, kFrame)));
  const std::vector<std::uint8_t> file = core::WriteAlphaBitmap(picture);
  gui::TBitmap strip;
  EXPECT_TRUE(strip.LoadFromBmpBytes(file));
  EXPECT_TRUE(strip.PremultipliedAlpha);
  return strip;
}

// The premultiplied pixel over an opaque background.
COLORREF Over(std::uint32_t pixel, COLORREF back) {
  const std::uint32_t keep = 255 - (pixel >> 24);
  auto channel = [&](std::uint32_t src, std::uint32_t dst) { return src + (dst * keep + 127) / 255; };
  return RGB(channel((pixel >> 16) & 0xFF, GetRValue(back)), channel((pixel >> 8) & 0xFF, GetGValue(back)),
             channel(pixel & 0xFF, GetBValue(back)));
}

// Every pixel within one step per channel of what blending gives: the
// system's blend rounds its own way.
::testing::AssertionResult BlendedAs(const gui::TBitmap& b, const std::function<COLORREF(int, int)>& expected) {
  std::ostringstream diff;
  int wrong = 0;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const COLORREF want = expected(x, y), got = b.Pixel(x, y);
      if (std::abs(GetRValue(want) - GetRValue(got)) <= 1 && std::abs(GetGValue(want) - GetGValue(got)) <= 1 &&
          std::abs(GetBValue(want) - GetBValue(got)) <= 1)
        continue;
      if (++wrong <= 6) diff << " (" << x << "," << y << "): got 0x" << std::hex << got << " want 0x" << want << std::dec;
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " pixels differ:" << diff.str();
}

constexpr COLORREF kBackgrounds[] = {RGB(255, 255, 255), RGB(20, 30, 120)};

TEST(AlphaPictures, EveryPrimitiveBlendsTheSoftEdgeOverWhatIsThere) {
  gui::TBitmap strip = AlphaStrip();
  const RECT margins{2, 2, 2, 2};
  for (COLORREF back : kBackgrounds) {
    SCOPED_TRACE(::testing::Message() << "background 0x" << std::hex << back);
    // Stretched wider and taller than the frame: corners true size, edges
    // and centre stretched, so the rings keep their widths.
    const int w = 14, h = 9;
    auto rings = [&](int x, int y) { return Over(RingPixel(Ring(x, y, w, h)), back); };
    for (bool transparent : {false, true}) {
      gui::TBitmap dest = SolidBitmap(w, h, back);
      DrawNineSlice(dest.DC(), RECT{0, 0, w, h}, strip, false, false, transparent, 2, 2, margins);
      EXPECT_TRUE(BlendedAs(dest, rings)) << "DrawNineSlice, transparent " << transparent;
    }
    gui::TBitmap dest = SolidBitmap(w, h, back);
    DrawNineSlice(dest.DC(), RECT{0, 0, w, h}, strip, false, true, false, 2, 2, margins);
    EXPECT_TRUE(BlendedAs(dest, rings)) << "DrawNineSlice, tiled centre";

    // The outer slices only: the centre keeps the background.
    dest = SolidBitmap(w, h, back);
    DrawNineSliceFrame(dest.DC(), RECT{0, 0, w, h}, strip, false, 2, 2, margins);
    EXPECT_TRUE(BlendedAs(dest, [&](int x, int y) { return Ring(x, y, w, h) < 2 ? rings(x, y) : back; }))
        << "DrawNineSliceFrame";

    // Three-slice at the frame's height: the middle columns repeat.
    dest = SolidBitmap(w, kFrame, back);
    gui::TCanvas canvas(dest.DC());
    DrawThreeSlice(canvas, RECT{0, 0, w, kFrame}, strip, false, false, 2, 2, margins);
    EXPECT_TRUE(BlendedAs(dest, [&](int x, int y) { return Over(RingPixel(Ring(x, y, w, kFrame)), back); }))
        << "DrawThreeSlice";

    // One frame at its size, and the picture unscaled.
    auto frame = [&](int x, int y) { return Over(RingPixel(Ring(x, y, kFrame, kFrame)), back); };
    dest = SolidBitmap(kFrame, kFrame, back);
    DrawFrame(dest.DC(), RECT{0, 0, kFrame, kFrame}, strip, false, 2, 2);
    EXPECT_TRUE(BlendedAs(dest, frame)) << "DrawFrame";
    dest = SolidBitmap(kFrame, kFrame, back);
    gui::TBitmap one;
    one.CopyFrom(strip);
    DrawTransparent(dest.DC(), RECT{-kFrame, 0, kFrame, kFrame}, one, TransparentColour);
    EXPECT_TRUE(BlendedAs(dest, frame)) << "DrawTransparent";

    // Tiles of the second frame side by side.
    dest = SolidBitmap(2 * kFrame, kFrame, back);
    gui::TCanvas tiles(dest.DC());
    TileDraw(tiles, RECT{0, 0, 2 * kFrame, kFrame}, strip, RECT{kFrame, 0, 2 * kFrame, kFrame});
    EXPECT_TRUE(BlendedAs(dest, [&](int x, int y) { return frame(x % kFrame, y); })) << "TileDraw";

    dest = SolidBitmap(2 * kFrame, kFrame, back);
    gui::TCanvas(dest.DC()).Draw(0, 0, strip);
    EXPECT_TRUE(BlendedAs(dest, [&](int x, int y) { return x < kFrame ? RGB(255, 0, 0) : frame(x - kFrame, y); }))
        << "TCanvas::Draw";
  }
}

TEST(AlphaPictures, RenderedSlicesKeepTheirAlphaAndRegionsCutWhatIsNotCovered) {
  gui::TBitmap strip = AlphaStrip();
  gui::TBitmap rendered = RenderNineSlice(RECT{0, 0, 10, 8}, strip, RECT{2, 2, 2, 2}, false, false, 2, 2);
  ASSERT_TRUE(rendered.PremultipliedAlpha);
  GdiFlush();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x)
      ASSERT_EQ(rendered.Bits()[y * 10 + x] >> 24, RingPixel(Ring(x, y, 10, 8)) >> 24) << x << "," << y;

  // The clear ring goes, the half-covered one stays; magenta in a picture
  // with alpha is a colour.
  gui::RegionHandle region = CreateRegionFromBitmap(rendered, 5, 7, 1, 1, 1, TransparentColour);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(PtInRegion(region.get(), x + 5, y + 7) != 0, Ring(x, y, 10, 8) > 0) << x << "," << y;
  rendered.Bits()[3 * 10 + 3] = 0xFFFF00FF;
  region = CreateRegionFromBitmap(rendered, 0, 0, 1, 1, 1, TransparentColour);
  EXPECT_TRUE(PtInRegion(region.get(), 3, 3));
}

TEST(AlphaPictures, OnlyPicturesThatSayAlphaAreReadWithItAndStraightColourIsCut) {
  // A 32-bit file whose fourth byte is zero throughout is an opaque picture,
  // read as before (magenta still keyed).
  core::AlphaPicture opaque{2, 1, {0x00FF00FF, 0x00123456}};
  std::vector<std::uint8_t> file = core::WriteAlphaBitmap(opaque);
  file[14 + 52] = file[14 + 53] = file[14 + 54] = file[14 + 55] = 0;  // no alpha mask
  gui::TBitmap plain;
  ASSERT_TRUE(plain.LoadFromBmpBytes(file));
  EXPECT_FALSE(plain.PremultipliedAlpha);
  EXPECT_EQ(plain.Pixel(0, 0), TransparentColour);

  // Straight colour above its alpha is cut to it, so blending cannot
  // overflow.
  core::AlphaPicture straight{1, 1, {0x40FF8020}};
  gui::TBitmap cut;
  ASSERT_TRUE(cut.LoadFromBmpBytes(core::WriteAlphaBitmap(straight)));
  GdiFlush();
  EXPECT_EQ(cut.Bits()[0], 0x40404020u);
  gui::TBitmap resized;
  resized.CopyFrom(cut);
  EXPECT_TRUE(resized.PremultipliedAlpha);
  resized.SetSize(2, 2);
  EXPECT_FALSE(resized.PremultipliedAlpha);
}

}  // namespace
}  // namespace skin
