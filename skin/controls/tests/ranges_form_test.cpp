// A whole form of track bars, up-down arrows, progress bars, edits, combo
// boxes, date-time pickers, a page control, a tab control and a tab set,
// skinned by the manager under each of the project's skins: discovery gives
// every control the skinner of its kind. When SKIN_SHOT_DIR names a folder,
// the skinned form is also written there as a bitmap to look at.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "gui/tabs.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"

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

// A 32-bit top-down bitmap file of the picture.
void WriteBitmapFile(const std::string& path, gui::TBitmap& picture) {
  const std::uint32_t w = static_cast<std::uint32_t>(picture.Width()), h = static_cast<std::uint32_t>(picture.Height());
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + w * h * 4;
  info.biSize = sizeof(info);
  info.biWidth = static_cast<LONG>(w);
  info.biHeight = -static_cast<LONG>(h);
  info.biPlanes = 1;
  info.biBitCount = 32;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(reinterpret_cast<const char*>(picture.Bits()), static_cast<std::streamsize>(w * h * 4));
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
  skin::SkinManager->SkinningOn = true;
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(app, FormBody(), 480, 350);
  ASSERT_TRUE(skin::SkinManager->SkinWindow(form->Handle()));
  skin::TWinSkinForm* form_skinner = skin::SkinManager->FindFormSkinner(form->Handle());
  ASSERT_NE(form_skinner, nullptr);
  skin_test::DrainMessages();
  const auto skinnerOf = [&](const char* name) {
    auto* control = dynamic_cast<gui::TWinControl*>(form->FindComponent(name));
    if (!control) return std::string("no control");
    auto* skinner = dynamic_cast<skin::TSkinControl*>(form_skinner->FindWindowSkinner(control->Handle()));
    return skinner ? skinner->ClassName() : std::string("none");
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
    auto* skinner = arrows ? dynamic_cast<skin::TSkinControl*>(form_skinner->FindWindowSkinner(arrows)) : nullptr;
    return skinner ? skinner->ClassName() : std::string("none");
  };
  EXPECT_EQ(arrowsIn("Spin1"), "TSkinUpDown");
  EXPECT_EQ(arrowsIn("Time1"), "TSkinUpDown");
  EXPECT_EQ(arrowsIn("Tabs1"), "TSkinUpDown");
  EXPECT_EQ(arrowsIn("Set1"), "TSkinUpDown");

  if (const char* folder = std::getenv("SKIN_SHOT_DIR")) {
    gui::TBitmap shot = controls_test::Snapshot(form->Handle());
    WriteBitmapFile(std::string(folder) + "\\ranges-" + GetParam() + ".bmp", shot);
  }
  delete form;
}

INSTANTIATE_TEST_SUITE_P(OwnSkins, RangesFormTest, ::testing::Values("default.skin", "dark.skin"));

}  // namespace
