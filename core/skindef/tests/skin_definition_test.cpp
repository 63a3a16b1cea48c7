#include "core/skindef/skin_definition.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using core::ImageSize;
using core::ReadSkinDefinition;
using core::Rgb;
using core::SkinDefinition;

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// An archive stand-in: entries found without regard to case.
struct FakeArchive {
  std::map<std::string, ImageSize> entries;
  core::ImageSizeLookup Lookup() {
    return [this](const std::string& name) -> std::optional<ImageSize> {
      auto it = entries.find(Lower(name));
      if (it == entries.end()) return std::nullopt;
      return it->second;
    };
  }
};

SkinDefinition Read(std::string_view text, FakeArchive& archive) { return ReadSkinDefinition(text, archive.Lookup()); }

}  // namespace

TEST(SkinDefinition, CaptionButtonFramesAreDerivedFromImageSize) {
  FakeArchive archive{{{"narrow.bmp", {57, 19}}, {"wide.bmp", {114, 19}}, {"icon.bmp", {16, 16}}}};
  const auto def = Read(
      "[Button0]\nAction=0\nButtonImage=narrow.bmp\n"
      "[Button1]\nAction=1\nButtonImage=wide.bmp\n"
      "[Button2]\nAction=-1\nVisibility=10\nButtonImage=narrow.bmp\n"
      "[Button3]\nAction=-1\nVisibility=0\nButtonImage=narrow.bmp\n"
      "[Button4]\nAction=3\nButtonImage=icon.bmp\n"
      "[Button5]\nAction=11\nframe=1\nButtonImage=icon.bmp\n"
      "[Button6]\nAction=-1\n"
      "[Buttons]\n[Button]\n[Button.Radio]\n[button.checkbox]\n",
      archive);
  ASSERT_EQ(def.SysButtonElements.size(), 5u + 3u);
  const auto& b = def.SysButtonElements;
  EXPECT_EQ(b[0].ElementName, "BUTTON0");
  EXPECT_EQ(b[0].FrameCount, 3);
  EXPECT_EQ(b[1].FrameCount, 6);
  // Action -1 survives only with Visibility 0, and always gets six frames.
  EXPECT_EQ(b[2].ElementName, "BUTTON3");
  EXPECT_EQ(b[2].FrameCount, 6);
  EXPECT_EQ(b[2].Visibility1, -1);
  EXPECT_EQ(b[2].CombineOp, -1);
  // The window-icon button without "frame" loses its image; with it, keeps it.
  EXPECT_TRUE(b[3].Image.empty());
  EXPECT_EQ(b[4].Image, "icon.bmp");
  EXPECT_EQ(b[4].FrameCount, 1);
  for (int i = 0; i < 3; ++i) {
    const auto& child = b[5 + static_cast<std::size_t>(i)];
    EXPECT_EQ(child.Action, 7 + i);
    EXPECT_EQ(child.Align, 100);
    EXPECT_EQ(child.Visibility1, 100);
    EXPECT_EQ(child.FrameCount, 4);
    EXPECT_TRUE(child.Image.empty());
  }
}

TEST(SkinDefinition, MdiControlStripIsCutIntoThreeButtons) {
  FakeArchive archive{{{"mdi.bmp", {12 * 16, 14}}}};
  const auto def = Read("[MDICONTROLS]\nImage=mdi.bmp\n", archive);
  ASSERT_EQ(def.SysButtonElements.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const auto& button = def.SysButtonElements[static_cast<std::size_t>(i)];
    EXPECT_EQ(button.Image, "mdi.bmp");
    EXPECT_EQ(button.ImageLeft, 64 * i);
    EXPECT_EQ(button.ImageWidth, 64);
    EXPECT_EQ(button.XCoord, 20 * (3 - i));
  }
}

TEST(SkinDefinition, GlyphStripFrameCounts) {
  FakeArchive archive{{{"radio.bmp", {80, 13}}, {"check.bmp", {40, 13}}}};
  auto def = Read("[Buttons]\nRadioButton=radio.bmp\nCheckButton=check.bmp\n", archive);
  EXPECT_EQ(def.ButtonsElement.RadioFrameCount, 6);
  EXPECT_EQ(def.ButtonsElement.CheckFrameCount, 4);
  EXPECT_EQ(def.ButtonsElement.FrameCount, 5);
  archive.entries = {{"radio.bmp", {128, 16}}, {"check.bmp", {130, 13}}};
  def = Read("[Buttons]\nRadioButton=radio.bmp\nCheckButton=check.bmp\nCheckButtonFrame=8\n", archive);
  EXPECT_EQ(def.ButtonsElement.RadioFrameCount, 8);
  EXPECT_EQ(def.ButtonsElement.CheckFrameCount, 8);
  EXPECT_EQ(core::GlyphStripFrameCount({0, 0}), 4);
}

TEST(SkinDefinition, MissingColoursKeepSystemDefaults) {
  FakeArchive archive{{{"e.bmp", {10, 10}}}};
  const auto def = Read("[SunkEdge]\nImage=e.bmp\n[Buttons]\n", archive);
  EXPECT_EQ(def.Colours.ButtonFace, 0xFF00000Fu);
  EXPECT_EQ(def.Colours.Menubar, 0xFF00000Fu);
  EXPECT_EQ(def.Colours.ButtonDkShadow, 0xFF000015u);
  EXPECT_EQ(def.Colours.TitleTextNoActive, 0xFF000013u);
  ASSERT_TRUE(def.SunkEdge);
  EXPECT_EQ(def.SunkEdge->NormalColour, -1);
  EXPECT_EQ(def.SunkEdge->NormalColour2, 0xFF000012u);
  EXPECT_EQ(def.SunkEdge->PressedColour2, 0xFF000012u);
  EXPECT_EQ(def.ButtonsElement.MouseOverColour2, 0xFF000012u);
  EXPECT_FALSE(def.ButtonsElement.HasMouseOverColour2);
  EXPECT_TRUE(def.ColourTable.empty());
}

TEST(SkinDefinition, ColoursAndColourTableInFileOrder) {
  FakeArchive archive;
  const auto def = Read(
      "[Colour2]\ncolor=2 2 2\n[Colours]\nButtonFace=203 216 239\nButtonText=1,2,3\n"
      "[Colour0]\ncolor=0 0 9\n[COLOURX]\n[colour1]\ncolor=1 1 1\n",
      archive);
  EXPECT_EQ(def.Colours.ButtonFace, Rgb(203, 216, 239));
  EXPECT_EQ(def.Colours.Menubar, Rgb(203, 216, 239));
  EXPECT_EQ(def.Colours.ButtonText, Rgb(1, 2, 3));
  EXPECT_EQ(def.ColourTable,
            (std::vector<core::SkinColour>{Rgb(2, 2, 2), Rgb(0, 0, 9), 0xFF000008u, Rgb(1, 1, 1)}));
}

TEST(SkinDefinition, ImageNamesFollowTheFileNameRule) {
  EXPECT_EQ(core::ElementImageName("c:\\Skins\\Sub\\Frame.bmp"), "Frame.bmp");
  EXPECT_EQ(core::ElementImageName("d:frame.bmp"), "frame.bmp");
  EXPECT_EQ(core::ElementImageName("frame.BMP"), "");
  EXPECT_EQ(core::ElementImageName("frame.png"), "");
  EXPECT_EQ(core::ElementImageName("dir\\"), "");

  FakeArchive archive{{{"frame.bmp", {8, 8}}}};
  const auto def = Read(
      "[SunkEdge]\nImage=..\\art\\FRAME.bmp\n[MenuItem]\nImage=frame.BMP\n[Headerbar]\nLeftWidth=3\n"
      "[Toolbars]\nImage=missing.bmp\n",
      archive);
  ASSERT_TRUE(def.SunkEdge);
  EXPECT_EQ(def.SunkEdge->Image, "FRAME.bmp");
  EXPECT_FALSE(def.MenuItem);
  EXPECT_FALSE(def.Headerbar);
  EXPECT_FALSE(def.Toolbars);
}

TEST(SkinDefinition, ElementKeysAndFrameCounts) {
  FakeArchive archive{{{"a.bmp", {40, 20}}, {"b.bmp", {40, 20}}}};
  const auto def = Read(
      "[Progress]\nBitmap=a.bmp\nChunk=b.bmp\nTile=5\nNormalColour=7\n"
      "[Tabs]\nImage=a.bmp\nBorder=b.bmp\nStyle=3\nTile=2\n"
      "[ComboButton]\nImage=a.bmp\nStyle=1\n"
      "[GroupBox]\nImage=a.bmp\nLeftWidth=6\nTopHeight=6\nRightWidth=6\nBottomHeight=6\nNormalColour=5\n"
      "BackgroundAlignment=2\n"
      "[HorzScrollThumb]\nImage=a.bmp\nFrameCount=4\n[VertScrollThumb]\nImage=a.bmp\n"
      "[UpDown.Vert]\nImage=a.bmp\nGlyphImage=b.bmp\n[Trackbar.ThumbDown]\nImage=a.bmp\n",
      archive);
  ASSERT_TRUE(def.Progress && def.Tabs && def.ComboButton && def.GroupBox && def.HorzScrollThumb &&
              def.VertScrollThumb && def.UpDownVert && def.TrackbarThumbDown);
  EXPECT_EQ(def.Progress->Tile, 5);  // not clamped
  EXPECT_EQ(def.Progress->NormalColour, 0);
  EXPECT_EQ(def.Progress->Image2, "b.bmp");
  EXPECT_EQ(def.Progress->FrameCount, 2);
  EXPECT_EQ(def.Tabs->Style, 0);
  EXPECT_EQ(def.Tabs->Tile, 0);  // clamped
  EXPECT_EQ(def.Tabs->Image2, "b.bmp");
  EXPECT_EQ(def.ComboButton->Style, 0);
  EXPECT_TRUE(def.ComboButton->Image2.empty());
  EXPECT_EQ(def.GroupBox->FrameCount, 1);
  EXPECT_EQ(def.GroupBox->LeftWidth, 6);
  EXPECT_EQ(def.GroupBox->BottomHeight, 6);
  EXPECT_EQ(def.GroupBox->NormalColour, 5);
  EXPECT_EQ(def.GroupBox->BackgroundAlignment, 2);
  EXPECT_EQ(def.HorzScrollThumb->FrameCount, 4);
  EXPECT_EQ(def.VertScrollThumb->FrameCount, 3);
  EXPECT_EQ(def.UpDownVert->FrameCount, 8);
  EXPECT_EQ(def.UpDownVert->Image2, "b.bmp");
  EXPECT_EQ(def.TrackbarThumbDown->ElementName, "Trackbar.ThumbDown");
  EXPECT_EQ(def.TrackbarThumbDown->FrameCount, 5);
}

TEST(SkinDefinition, PersonalityFramesTitleAndMenuBar) {
  FakeArchive archive{{{"l.bmp", {8, 60}}, {"t.bmp", {60, 60}}, {"bar.bmp", {20, 40}}, {"back.bmp", {30, 40}}}};
  const auto def = Read(
      "[TitlebarSkin]\nSkinName=Demo\n[Personality]\nLeft=l.bmp\nLeftTopHeight=30\nLeftBotHeight=4\nLeftFrame=2\n"
      "Top=t.bmp\nTopTopHeight=12\nTopBotHeight=13\nTopStretch=0\nTopTrans=0\n"
      "TextBack=back.bmp\nTextShift=7\nTextShiftVert=-2\nTextRightClip=90\nTXTBackleft=3\n"
      "ActiveTextR=300\nActiveTextG=0\nActiveTextB=1\nInActiveTextR=1\nInActiveTextG=2\n"
      "menuBar=bar.bmp\n[Fonts]\nFontHeight=$10\n",
      archive);
  EXPECT_EQ(def.SkinName, "Demo");
  EXPECT_EQ(def.BorderLeft.ElementName, "Left");
  EXPECT_EQ(def.BorderLeft.TopHeight, 30);
  EXPECT_EQ(def.BorderLeft.BottomHeight, 4);
  EXPECT_EQ(def.BorderLeft.LeftWidth, 0);
  EXPECT_EQ(def.BorderLeft.FrameCount, 2);
  EXPECT_EQ(def.BorderLeft.Tile, 1);
  EXPECT_EQ(def.BorderLeft.Trans, 1);
  EXPECT_EQ(def.BorderTop.LeftWidth, 12);
  EXPECT_EQ(def.BorderTop.RightWidth, 13);
  EXPECT_EQ(def.BorderTop.TopHeight, 0);
  EXPECT_EQ(def.BorderTop.Tile, 0);
  EXPECT_EQ(def.BorderTop.Trans, 0);
  EXPECT_EQ(def.BorderTop.FrameCount, 1);
  EXPECT_TRUE(def.BorderRight.Image.empty());
  EXPECT_EQ(def.TitleElement.Image, "back.bmp");
  EXPECT_EQ(def.TitleElement.LeftWidth, 7);
  EXPECT_EQ(def.TitleElement.TopHeight, -2);
  EXPECT_EQ(def.TitleElement.RightWidth, 90);
  EXPECT_EQ(def.TitleElement.TextBackLeft, 3);
  EXPECT_EQ(def.TitleElement.FontHeight, 16);
  EXPECT_EQ(def.TitleElement.FrameCount, 2);
  EXPECT_EQ(def.TitleElement.ActiveTextColour, Rgb(300 & 255, 0, 1));
  EXPECT_EQ(def.TitleElement.InactiveTextColour, core::SkinTitleDef::kNotGiven);
  ASSERT_TRUE(def.MenuBar);
  EXPECT_EQ(def.MenuBar->LeftWidth, 1);
  EXPECT_EQ(def.MenuBar->RightWidth, 1);
  EXPECT_EQ(def.MenuBar->FrameCount, 2);
}

TEST(SkinDefinition, BinaryGarbageDoesNotCrash) {
  FakeArchive archive{{{"a.bmp", {1, 1}}}};
  std::string noise;
  std::uint32_t seed = 12345;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 1103515245u + 12345u;
    noise += static_cast<char>(seed >> 24);
  }
  noise += "\n[Button9]\nAction=-1\nVisibility=0\n[MDICONTROLS]\nImage=a.bmp\n";
  const auto def = Read(noise, archive);
  EXPECT_EQ(def.SysButtonElements.size(), 4u);
  EXPECT_EQ(def.SysButtonElements[1].ImageWidth, 0);  // a 1-pixel strip gives zero-width parts
}
