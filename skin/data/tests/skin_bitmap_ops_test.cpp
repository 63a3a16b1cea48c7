// Mirror, flip and quarter turns on a 3 x 2 bitmap of six colours.
#include "skin/data/skin_bitmap_ops.h"

#include <gtest/gtest.h>

#include "skin/data/tests/pixel_checks.h"

namespace skin {
namespace {

using testing::PixelsAre;

COLORREF Original(int x, int y) { return RGB(10 + x, 20 + y, 30); }

gui::TBitmap ThreeByTwo() {
  gui::TBitmap b(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) b.SetPixel(x, y, Original(x, y));
  b.Transparent = true;
  return b;
}

TEST(BitmapOps, MirrorAndFlipKeepTheSize) {
  gui::TBitmap mirrored = ThreeByTwo();
  MirrorBitmap(mirrored);
  ASSERT_EQ(mirrored.Width(), 3);
  EXPECT_TRUE(PixelsAre(mirrored, [](int x, int y) { return Original(2 - x, y); }));

  gui::TBitmap flipped = ThreeByTwo();
  FlipBitmap(flipped);
  ASSERT_EQ(flipped.Height(), 2);
  EXPECT_TRUE(PixelsAre(flipped, [](int x, int y) { return Original(x, 1 - y); }));
}

TEST(BitmapOps, QuarterTurnsSwapWidthAndHeight) {
  // Left: (x, y) goes to (y, W - 1 - x); so the new (x, y) comes from (W - 1 - y, x).
  gui::TBitmap left = ThreeByTwo();
  RotateBitmapLeft(left);
  ASSERT_EQ(left.Width(), 2);
  ASSERT_EQ(left.Height(), 3);
  EXPECT_TRUE(PixelsAre(left, [](int x, int y) { return Original(2 - y, x); }));
  EXPECT_TRUE(left.Transparent);

  // Right: (x, y) goes to (H - 1 - y, x); the new (x, y) comes from (y, H - 1 - x).
  gui::TBitmap right = ThreeByTwo();
  RotateBitmapRight(right);
  ASSERT_EQ(right.Width(), 2);
  ASSERT_EQ(right.Height(), 3);
  EXPECT_TRUE(PixelsAre(right, [](int x, int y) { return Original(y, 1 - x); }));

  RotateBitmapLeft(right);
  EXPECT_TRUE(PixelsAre(right, Original));

  gui::TBitmap empty;
  RotateBitmapRight(empty);
  MirrorBitmap(empty);
  EXPECT_TRUE(empty.Empty());
}

}  // namespace
}  // namespace skin
