// Slicing and blitting, pixel by pixel, on small bitmaps whose pieces have
// distinct colours.
#include "skin/data/skin_draw.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <utility>
#include <random>

#include "skin/data/skin_scratch.h"
#include "skin/data/tests/pixel_checks.h"

namespace skin {
namespace {

using testing::Fill;
using testing::ForcedWindowsVersion;
using testing::PixelsAre;
using testing::SolidBitmap;

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kJunk = RGB(1, 1, 1);

// A 10 x 8 frame cut by margins 2, 3, 4, 1 into nine solid pieces.
const RECT kMargins{2, 3, 4, 1};
constexpr int kFrameW = 10, kFrameH = 8;
// Indexed [row class][column class]: top, middle, bottom by left, centre, right.
constexpr std::array<std::array<COLORREF, 3>, 3> kPiece{{
    {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)},
    {RGB(200, 200, 0), RGB(0, 200, 200), RGB(200, 0, 200)},
    {RGB(90, 10, 10), RGB(10, 90, 10), RGB(10, 10, 90)},
}};

int ClassOf(int v, int size, int first, int last) { return v < first ? 0 : (v >= size - last ? 2 : 1); }

COLORREF ExpectedPiece(int x, int y, int w, int h, const RECT& m) {
  return kPiece[ClassOf(y, h, m.top, m.bottom)][ClassOf(x, w, m.left, m.right)];
}

void PaintFrame(gui::TBitmap& b, int x0, int y0) {
  for (int y = 0; y < kFrameH; ++y)
    for (int x = 0; x < kFrameW; ++x) b.SetPixel(x0 + x, y0 + y, ExpectedPiece(x, y, kFrameW, kFrameH, kMargins));
}

// Two frames side by side (or stacked); the second holds the pieces.
gui::TBitmap NineSliceStrip(bool vertical) {
  gui::TBitmap b = vertical ? SolidBitmap(kFrameW, 2 * kFrameH, kJunk) : SolidBitmap(2 * kFrameW, kFrameH, kJunk);
  PaintFrame(b, vertical ? 0 : kFrameW, vertical ? kFrameH : 0);
  return b;
}

TEST(NineSlice, CornersKeepTheirSizeAndEdgesStretchInEitherStripDirection) {
  for (bool vertical : {false, true}) {
    SCOPED_TRACE(vertical ? "vertical strip" : "horizontal strip");
    gui::TBitmap strip = NineSliceStrip(vertical);
    for (bool tile : {false, true}) {
      gui::TBitmap out = RenderNineSlice(RECT{5, 6, 28, 23}, strip, kMargins, vertical, tile, 2, 2);
      ASSERT_EQ(out.Width(), 23);
      ASSERT_EQ(out.Height(), 17);
      EXPECT_TRUE(PixelsAre(out, [](int x, int y) { return ExpectedPiece(x, y, 23, 17, kMargins); }));
    }
  }
}

TEST(NineSlice, SideMarginsAreDroppedWhenTheTargetIsNarrowerThanBoth) {
  // A 10 x 10 frame with margins of 2: whatever point a shrinking stretch
  // samples for the middle of three pixels, it lies in the centre band.
  const RECT margins{2, 2, 2, 2};
  gui::TBitmap frame(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) frame.SetPixel(x, y, ExpectedPiece(x, y, 10, 10, margins));

  // 3 < 2 + 2: stretched whole in width, so the middle column is centre
  // coloured; with the margins kept it would be the right edge.
  gui::TBitmap narrow = RenderNineSlice(RECT{0, 0, 3, 17}, frame, margins, false, false, 1, 1);
  for (int y = 0; y < 17; ++y) EXPECT_EQ(narrow.Pixel(1, y), ExpectedPiece(5, y, 10, 17, margins)) << "row " << y;

  gui::TBitmap flat = RenderNineSlice(RECT{0, 0, 23, 3}, frame, margins, false, false, 1, 1);
  for (int x = 0; x < 23; ++x) EXPECT_EQ(flat.Pixel(x, 1), ExpectedPiece(x, 5, 23, 10, margins)) << "column " << x;

  // Exactly as wide and high as the margins keeps them all.
  gui::TBitmap exact = RenderNineSlice(RECT{0, 0, 4, 4}, frame, margins, false, false, 1, 1);
  EXPECT_TRUE(PixelsAre(exact, [&](int x, int y) { return ExpectedPiece(x, y, 4, 4, margins); }));
}

// Columns (or rows) coloured by their index, 100 of them.
COLORREF Gradient(int i) { return RGB(2 * i, 7, 9); }

TEST(FrameStrip, FrameThreeOfFiveInAHundredPixelsReadsFromFortyToFiftyNine) {
  gui::TBitmap horizontal(100, 4), vertical(4, 100);
  for (int i = 0; i < 100; ++i) {
    Fill(horizontal, i, 0, i + 1, 4, Gradient(i));
    Fill(vertical, 0, i, 4, i + 1, Gradient(i));
  }
  gui::TBitmap drawn(20, 4);
  DrawFrame(drawn.DC(), RECT{0, 0, 20, 4}, horizontal, false, 5, 3);
  EXPECT_TRUE(PixelsAre(drawn, [](int x, int) { return Gradient(40 + x); }));

  gui::TBitmap sliced = RenderNineSlice(RECT{0, 0, 20, 4}, horizontal, RECT{}, false, false, 5, 3);
  EXPECT_TRUE(PixelsAre(sliced, [](int x, int) { return Gradient(40 + x); }));

  gui::TBitmap stacked = RenderNineSlice(RECT{0, 0, 4, 20}, vertical, RECT{}, true, false, 5, 3);
  EXPECT_TRUE(PixelsAre(stacked, [](int, int y) { return Gradient(40 + y); }));
}

TEST(NineSlice, ATiledCentreRepeatsFromTheCentreOriginAndTheRightEdgeCoversTheOverrun) {
  // Left 3, centre 7, right 3; two rows; no top or bottom margin.
  constexpr COLORREF left = RGB(250, 0, 0), right = RGB(0, 0, 250);
  auto centre = [](int i, int row) { return RGB(100 + i, 50 + row, 7); };
  gui::TBitmap source = SolidBitmap(13, 2, left);
  Fill(source, 10, 0, 13, 2, right);
  for (int i = 0; i < 7; ++i)
    for (int row = 0; row < 2; ++row) source.SetPixel(3 + i, row, centre(i, row));

  // Centre 20 wide: tiles at 0, 7 and 14; the third runs one pixel into the right edge.
  gui::TBitmap out = RenderNineSlice(RECT{0, 0, 26, 5}, source, RECT{3, 0, 3, 0}, false, true, 1, 1);
  EXPECT_TRUE(PixelsAre(out, [&](int x, int y) {
    if (x < 3) return left;
    if (x >= 23) return right;
    return centre((x - 3) % 7, y % 2);
  }));
}

// Frame `frame` of a two-frame `strip` onto `r` of `dest` through every
// primitive, tiled and stretched.
void DrawWithEveryPrimitive(gui::TBitmap& dest, const RECT& r, gui::TBitmap& strip, int frame) {
  gui::TCanvas canvas(dest.DC());
  EXPECT_TRUE(RenderNineSlice(r, strip, kMargins, false, false, 2, frame).Empty());
  DrawNineSlice(dest.DC(), r, strip, false, false, false, 2, frame, kMargins);
  DrawNineSlice(dest.DC(), r, strip, false, true, true, 2, frame, kMargins);
  DrawNineSliceFrame(dest.DC(), r, strip, false, 2, frame, kMargins);
  DrawThreeSlice(canvas, r, strip, false, false, 2, frame, RECT{2, 0, 2, 0});
  DrawFrame(dest.DC(), r, strip, false, 2, frame);
  DrawTransparent(dest.DC(), r, strip, TransparentColour);
}

TEST(Drawing, InvertedTargetsDrawNothingAndZeroSizeTargetsNothingVisible) {
  gui::TBitmap strip = NineSliceStrip(false);
  gui::TBitmap dest = SolidBitmap(12, 12, kGrey);
  const RECT invertedX{8, 2, 3, 9}, invertedY{2, 8, 9, 3}, zero{4, 4, 4, 4};
  for (const RECT& r : {invertedX, invertedY, zero}) DrawWithEveryPrimitive(dest, r, strip, 2);
  EXPECT_TRUE(PixelsAre(dest, [](int, int) { return kGrey; }));
  EXPECT_FALSE(IsInverted(zero));
  EXPECT_TRUE(IsInverted(invertedX));
  EXPECT_TRUE(IsInverted(invertedY));
}

TEST(Drawing, AnEmptyPictureDrawsNothingThroughEveryPrimitive) {
  gui::TBitmap empty;
  gui::TBitmap dest = SolidBitmap(12, 12, kGrey);
  DrawWithEveryPrimitive(dest, RECT{1, 1, 11, 11}, empty, 1);
  EXPECT_TRUE(PixelsAre(dest, [](int, int) { return kGrey; }));
}

TEST(Drawing, AStretchingBitmapStretchesColourOnColourAndHoldsNothingAfterThePaint) {
  const long bitmaps = gui::BitmapHandle::LiveCount(), dcs = gui::BitmapDcHandle::LiveCount();
  for (const SIZE size : {SIZE{50, 20}, SIZE{3, 90}}) {
    gui::TBitmap buffer = StretchingBitmap(size.cx, size.cy);
    ASSERT_FALSE(buffer.Empty());
    EXPECT_EQ(buffer.Width(), size.cx);
    EXPECT_EQ(GetStretchBltMode(buffer.DC()), COLORONCOLOR) << size.cx << " x " << size.cy;
  }
  EXPECT_EQ(gui::BitmapHandle::LiveCount(), bitmaps);
  EXPECT_EQ(gui::BitmapDcHandle::LiveCount(), dcs);
}

TEST(NineSlice, TheFrameOnlyVariantDrawsTheEightOuterPiecesAtTheTarget) {
  gui::TBitmap strip = NineSliceStrip(false);
  gui::TBitmap dest = SolidBitmap(30, 25, kGrey);
  const int previousMode = SetStretchBltMode(dest.DC(), HALFTONE);
  DrawNineSliceFrame(dest.DC(), RECT{2, 3, 25, 20}, strip, false, 2, 2, kMargins);
  EXPECT_EQ(GetStretchBltMode(dest.DC()), HALFTONE);
  SetStretchBltMode(dest.DC(), previousMode);
  EXPECT_TRUE(PixelsAre(dest, [](int x, int y) {
    if (x < 2 || x >= 25 || y < 3 || y >= 20) return kGrey;
    const int tx = x - 2, ty = y - 3;
    if (ClassOf(tx, 23, 2, 4) == 1 && ClassOf(ty, 17, 3, 1) == 1) return kGrey;  // the centre is not drawn
    return ExpectedPiece(tx, ty, 23, 17, kMargins);
  }));
}

// Left 2, middle 3, right 2, three rows of the same colour per column.
constexpr std::array<COLORREF, 7> kThreeSliceColumns{RGB(10, 0, 0), RGB(20, 0, 0), RGB(0, 30, 0), RGB(0, 40, 0),
                                                     RGB(0, 50, 0), RGB(0, 0, 60), RGB(0, 0, 70)};

gui::TBitmap ThreeSliceStrip() {
  gui::TBitmap b = SolidBitmap(14, 3, kJunk);
  for (int i = 0; i < 7; ++i) Fill(b, 7 + i, 0, 8 + i, 3, kThreeSliceColumns[static_cast<size_t>(i)]);
  return b;
}

TEST(ThreeSlice, TheMiddleRepeatsAndTheRightPartCoversWhatRunsIntoIt) {
  gui::TBitmap strip = ThreeSliceStrip();
  gui::TBitmap dest = SolidBitmap(15, 7, kGrey);
  gui::TCanvas canvas(dest.DC());
  // Width 12: left 0-1, middle copies at 2, 5 and 8 (the last reaching 10), right 10-11.
  DrawThreeSlice(canvas, RECT{1, 1, 13, 5}, strip, false, false, 2, 2, RECT{2, 9, 2, 9});
  EXPECT_TRUE(PixelsAre(dest, [](int x, int y) {
    if (x < 1 || x >= 13 || y < 1 || y >= 5) return kGrey;
    const int tx = x - 1;
    if (tx < 2) return kThreeSliceColumns[static_cast<size_t>(tx)];
    if (tx >= 10) return kThreeSliceColumns[static_cast<size_t>(tx - 10 + 5)];
    return kThreeSliceColumns[static_cast<size_t>(2 + (tx - 2) % 3)];
  }));
}

TEST(ThreeSlice, MarginsAsWideAsTheFrameStillLeaveAOnePixelMiddle) {
  gui::TBitmap strip = ThreeSliceStrip();
  // 3 + 4 fill the 7-pixel frame: cut down to 2 + 4 around a middle column;
  // 5 + 5 beyond it: 3 + 3.
  const struct {
    RECT margins;
    int left, right;
  } cases[] = {{RECT{3, 0, 4, 0}, 2, 4}, {RECT{5, 0, 5, 0}, 3, 3}};
  for (const auto& c : cases) {
    gui::TBitmap dest = SolidBitmap(15, 7, kGrey);
    gui::TCanvas canvas(dest.DC());
    DrawThreeSlice(canvas, RECT{1, 1, 13, 5}, strip, false, false, 2, 2, c.margins);
    EXPECT_TRUE(PixelsAre(dest, [&](int x, int y) {
      if (x < 1 || x >= 13 || y < 1 || y >= 5) return kGrey;
      const int tx = x - 1;
      if (tx < c.left) return kThreeSliceColumns[static_cast<size_t>(tx)];
      if (tx >= 12 - c.right) return kThreeSliceColumns[static_cast<size_t>(tx - (12 - c.right) + 7 - c.right)];
      return kThreeSliceColumns[static_cast<size_t>(c.left)];
    })) << c.margins.left << " + " << c.margins.right;
  }
}

// Numbers no skin should give, as a definition the checker never saw might:
// every primitive still fills its target from the picture's own pixels.
TEST(Drawing, HostileMarginsAndFramesStillDrawThePictureAndNothingElse) {
  constexpr LONG kMin = LONG_MIN, kMax = LONG_MAX;
  const RECT hostile[] = {{kMin, kMin, kMin, kMin}, {kMax, kMax, kMax, kMax}, {kMin, kMax, kMax, kMin},
                          {-1, 65535, 99999, -1}};
  gui::TBitmap strip = NineSliceStrip(false);
  const auto fromPicture = [&](COLORREF c) {
    if (c == kJunk) return true;
    for (const auto& row : kPiece)
      for (COLORREF piece : row)
        if (c == piece) return true;
    return false;
  };
  for (const RECT& m : hostile) {
    SCOPED_TRACE(std::to_string(m.left) + " " + std::to_string(m.top) + " " + std::to_string(m.right) + " " +
                 std::to_string(m.bottom));
    for (const auto& [count, index] : {std::pair{2, 2}, {0, 0}, {-7, 99}, {INT_MAX, INT_MIN}}) {
      for (bool tile : {false, true}) {
        gui::TBitmap out = RenderNineSlice(RECT{0, 0, 23, 17}, strip, m, false, tile, count, index);
        ASSERT_EQ(out.Width(), 23);
        int foreign = 0;
        for (int y = 0; y < out.Height(); ++y)
          for (int x = 0; x < out.Width(); ++x) foreign += !fromPicture(out.Pixel(x, y));
        EXPECT_EQ(foreign, 0) << count << " frames, frame " << index << (tile ? ", tiled" : "");
      }
      gui::TBitmap dest = SolidBitmap(23, 17, kGrey);
      gui::TCanvas canvas(dest.DC());
      DrawThreeSlice(canvas, RECT{0, 0, 23, 17}, strip, false, false, count, index, m);
      int left = 0;
      for (int y = 0; y < dest.Height(); ++y)
        for (int x = 0; x < dest.Width(); ++x) left += !fromPicture(dest.Pixel(x, y));
      EXPECT_EQ(left, 0) << "three-slice, " << count << " frames, frame " << index;
    }
  }
}

// A random picture in which magenta and its near neighbours are common.
gui::TBitmap NoisyPicture(int w, int h, unsigned seed) {
  std::mt19937 random(seed);
  const std::array<COLORREF, 5> palette{TransparentColour, RGB(254, 0, 255), RGB(255, 1, 255), RGB(255, 0, 254),
                                        RGB(12, 34, 56)};
  gui::TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const unsigned pick = random() % 8;
      b.SetPixel(x, y, pick < palette.size() ? palette[pick] : RGB(random() % 256, random() % 256, random() % 256));
    }
  return b;
}

TEST(Transparency, OnlyExactMagentaIsLeftUndrawnAndBothPlatformPathsAgree) {
  gui::TBitmap picture = NoisyPicture(16, 12, 7);
  gui::TBitmap background = NoisyPicture(20, 16, 8);
  auto expected = [&](int x, int y) {
    if (x >= 2 && x < 18 && y >= 3 && y < 15 && picture.Pixel(x - 2, y - 3) != TransparentColour)
      return picture.Pixel(x - 2, y - 3);
    return background.Pixel(x, y);
  };
  for (DWORD version : {testing::kWindowsXp, testing::kWindows98}) {
    SCOPED_TRACE(version == testing::kWindows98 ? "9x path" : "NT path");
    ForcedWindowsVersion platform(version);
    gui::TBitmap dest;
    dest.CopyFrom(background);
    SetBkColor(dest.DC(), RGB(1, 2, 3));
    SetTextColor(dest.DC(), RGB(4, 5, 6));
    // The target is larger than the picture: only the picture's pixels count.
    DrawTransparent(dest.DC(), RECT{2, 3, 20, 16}, picture, TransparentColour);
    EXPECT_TRUE(PixelsAre(dest, expected));
    EXPECT_EQ(GetBkColor(dest.DC()), RGB(1, 2, 3));
    EXPECT_EQ(GetTextColor(dest.DC()), RGB(4, 5, 6));
  }
}

TEST(Transparency, EveryTransparentDrawLeavesMagentaUndrawn) {
  // A 6 x 3 frame: magenta in the middle column band, 254-red magenta at the corners.
  gui::TBitmap frame = SolidBitmap(6, 3, RGB(0, 90, 0));
  Fill(frame, 2, 0, 4, 3, TransparentColour);
  frame.SetPixel(0, 0, RGB(254, 0, 255));
  frame.SetPixel(5, 2, RGB(254, 0, 255));
  auto expected = [&](int x, int y) { return frame.Pixel(x, y) == TransparentColour ? kGrey : frame.Pixel(x, y); };

  gui::TBitmap dest = SolidBitmap(6, 3, kGrey);
  DrawFrame(dest.DC(), RECT{0, 0, 6, 3}, frame, true, 1, 1);
  EXPECT_TRUE(PixelsAre(dest, expected)) << "DrawFrame";

  dest = SolidBitmap(6, 3, kGrey);
  DrawNineSlice(dest.DC(), RECT{0, 0, 6, 3}, frame, false, false, true, 1, 1, RECT{2, 1, 2, 1});
  EXPECT_TRUE(PixelsAre(dest, expected)) << "DrawNineSlice";

  dest = SolidBitmap(6, 3, kGrey);
  gui::TCanvas canvas(dest.DC());
  DrawThreeSlice(canvas, RECT{0, 0, 6, 3}, frame, false, true, 1, 1, RECT{1, 0, 1, 0});
  EXPECT_TRUE(PixelsAre(dest, expected)) << "DrawThreeSlice";
}

}  // namespace
}  // namespace skin
