// The control skinner base: attaching twice, text and paint handling, a
// live form switched off and on again many times, which must leave every
// control working and every window method, window procedure, colour and
// handle count as it was; skinners that follow their control's new window,
// and an attach that fails.
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
#include "skin/form/control_discovery.h"
#include "skin/form/skinner_registry.h"

namespace {

using controls_test::Control;
using skin::SkinManager;
using skin::TWinSkinForm;

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
    skin::FreeSkinManager();
    data_ = controls_test::LoadData(skin_test::DefaultSkinArchive());
    ASSERT_NE(data_, nullptr);
  }
  void TearDown() override {
    skin::FreeSkinManager();
    skin_test::DrainMessages();
  }
  std::unique_ptr<skin::TSkinData> data_;
};

TEST_F(SkinControlTest, AttachTextPaintAndDeath) {
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(app, Control("Panel1", "TPanel", 10, 10, 120, 40, "    Caption = 'a'\n"));
  auto* panel = dynamic_cast<gui::TPanel*>(form->FindComponent("Panel1"));
  const gui::TColor colour = panel->Color();
  TWinSkinForm form_skinner(nullptr);
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

const std::string kLiveForm =
    Control("GroupBox1", "TGroupBox", 0, 0, 300, 74, "    Caption = 'Threats found'\n",
            Control("RadioButton1", "TRadioButton", 8, 24, 105, 17, "    Checked = True\n") +
                Control("RadioButton2", "TRadioButton", 143, 24, 140, 17)) +
    Control("CheckBox1", "TCheckBox", 8, 90, 97, 17) + Control("Panel1", "TPanel", 150, 90, 100, 30) +
    Control("Button1", "TButton", 40, 160, 75, 25, "    Caption = 'Save'\n");

struct Snapshot {
  std::map<std::string, gui::TWndMethod> methods;
  std::map<std::string, LONG_PTR> procedures;
  std::map<std::string, gui::TColor> colours;
  long subclasses, windowDcs, bitmaps, brushes, pens, fonts, regions, memoryDcs;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(gui::TForm* form) {
  Snapshot s{};
  const auto add = [&](gui::TWinControl* c, const std::string& name) {
    s.methods[name] = c->WindowProc;
    s.procedures[name] = GetWindowLongPtrW(c->Handle(), GWLP_WNDPROC);
    s.colours[name] = c->Color();
  };
  add(form, "form");
  for (gui::TComponent* c : form->Components())
    if (auto* w = dynamic_cast<gui::TWinControl*>(c)) add(w, c->Name());
  s.subclasses = gui::TWindowSubclass::LiveCount();
  s.windowDcs = gui::WindowDc::LiveCount();
  s.bitmaps = gui::BitmapHandle::LiveCount();
  s.brushes = gui::BrushHandle::LiveCount();
  s.pens = gui::PenHandle::LiveCount();
  s.fonts = gui::FontHandle::LiveCount();
  s.regions = gui::RegionHandle::LiveCount();
  s.memoryDcs = gui::MemoryDcHandle::LiveCount();
  return s;
}

void Click(HWND wnd) {
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  skin_test::DrainMessages();
}

TEST_F(SkinControlTest, SwitchingOffAndOnTwoHundredTimesLeavesEverythingAsItWas) {
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(app, kLiveForm);
  auto* button = dynamic_cast<gui::TButton*>(form->FindComponent("Button1"));
  auto* check = dynamic_cast<gui::TCheckBox*>(form->FindComponent("CheckBox1"));
  auto* radio2 = dynamic_cast<gui::TRadioButton*>(form->FindComponent("RadioButton2"));
  int clicks = 0;
  button->OnClick = [&](gui::TObject*) { ++clicks; };
  skin::EnsureSkinManager().AddSkinData(data_.get());
  const auto run = [&](skin::TSkinAction action) {
    SkinManager->PendingSkinData = data_.get();
    SkinManager->PendingAction = action;
    SkinManager->RunPendingAction();
    skin_test::DrainMessages();
  };
  // One cycle first: scratch objects shared by every skinner live on.
  run(skin::saSkinOn);
  run(skin::saSkinOff);
  const Snapshot before = Take(form);

  for (int i = 0; i < 200; ++i) {
    run(skin::saSkinOn);
    TWinSkinForm* skinner = SkinManager->FindFormSkinner(form->Handle());
    ASSERT_NE(skinner, nullptr) << "cycle " << i;
    ASSERT_EQ(skinner->ControlSkinners().size(), 6u) << "cycle " << i;
    if (i == 100) {
      // Skinned, the controls work as users expect.
      Click(button->Handle());
      EXPECT_EQ(clicks, 1);
      Click(check->Handle());
      EXPECT_TRUE(check->Checked());
      Click(radio2->Handle());
      EXPECT_TRUE(radio2->Checked());
    }
    run(skin::saSkinOff);
  }
  EXPECT_TRUE(Take(form) == before);

  // Unskinned, the controls still work.
  Click(button->Handle());
  EXPECT_EQ(clicks, 2);
  Click(check->Handle());
  EXPECT_FALSE(check->Checked());
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

// A window that already carries another layer (or is gone) cannot be
// subclassed: the attach says so, and discovery does not count the window
// as skinned. The other layer keeps working.
TEST_F(FollowTest, AnAttachThatFailsSaysSoAndIsNotCounted) {
  HWND dialog = CreateWindowExW(0, L"#32770", L"Box", WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 100, 22, dialog, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  int seen = 0;
  gui::TWindowSubclass other;
  ASSERT_TRUE(other.Attach(edit, [&](UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER + 7) ++seen;
    return other.CallPrevious(msg, wParam, lParam);
  }));
  form_skinner_.Handle = dialog;
  EXPECT_EQ(skin::SkinChildWindow(form_skinner_, edit), "");
  EXPECT_EQ(form_skinner_.FindWindowSkinner(edit), nullptr);
  EXPECT_TRUE(form_skinner_.ControlSkinners().empty());
  skin::TSkinEdit skinner(nullptr);
  EXPECT_FALSE(skinner.AttachWindow(edit, data_.get(), &form_skinner_, nullptr));
  EXPECT_FALSE(skinner.Attached());
  EXPECT_EQ(skinner.SkinnerState(), skin::ksCreated);
  EXPECT_TRUE(form_skinner_.ControlSkinners().empty());
  // No family says otherwise, whichever way it is given the window.
  for (std::size_t k = 1; k < skin::kSkinnerKinds; ++k) {
    const auto kind = static_cast<skin::TSkinnerKind>(k);
    std::unique_ptr<skin::TSkinControl> any(skin::SkinnerEntry(kind).Create(nullptr));
    EXPECT_FALSE(any->Attach({.Window = edit, .Data = data_.get(), .Host = &form_skinner_})) << any->ClassName();
    EXPECT_EQ(any->SkinnerState(), skin::ksCreated) << any->ClassName();
  }
  EXPECT_TRUE(form_skinner_.ControlSkinners().empty());
  SendMessageW(edit, WM_USER + 7, 0, 0);
  EXPECT_EQ(seen, 1);
  other.Detach();
  DestroyWindow(dialog);
  skin::TSkinEdit late(nullptr);
  EXPECT_FALSE(late.AttachWindow(edit, data_.get(), &form_skinner_, nullptr));
  EXPECT_FALSE(late.Attached());
  EXPECT_TRUE(form_skinner_.ControlSkinners().empty());
  form_skinner_.Handle = nullptr;
}

}  // namespace
