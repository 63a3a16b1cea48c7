// The control skinner base: attaching twice, text and paint handling, and
// skinners that follow their control's new window.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "gui/edits.h"
#include "gui/extctrls.h"
#include "gui/ranges.h"
#include "gui/stdctrls.h"
#include "gui/subclass.h"
#include "gui/tabs.h"
#include "skin/controls/skin_check_radio.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_edits.h"
#include "skin/controls/skin_ranges.h"
#include "skin/controls/skin_tabs.h"
#include "skin/controls/tests/controls_fixture.h"

namespace {

using controls_test::Control;

// Counts its paints and where they went.
class CountingSkinner : public skin::TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void DrawSkin(HDC dc, const RECT&) override {
    ++paints;
    lastDc = dc;
    if (failNext) {
      failNext = false;
      throw std::runtime_error("broken skin");
    }
  }
  int paints = 0;
  HDC lastDc = nullptr;
  bool failNext = false;
};

class SkinControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = controls_test::LoadData(skin_test::DefaultSkinArchive());
    ASSERT_NE(data_, nullptr);
  }
  void TearDown() override { skin_test::DrainMessages(); }
  std::unique_ptr<skin::TSkinData> data_;
};

TEST_F(SkinControlTest, AttachTextPaintAndDeath) {
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(app, Control("Panel1", "TPanel", 10, 10, 120, 40, "    Caption = 'a'\n"));
  auto* panel = dynamic_cast<gui::TPanel*>(form->FindComponent("Panel1"));
  const gui::TColor colour = panel->Color();
  controls_test::TTestControlHost form_skinner;
  form_skinner.SkinData = data_.get();
  auto* skinner = new CountingSkinner(panel);
  EXPECT_TRUE(skinner->AttachControl(&form_skinner, data_.get(), nullptr, true));
  const gui::TWndMethod hooked = panel->WindowProc;
  EXPECT_NE(hooked, panel->OwnWindowMethod());
  EXPECT_EQ(skinner->CaptionText(), L"a");
  EXPECT_EQ(skinner->SkinnerState(), 1);
  // A second attach changes nothing (the skinner stays attached), and
  // nothing is listed twice.
  EXPECT_TRUE(skinner->AttachControl(&form_skinner, data_.get(), nullptr, false));
  EXPECT_TRUE(skinner->Recolor());
  EXPECT_EQ(panel->WindowProc, hooked);
  EXPECT_TRUE(form_skinner.AddControlSkinner(skinner));
  EXPECT_EQ(form_skinner.ControlSkinners().size(), 1u);

  // A skin change recolours the control again.
  panel->SetColor(0x0A0B0C);
  skinner->SkinChanged();
  EXPECT_EQ(panel->Color(), data_->Skin().Colours.ButtonFace);

  // WM_SETTEXT: the caption follows and the control repaints at once.
  const int before = skinner->paints;
  SendMessageW(panel->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"changed"));
  EXPECT_EQ(skinner->CaptionText(), L"changed");
  EXPECT_GT(skinner->paints, before);

  // WM_PAINT with a device context draws into it, no window DC taken.
  gui::TBitmap target(120, 40);
  const long windowDcs = gui::WindowDc::LiveCount();
  SendMessageW(panel->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(target.DC()), 0);
  EXPECT_EQ(skinner->lastDc, target.DC());
  EXPECT_EQ(gui::WindowDc::LiveCount(), windowDcs);
  // A failing paint is dropped, and the window DC is given back.
  skinner->failNext = true;
  SendMessageW(panel->Handle(), WM_PAINT, 0, 0);
  EXPECT_EQ(gui::WindowDc::LiveCount(), windowDcs);

  // The window dies first: dead, colour back, freed by the next purge; the
  // unskinning does not give the colour back a second time.
  panel->DestroyHandle();
  EXPECT_EQ(skinner->SkinnerState(), 6);
  EXPECT_EQ(panel->Color(), colour);
  panel->SetColor(0x010203);
  form_skinner.PurgeDestroyedControls();
  EXPECT_TRUE(form_skinner.ControlSkinners().empty());
  EXPECT_EQ(panel->WindowProc, panel->OwnWindowMethod());
  form_skinner.FreeControlSkinners();
  EXPECT_EQ(panel->Color(), 0x010203u);
  delete form;
}

using FollowTest = controls_test::ElementSkinTest;

// The framework makes a control's window again when a style that only
// takes effect at creation changes: the skinner goes on with the new window
// (and the arrows inside it get theirs), whichever way it was attached.
TEST_F(FollowTest, SkinnersFollowTheirControlsNewWindow) {
  std::string many;
  for (int i = 0; i < 10; ++i) many += "      'Tab number " + std::to_string(i) + "'\n";
  gui::TForm* form =
      forms_.Show(Control("Tabs1", "TTabControl", 10, 10, 200, 100, "    Tabs.Strings = (\n" + many + ")\n") +
                  Control("Edit1", "TEdit", 10, 120, 120, 24) + Control("Arrows", "TUpDown", 150, 120, 20, 40) +
                  Control("Spin", "TSpinEdit", 180, 120, 80, 24));
  auto* tabs = dynamic_cast<gui::TTabControl*>(form->FindComponent("Tabs1"));
  auto* edit = dynamic_cast<gui::TEdit*>(form->FindComponent("Edit1"));
  auto* arrows = dynamic_cast<gui::TUpDown*>(form->FindComponent("Arrows"));
  auto* spin = dynamic_cast<gui::TSpinEdit*>(form->FindComponent("Spin"));
  const auto skin = [&](skin::TSkinControl* skinner, gui::TWinControl* control) {
    skinner->AttachWindow(control->Handle(), data_.get(), &form_skinner_, nullptr);
    return skinner;
  };
  auto* tabSkinner = dynamic_cast<skin::TSkinTab*>(skin(new skin::TSkinTab(tabs), tabs));
  skin::TSkinControl* editSkinner = skin(new skin::TSkinEdit(edit), edit);
  auto* arrowSkinner = dynamic_cast<skin::TSkinUpDown*>(skin(new skin::TSkinUpDown(arrows), arrows));
  skin::TSkinControl* spinSkinner = skin(new skin::TSkinEdit(spin), spin);
  controls_test::Snapshot(form->Handle());
  const std::size_t listed = form_skinner_.ControlSkinners().size();
  ASSERT_EQ(listed, 6u) << "four skinners, the tab control's arrows and the spin buttons";
  const auto follows = [&](skin::TSkinControl* skinner, gui::TWinControl* control, HWND old) {
    EXPECT_NE(control->Handle(), old);
    EXPECT_EQ(form_skinner_.FindWindowSkinner(control->Handle()), skinner);
    EXPECT_EQ(skinner->SkinnerState(), skin::ksAttached);
  };

  HWND old = tabs->Handle();
  tabs->SetTabPosition(gui::TTabPosition::tpBottom);
  follows(tabSkinner, tabs, old);
  EXPECT_EQ(tabSkinner->TabSide, skin::TSkinTab::tsBottom);
  gui::TBitmap shot = controls_test::Snapshot(tabs->Handle());
  RECT first{};
  SendMessageW(tabs->Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_GT(controls_test::CountColour(shot, first, c_.Tabs[0]) + controls_test::CountColour(shot, first, c_.Tabs[1]),
            (first.right - first.left) * (first.bottom - first.top) / 2);
  HWND newArrows = FindWindowExW(tabs->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(newArrows, nullptr);
  EXPECT_NE(form_skinner_.FindWindowSkinner(newArrows), nullptr);
  old = tabs->Handle();
  tabs->SetMultiLine(true);
  follows(tabSkinner, tabs, old);
  // Tabs in rows need no arrows: the skinner of the old ones goes with them.
  controls_test::Snapshot(tabs->Handle());
  EXPECT_EQ(FindWindowExW(tabs->Handle(), nullptr, UPDOWN_CLASSW, nullptr), nullptr);
  EXPECT_EQ(tabSkinner->UpDown, nullptr);

  old = edit->Handle();
  edit->SetBorderStyle(gui::TBorderStyle::bsNone);
  edit->SetBorderStyle(gui::TBorderStyle::bsSingle);
  follows(editSkinner, edit, old);
  shot = controls_test::Snapshot(edit->Handle());
  EXPECT_EQ(shot.Pixel(0, shot.Height() / 2), c_.Shadow);
  EXPECT_EQ(shot.Pixel(1, shot.Height() / 2), RGB(255, 255, 255));

  old = arrows->Handle();
  arrows->SetOrientation(gui::TUDOrientation::udHorizontal);
  follows(arrowSkinner, arrows, old);
  shot = controls_test::Snapshot(arrows->Handle());
  EXPECT_EQ(shot.Pixel(2, 2), c_.UpDownHorz[0]);

  old = spin->Handle();
  spin->RecreateWnd();
  follows(spinSkinner, spin, old);
  controls_test::Snapshot(spin->Handle());
  HWND spinButtons = skin::FindUpDownChild(spin->Handle());
  ASSERT_NE(spinButtons, nullptr);
  EXPECT_NE(form_skinner_.FindWindowSkinner(spinButtons), nullptr);

  // Nothing dead is left behind, and nothing was listed twice.
  controls_test::Snapshot(form->Handle());
  EXPECT_EQ(form_skinner_.ControlSkinners().size(), listed - 1);
  for (skin::TSkinControlBase* skinner : form_skinner_.ControlSkinners())
    EXPECT_EQ(skinner->SkinnerState(), skin::ksAttached);
}

}  // namespace
