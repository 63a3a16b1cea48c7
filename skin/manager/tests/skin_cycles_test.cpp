// A live form switched off and on again many times through the manager:
// every control must keep working, and every window method, window
// procedure, colour and handle count must come back as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "gui/stdctrls.h"
#include "gui/subclass.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"

namespace {

using controls_test::Control;
using skin::ThreadSkinManager;
using skin::TWinSkinForm;

class SkinCyclesTest : public ::testing::Test {
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

TEST_F(SkinCyclesTest, SwitchingOffAndOnTwoHundredTimesLeavesEverythingAsItWas) {
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(app, kLiveForm);
  auto* button = dynamic_cast<gui::TButton*>(form->FindComponent("Button1"));
  auto* check = dynamic_cast<gui::TCheckBox*>(form->FindComponent("CheckBox1"));
  auto* radio2 = dynamic_cast<gui::TRadioButton*>(form->FindComponent("RadioButton2"));
  int clicks = 0;
  button->OnClick = [&](gui::TObject*) { ++clicks; };
  skin::EnsureSkinManager().AddSkinData(data_.get());
  const auto run = [&](skin::TSkinAction action) {
    ThreadSkinManager()->CarryOut({action, data_.get()});
    skin_test::DrainMessages();
  };
  // One cycle first: scratch objects shared by every skinner live on.
  run(skin::saSkinOn);
  run(skin::saSkinOff);
  const Snapshot before = Take(form);

  for (int i = 0; i < 200; ++i) {
    run(skin::saSkinOn);
    TWinSkinForm* skinner = ThreadSkinManager()->FindFormSkinner(form->Handle());
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

}  // namespace
