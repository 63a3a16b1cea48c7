// The skin checker on small skins with one mistake each: every mistake gives
// its one line, with the right file and line; a sound skin gives none.
#include "core/skindef/skin_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/archive/skin_reader.h"
#include "core/archive/skin_writer.h"
#include "core/skindef/alpha_picture.h"
#include "core/skindef/bitmap_header.h"
#include "core/skindef/skin_definition.h"
#include "core/skindef/tests/bmp_builder.h"

namespace {

using core::testing::Bytes;

Bytes Solid(int width, int height) {
  core::testing::BmpLayout l;
  l.width = width;
  l.height = height;
  l.pixels.assign(static_cast<std::size_t>((width * 3 + 3) / 4 * 4 * height), 0x80);
  return core::testing::MakeBmp(l);
}

std::vector<std::string> Lines(const core::SkinSource& skin) {
  std::vector<std::string> lines;
  for (const core::SkinFinding& f : core::CheckSkin(skin)) lines.push_back(core::FormatFinding(f));
  return lines;
}

// A name, a caption band 20 pixels tall with a close button, tabs of five
// 10-pixel frames, and a button strip of five 8-pixel frames.
const std::string kSound =
    "[TitlebarSkin]\r\nSkinName=Sound\r\n[Personality]\r\nTop=top.bmp\r\n[Button0]\r\nAlign=1\r\nXcoord=20\r\n"
    "Ycoord=2\r\nButtonImage=close.bmp\r\nframe=2\r\n"
    "[Colours]\r\nButtonFace=10 20 30\r\n\r\n[Buttons]\r\nBitmap=button.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\n"
    "[Tabs]\r\nImage=tabs.bmp\r\nLeftWidth=4\r\n";

core::SkinSource Sound() {
  return core::SkinSource{"skin.ini",
                          kSound,
                          {{"top.bmp", Solid(40, 20)},
                           {"close.bmp", Solid(32, 16)},
                           {"button.bmp", Solid(40, 8)},
                           {"tabs.bmp", Solid(50, 10)}}};
}

// A 32-bit picture with alpha: the pixels given, then opaque grey.
Bytes WithAlpha(int width, int height, std::vector<std::uint32_t> first) {
  first.resize(static_cast<std::size_t>(width * height), 0xFF808080);
  return core::WriteAlphaBitmap(core::AlphaPicture{width, height, std::move(first)});
}

// Run-length code for a 4 x 2 picture of 8 bits.
Bytes RunLength(const Bytes& code) {
  core::testing::BmpLayout l;
  l.width = 4;
  l.height = 2;
  l.bits = 8;
  l.compression = 1;
  l.palette = {0x000000, 0xFFFFFF};
  l.pixels = code;
  return core::testing::MakeBmp(l);
}

TEST(SkinCheck, ASoundSkinGivesNothing) {
  core::SkinSource skin = Sound();
  skin.Files.emplace_back("tabs@2x.bmp", Solid(100, 20));
  skin.Files.emplace_back("TABS@1.5x.bmp", Solid(75, 15));
  EXPECT_EQ(Lines(skin), std::vector<std::string>{});
}

TEST(SkinCheck, EachMistakeGivesItsLine) {
  struct Case {
    const char* what;
    std::string definition;  // replaces the sound one when given
    std::vector<std::pair<std::string, Bytes>> files;
    std::vector<std::string> expected;
  };
  const auto with = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  const std::vector<Case> cases{
      {"unknown section", kSound + "[Tabz]\r\nImage=x.bmp\r\n", {},
       {"skin.ini:21: warning: unknown section [Tabz]; did you mean [Tabs]?"}},
      {"unknown key", kSound + "RightWidht=2\r\n", {},
       {"skin.ini:21: warning: unknown key RightWidht in [Tabs]; did you mean RightWidth?"}},
      {"key read once", kSound + "LeftWidth=5\r\n", {},
       {"skin.ini:21: warning: LeftWidth again in [Tabs]: only the first is read"}},
      {"number", kSound + "TopHeight=four\r\n", {},
       {"skin.ini:21: error: TopHeight = \"four\" is not a number: the engine reads the default instead"}},
      {"section read once", kSound + "[Colours]\r\n", {},
       {"skin.ini:21: warning: section [Colours] again: only the first is read"}},
      {"colour", with(kSound, "10 20 30", "10 20"), {},
       {"skin.ini:12: error: ButtonFace = \"10 20\" is not a colour: write three numbers from 0 to 255 (red green blue)"}},
      {"missing bitmap", kSound + "[SunkEdge]\r\nImage=sunk.bmp\r\n", {},
       {"skin.ini:22: error: bitmap sunk.bmp is missing"}},
      {"unnamed bitmap", "", {{"spare.bmp", Solid(4, 4)}},
       {"spare.bmp:1: warning: the definition never names this bitmap"}},
      {"refused bitmap", kSound + "[SunkEdge]\r\nImage=sunk.bmp\r\n", {{"sunk.bmp", Bytes{'B', 'M', 1, 2, 3}}},
       {"skin.ini:22: error: bitmap sunk.bmp is not one the engine reads (a Windows .bmp of 1 to 32 bits, "
        "uncompressed, run-length or bit fields)"}},
      {"picture beyond the size limit", kSound + "[SunkEdge]\r\nImage=sunk.bmp\r\n", {{"sunk.bmp", Solid(4100, 1)}},
       {"skin.ini:22: error: bitmap sunk.bmp is 4100x1: the engine reads pictures of at most 4096 pixels a side "
        "and 4194304 pixels in all"}},
      {"run-length code past its picture", kSound + "[SunkEdge]\r\nImage=sunk.bmp\r\n",
       {{"sunk.bmp", RunLength({5, 1, 0, 1})}},
       {"skin.ini:22: error: bitmap sunk.bmp has run-length code that writes past the picture"}},
      {"run-length code past its data", kSound + "[SunkEdge]\r\nImage=sunk.bmp\r\n",
       {{"sunk.bmp", RunLength({0, 3, 1})}},
       {"skin.ini:22: error: bitmap sunk.bmp has run-length code that ends inside a run"}},
      {"frames", kSound + "[SunkEdge]\r\nImage=sunk.bmp\r\n", {{"sunk.bmp", Solid(30, 8)}},
       {"skin.ini:22: error: sunk.bmp is 30 pixels wide, not a multiple of its 4 frames"}},
      {"margins", kSound + "[SunkEdge]\r\nImage=sunk.bmp\r\nTopHeight=5\r\nBottomHeight=4\r\n",
       {{"sunk.bmp", Solid(32, 8)}},
       {"skin.ini:22: error: the top and bottom margins (5 + 4) are taller than a frame of sunk.bmp (8)"}},
      {"negative margin", kSound + "RightWidth=-2147483648\r\n", {},
       {"skin.ini:21: error: RightWidth = -2147483648: a margin cannot be negative"}},
      {"margins that leave no middle", kSound + "RightWidth=6\r\n", {},
       {"skin.ini:19: error: the left and right margins (4 + 6) leave no middle column of a frame of tabs.bmp (10) "
        "to stretch"}},
      {"frame count below 1", kSound + "[HorzScrollThumb]\r\nImage=tabs.bmp\r\nFrameCount=0\r\n", {},
       {"skin.ini:23: error: FrameCount = 0: a picture holds at least one frame"}},
      {"more frames than pixels", kSound + "[Scrollbar]\r\nImage=narrow.bmp\r\n", {{"narrow.bmp", Solid(20, 8)}},
       {"skin.ini:22: error: narrow.bmp is 20 pixels wide, too few for its 23 frames"}},
      {"negative colour", with(kSound, "10 20 30", "-1 -1 -1"), {},
       {"skin.ini:12: error: ButtonFace = \"-1 -1 -1\" is not a colour: write three numbers from 0 to 255 (red green "
        "blue)"}},
      {"text colour above 255", with(kSound, "Top=top.bmp\r\n", "Top=top.bmp\r\nActiveTextR=256\r\n"), {},
       {"skin.ini:5: error: ActiveTextR = 256 is above 255: the engine keeps only its low 8 bits"}},
      {"button off the caption band", with(kSound, "Ycoord=2", "Ycoord=99999"), {},
       {"skin.ini:8: error: Ycoord = 99999: lengths lie within 4096 pixels either way",
        "skin.ini:8: error: the caption button [Button0] (16x16 at Xcoord 20, Ycoord 99999) lies outside the "
        "20-pixel caption band"}},
      {"button past the window's edge", with(kSound, "Xcoord=20", "Xcoord=0"), {},
       {"skin.ini:7: error: the caption button [Button0] (16x16 at Xcoord 0, Ycoord 2) lies outside the 20-pixel "
        "caption band"}},
      {"button cut by the caption band", with(kSound, "Ycoord=2", "Ycoord=6"), {},
       {"skin.ini:8: warning: the caption button [Button0] (16x16 at Xcoord 20, Ycoord 6) reaches outside the "
        "20-pixel caption band"}},
      {"no name", with(kSound, "SkinName=Sound\r\n", ""), {},
       {"skin.ini:1: error: the skin has no name: give it one as SkinName in [TitlebarSkin]"}},
      {"no caption", with(kSound, "Top=top.bmp", "Left=top.bmp"), {},
       {"skin.ini:3: error: no caption: [Personality] names no Top picture, so windows would have no title bar to "
        "move them by"}},
      {"UTF-16 definition", std::string("\xFF\xFE[\0T\0i\0", 8), {},
       {"skin.ini:1: error: the definition is UTF-16 text (it starts with a byte-order mark); the engine reads "
        "8-bit text: save it as ANSI text"}},
      {"density variant", "", {{"tabs@2x.bmp", Solid(90, 20)}},
       {"tabs@2x.bmp:1: error: is 90x20; drawn for 192 dpi from tabs.bmp it must be 100x20"}},
      {"variant of nothing", "", {{"sunk@2x.bmp", Solid(8, 8)}},
       {"sunk@2x.bmp:1: warning: a density variant of sunk.bmp, which the definition never names"}},
      {"straight alpha", kSound + "[SunkEdge]\r\nImage=sunk.bmp\r\nTrans=1\r\n",
       {{"sunk.bmp", WithAlpha(4, 1, {0xFF000000, 0x80FF0000, 0, 0})}},
       {"skin.ini:22: error: bitmap sunk.bmp has colour above its alpha at 1,0 (1 pixels): save it with "
        "premultiplied alpha (skinpack pack does that for PNG pictures)"}},
      {"alpha where the picture is copied opaque", kSound + "[Headerbar]\r\nImage=head.bmp\r\n",
       {{"head.bmp", WithAlpha(5, 1, {0x80404040})}},
       {"skin.ini:22: warning: head.bmp carries alpha, which this slot draws as a 24-bit picture: column headers "
        "are copied opaque"}},
      {"transition too long or negative", kSound + "[Animation]\r\nPushButton.HoverIn=5000\r\nTab.Press=-1\r\nCheckBox.Press=2000\r\n", {},
       {"skin.ini:22: warning: PushButton.HoverIn = 5000: a transition lasts 0 to 2000 ms; the engine keeps it within "
        "that",
        "skin.ini:23: warning: Tab.Press = -1: a transition lasts 0 to 2000 ms; the engine keeps it within that"}},
      {"unknown change", kSound + "[Animation]\r\nPushButton.HoverOn=100\r\n", {},
       {"skin.ini:22: warning: unknown key PushButton.HoverOn in [Animation]; did you mean PushButton.HoverIn?"}},
      {"alpha in one density only", "", {{"tabs@2x.bmp", WithAlpha(100, 20, {})}},
       {"tabs@2x.bmp:1: warning: carries alpha, tabs.bmp none: the two densities would be drawn differently"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    core::SkinSource skin = Sound();
    if (!c.definition.empty()) skin.Definition = c.definition;
    for (const auto& file : c.files) skin.Files.push_back(file);
    EXPECT_EQ(Lines(skin), std::vector<std::string>{c.expected});
  }
}

// An archive read as a screen of the design density reads it: the density
// variants, packed after the pictures, are neither decoded nor checked.
TEST(SkinCheck, AnArchiveWithoutItsDensityVariantsIsDecodedAndCheckedOnlyAsFarAsThePictures) {
  core::TSkinWriter writer;
  const core::SkinSource sound = Sound();
  writer.AddEntry(sound.DefinitionName, Bytes(sound.Definition.begin(), sound.Definition.end()));
  for (const auto& [name, bytes] : sound.Files) writer.AddEntry(name, bytes);
  const std::size_t withoutVariant = writer.BuildContainer().size();
  writer.AddEntry("tabs@2x.bmp", Solid(90, 20));  // the wrong size
  core::TSkinReader reader;
  core::ByteStream archive(writer.BuildArchive());
  ASSERT_TRUE(reader.LoadArchive(archive));

  const core::SkinSource design =
      core::SkinSourceOf(reader, "skin.ini", sound.Definition, core::SkinEntries::WithoutDensityVariants);
  EXPECT_EQ(design.Files.size(), 4u);
  EXPECT_EQ(Lines(design), std::vector<std::string>{});
  EXPECT_LT(reader.DecodedBytes(), withoutVariant + 4 + 60);  // its size field came before the pictures

  EXPECT_EQ(Lines(core::SkinSourceOf(reader, "skin.ini", sound.Definition)),
            std::vector<std::string>{"tabs@2x.bmp:1: error: is 90x20; drawn for 192 dpi from tabs.bmp it must be 100x20"});
}

// The checker hands over its reading of the definition, which must be the
// engine's: a caption button's frames and the maximised-child buttons' parts
// of their strip follow from the pictures' own sizes, also when another
// picture is missing.
TEST(SkinCheck, HandsOverTheDefinitionAsTheEngineReadsIt) {
  core::SkinSource skin = Sound();
  skin.Definition += "[Button1]\r\nAction=1\r\nButtonImage=wide.bmp\r\n[MDICONTROLS]\r\nImage=strip.bmp\r\n";
  skin.Files.emplace_back("wide.bmp", Solid(60, 10));
  skin.Files.emplace_back("strip.bmp", Solid(120, 10));
  for (const bool missing : {false, true}) {
    if (missing) skin.Files.erase(skin.Files.begin());  // top.bmp
    core::SkinDefinition handed;
    EXPECT_EQ(core::HasError(core::CheckSkin(core::ViewOf(skin), &handed)), missing);
    const core::SkinDefinition read =
        core::ReadSkinDefinition(skin.Definition, [&](const std::string& name) -> std::optional<core::ImageSize> {
          for (const auto& [file, bytes] : skin.Files)
            if (file == name) {
              const auto layout = core::ParseBitmapFile(bytes);
              return core::ImageSize{layout->width, layout->height};
            }
          return std::nullopt;
        });
    ASSERT_EQ(handed.SysButtonElements.size(), read.SysButtonElements.size());
    ASSERT_EQ(read.SysButtonElements.size(), 5u);
    EXPECT_EQ(read.SysButtonElements[1].FrameCount, 6);  // 60x10: wider than 3.8 to 1
    EXPECT_EQ(read.SysButtonElements[4].ImageLeft, 80);  // 120 / 12 * 4 * 2
    for (std::size_t i = 0; i < read.SysButtonElements.size(); ++i) {
      const core::SkinSysButtonDef &a = handed.SysButtonElements[i], &b = read.SysButtonElements[i];
      EXPECT_EQ(std::tie(a.Image, a.FrameCount, a.ImageLeft, a.ImageWidth, a.XCoord),
                std::tie(b.Image, b.FrameCount, b.ImageLeft, b.ImageWidth, b.XCoord));
    }
    EXPECT_EQ(handed.BorderTop.Image, read.BorderTop.Image);
    EXPECT_EQ(handed.ButtonsElement.CheckFrameCount, read.ButtonsElement.CheckFrameCount);
  }
}

}  // namespace
