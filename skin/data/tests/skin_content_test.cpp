// A skin definition and its archive turned into element objects: pictures
// cut and mirrored where the definition asks, sizes deciding frame counts,
// odd definitions handled, and the project's own skins read completely.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/skindef/bitmap_size.h"
#include "gui/graphics.h"
#include "skin/data/element_draw.h"
#include "skin/data/skin_definition.h"
#include "skin/data/tests/bmp_files.h"

namespace {

using skin::testing::Bmp24;
using skin::testing::Bytes;
using skin::testing::TextBytes;

COLORREF BrushColour(const gui::BrushHandle& brush) {
  LOGBRUSH info{};
  if (!brush || !GetObjectW(brush.get(), sizeof info, &info)) return CLR_INVALID;
  return info.lbColor;
}

// Column x of a strip gets a colour of its own.
COLORREF Column(int x, int) { return RGB(x * 3 % 256, 255 - x, 77); }

std::unique_ptr<skin::TSkinContent> Parse(const std::string& definition,
                                          std::vector<std::pair<std::string, Bytes>> pictures) {
  core::TSkinReader reader;
  pictures.insert(pictures.begin(), {"skin.ini", TextBytes(definition)});
  skin::testing::LoadArchive(reader, pictures);
  return skin::ParseDefinition(definition, reader);
}

TEST(SkinContent, PicturesAreCutMirroredAndCountedFromTheirDecodedSize) {
  const std::string definition =
      "[Colours]\r\nButtonFace=203, 216, 239\r\nButtonText=1 2 3 4 5 6\r\n"
      "[Button0]\r\nAction=0\r\nButtonImage=skins\\Close.bmp\r\n"
      "[Button1]\r\nAction=1\r\nButtonImage=wide.bmp\r\n"
      "[Button2]\r\nAction=-1\r\nVisibility=10\r\nButtonImage=close.bmp\r\n"
      "[Button3]\r\nAction=3\r\nButtonImage=close.bmp\r\n"
      "[MDICONTROLS]\r\nImage=mdi.bmp\r\n"
      "[Buttons]\r\nBitmap=close.bmp\r\nRadioButton=radio.bmp\r\nCheckButton=check.bmp\r\n"
      "[ComboButton]\r\nImage=strip.bmp\r\nTrans=1\r\n"
      "[SunkEdge]\r\nImage=strip.BMP\r\n"
      "[GroupBox]\r\nImage=C:strip.bmp\r\nLeftWidth=6\r\nNormalColour=5\r\nBackgroundLeftShift=-2\r\n";
  auto content = Parse(definition, {{"CLOSE.bmp", Bmp24(57, 19, Column)},
                                    {"wide.bmp", Bmp24(114, 19, Column)},
                                    {"mdi.bmp", Bmp24(48, 10, Column)},
                                    {"radio.bmp", Bmp24(80, 13, Column)},
                                    {"check.bmp", Bmp24(40, 13, Column)},
                                    {"strip.bmp", Bmp24(7, 3, Column)}});

  const auto& buttons = content->SysButtonElements;
  ASSERT_EQ(buttons.size(), 3u + 3u);
  EXPECT_EQ(buttons[0]->ElementName, "BUTTON0");
  EXPECT_EQ(buttons[0]->Image.Width(), 57);
  EXPECT_EQ(buttons[0]->FrameCount, 3);
  EXPECT_EQ(buttons[1]->FrameCount, 6);
  EXPECT_EQ(buttons[2]->Action, 3);
  EXPECT_TRUE(buttons[2]->Image.Empty());

  // The maximised-child buttons: 4-pixel frames, four per button.
  for (int i = 0; i < 3; ++i) {
    const skin::TDataSkinSysButton& b = *buttons[3 + static_cast<std::size_t>(i)];
    SCOPED_TRACE(i);
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.FrameCount, 4);
    EXPECT_EQ(b.XCoord, 8 * (3 - i));
    ASSERT_EQ(b.Image.Width(), 16);
    ASSERT_EQ(b.Image.Height(), 10);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(b.Image.Pixel(x, 9), Column(16 * i + x, 9));
  }

  EXPECT_EQ(content->ButtonsElement.Image.Width(), 57);
  EXPECT_EQ(content->ButtonsElement.RadioFrameCount, 6);
  EXPECT_EQ(content->ButtonsElement.CheckFrameCount, 4);
  EXPECT_EQ(content->ButtonsElement.RadioImage.Width(), 80);

  ASSERT_TRUE(content->ComboButton);
  const gui::TBitmap& image = content->ComboButton->Image;
  const gui::TBitmap& mirrored = content->ComboButton->Image2;
  ASSERT_EQ(mirrored.Width(), 7);
  ASSERT_EQ(mirrored.Height(), 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 7; ++x) EXPECT_EQ(mirrored.Pixel(x, y), image.Pixel(6 - x, y));
  }
  EXPECT_EQ(content->ComboButton->Trans, 1);

  EXPECT_FALSE(content->SunkEdge);  // upper-case extension: no picture, no element
  ASSERT_TRUE(content->GroupBox);
  EXPECT_EQ(content->GroupBox->LeftWidth, 6);
  EXPECT_EQ(content->GroupBox->NormalColour, 5);
  EXPECT_EQ(content->GroupBox->BackgroundLeftShift, -2);
  EXPECT_EQ(content->GroupBox->FrameCount, 1);
  EXPECT_EQ(content->GroupBox->NormalColour2, RGB(1, 2, 3));  // only three of the six numbers

  EXPECT_EQ(content->Colours.ButtonFace, RGB(203, 216, 239));
  EXPECT_EQ(BrushColour(content->ButtonFaceBrush), RGB(203, 216, 239));
}

TEST(SkinContent, WithoutColoursEverythingKeepsItsSystemColour) {
  auto content = Parse("[TitlebarSkin]\r\nSkinName=Plain\r\n[MenuItem]\r\nImage=item.bmp\r\n",
                       {{"item.bmp", Bmp24(10, 4, Column)}});
  EXPECT_EQ(content->SkinName, "Plain");
  EXPECT_EQ(content->Colours.ButtonFace, core::system_colour::kButtonFace);
  EXPECT_EQ(content->Colours.ButtonText, core::system_colour::kButtonText);
  EXPECT_TRUE(content->ColourTable.empty());
  ASSERT_TRUE(content->MenuItem);
  EXPECT_EQ(content->MenuItem->NormalColour2, core::system_colour::kButtonText);
  EXPECT_EQ(content->MenuItem->PressedColour2, core::system_colour::kButtonText);
  EXPECT_EQ(content->MenuItem->NormalColour, -1);
  EXPECT_EQ(BrushColour(content->ButtonFaceBrush), GetSysColor(COLOR_BTNFACE));
}

TEST(SkinContent, ADefinitionThatIsNotTextGivesAnEmptySkin) {
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise.push_back(static_cast<char>((i * 7919 + i / 13) & 0xFF));
  noise += std::string("\0[Buttons]\r\nBitmap=a.bmp\r\n\xFF\xFE[", 29);
  auto content = Parse(noise, {{"a.bmp", Bmp24(5, 5, Column)}});
  EXPECT_EQ(content->SysButtonElements.size(), 3u);
  EXPECT_FALSE(content->Scrollbar);
  EXPECT_FALSE(content->Progress);
  EXPECT_TRUE(content->BorderLeft.Image.Empty());
  EXPECT_EQ(content->TitleElement.FontHeight, 14);
  EXPECT_EQ(content->ButtonsElement.FrameCount, 5);
  EXPECT_TRUE(content->ButtonFaceBrush);
}

// Read straight from the definition, past the checker: margins no frame
// can hold are kept inside it; the caption's shifts are no margins.
TEST(SkinContent, MarginsAreKeptInsideTheirFrame) {
  auto content = Parse("[Personality]\r\nLeft=side.bmp\r\nLeftTopHeight=99999\r\nLeftBotHeight=-7\r\n"
                       "TextShift=-2147483648\r\n[Tabs]\r\nImage=tabs.bmp\r\nLeftWidth=-2147483648\r\n"
                       "RightWidth=2147483647\r\nTopHeight=65535\r\n",
                       {{"side.bmp", Bmp24(4, 30, Column)}, {"tabs.bmp", Bmp24(50, 8, Column)}});
  EXPECT_EQ(content->BorderLeft.TopHeight, 30);
  EXPECT_EQ(content->BorderLeft.BottomHeight, 0);
  ASSERT_TRUE(content->Tabs);
  EXPECT_EQ(content->Tabs->LeftWidth, 0);
  EXPECT_EQ(content->Tabs->RightWidth, 10);  // one of five frames
  EXPECT_EQ(content->Tabs->TopHeight, 8);
  EXPECT_EQ(content->TitleElement.LeftWidth, INT_MIN);
}

// ---------------------------------------------------------------------------
// The project's own skins

#ifndef OWN_SKINS_DIR
#error "OWN_SKINS_DIR names the folder of the host build's packed skins"
#endif

std::string OwnSkinPath(const char* name) {
  // The build folder is a path of the build machine; Wine shows its root as
  // drive Z:.
  std::string path = std::string(OWN_SKINS_DIR) + "/" + name;
  if (path.starts_with("/")) path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

struct OwnSkin {
  core::TSkinReader reader;
  std::string definition;
  std::unique_ptr<skin::TSkinContent> content;

  explicit OwnSkin(const char* file) {
    std::ifstream in(OwnSkinPath(file), std::ios::binary);
    EXPECT_TRUE(in) << OwnSkinPath(file);
    core::ByteStream archive(Bytes(std::istreambuf_iterator<char>(in), {}));
    EXPECT_TRUE(reader.LoadArchive(archive));
    core::ByteStream entry;
    std::string name;
    reader.ExtractFirstMatching(".ini", entry, name);
    definition.assign(entry.Bytes().begin(), entry.Bytes().end());
    content = skin::ParseDefinition(definition, reader);
  }

  // The size the entry's own header states, read without the system.
  core::ImageSize HeaderSize(const std::string& entry) const {
    core::ByteStream bytes;
    reader.ExtractFile(entry, bytes);
    return core::ReadBitmapSize(bytes.Bytes()).value_or(core::ImageSize{-1, -1});
  }
};

void ExpectElement(const OwnSkin& skin, const skin::TDataSkinObject* e, const core::SkinObjectDef* def,
                   const char* slot) {
  SCOPED_TRACE(slot);
  ASSERT_TRUE(def) << "the definition gives no picture";
  ASSERT_TRUE(e);
  EXPECT_EQ(e->FrameCount, def->FrameCount);
  EXPECT_GE(e->FrameCount, 1);
  EXPECT_EQ(e->Margins().left, def->LeftWidth);
  EXPECT_EQ(e->Margins().bottom, def->BottomHeight);
  EXPECT_EQ(e->Trans, def->Trans);
  ASSERT_FALSE(e->Image.Empty());
  const core::ImageSize stated = skin.HeaderSize(def->Image);
  EXPECT_EQ(e->Image.Width(), stated.width);
  EXPECT_EQ(e->Image.Height(), stated.height);
  EXPECT_EQ(e->Image.Width() % e->FrameCount, 0) << "frames of unequal width";
}

void ExpectCompleteSkin(const char* file, const char* skin_name, COLORREF button_face) {
  SCOPED_TRACE(file);
  OwnSkin own(file);
  ASSERT_TRUE(own.content);
  const skin::TSkinContent& c = *own.content;
  const core::SkinDefinition def =
      core::ReadSkinDefinition(own.definition, [&](const std::string& entry) -> std::optional<core::ImageSize> {
        const core::ImageSize size = own.HeaderSize(entry);
        if (size.width < 0) return std::nullopt;
        return size;
      });

  EXPECT_EQ(c.SkinName, skin_name);
  EXPECT_EQ(c.Colours.ButtonFace, button_face);
  EXPECT_EQ(BrushColour(c.ButtonFaceBrush), button_face);
  EXPECT_EQ(c.ColourTable.size(), 7u);
  EXPECT_EQ(c.ColourTable, def.ColourTable);

  ExpectElement(own, &c.BorderLeft, &def.BorderLeft, "Left");
  ExpectElement(own, &c.BorderRight, &def.BorderRight, "Right");
  ExpectElement(own, &c.BorderTop, &def.BorderTop, "Top");
  ExpectElement(own, &c.BorderBottom, &def.BorderBottom, "Bottom");
  ExpectElement(own, &c.TitleElement, &def.TitleElement, "Title");
  EXPECT_EQ(c.TitleElement.FontHeight, def.TitleElement.FontHeight);
  EXPECT_NE(c.TitleElement.ActiveTextColour, skin::TDataSkinTitle::kNotGiven);
  ExpectElement(own, &c.ButtonsElement, &def.ButtonsElement, "Buttons");
  ASSERT_FALSE(c.ButtonsElement.CheckImage.Empty());
  ASSERT_FALSE(c.ButtonsElement.RadioImage.Empty());
  EXPECT_EQ(c.ButtonsElement.CheckImage.Width() % c.ButtonsElement.CheckFrameCount, 0);
  EXPECT_EQ(c.ButtonsElement.RadioImage.Width() % c.ButtonsElement.RadioFrameCount, 0);

  ASSERT_EQ(c.SysButtonElements.size(), def.SysButtonElements.size());
  ASSERT_EQ(c.SysButtonElements.size(), 5u + 3u);
  for (std::size_t i = 0; i < c.SysButtonElements.size(); ++i) {
    const skin::TDataSkinSysButton& b = *c.SysButtonElements[i];
    const core::SkinSysButtonDef& d = def.SysButtonElements[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(b.Action, d.Action);
    EXPECT_EQ(b.XCoord, d.XCoord);
    EXPECT_EQ(b.FrameCount, d.FrameCount);
    ASSERT_FALSE(b.Image.Empty());
    EXPECT_EQ(b.Image.Width(), d.ImageWidth ? d.ImageWidth : own.HeaderSize(d.Image).width);
    EXPECT_EQ(b.Image.Width() % b.FrameCount, 0);
  }

  struct Slot {
    const char* name;
    const skin::TDataSkinObject* element;
    const core::SkinObjectDef* def;
  };
  auto p = [](const auto& optional) -> const core::SkinObjectDef* { return optional ? &*optional : nullptr; };
  const Slot slots[] = {
      {"Progress", c.Progress.get(), p(def.Progress)},
      {"MenuBar", c.MenuBar.get(), p(def.MenuBar)},
      {"GroupBoxEdge", c.GroupBoxEdge.get(), p(def.GroupBoxEdge)},
      {"GroupBox", c.GroupBox.get(), p(def.GroupBox)},
      {"Toolbars", c.Toolbars.get(), p(def.Toolbars)},
      {"Tabs", c.Tabs.get(), p(def.Tabs)},
      {"StatusBarEdges", c.StatusBarEdges.get(), p(def.StatusBarEdges)},
      {"ComboButton", c.ComboButton.get(), p(def.ComboButton)},
      {"SunkEdge", c.SunkEdge.get(), p(def.SunkEdge)},
      {"ExtraImages", c.ExtraImages.get(), p(def.ExtraImages)},
      {"Headerbar", c.Headerbar.get(), p(def.Headerbar)},
      {"MenuItem", c.MenuItem.get(), p(def.MenuItem)},
      {"MenuBackground", c.MenuBackground.get(), p(def.MenuBackground)},
      {"Scrollbar", c.Scrollbar.get(), p(def.Scrollbar)},
      {"HorzScroll", c.HorzScroll.get(), p(def.HorzScroll)},
      {"VertScroll", c.VertScroll.get(), p(def.VertScroll)},
      {"HorzScrollThumb", c.HorzScrollThumb.get(), p(def.HorzScrollThumb)},
      {"VertScrollThumb", c.VertScrollThumb.get(), p(def.VertScrollThumb)},
      {"Trackbar.ThumbHorz", c.TrackbarThumbHorz.get(), p(def.TrackbarThumbHorz)},
      {"Trackbar.ThumbVert", c.TrackbarThumbVert.get(), p(def.TrackbarThumbVert)},
      {"Trackbar.ThumbLeft", c.TrackbarThumbLeft.get(), p(def.TrackbarThumbLeft)},
      {"Trackbar.ThumbRight", c.TrackbarThumbRight.get(), p(def.TrackbarThumbRight)},
      {"Trackbar.ThumbUp", c.TrackbarThumbUp.get(), p(def.TrackbarThumbUp)},
      {"Trackbar.ThumbDown", c.TrackbarThumbDown.get(), p(def.TrackbarThumbDown)},
      {"UpDown.Horz", c.UpDownHorz.get(), p(def.UpDownHorz)},
      {"UpDown.Vert", c.UpDownVert.get(), p(def.UpDownVert)},
  };
  for (const Slot& s : slots) ExpectElement(own, s.element, s.def, s.name);
  EXPECT_EQ(c.Scrollbar->FrameCount, 23);
  EXPECT_EQ(c.HorzScrollThumb->FrameCount, 3);
  for (const skin::TDataSkinBorder* e : {c.Progress.get(), c.Tabs.get(), c.ComboButton.get(), c.UpDownHorz.get(),
                                        c.UpDownVert.get()}) {
    EXPECT_FALSE(e->Image2.Empty()) << e->ElementName;
  }
}

TEST(OwnSkins, TheDefaultSkinIsReadCompletely) { ExpectCompleteSkin("default.skin", "Daylight", RGB(243, 245, 249)); }

TEST(OwnSkins, TheDarkSkinIsReadCompletely) { ExpectCompleteSkin("dark.skin", "Nightfall", RGB(43, 47, 54)); }

// A program draws few of a skin's elements: the others' pictures are never
// decoded, and one is decoded when it is first drawn, at the size its header
// gave.
TEST(OwnSkins, APictureIsDecodedWhenItsElementIsFirstDrawn) {
  OwnSkin own("default.skin");
  ASSERT_TRUE(own.content);
  const skin::TSkinContent& c = *own.content;
  ASSERT_TRUE(c.Tabs && c.Progress && c.Headerbar);
  for (const skin::TDataSkinObject* e : {static_cast<const skin::TDataSkinObject*>(&c.BorderTop),
                                        static_cast<const skin::TDataSkinObject*>(c.Tabs.get()),
                                        static_cast<const skin::TDataSkinObject*>(c.Headerbar.get())}) {
    EXPECT_FALSE(e->Image.Decoded()) << e->ElementName;
  }
  EXPECT_FALSE(c.Progress->Image2.Decoded());

  const int width = c.Tabs->Image.Width(), height = c.Tabs->Image.Height();
  gui::TBitmap target(40, 30);
  skin::DrawElement(target.DC(), RECT{0, 0, 40, 30}, *c.Tabs);
  ASSERT_TRUE(c.Tabs->Image.Decoded());
  const gui::TBitmap& decoded = c.Tabs->Image;
  EXPECT_EQ(decoded.Width(), width);
  EXPECT_EQ(decoded.Height(), height);
  EXPECT_FALSE(c.Tabs->Image2.Decoded());
  EXPECT_FALSE(c.Headerbar->Image.Decoded());
}

}  // namespace
