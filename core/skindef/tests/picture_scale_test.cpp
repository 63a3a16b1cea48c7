#include "core/skindef/picture_scale.h"

#include <gtest/gtest.h>

#include <array>

namespace core {
namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;

Pixels Filled(int width, int height, std::uint32_t colour) {
  return Pixels{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), colour)};
}
std::uint32_t At(const Pixels& p, int x, int y) { return p.data[static_cast<std::size_t>(y * p.width + x)]; }
void Set(Pixels& p, int x, int y, std::uint32_t c) { p.data[static_cast<std::size_t>(y * p.width + x)] = c; }

TEST(PictureScale, LengthsAndPictureSizesFollowTheRoundingRuleFrameByFrame) {
  struct Case { std::int32_t pixels; int dpi; std::int32_t want; };
  for (const Case& c : {Case{13, 96, 13}, Case{13, 144, 20}, Case{1, 144, 2}, Case{7, 144, 11}, Case{-3, 144, -5},
                        Case{5, 120, 6}, Case{2, 120, 3}, Case{17, 192, 34}, Case{0, 144, 0}}) {
    EXPECT_EQ(ScaleLength(c.pixels, c.dpi), c.want) << c.pixels << " at " << c.dpi;
  }
  // The archive's own pictures (four check glyphs, a stacked frame piece,
  // the 23 scroll-bar frames): each frame is rounded by itself.
  EXPECT_EQ(ScaledPictureSize(52, 13, {4, 1}, 144), (std::pair{80, 20}));
  EXPECT_EQ(ScaledPictureSize(112, 20, {4, 1}, 144), (std::pair{168, 30}));
  EXPECT_EQ(ScaledPictureSize(88, 60, {1, 2}, 144), (std::pair{132, 90}));
  EXPECT_EQ(ScaledPictureSize(391, 17, {23, 1}, 144), (std::pair{598, 26}));
  EXPECT_EQ(ScaledPictureSize(120, 24, {5, 1}, 120), (std::pair{150, 30}));
  EXPECT_EQ(ScaledPictureSize(53, 13, {4, 1}, 144), std::nullopt);
  EXPECT_EQ(ScaledPictureSize(52, 13, {0, 1}, 144), std::nullopt);
}

TEST(PictureScale, TheNearestVariantIsChosenAndTheDenserOneOnATie) {
  const std::array<int, 2> both{144, 192};
  const std::array<int, 1> only2x{192};
  struct Case { int dpi; std::span<const int> available; int want; };
  for (const Case& c : {Case{96, both, 96}, Case{120, both, 144}, Case{144, both, 144}, Case{168, both, 192},
                        Case{192, both, 192}, Case{288, both, 192}, Case{120, {}, 96}, Case{192, {}, 96},
                        Case{144, only2x, 192}, Case{120, only2x, 96}}) {
    EXPECT_EQ(ChooseSourceDpi(c.dpi, c.available), c.want) << c.dpi;
  }
  EXPECT_EQ(VariantEntryName("frame_top.bmp", "@2x"), "frame_top@2x.bmp");
  EXPECT_EQ(VariantEntryName("CHECK.BMP", "@1.5x"), "CHECK@1.5x.BMP");
  EXPECT_EQ(VariantEntryName("readme.txt", "@2x"), "");
}

TEST(PictureScale, WholeFactorsRepeatPixelsAndFramesNeverBleedIntoEachOther) {
  // Two frames of 3 x 2: a one-pixel line on black in the first, plain
  // green in the second.
  Pixels strip = Filled(6, 2, 0x000000);
  for (int x = 3; x < 6; ++x) Set(strip, x, 0, 0x00FF00), Set(strip, x, 1, 0x00FF00);
  Set(strip, 1, 0, 0xFFFFFF), Set(strip, 1, 1, 0xFFFFFF);

  const auto doubled = ScaleFrames(strip, {2, 1}, 12, 4);
  ASSERT_TRUE(doubled);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 12; ++x) EXPECT_EQ(At(*doubled, x, y), At(strip, x / 2, y / 2)) << x << "," << y;

  // At 1.5 the frames are 5 x 3 (rounded up): averaging stays inside each.
  const auto half = ScaleFrames(strip, {2, 1}, 10, 3);
  ASSERT_TRUE(half);
  for (int y = 0; y < 3; ++y) {
    for (int x = 5; x < 10; ++x) EXPECT_EQ(At(*half, x, y), 0x00FF00u) << x << "," << y;
    // The line keeps grey levels only (nothing of the green frame).
    for (int x = 0; x < 5; ++x) {
      const std::uint32_t p = At(*half, x, y);
      EXPECT_TRUE((p >> 16 & 0xFF) == (p & 0xFF) && (p >> 8 & 0xFF) == (p & 0xFF)) << std::hex << p;
    }
  }
  EXPECT_EQ(At(*half, 2, 1), 0xFFFFFFu);  // the line's centre stays white
  EXPECT_EQ(At(*half, 0, 1), 0x000000u);

  EXPECT_FALSE(ScaleFrames(strip, {4, 1}, 12, 4));   // 6 does not divide into 4 frames
  EXPECT_FALSE(ScaleFrames(strip, {2, 1}, 11, 4));   // nor 11
  Pixels broken = strip;
  broken.data.pop_back();
  EXPECT_FALSE(ScaleFrames(broken, {2, 1}, 12, 4));
}

TEST(PictureScale, MagentaStaysExactAndIsNeverMixedIn) {
  // A red disc edge against magenta: a diagonal boundary.
  Pixels shape = Filled(8, 8, kMagenta);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (x + y >= 7) Set(shape, x, y, 0xC00000 | static_cast<std::uint32_t>(x * 8));
  for (const std::pair<int, int>& size : {std::pair{10, 10}, std::pair{12, 12}, std::pair{6, 6}}) {
    const auto scaled = ScaleFrames(shape, {1, 1}, size.first, size.second);
    ASSERT_TRUE(scaled);
    int transparent = 0;
    for (int y = 0; y < size.second; ++y) {
      for (int x = 0; x < size.first; ++x) {
        const std::uint32_t p = At(*scaled, x, y);
        const int cx = (2 * x + 1) * 8 / (2 * size.first), cy = (2 * y + 1) * 8 / (2 * size.second);
        // Transparent exactly where the source is under the pixel's centre;
        // elsewhere pure red family: no pink from magenta mixed in.
        EXPECT_EQ(p == kMagenta, At(shape, cx, cy) == kMagenta) << size.first << ": " << x << "," << y;
        if (p != kMagenta) {
          EXPECT_EQ(p >> 16 & 0xFF, 0xC0u) << std::hex << p;
        }
        transparent += p == kMagenta;
      }
    }
    EXPECT_GT(transparent, 0);
  }
  // A mix of colours that would land exactly on magenta is kept visible.
  Pixels pair = Filled(2, 1, 0xFE00FF);
  Set(pair, 1, 0, 0xFF02FF);
  const auto mixed = ScaleFrames(pair, {1, 1}, 3, 1);
  ASSERT_TRUE(mixed);
  for (int x = 0; x < 3; ++x) EXPECT_TRUE(At(*mixed, x, 0) != kMagenta && At(*mixed, x, 0) != 0xFF01FF) << x;
  // Its neighbour one green step up is transparent too, and kept as it is.
  Pixels near = Filled(2, 2, 0xFF01FF);
  Set(near, 1, 1, 0x102030);
  const auto kept = ScaleFrames(near, {1, 1}, 3, 3);
  ASSERT_TRUE(kept);
  EXPECT_EQ(At(*kept, 0, 0), 0xFF01FFu);
  EXPECT_EQ(At(*kept, 2, 2), 0x102030u);
}

}  // namespace
}  // namespace core
