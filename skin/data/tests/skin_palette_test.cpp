// The skin's colours as the colour scheme: which system colour indexes they
// stand in for, the brushes made for them (counted, replaced by the next
// skin, freed with the palette) and the answers to the colour messages.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/skindef/skin_definition.h"
#include "gui/handles.h"
#include "skin/data/skin_palette.h"

namespace {

using core::Rgb;

core::SkinColours DarkColours() {
  core::SkinColours c;
  c.Window = Rgb(30, 33, 38);
  c.WindowText = Rgb(230, 232, 236);
  c.ButtonFace = Rgb(43, 47, 54);
  c.GrayText = Rgb(120, 127, 138);
  c.Scrollbar = Rgb(50, 51, 52);
  c.Hilight = Rgb(61, 139, 253);
  return c;
}

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH lb{};
  GetObjectW(brush, sizeof lb, &lb);
  return lb.lbColor;
}

TEST(SkinPalette, SkinColoursStandInForTheirIndexesAndTheirBrushesLiveWithThePalette) {
  const long before = gui::BrushHandle::LiveCount();
  {
    skin::TSkinPalette palette;
    // Nothing built yet: the system's colours throughout.
    EXPECT_EQ(palette.SysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(palette.SysColorBrush(COLOR_WINDOW), GetSysColorBrush(COLOR_WINDOW));
    palette.Build(DarkColours());
    // No brush is made before one is asked for, and one only once.
    EXPECT_EQ(gui::BrushHandle::LiveCount(), before);
    EXPECT_EQ(palette.SysColorBrush(COLOR_BTNFACE), palette.SysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(gui::BrushHandle::LiveCount(), before + 1);
    EXPECT_EQ(palette.SysColor(COLOR_WINDOW), RGB(30, 33, 38));
    EXPECT_EQ(palette.SysColor(COLOR_BTNFACE), RGB(43, 47, 54));
    EXPECT_EQ(palette.SysColor(COLOR_MENUHILIGHT), RGB(61, 139, 253));
    EXPECT_EQ(BrushColour(palette.SysColorBrush(COLOR_WINDOW)), RGB(30, 33, 38));
    EXPECT_FALSE(gui::IsSystemColorBrush(palette.SysColorBrush(COLOR_WINDOW)));
    // A key the skin left at its system default, and an index no key names.
    EXPECT_EQ(palette.SysColor(COLOR_INFOBK), GetSysColor(COLOR_INFOBK));
    EXPECT_FALSE(palette.Colours(COLOR_ACTIVECAPTION));
    EXPECT_EQ(palette.SysColorBrush(COLOR_ACTIVECAPTION), GetSysColorBrush(COLOR_ACTIVECAPTION));
    const long built = gui::BrushHandle::LiveCount();
    EXPECT_GT(built, before);
    // The next skin's brushes replace the last one's.
    palette.Build(core::SkinColours{});
    EXPECT_EQ(gui::BrushHandle::LiveCount(), before);
    palette.SysColorBrush(COLOR_WINDOW);
    palette.SysColorBrush(COLOR_BTNFACE);
    EXPECT_EQ(gui::BrushHandle::LiveCount(), built);
    EXPECT_EQ(palette.SysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
  }
  EXPECT_EQ(gui::BrushHandle::LiveCount(), before);
}

TEST(SkinPalette, OneBrushServesEachColourAndTheSkinsOwnBrushServesItsColour) {
  const long before = gui::BrushHandle::LiveCount();
  core::SkinColours colours = DarkColours();
  colours.Scrollbar = colours.ButtonFace;
  {
    skin::TSkinPalette palette;
    palette.Build(colours);
    EXPECT_EQ(palette.SysColorBrush(COLOR_SCROLLBAR), palette.SysColorBrush(COLOR_BTNFACE));
    EXPECT_NE(palette.SysColorBrush(COLOR_WINDOW), palette.SysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(palette.BrushesMade(), 2);
    EXPECT_EQ(gui::BrushHandle::LiveCount(), before + 2);

    gui::BrushHandle face(CreateSolidBrush(RGB(43, 47, 54)));
    palette.Build(colours, face.get());
    EXPECT_EQ(palette.SysColorBrush(COLOR_BTNFACE), face.get());
    EXPECT_EQ(palette.SysColorBrush(COLOR_SCROLLBAR), face.get());
    EXPECT_EQ(BrushColour(palette.SysColorBrush(COLOR_WINDOW)), RGB(30, 33, 38));
    EXPECT_EQ(palette.BrushesMade(), 1);
    EXPECT_EQ(gui::BrushHandle::LiveCount(), before + 2);
    palette.Build(core::SkinColours{});
  }
  EXPECT_EQ(gui::BrushHandle::LiveCount(), before);
}

TEST(SkinPalette, AnswersColourMessagesAsTheSystemDoesInTheSkinsColours) {
  skin::TSkinPalette palette;
  palette.Build(DarkColours());
  gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  const auto wParam = reinterpret_cast<WPARAM>(dc.get());
  struct Case {
    UINT msg;
    int background;
  };
  for (const Case& c : {Case{WM_CTLCOLOREDIT, COLOR_WINDOW}, Case{WM_CTLCOLORLISTBOX, COLOR_WINDOW},
                        Case{WM_CTLCOLORSTATIC, COLOR_BTNFACE}, Case{WM_CTLCOLORBTN, COLOR_BTNFACE},
                        Case{WM_CTLCOLORDLG, COLOR_BTNFACE}, Case{WM_CTLCOLORSCROLLBAR, COLOR_SCROLLBAR}}) {
    SCOPED_TRACE(c.msg);
    SetTextColor(dc.get(), RGB(1, 2, 3));
    const auto brush = reinterpret_cast<HBRUSH>(palette.CtlColors(c.msg, wParam, nullptr));
    EXPECT_EQ(brush, palette.SysColorBrush(c.background));
    EXPECT_EQ(GetTextColor(dc.get()), RGB(230, 232, 236));
    EXPECT_EQ(GetBkColor(dc.get()), palette.SysColor(c.background));
  }
  // A disabled child's text is the skin's grey.
  HWND disabled = CreateWindowExW(0, L"STATIC", L"Off", WS_POPUP | WS_DISABLED, 0, 0, 50, 20, nullptr, nullptr,
                                  nullptr, nullptr);
  ASSERT_NE(disabled, nullptr);
  palette.CtlColors(WM_CTLCOLORSTATIC, wParam, disabled);
  EXPECT_EQ(GetTextColor(dc.get()), RGB(120, 127, 138));
  DestroyWindow(disabled);
}

}  // namespace
