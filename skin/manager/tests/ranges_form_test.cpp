// A whole form of track bars, up-down arrows, progress bars, edits, combo
// boxes, date-time pickers, a page control, a tab control and a tab set,
// skinned by the manager under each of the project's skins: discovery gives
// every control the skinner of its kind, and each state shows the picture
// of the skin meant for it. When SKIN_SHOT_DIR names a folder,
// the skinned form is also written there as a bitmap to look at.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <iterator>

#include "gui/tabs.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/shot_file.h"

#ifndef OWN_SKINS_DIR
#error "OWN_SKINS_DIR names the folder of the host build's packed skins"
#endif

namespace {

using controls_test::Control;

std::string OwnSkinPath(const std::string& name) {
  // Wine shows the build machine's root as drive Z:.
  std::string path = std::string(OWN_SKINS_DIR) + "/" + name;
  if (path.starts_with("/")) path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string FormBody() {
  std::string many;
  for (int i = 1; i <= 8; ++i) many += "      'Tab " + std::to_string(i) + "'\n";
  return Control("TrackH", "TTrackBar", 10, 10, 200, 36, "    Max = 10\n    Position = 4\n") +
         Control("TrackV", "TTrackBar", 300, 10, 36, 150, "    Orientation = trVertical\n    Max = 10\n") +
         Control("Arrows", "TUpDown", 350, 10, 18, 40, "    Max = 9\n") +
         Control("ArrowsH", "TUpDown", 380, 10, 40, 18, "    Orientation = udHorizontal\n    Max = 9\n") +
         Control("Progress1", "TProgressBar", 10, 60, 200, 18, "    Max = 100\n    Position = 60\n") +
         Control("Progress2", "TProgressBar", 440, 10, 18, 150,
                 "    Max = 100\n    Position = 30\n    Orientation = pbVertical\n") +
         Control("Edit1", "TEdit", 10, 90, 140, 24, "    Text = 'Edit box'\n") +
         Control("Spin1", "TSpinEdit", 160, 90, 80, 24, "    MaxValue = 99\n    Value = 12\n") +
         Control("Combo1", "TComboBox", 10, 124, 140, 24,
                 "    Style = csDropDownList\n    Items.Strings = (\n      'First'\n      'Second')\n    ItemIndex = 0\n") +
         Control("Combo2", "TComboBox", 160, 124, 120, 24, "    Text = 'Typed'\n") +
         Control("Date1", "TDateTimePicker", 10, 158, 140, 24, "    Date = '2026-12-09'\n") +
         Control("Time1", "TDateTimePicker", 160, 158, 120, 24, "    Kind = dtkTime\n") +
         Control("Pages", "TPageControl", 10, 192, 250, 110, "",
                 "    object Sheet1: TTabSheet\n      Caption = 'Ranges'\n    end\n"
                 "    object Sheet2: TTabSheet\n      Caption = 'Text'\n    end\n") +
         Control("Tabs1", "TTabControl", 300, 192, 150, 110, "    Tabs.Strings = (\n" + many + ")\n") +
         Control("Set1", "TTabSet", 10, 310, 440, 24,
                 "    Tabs.Strings = (\n      'One'\n      'Two'\n      'Three')\n    TabIndex = 1\n");
}

class RangesFormTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { skin::FreeSkinManager(); }
  void TearDown() override {
    skin::FreeSkinManager();
    skin_test::DrainMessages();
  }
};

TEST_P(RangesFormTest, DiscoveryGivesEveryControlTheSkinnerOfItsKind) {
  std::ifstream in(OwnSkinPath(GetParam()), std::ios::binary);
  ASSERT_TRUE(in) << OwnSkinPath(GetParam());
  auto data = controls_test::LoadData(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
  ASSERT_NE(data, nullptr);
  ASSERT_NE(data->Skin().Tabs, nullptr);
  skin::EnsureSkinManager().AddSkinData(data.get());
  skin::ThreadSkinManager()->Request({skin::saSkinOn, data.get()}, 0);
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(app, FormBody(), 480, 350);
  ASSERT_TRUE(skin::ThreadSkinManager()->SkinWindow(form->Handle()));
  skin::TWinSkinForm* form_skinner = skin::ThreadSkinManager()->FindFormSkinner(form->Handle());
  ASSERT_NE(form_skinner, nullptr);
  skin_test::DrainMessages();
  const auto skinnerOf = [&](const char* name) {
    auto* control = dynamic_cast<gui::TWinControl*>(form->FindComponent(name));
    return control ? controls_test::SkinnerClassOf(*form_skinner, control->Handle()) : std::string("no control");
  };
  EXPECT_EQ(skinnerOf("TrackH"), "TSkinTrackBar");
  EXPECT_EQ(skinnerOf("TrackV"), "TSkinTrackBar");
  EXPECT_EQ(skinnerOf("Arrows"), "TSkinUpDown");
  EXPECT_EQ(skinnerOf("ArrowsH"), "TSkinUpDown");
  EXPECT_EQ(skinnerOf("Progress1"), "TSkinProgress");
  EXPECT_EQ(skinnerOf("Progress2"), "TSkinProgress");
  EXPECT_EQ(skinnerOf("Edit1"), "TSkinEdit");
  EXPECT_EQ(skinnerOf("Spin1"), "TSkinEdit");
  EXPECT_EQ(skinnerOf("Combo1"), "TSkinComBox");
  EXPECT_EQ(skinnerOf("Combo2"), "TSkinComBox");
  EXPECT_EQ(skinnerOf("Date1"), "TSkinComBox");
  EXPECT_EQ(skinnerOf("Time1"), "TSkinEdit");
  EXPECT_EQ(skinnerOf("Pages"), "TSkinTab");
  EXPECT_EQ(skinnerOf("Tabs1"), "TSkinTab");
  EXPECT_EQ(skinnerOf("Set1"), "TSkinTab31");
  // The arrows inside the spin edit, the time picker and the crowded tab
  // control, and the tab set's scroller, were found by their skinners.
  const auto arrowsIn = [&](const char* name) {
    auto* control = dynamic_cast<gui::TWinControl*>(form->FindComponent(name));
    HWND arrows = FindWindowExW(control->Handle(), nullptr, nullptr, nullptr);
    for (; arrows; arrows = GetWindow(arrows, GW_HWNDNEXT)) {
      wchar_t cls[32] = {};
      GetClassNameW(arrows, cls, 32);
      const std::wstring found = cls;
      if (found == L"msctls_updown32" || found == L"TSpinButton" || found == L"TUpDown") break;
    }
    return controls_test::SkinnerClassOf(*form_skinner, arrows);
  };
  EXPECT_EQ(arrowsIn("Spin1"), "TSkinUpDown");
  EXPECT_EQ(arrowsIn("Time1"), "TSkinUpDown");
  EXPECT_EQ(arrowsIn("Tabs1"), "TSkinUpDown");
  EXPECT_EQ(arrowsIn("Set1"), "TSkinUpDown");

  if (const char* folder = std::getenv("SKIN_SHOT_DIR")) {
    gui::TBitmap shot = controls_test::Snapshot(form->Handle());
    engine_test::WriteBitmapFile(std::string(folder) + "\\ranges-" + GetParam() + ".bmp", shot);
  }
  delete form;
}

// Our skins' strips hold each look in the frame the skinners draw for it:
// the accent (the skin's Hilight) rings a focused combo box and tops the
// selected tab, never a disabled combo box; a disabled one's arrow is not in
// the text colour; the thumb shows its normal look.
TEST_P(RangesFormTest, EachStateShowsItsOwnPictureOfTheSkin) {
  std::ifstream in(OwnSkinPath(GetParam()), std::ios::binary);
  ASSERT_TRUE(in) << OwnSkinPath(GetParam());
  auto data = controls_test::LoadData(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
  ASSERT_NE(data, nullptr);
  skin::EnsureSkinManager().AddSkinData(data.get());
  skin::ThreadSkinManager()->Request({skin::saSkinOn, data.get()}, 0);
  SetCursorPos(0, 0);  // nothing is hot
  const std::string items = "    Style = csDropDownList\n    Items.Strings = (\n      'First')\n    ItemIndex = 0\n";
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(
      app, Control("Normal", "TComboBox", 10, 10, 140, 24, items) +
               Control("Focused", "TComboBox", 10, 44, 140, 24, items) +
               Control("Disabled", "TComboBox", 10, 78, 140, 24, items + "    Enabled = False\n") +
               Control("Tabs1", "TTabControl", 170, 10, 200, 100,
                       "    Tabs.Strings = (\n      'One'\n      'Two')\n    TabIndex = 1\n") +
               Control("Track", "TTrackBar", 10, 120, 200, 36, "    Max = 10\n    Position = 4\n"),
      400, 180);
  ASSERT_TRUE(skin::ThreadSkinManager()->SkinWindow(form->Handle()));
  const auto handle = [&](const char* name) { return dynamic_cast<gui::TWinControl*>(form->FindComponent(name))->Handle(); };
  SetFocus(handle("Focused"));
  skin_test::DrainMessages();
  const core::SkinColours& colours = data->Skin().Colours;
  const COLORREF accent = skin::SkinColourToRGB(colours.Hilight), text = skin::SkinColourToRGB(colours.ButtonText),
                 line = skin::SkinColourToRGB(colours.ButtonShadow);
  const auto combo = [&](const char* name) { return controls_test::Snapshot(handle(name)); };
  const gui::TBitmap normal = combo("Normal"), focused = combo("Focused"), disabled = combo("Disabled");
  const int ringX = normal.Width() / 3;
  EXPECT_EQ(normal.Pixel(ringX, 0), line);
  EXPECT_EQ(focused.Pixel(ringX, 0), accent);
  EXPECT_NE(disabled.Pixel(ringX, 0), accent);
  EXPECT_NE(disabled.Pixel(ringX, 0), line);
  const int e = GetSystemMetrics(SM_CXHSCROLL);
  const RECT button{normal.Width() - e - 2, 0, normal.Width(), normal.Height()};
  EXPECT_GT(controls_test::CountColour(normal, button, text), 3);
  EXPECT_EQ(controls_test::CountColour(disabled, button, text), 0);
  EXPECT_EQ(controls_test::CountColour(disabled, button, accent), 0);

  HWND tabs = handle("Tabs1");
  const gui::TBitmap strip = controls_test::Snapshot(tabs);
  RECT one{}, two{};
  SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&one));
  SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&two));
  EXPECT_EQ(controls_test::CountColour(strip, one, accent), 0);
  EXPECT_GT(controls_test::CountColour(strip, two, accent), two.right - two.left);

  HWND track = handle("Track");
  const gui::TBitmap bar = controls_test::Snapshot(track);
  RECT thumb{};
  SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  EXPECT_EQ(bar.Pixel((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2), accent);
  delete form;
}

INSTANTIATE_TEST_SUITE_P(OwnSkins, RangesFormTest, ::testing::Values("default.skin", "dark.skin"));

}  // namespace
