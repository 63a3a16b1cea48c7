// The generator and the hand-written definitions must agree: every image a
// definition names is drawn, every strip divides into its frames, and the
// bitmaps are valid files whose transparent pixels are exact magenta.
#include <gtest/gtest.h>

#include "tools/skingen/skin_art.h"
#include "tools/skingen/tests/skin_pictures.h"

namespace {

using skin_pictures::DefinedSkin;

std::map<std::string, std::vector<std::uint8_t>> BitmapFiles(const skingen::Palette& palette) {
  std::map<std::string, std::vector<std::uint8_t>> files;
  for (const auto& [name, raster] : skingen::DrawSkinArt(palette)) files[name] = raster.ToBmp();
  return files;
}

void ExpectWholeFrames(const DefinedSkin& skin, const core::SkinObjectDef& e, bool stacked = false) {
  ASSERT_FALSE(e.Image.empty()) << e.ElementName;
  const core::ImageSize size = skin.Size(e.Image);
  ASSERT_GT(e.FrameCount, 0) << e.ElementName;
  EXPECT_EQ((stacked ? size.height : size.width) % e.FrameCount, 0) << e.ElementName << " " << e.Image;
}

void CheckSkin(const skingen::Palette& palette, const std::string& definition) {
  const DefinedSkin skin(BitmapFiles(palette), skin_pictures::ReadFile(skin_pictures::DefinitionPath(definition)));
  EXPECT_TRUE(skin.missing.empty()) << "first missing: " << (skin.missing.empty() ? "" : *skin.missing.begin());
  // Nothing drawn goes unused.
  for (const auto& [name, bytes] : skin.files) EXPECT_TRUE(skin.asked.count(name)) << name << " is never named";

  const core::SkinDefinition& d = skin.def;
  EXPECT_FALSE(d.SkinName.empty());
  for (const auto* piece : {&d.BorderLeft, &d.BorderRight}) ExpectWholeFrames(skin, *piece);
  for (const auto* piece : {&d.BorderTop, &d.BorderBottom}) ExpectWholeFrames(skin, *piece, true);
  // The pieces meet: side pieces as tall as the mock window, caption band 30.
  EXPECT_EQ(skin.Size(d.BorderTop.Image).height / 2, 30);
  EXPECT_EQ(skin.Size(d.BorderLeft.Image).height, skin.Size(d.BorderRight.Image).height);
  ExpectWholeFrames(skin, d.TitleElement, true);
  ExpectWholeFrames(skin, d.ButtonsElement);
  EXPECT_EQ(skin.Size(d.ButtonsElement.CheckImage).width % d.ButtonsElement.CheckFrameCount, 0);
  EXPECT_EQ(skin.Size(d.ButtonsElement.RadioImage).width % d.ButtonsElement.RadioFrameCount, 0);
  EXPECT_EQ(d.ButtonsElement.CheckFrameCount, 4);

  ASSERT_EQ(d.SysButtonElements.size(), 5u + 3u);
  for (const auto& button : d.SysButtonElements) {
    ASSERT_FALSE(button.Image.empty()) << button.ElementName;
    EXPECT_EQ(button.FrameCount, 4) << button.ElementName;
  }
  EXPECT_EQ(d.SysButtonElements[5].ImageWidth, 64);
  EXPECT_EQ(d.ColourTable.size(), 7u);

  const std::optional<core::SkinObjectDef> elements[] = {
      d.Progress, d.MenuBar, d.GroupBoxEdge, d.GroupBox, d.Toolbars, d.Tabs, d.StatusBarEdges, d.ComboButton,
      d.SunkEdge, d.ExtraImages, d.Headerbar, d.MenuItem, d.MenuBackground, d.Scrollbar, d.HorzScroll,
      d.VertScroll, d.HorzScrollThumb, d.VertScrollThumb, d.TrackbarThumbHorz, d.TrackbarThumbVert,
      d.TrackbarThumbLeft, d.TrackbarThumbRight, d.TrackbarThumbUp, d.TrackbarThumbDown, d.UpDownHorz, d.UpDownVert};
  for (const auto& element : elements) {
    ASSERT_TRUE(element.has_value());
    ExpectWholeFrames(skin, *element, &element == &elements[1]);
  }
  for (const auto* border : {&*d.Progress, &*d.Tabs, &*d.UpDownHorz, &*d.UpDownVert})
    EXPECT_FALSE(border->Image2.empty()) << border->ElementName;
  EXPECT_EQ(skin.Size(d.UpDownVert->Image2).width, skin.Size(d.UpDownVert->Image).width);
  EXPECT_EQ(d.Scrollbar->FrameCount, 23);
}

}  // namespace

TEST(SkinArt, DefaultSkinIsComplete) { CheckSkin(skingen::LightPalette(), "default/skin.ini"); }
TEST(SkinArt, DarkSkinIsComplete) { CheckSkin(skingen::DarkPalette(), "dark/skin.ini"); }
TEST(SkinArt, FlatSkinIsComplete) { CheckSkin(skingen::FlatPalette(), "flat/skin.ini"); }

// The flat skin is square where the others are round: its window frame has
// no magenta corner, a button's corner pixel is its outline, and its lines
// are one pixel.
TEST(SkinArt, TheFlatSkinIsSquareWithThinLines) {
  const auto flat = skingen::DrawSkinArt(skingen::FlatPalette());
  const auto round = skingen::DrawSkinArt(skingen::LightPalette());
  EXPECT_NE(flat.at("frame_left.bmp").At(0, 0), skingen::kMagenta);
  EXPECT_EQ(round.at("frame_left.bmp").At(0, 0), skingen::kMagenta);
  const skingen::Raster& button = flat.at("button.bmp");
  EXPECT_EQ(button.At(0, 0), button.At(1, 0));
  EXPECT_EQ(button.At(0, 0), button.At(0, 1));
  EXPECT_NE(button.At(1, 1), button.At(0, 0));
  EXPECT_NE(button.At(0, 0), skingen::kMagenta);
  EXPECT_EQ(round.at("button.bmp").At(0, 0), skingen::kMagenta);
}

TEST(SkinArt, WindowCornersAreCutWithMagentaAndFramesMatchTheirPieces) {
  const auto art = skingen::DrawSkinArt(skingen::LightPalette());
  const skingen::Raster& left = art.at("frame_left.bmp");
  const skingen::Raster& top = art.at("frame_top.bmp");
  EXPECT_EQ(left.At(0, 0), skingen::kMagenta);
  EXPECT_EQ(left.At(4, 0), skingen::kMagenta);  // inactive look
  EXPECT_NE(left.At(0, 40), skingen::kMagenta);
  EXPECT_NE(top.At(top.width() / 2, 0), skingen::kMagenta);
  // Active and inactive captions differ.
  EXPECT_NE(top.At(top.width() / 2, 15), top.At(top.width() / 2, 45));
}

TEST(SkinArt, BitmapFilesAreBottomUp24BitWithPaddedRows) {
  skingen::Raster r(3, 2, 0x112233);
  r.Set(0, 0, 0xFF00FF);
  const auto bmp = r.ToBmp();
  ASSERT_EQ(bmp.size(), 54u + 2 * 12u);
  EXPECT_EQ(*core::ReadBitmapSize(bmp), (core::ImageSize{3, 2}));
  EXPECT_EQ(bmp[28], 24);
  // Row 0 of the picture is the last row of the file; pixels are blue, green,
  // red, and each row is padded to a multiple of four bytes.
  EXPECT_EQ(std::vector<std::uint8_t>(bmp.begin() + 54, bmp.end()),
            (std::vector<std::uint8_t>{0x33, 0x22, 0x11, 0x33, 0x22, 0x11, 0x33, 0x22, 0x11, 0, 0, 0,
                                       0xFF, 0x00, 0xFF, 0x33, 0x22, 0x11, 0x33, 0x22, 0x11, 0, 0, 0}));
}

TEST(SkinArt, DrawingIsDeterministic) {
  const auto a = skingen::DrawSkinArt(skingen::DarkPalette());
  const auto b = skingen::DrawSkinArt(skingen::DarkPalette());
  ASSERT_EQ(a.size(), b.size());
  for (const auto& [name, raster] : a) EXPECT_EQ(raster.ToBmp(), b.at(name).ToBmp()) << name;
}
