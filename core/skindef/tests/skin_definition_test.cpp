#include "core/skindef/skin_definition.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

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
  EXPECT_EQ(std::tuple(b[0].ElementName, b[0].FrameCount, b[1].FrameCount), std::tuple("BUTTON0", 3, 6));
  // Action -1 survives only with Visibility 0, and always gets six frames.
  EXPECT_EQ(std::tuple(b[2].ElementName, b[2].FrameCount, b[2].Visibility1, b[2].CombineOp),
            std::tuple("BUTTON3", 6, -1, -1));
  // The window-icon button without "frame" loses its image; with it, keeps it.
  EXPECT_TRUE(b[3].Image.empty());
  EXPECT_EQ(std::tuple(b[4].Image, b[4].FrameCount), std::tuple("icon.bmp", 1));
  for (int i = 0; i < 3; ++i) {
    const auto& child = b[5 + static_cast<std::size_t>(i)];
    EXPECT_EQ(std::tuple(child.Action, child.Align, child.Visibility1, child.FrameCount, child.Image),
              std::tuple(7 + i, 100, 100, 4, ""));
  }
}

TEST(SkinDefinition, MdiControlStripIsCutIntoThreeButtons) {
  FakeArchive archive{{{"mdi.bmp", {12 * 16, 14}}}};
  const auto def = Read("[MDICONTROLS]\nImage=mdi.bmp\n", archive);
  ASSERT_EQ(def.SysButtonElements.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const auto& button = def.SysButtonElements[static_cast<std::size_t>(i)];
    EXPECT_EQ(std::tuple(button.Image, button.ImageLeft, button.ImageWidth, button.XCoord),
              std::tuple("mdi.bmp", 64 * i, 64, 20 * (3 - i)));
  }
  // Narrower than twelve pixels: no frame, so every button's image is empty.
  FakeArchive narrow{{{"mdi.bmp", {11, 14}}}};
  const auto narrowDef = Read("[MDICONTROLS]\nImage=mdi.bmp\n", narrow);
  ASSERT_EQ(narrowDef.SysButtonElements.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const auto& button = narrowDef.SysButtonElements[static_cast<std::size_t>(i)];
    EXPECT_EQ(std::tuple(button.Image, button.ImageWidth, button.XCoord), std::tuple("", 0, 4 * (3 - i)));
  }
}

TEST(SkinDefinition, GlyphStripFrameCounts) {
  FakeArchive archive{{{"radio.bmp", {80, 13}}, {"check.bmp", {40, 13}}}};
  auto def = Read("[Buttons]\nRadioButton=radio.bmp\nCheckButton=check.bmp\n", archive);
  const auto& buttons = def.ButtonsElement;
  EXPECT_EQ(std::tuple(buttons.RadioFrameCount, buttons.CheckFrameCount, buttons.FrameCount), std::tuple(6, 4, 5));
  archive.entries = {{"radio.bmp", {128, 16}}, {"check.bmp", {130, 13}}};
  def = Read("[Buttons]\nRadioButton=radio.bmp\nCheckButton=check.bmp\nCheckButtonFrame=8\n", archive);
  EXPECT_EQ(std::tuple(buttons.RadioFrameCount, buttons.CheckFrameCount), std::tuple(8, 8));
  EXPECT_EQ(core::GlyphStripFrameCount({0, 0}), 4);
}

TEST(SkinDefinition, MissingColoursKeepSystemDefaults) {
  FakeArchive archive{{{"e.bmp", {10, 10}}}};
  const auto def = Read("[SunkEdge]\nImage=e.bmp\n[Buttons]\n", archive);
  const auto& c = def.Colours;
  EXPECT_EQ(std::tuple(c.ButtonFace, c.Menubar, c.ButtonDkShadow, c.TitleTextNoActive),
            std::tuple(0xFF00000Fu, 0xFF00000Fu, 0xFF000015u, 0xFF000013u));
  EXPECT_EQ(std::tuple(c.Window, c.GrayText, c.InfoBk, c.InfoText, c.HotLight),
            std::tuple(0xFF000005u, 0xFF000011u, 0xFF000018u, 0xFF000017u, 0xFF00001Au));
  ASSERT_TRUE(def.SunkEdge);
  EXPECT_EQ(std::tuple(def.SunkEdge->NormalColour, def.SunkEdge->NormalColour2, def.SunkEdge->PressedColour2),
            std::tuple(-1, 0xFF000012u, 0xFF000012u));
  EXPECT_EQ(std::tuple(def.ButtonsElement.MouseOverColour2, def.ButtonsElement.HasMouseOverColour2),
            std::tuple(0xFF000012u, false));
  EXPECT_TRUE(def.ColourTable.empty());
}

TEST(SkinDefinition, ColoursAndColourTableInFileOrder) {
  FakeArchive archive;
  const auto def = Read(
      "[Colour2]\ncolor=2 2 2\n[Colours]\nButtonFace=203 216 239\nButtonText=1,2,3\nWindow=4 5 6\nHotLight=7 8 9\n"
      "[Colour0]\ncolor=0 0 9\n[COLOURX]\n[colour1]\ncolor=1 1 1\n",
      archive);
  EXPECT_EQ(std::tuple(def.Colours.ButtonFace, def.Colours.Menubar, def.Colours.ButtonText),
            std::tuple(Rgb(203, 216, 239), Rgb(203, 216, 239), Rgb(1, 2, 3)));
  EXPECT_EQ(std::tuple(def.Colours.Window, def.Colours.HotLight), std::tuple(Rgb(4, 5, 6), Rgb(7, 8, 9)));
  EXPECT_EQ(def.ColourTable,
            (std::vector<core::SkinColour>{Rgb(2, 2, 2), Rgb(0, 0, 9), 0xFF000008u, Rgb(1, 1, 1)}));
}

TEST(SkinDefinition, AnimationDurationsByKindAndChangeClamped) {
  FakeArchive archive;
  using core::AnimatedKind;
  using core::LookChange;
  EXPECT_FALSE(Read("[Buttons]\n", archive).Animation.Any());
  const auto def = Read(
      "[animation]\npushbutton.hoverin=120\nPushButton.HoverOut=0x50\nScrollBar.HoverIn=9000\nTab.Press=-5\n"
      "MenuBarItem.Focus=abc\n",
      archive);
  const core::SkinAnimation& a = def.Animation;
  EXPECT_TRUE(a.Any());
  EXPECT_EQ(std::tuple(a.Duration(AnimatedKind::PushButton, LookChange::HoverIn),
                       a.Duration(AnimatedKind::PushButton, LookChange::HoverOut),
                       a.Duration(AnimatedKind::PushButton, LookChange::Press),
                       a.Duration(AnimatedKind::ScrollBar, LookChange::HoverIn),
                       a.Duration(AnimatedKind::Tab, LookChange::Press),
                       a.Duration(AnimatedKind::MenuBarItem, LookChange::Focus)),
            std::tuple(120, 80, 0, 2000, 0, 0));
}

TEST(SkinDefinition, ImageNamesFollowTheFileNameRule) {
  EXPECT_EQ(core::ElementImageName("c:\\Skins\\Sub\\Frame.bmp"), "Frame.bmp");
  EXPECT_EQ(core::ElementImageName("d:frame.bmp"), "frame.bmp");
  for (const char* noImage : {"frame.BMP", "frame.png", "dir\\"}) EXPECT_EQ(core::ElementImageName(noImage), "");

  FakeArchive archive{{{"frame.bmp", {8, 8}}}};
  const auto def = Read(
      "[SunkEdge]\nImage=..\\art\\FRAME.bmp\n[MenuItem]\nImage=frame.BMP\n[Headerbar]\nLeftWidth=3\n"
      "[Toolbars]\nImage=missing.bmp\n",
      archive);
  ASSERT_TRUE(def.SunkEdge);
  EXPECT_EQ(def.SunkEdge->Image, "FRAME.bmp");
  EXPECT_FALSE(def.MenuItem || def.Headerbar || def.Toolbars);
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
  // Progress keeps its Tile as given; Tabs clamps it.
  const auto& progress = *def.Progress;
  EXPECT_EQ(std::tuple(progress.Tile, progress.NormalColour, progress.Image2, progress.FrameCount),
            std::tuple(5, 0, "b.bmp", 2));
  EXPECT_EQ(std::tuple(def.Tabs->Style, def.Tabs->Tile, def.Tabs->Image2), std::tuple(0, 0, "b.bmp"));
  EXPECT_EQ(std::tuple(def.ComboButton->Style, def.ComboButton->Image2), std::tuple(0, ""));
  const auto& box = *def.GroupBox;
  EXPECT_EQ(std::tuple(box.FrameCount, box.LeftWidth, box.BottomHeight, box.NormalColour, box.BackgroundAlignment),
            std::tuple(1, 6, 6, 5, 2));
  EXPECT_EQ(std::tuple(def.HorzScrollThumb->FrameCount, def.VertScrollThumb->FrameCount, def.UpDownVert->FrameCount,
                     def.TrackbarThumbDown->FrameCount),
            std::tuple(4, 3, 8, 5));
  EXPECT_EQ(def.UpDownVert->Image2, "b.bmp");
  EXPECT_EQ(def.TrackbarThumbDown->ElementName, "Trackbar.ThumbDown");
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
  const auto& left = def.BorderLeft;
  EXPECT_EQ(std::tuple(left.ElementName, left.TopHeight, left.BottomHeight, left.LeftWidth, left.FrameCount, left.Tile,
                     left.Trans),
            std::tuple("Left", 30, 4, 0, 2, 1, 1));
  // The top piece's two heights are its left and right parts.
  const auto& top = def.BorderTop;
  EXPECT_EQ(std::tuple(top.LeftWidth, top.RightWidth, top.TopHeight, top.Tile, top.Trans, top.FrameCount),
            std::tuple(12, 13, 0, 0, 0, 1));
  EXPECT_TRUE(def.BorderRight.Image.empty());
  const auto& title = def.TitleElement;
  EXPECT_EQ(std::tuple(title.Image, title.LeftWidth, title.TopHeight, title.RightWidth, title.TextBackLeft,
                     title.FontHeight, title.FrameCount),
            std::tuple("back.bmp", 7, -2, 90, 3, 16, 2));
  EXPECT_EQ(std::tuple(title.ActiveTextColour, title.InactiveTextColour),
            std::tuple(Rgb(300 & 255, 0, 1), core::SkinTitleDef::kNotGiven));
  ASSERT_TRUE(def.MenuBar);
  EXPECT_EQ(std::tuple(def.MenuBar->LeftWidth, def.MenuBar->RightWidth, def.MenuBar->FrameCount), std::tuple(1, 1, 2));
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
