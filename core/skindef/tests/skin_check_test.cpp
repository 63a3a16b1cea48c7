// The skin checker on small skins with one mistake each: every mistake gives
// its one line, with the right file and line; a sound skin gives none.
#include "core/skindef/skin_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Tabs of five 10-pixel frames, and a button strip of five 8-pixel frames.
const std::string kSound =
    "[Colours]\r\nButtonFace=10 20 30\r\n\r\n[Buttons]\r\nBitmap=button.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\n"
    "[Tabs]\r\nImage=tabs.bmp\r\nLeftWidth=4\r\n";

core::SkinSource Sound() {
  return core::SkinSource{"skin.ini", kSound, {{"button.bmp", Solid(40, 8)}, {"tabs.bmp", Solid(50, 10)}}};
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
    std::string expected;
  };
  const std::vector<Case> cases{
      {"unknown section", kSound + "[Tabz]\r\nImage=x.bmp\r\n", {},
       "skin.ini:11: warning: unknown section [Tabz]; did you mean [Tabs]?"},
      {"unknown key", kSound + "RightWidht=2\r\n", {},
       "skin.ini:11: warning: unknown key RightWidht in [Tabs]; did you mean RightWidth?"},
      {"key read once", kSound + "LeftWidth=5\r\n", {},
       "skin.ini:11: warning: LeftWidth again in [Tabs]: only the first is read"},
      {"number", kSound + "TopHeight=four\r\n", {},
       "skin.ini:11: error: TopHeight = \"four\" is not a number: the engine reads the default instead"},
      {"section read once", kSound + "[Colours]\r\n", {},
       "skin.ini:11: warning: section [Colours] again: only the first is read"},
      {"colour", std::string(kSound).replace(kSound.find("10 20 30"), 8, "10 20"), {},
       "skin.ini:2: error: ButtonFace = \"10 20\" is not a colour: write three numbers from 0 to 255 (red green blue)"},
      {"missing bitmap", kSound + "[SunkEdge]\r\nImage=sunk.bmp\r\n", {},
       "skin.ini:12: error: bitmap sunk.bmp is missing"},
      {"unnamed bitmap", "", {{"spare.bmp", Solid(4, 4)}},
       "spare.bmp:1: warning: the definition never names this bitmap"},
      {"refused bitmap", kSound + "[SunkEdge]\r\nImage=sunk.bmp\r\n", {{"sunk.bmp", Bytes{'B', 'M', 1, 2, 3}}},
       "skin.ini:12: error: bitmap sunk.bmp is not one the engine reads (a Windows .bmp of 1 to 32 bits, "
       "uncompressed, run-length or bit fields, 1 to 32767 pixels each way)"},
      {"frames", kSound + "[SunkEdge]\r\nImage=sunk.bmp\r\n", {{"sunk.bmp", Solid(30, 8)}},
       "skin.ini:12: error: sunk.bmp is 30 pixels wide, not a multiple of its 4 frames"},
      {"margins", kSound + "[SunkEdge]\r\nImage=sunk.bmp\r\nTopHeight=5\r\nBottomHeight=4\r\n",
       {{"sunk.bmp", Solid(32, 8)}},
       "skin.ini:12: error: the top and bottom margins (5 + 4) are taller than a frame of sunk.bmp (8)"},
      {"density variant", "", {{"tabs@2x.bmp", Solid(90, 20)}},
       "tabs@2x.bmp:1: error: is 90x20; drawn for 192 dpi from tabs.bmp it must be 100x20"},
      {"variant of nothing", "", {{"sunk@2x.bmp", Solid(8, 8)}},
       "sunk@2x.bmp:1: warning: a density variant of sunk.bmp, which the definition never names"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    core::SkinSource skin = Sound();
    if (!c.definition.empty()) skin.Definition = c.definition;
    for (const auto& file : c.files) skin.Files.push_back(file);
    EXPECT_EQ(Lines(skin), std::vector<std::string>{c.expected});
  }
}

}  // namespace
