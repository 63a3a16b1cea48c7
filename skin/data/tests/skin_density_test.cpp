// A skin read for a denser screen: every picture scaled frame by frame from
// the density variant nearest the screen's (or from its 1x picture when the
// archive has none), and every length of the definition with it.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/skindef/alpha_picture.h"
#include "skin/data/skin_definition.h"
#include "skin/data/tests/bmp_files.h"

namespace {

using skin::testing::Bmp24;
using skin::testing::Bytes;
using skin::testing::TextBytes;

// Frame f of a strip of frames `width` wide gets colour f.
COLORREF FrameColour(int f) { return RGB(40 * (f + 1), 200 - 30 * f, 90); }
Bytes Strip(int frames, int width, int height) {
  return Bmp24(frames * width, height, [=](int x, int) { return FrameColour(x / width); });
}
Bytes Solid(int width, int height, COLORREF c) {
  return Bmp24(width, height, [=](int, int) { return c; });
}

constexpr char kDefinition[] =
    "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\nTopTopHeight=7\r\n"
    "[Button0]\r\nAction=0\r\nFrame=4\r\nXCoord=25\r\nYCoord=3\r\nButtonImage=close.bmp\r\n"
    "[MDICONTROLS]\r\nImage=mdi.bmp\r\n"
    "[GroupBox]\r\nImage=box.bmp\r\nLeftWidth=5\r\nBackgroundLeftShift=-3\r\n";

struct Archive {
  core::TSkinReader reader;
  explicit Archive(std::vector<std::pair<std::string, Bytes>> pictures) {
    pictures.insert(pictures.begin(), {"skin.ini", TextBytes(kDefinition)});
    skin::testing::LoadArchive(reader, pictures);
  }
  std::unique_ptr<skin::TSkinContent> At(int dpi) const { return skin::ParseDefinition(kDefinition, reader, dpi); }
};

// 1x: a close button of four 10 x 8 frames, a frame piece of two stacked
// 12 x 6 frames (top red, bottom blue), the child-window strip of twelve
// 4 x 10 frames.
std::vector<std::pair<std::string, Bytes>> DesignPictures() {
  return {{"close.bmp", Strip(4, 10, 8)},
          {"top.bmp", Bmp24(12, 12, [](int, int y) { return y < 6 ? RGB(220, 0, 0) : RGB(0, 0, 220); })},
          {"mdi.bmp", Strip(12, 4, 10)},
          {"box.bmp", Strip(1, 9, 9)}};
}

const skin::TDataSkinSysButton& Close(const skin::TSkinContent& c) { return *c.SysButtonElements.front(); }

TEST(SkinDensity, TheNearestVariantIsDrawnAndScaledTheRestOfTheWay) {
  const COLORREF blue = RGB(0, 0, 200), green = RGB(0, 180, 0);
  auto pictures = DesignPictures();
  pictures.push_back({"close@1.5x.bmp", Solid(60, 12, blue)});
  pictures.push_back({"CLOSE@2x.BMP", Solid(80, 16, green)});
  const Archive archive(pictures);

  struct Case { int dpi; int width, height; COLORREF colour; };
  // 120: frames of 13 x 10 from the 1.5x picture (the denser of two equally
  // near ones); 168: 18 x 14 from the 2x one.
  for (const Case& c : {Case{144, 60, 12, blue}, Case{192, 80, 16, green}, Case{120, 52, 10, blue},
                        Case{168, 72, 14, green}}) {
    SCOPED_TRACE(c.dpi);
    const auto content = archive.At(c.dpi);
    EXPECT_EQ(content->Dpi, c.dpi);
    const gui::TBitmap& image = Close(*content).Image;
    ASSERT_EQ(image.Width(), c.width);
    ASSERT_EQ(image.Height(), c.height);
    EXPECT_EQ(image.Pixel(0, 0), c.colour);
    EXPECT_EQ(image.Pixel(c.width - 1, c.height - 1), c.colour);
  }
  // At 96 the 1x picture itself.
  const auto design = archive.At(96);
  ASSERT_EQ(Close(*design).Image.Width(), 40);
  EXPECT_EQ(Close(*design).Image.Pixel(15, 4), FrameColour(1));

  // A variant that breaks the size rule is not used.
  auto wrong = DesignPictures();
  wrong.push_back({"close@2x.bmp", Solid(79, 16, green)});
  const auto fallback = Archive(wrong).At(192);
  ASSERT_EQ(Close(*fallback).Image.Width(), 80);
  EXPECT_EQ(Close(*fallback).Image.Pixel(25, 3), FrameColour(1));
}

TEST(SkinDensity, WithoutVariantsTheDesignPicturesAreScaledFrameByFrame) {
  const Archive archive(DesignPictures());

  // 2x repeats pixels: every frame keeps its own colour.
  const auto doubled = archive.At(192);
  const gui::TBitmap& close = Close(*doubled).Image;
  ASSERT_EQ(close.Width(), 80);
  ASSERT_EQ(close.Height(), 16);
  for (int x = 0; x < 80; ++x) EXPECT_EQ(close.Pixel(x, 9), FrameColour(x / 20)) << x;

  // 1.25: frames of 13 x 10; no column takes colour from its neighbour frame.
  const auto scaled = archive.At(120);
  const gui::TBitmap& small = Close(*scaled).Image;
  ASSERT_EQ(small.Width(), 52);
  for (int x = 0; x < 52; ++x) EXPECT_EQ(small.Pixel(x, 5), FrameColour(x / 13)) << x;

  // The top frame piece holds its two frames one above the other: scaled to
  // 15 x 8 each, the top frame stays red and the bottom blue.
  const gui::TBitmap& top = scaled->BorderTop.Image;
  ASSERT_EQ(top.Width(), 15);
  ASSERT_EQ(top.Height(), 16);
  for (int y = 0; y < 16; ++y) EXPECT_EQ(top.Pixel(7, y), y < 8 ? RGB(220, 0, 0) : RGB(0, 0, 220)) << y;

  // The child-window buttons take four frames each of the scaled strip.
  const auto half = archive.At(144);
  const auto& buttons = half->SysButtonElements;
  ASSERT_EQ(buttons.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    const gui::TBitmap& part = buttons[static_cast<std::size_t>(i + 1)]->Image;
    ASSERT_EQ(part.Width(), 24) << i;
    ASSERT_EQ(part.Height(), 15) << i;
    for (int f = 0; f < 4; ++f) EXPECT_EQ(part.Pixel(f * 6 + 3, 7), FrameColour(4 * i + f)) << i << "/" << f;
  }
}

TEST(SkinDensity, LengthsOfTheDefinitionScaleWithThePictures) {
  const Archive archive(DesignPictures());
  for (const int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    const auto c = archive.At(dpi);
    EXPECT_EQ(c->BorderTop.LeftWidth, MulDiv(7, dpi, 96));  // the top piece's "TopHeight" is its left end
    EXPECT_EQ(Close(*c).XCoord, MulDiv(25, dpi, 96));
    EXPECT_EQ(Close(*c).YCoord, MulDiv(3, dpi, 96));
    ASSERT_TRUE(c->GroupBox);
    EXPECT_EQ(c->GroupBox->LeftWidth, MulDiv(5, dpi, 96));
    EXPECT_EQ(c->GroupBox->BackgroundLeftShift, MulDiv(-3, dpi, 96));
    // The child-window buttons sit their own width plus four apart.
    EXPECT_EQ(c->SysButtonElements[1]->XCoord, MulDiv((4 + 4) * 3, dpi, 96));
    // Frame counts are counts, not lengths.
    EXPECT_EQ(Close(*c).FrameCount, 4);
    EXPECT_EQ(c->BorderTop.FrameCount, 2);
  }
}

// A caption button with alpha keeps it through every density: scaled from
// its 1.5x variant at 120 dpi, repeated at 192, always premultiplied.
TEST(SkinDensity, PicturesWithAlphaStayPremultipliedAtEveryDensity) {
  auto alpha = [](int width, int height, std::uint32_t outside, std::uint32_t inside) {
    core::AlphaPicture p{width, height, {}};
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) p.pixels.push_back(x % (width / 4) == 0 ? outside : inside);
    return core::WriteAlphaBitmap(p);
  };
  auto pictures = DesignPictures();
  pictures.erase(pictures.begin());
  pictures.push_back({"close.bmp", alpha(40, 8, 0x00000000, 0xFF2040C0)});
  pictures.push_back({"close@1.5x.bmp", alpha(60, 12, 0x80101010, 0xFF2040C0)});
  const Archive archive(pictures);
  for (int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    const auto content = archive.At(dpi);
    const gui::TBitmap& image = Close(*content).Image;
    ASSERT_TRUE(image.PremultipliedAlpha);
    GdiFlush();
    const auto* bits = image.Bits();
    const std::size_t count = static_cast<std::size_t>(image.Width()) * static_cast<std::size_t>(image.Height());
    bool partial = false;
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t a = bits[i] >> 24;
      ASSERT_TRUE(((bits[i] >> 16) & 0xFF) <= a && ((bits[i] >> 8) & 0xFF) <= a && (bits[i] & 0xFF) <= a) << i;
      partial = partial || (a > 0 && a < 255);
    }
    // The 1x picture has no partly covered pixel; the 1.5x variant's first
    // column is half covered, and stays so (alone or averaged) above 96.
    EXPECT_EQ(partial, dpi != 96);
    EXPECT_EQ(bits[image.Width() / 8], 0xFF2040C0u);
  }
}

}  // namespace
