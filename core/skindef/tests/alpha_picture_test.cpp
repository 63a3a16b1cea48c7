#include "core/skindef/alpha_picture.h"

#include <gtest/gtest.h>

#include "core/skindef/picture_scale.h"
#include "core/skindef/tests/bmp_builder.h"

namespace core {
namespace {

using testing::Bytes;

// A 2 x 2 32-bit picture, rows bottom-up, pixels given top-down as stored
// 32-bit values.
Bytes Bmp32(std::uint32_t compression, std::vector<std::uint32_t> masks, std::array<std::uint32_t, 4> topDown) {
  Bytes pixels;
  for (std::uint32_t p : {topDown[2], topDown[3], topDown[0], topDown[1]}) testing::Put32(pixels, p);
  return testing::MakeBmp({2, 2, 32, compression, {}, std::move(masks), pixels});
}

TEST(AlphaPicture, ThirtyTwoBitPicturesCarryAlphaOnlyWhenTheFourthByteSaysSo) {
  // Uncompressed: the fourth byte counts unless it is the same 0 (the
  // unused byte) or 255 throughout; such pictures keep magenta.
  const Bytes opaque = Bmp32(0, {}, {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FF00FF});
  const Bytes solid = Bmp32(0, {}, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFF00FF});
  EXPECT_FALSE(HasAlphaChannel(solid, *ParseBitmapFile(solid)));
  const Bytes soft = Bmp32(0, {}, {0xFF800000, 0x80400000, 0x00000000, 0x40404040});
  const auto opaqueLayout = ParseBitmapFile(opaque), softLayout = ParseBitmapFile(soft);
  ASSERT_TRUE(opaqueLayout && softLayout);
  EXPECT_FALSE(ReadAlphaPicture(opaque, *opaqueLayout));
  const auto picture = ReadAlphaPicture(soft, *softLayout);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels, (std::vector<std::uint32_t>{0xFF800000, 0x80400000, 0x00000000, 0x40404040}));
  EXPECT_FALSE(FindPremultiplyFault(*picture));

  // A 24-bit picture never does.
  const Bytes rgb = testing::MakeBmp({1, 1, 24, 0, {}, {}, testing::Rows({{0xFF, 0x00, 0xFF}})});
  EXPECT_FALSE(ReadAlphaPicture(rgb, *ParseBitmapFile(rgb)));
}

TEST(AlphaPicture, WrittenFilesReadBackPixelForPixelEvenFullyTransparent) {
  AlphaPicture picture{3, 2, {0xFF102030, 0x80404040, 0x00000000, 0x00000000, 0x01010101, 0xFFFFFFFF}};
  const Bytes file = WriteAlphaBitmap(picture);
  const auto layout = ParseBitmapFile(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->alphaMask, 0xFF000000u);
  const auto back = ReadAlphaPicture(file, *layout);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 3);
  EXPECT_EQ(back->pixels, picture.pixels);

  AlphaPicture clear{1, 1, {0}};
  const Bytes clearFile = WriteAlphaBitmap(clear);
  const auto clearBack = ReadAlphaPicture(clearFile, *ParseBitmapFile(clearFile));
  ASSERT_TRUE(clearBack);  // the mask says alpha: nothing of it is opaque
  EXPECT_EQ(clearBack->pixels[0], 0u);
}

TEST(AlphaPicture, StraightAlphaIsFoundAndClampedAndPremultiplyRounds) {
  AlphaPicture picture{2, 2, {0xFF123456, 0x80FF0000, 0x00000000, 0x00010000}};
  const auto fault = FindPremultiplyFault(picture);
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->x, 1);
  EXPECT_EQ(fault->y, 0);
  EXPECT_EQ(fault->count, 2u);
  ClampToAlpha(picture);
  EXPECT_EQ(picture.pixels, (std::vector<std::uint32_t>{0xFF123456, 0x80800000, 0x00000000, 0x00000000}));
  EXPECT_FALSE(FindPremultiplyFault(picture));

  EXPECT_EQ(Premultiply(0xFFABCDEF), 0xFFABCDEFu);
  EXPECT_EQ(Premultiply(0x80FF8000), 0x80804000u);  // 255*128/255, 128*128/255 rounded
  EXPECT_EQ(Premultiply(0x00FFFFFF), 0x00000000u);
}

TEST(AlphaPicture, AnAlphaMaskThatOverlapsTheColoursIsNoAlpha) {
  // A 56-byte header's alpha mask shares green's bits: ignored.
  Bytes file = testing::MakeBmp({1, 1, 32, 3, {}, {}, {0x11, 0x22, 0x33, 0x44}});
  // Turn the 40-byte header into a 56-byte one carrying four masks.
  Bytes longer(file.begin(), file.begin() + 54);
  longer[14] = 56;
  for (std::uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0x0000FF00u}) testing::Put32(longer, mask);
  longer[10] = 70;
  longer.insert(longer.end(), file.begin() + 54, file.end());
  const auto layout = ParseBitmapFile(longer);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->alphaMask, 0u);
  EXPECT_FALSE(ReadAlphaPicture(longer, *layout));
}

TEST(AlphaPicture, ScaledFramesStayPremultipliedAndMagentaIsAColourThere) {
  // An edge of half-covered magenta beside opaque white: at 1.5x the mixed
  // pixels average all four channels, never above their alpha.
  Pixels edge{2, 1, {0x80800080, 0xFFFFFFFF}, true};
  const auto doubled = ScaleFrames(edge, {1, 1}, 4, 2);
  ASSERT_TRUE(doubled);
  EXPECT_TRUE(doubled->alpha);
  EXPECT_EQ(doubled->data[0], 0x80800080u);
  EXPECT_EQ(doubled->data[7], 0xFFFFFFFFu);
  const auto half = ScaleFrames(edge, {1, 1}, 3, 2);
  ASSERT_TRUE(half);
  EXPECT_EQ(half->data[0], 0x80800080u);
  EXPECT_EQ(half->data[1], 0xC0C080C0u);  // (0x80 + 0xFF) / 2 and so on, rounded
  EXPECT_EQ(half->data[2], 0xFFFFFFFFu);
  AlphaPicture check{3, 2, half->data};
  EXPECT_FALSE(FindPremultiplyFault(check));
}

}  // namespace
}  // namespace core
