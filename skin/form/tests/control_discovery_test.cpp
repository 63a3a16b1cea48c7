// Control discovery: which rule of the chain each component reaches, which
// skinner a bare dialog box's child windows get, speed buttons reached
// through their parent, and an attach that fails not counted.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "gui/buttons.h"
#include "gui/comctrls.h"
#include "gui/extctrls.h"
#include "gui/stdctrls.h"
#include "gui/subclass.h"
#include "skin/controls/skin_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio.h"
#include "skin/controls/skin_edits.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/form/control_discovery.h"
#include "skin/form/skin_form.h"
#include "skin/form/skinner_registry.h"
#include "skin/form/tests/form_fixture.h"

namespace {

using controls_test::Control;
using skin::TSkinData;
using skin::TWinSkinForm;

class DiscoveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = controls_test::LoadData(skin_test::DefaultSkinArchive());
    ASSERT_NE(data_, nullptr);
    form_skinner_ = std::make_unique<TWinSkinForm>(nullptr, nullptr, data_.get(), nullptr);
    skin::SetDiscoveryObserver([this](gui::TComponent* c, const skin::TSkinDecision& d) { rules_[c->Name()] = d; });
  }
  void TearDown() override {
    skin::SetDiscoveryObserver(nullptr);
    skin_test::DrainMessages();
  }
  std::unique_ptr<TSkinData> data_;
  std::map<std::string, skin::TSkinDecision> rules_;
  // A form skinner attached to no window, for the controls to be found with.
  std::unique_ptr<TWinSkinForm> form_skinner_;
  controls_test::TShownForms forms_;
};

const std::string kSettingsForm =
    Control("GroupBox1", "TGroupBox", 0, 0, 300, 74, "    Caption = 'Threats found'\n",
            Control("RadioButton1", "TRadioButton", 8, 24, 105, 17, "    Checked = True\n") +
                Control("RadioButton2", "TRadioButton", 143, 24, 140, 17)) +
    Control("GroupBox3", "TGroupBox", 0, 80, 300, 70, "    Caption = 'Advanced Scanning'\n",
            Control("CheckBox1", "TCheckBox", 8, 16, 97, 17) + Control("CheckBox2", "TCheckBox", 8, 40, 97, 17)) +
    Control("Button1", "TButton", 40, 160, 75, 25, "    Caption = 'Save'\n") +
    Control("Button2", "TButton", 160, 160, 75, 25, "    Caption = 'Cancel'\n") +
    "  object SkinData1: TSkinData\n    Active = False\n  end\n";

TEST_F(DiscoveryTest, TheSettingsFormsControlsResolveByKind) {
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(app, kSettingsForm);
  form_test::TTestSkinnerHost host;
  host.Data = data_.get();
  ASSERT_TRUE(host.SkinWindow(form->Handle()));
  TWinSkinForm* skinner = host.FindFormSkinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(rules_["GroupBox1"].Rule, 12);
  EXPECT_EQ(rules_["GroupBox3"].Rule, 12);
  EXPECT_EQ(rules_["RadioButton1"].Rule, 13);
  EXPECT_EQ(rules_["RadioButton2"].Rule, 13);
  EXPECT_EQ(rules_["CheckBox1"].Rule, 7);
  EXPECT_EQ(rules_["Button1"].Rule, 30);
  EXPECT_EQ(rules_["Button2"].Rule, 30);
  ASSERT_TRUE(rules_.contains("SkinData1"));
  EXPECT_EQ(rules_["SkinData1"].Rule, 0);  // matches nothing
  EXPECT_EQ(skinner->ControlSkinners().size(), 8u);
  auto* check = dynamic_cast<gui::TWinControl*>(form->FindComponent("CheckBox1"));
  auto* checkSkinner = dynamic_cast<skin::TSkinControl*>(skinner->FindWindowSkinner(check->Handle()));
  ASSERT_NE(checkSkinner, nullptr);
  EXPECT_EQ(checkSkinner->ClassName(), "TSkinCheckBox");
  // A second walk adds nothing: every control is already skinned.
  skin::SkinComponents(*skinner, form);
  EXPECT_EQ(rules_["Button1"].Rule, skin::pcAlreadySkinned);
  EXPECT_EQ(skinner->ControlSkinners().size(), 8u);
  delete form;
}

TEST_F(DiscoveryTest, TagsMappingAndScrollBarDecisions) {
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(
      app, Control("B99", "TButton", 0, 0, 40, 20, "    Tag = 99\n") +
               Control("B199", "TButton", 0, 30, 40, 20, "    Tag = 199\n") +
               Control("BMinus", "TButton", 0, 60, 40, 20, "    Tag = -1\n") +
               Control("B55", "TButton", 0, 90, 40, 20, "    Tag = 55\n") + Control("Panel1", "TPanel", 100, 0, 80, 50) +
               Control("Grip", "TStatusBar", 0, 200, 300, 20));
  TWinSkinForm form_skinner(nullptr, nullptr, data_.get(), nullptr);
  skin::SkinComponents(form_skinner, form);
  EXPECT_EQ(rules_["B99"].Rule, skin::pcDisabledTag);
  EXPECT_EQ(rules_["B199"].Rule, skin::pcDisabledTag);
  EXPECT_EQ(rules_["BMinus"].Rule, 30);  // -1 mod 100 is -1
  // Tag 55 counts as scrolling: the scroll-bar rule comes before the button rule.
  EXPECT_EQ(rules_["B55"].Rule, 29);
  EXPECT_EQ(rules_["B55"].Skinner, "TSkinScrollbar");
  EXPECT_EQ(rules_["Panel1"].Rule, 24);
  EXPECT_EQ(rules_["Grip"].Rule, 15);
  form_skinner.FreeControlSkinners();

  rules_.clear();
  data_->SetSkinControls(data_->SkinControls() & ~skin::SkinControlBit(skin::xcScrollbar));
  data_->SetSkin3rd({L"tbutton=nothing-we-know", L"TPANEL=Panel"});
  skin::SkinComponents(form_skinner, form);
  // Without scroll-bar skinning the Tag-55 button is a button again, but
  // the table maps it first, to a kind nobody knows: the chain stops bare.
  EXPECT_EQ(rules_["B55"].Rule, 2);
  EXPECT_TRUE(rules_["B55"].Mapped);
  EXPECT_EQ(rules_["B55"].Skinner, "");
  EXPECT_EQ(rules_["Panel1"].Rule, 2);
  EXPECT_EQ(rules_["Panel1"].Skinner, "TSkinBox");
  EXPECT_TRUE(rules_["Panel1"].Created);
  form_skinner.FreeControlSkinners();

  rules_.clear();
  data_->SetSkin3rd({});
  skin::SkinComponents(form_skinner, form);
  EXPECT_EQ(rules_["B55"].Rule, 30);
  data_->SetSkinControls(data_->SkinControls() & ~skin::SkinControlBit(skin::xcPanel));
  form_skinner.FreeControlSkinners();
  rules_.clear();
  skin::SkinComponents(form_skinner, form);
  EXPECT_EQ(rules_["Panel1"].Rule, 0);  // group boxes and panels follow xcPanel
  form_skinner.FreeControlSkinners();
  delete form;
}

TEST_F(DiscoveryTest, TheApplicationsOwnSkinnerComesFirst) {
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(app, Control("Button1", "TButton", 0, 0, 60, 20));
  TWinSkinForm form_skinner(nullptr, nullptr, data_.get(), nullptr);
  int calls = 0;
  data_->OnSkinControl = [&](gui::TComponent* sender, TSkinData*, gui::TComponent* container,
                             gui::TComponent* control, const std::wstring& cls, skin::TSkinControl*& skinned) {
    ++calls;
    EXPECT_EQ(sender, &form_skinner);
    EXPECT_EQ(container, form);
    EXPECT_EQ(cls, L"TBUTTON");
    skinned = new skin::TSkinBitButton(control);
  };
  skin::SkinComponents(form_skinner, form);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(rules_["Button1"].Rule, skin::pcEvent);
  ASSERT_EQ(form_skinner.ControlSkinners().size(), 1u);
  auto* own = dynamic_cast<skin::TSkinBitButton*>(form_skinner.ControlSkinners()[0]);
  ASSERT_NE(own, nullptr);
  EXPECT_TRUE(own->Attached());
  form_skinner.FreeControlSkinners();
  data_->OnSkinControl = nullptr;
  delete form;
}

LRESULT CALLBACK ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

TEST_F(DiscoveryTest, ADialogBoxsChildrenByClassAndStyle) {
  HWND dialog = CreateWindowExW(0, L"#32770", L"Box", WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(dialog, nullptr);
  const auto child = [&](DWORD style, int id) {
    return CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE | style, 10, 10 + id * 2, 80, 20, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  };
  HWND radio = child(BS_AUTORADIOBUTTON, 1);
  HWND group = child(BS_GROUPBOX, 2);
  HWND check = child(BS_AUTOCHECKBOX, 3);
  HWND push = child(BS_PUSHBUTTON, 4);
  // Type bits 0x0B: the whole style has 3 set, yet it is no check box.
  HWND ownerDrawn = child(BS_OWNERDRAW, 5);
  const auto radioProc = GetWindowLongPtrW(radio, GWLP_WNDPROC);
  TWinSkinForm form_skinner(dialog, nullptr, data_.get(), nullptr);
  skin::SkinChildWindows(form_skinner);
  const auto skinnerOf = [&](HWND wnd) { return controls_test::SkinnerClassOf(form_skinner, wnd); };
  EXPECT_EQ(skinnerOf(radio), "TSkinRadioButton");
  EXPECT_EQ(skinnerOf(group), "TSkinGroupBox");
  EXPECT_EQ(skinnerOf(check), "TSkinCheckBox");
  EXPECT_EQ(skinnerOf(push), "TSkinButton");
  EXPECT_EQ(skinnerOf(ownerDrawn), "none");
  EXPECT_NE(GetWindowLongPtrW(radio, GWLP_WNDPROC), radioProc);
  // Walking again gives nobody a second skinner.
  EXPECT_EQ(skin::SkinChildWindow(form_skinner, radio), "");
  EXPECT_EQ(form_skinner.ControlSkinners().size(), 4u);
  form_skinner.FreeControlSkinners();
  EXPECT_EQ(GetWindowLongPtrW(radio, GWLP_WNDPROC), radioProc);
  DestroyWindow(dialog);
  (void)&ParentProc;
}

TEST(ButtonStyles, TheTypeBitsAloneDecideTheSkinner) {
  const std::vector<std::pair<DWORD, std::string>> cases = {
      {BS_PUSHBUTTON, "TSkinButton"},
      {BS_DEFPUSHBUTTON | BS_MULTILINE | BS_NOTIFY, "TSkinButton"},
      {BS_CHECKBOX, "TSkinCheckBox"},
      {BS_AUTOCHECKBOX | BS_LEFTTEXT, "TSkinCheckBox"},
      {BS_3STATE, "TSkinCheckBox"},
      {BS_AUTO3STATE, "TSkinCheckBox"},
      {BS_RADIOBUTTON, "TSkinRadioButton"},
      {BS_AUTORADIOBUTTON | BS_NOTIFY, "TSkinRadioButton"},
      {BS_GROUPBOX, "TSkinGroupBox"},
      {BS_USERBUTTON, ""},
      {BS_PUSHBOX, ""},
      {BS_OWNERDRAW, ""},
      {0xC /* split button */, ""},
      {0xD /* default split button */, ""},
      {0xE /* command link */, ""},
      {0xF /* default command link */, ""},
  };
  for (const auto& [style, skinner] : cases) EXPECT_EQ(skin::ButtonSkinnerForStyle(style), skinner) << std::hex << style;
}

TEST_F(DiscoveryTest, SpeedButtonsThroughTheirParent) {
  gui::TForm* form =
      forms_.Show(Control("Speed1", "TSpeedButton", 20, 60, 60, 24, "    Caption = 'Go'\n") +
                  Control("Speed2", "TSpeedButton", 90, 60, 60, 24, "    GroupIndex = 1\n    Down = True\n"));
  auto* speed = dynamic_cast<gui::TSpeedButton*>(form->FindComponent("Speed1"));
  ASSERT_NE(speed, nullptr);
  auto* latched = dynamic_cast<gui::TSpeedButton*>(form->FindComponent("Speed2"));
  int clicks = 0;
  speed->OnClick = [&](gui::TObject*) { ++clicks; };
  skin::SkinComponents(*form_skinner_, form);
  EXPECT_EQ(rules_["Speed1"].Rule, 23);
  ASSERT_EQ(form_skinner_->ControlSkinners().size(), 2u);
  auto* first = dynamic_cast<skin::TSkinSpeedButton*>(form_skinner_->ControlSkinners()[0]);
  auto* second = dynamic_cast<skin::TSkinSpeedButton*>(form_skinner_->ControlSkinners()[1]);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->GraphicControl(), speed);
  EXPECT_EQ(first->SkinnedWindow(), nullptr);
  // Skinning it again is recognised through the windowless control.
  skin::SkinComponents(*form_skinner_, form);
  EXPECT_EQ(form_skinner_->ControlSkinners().size(), 2u);

  // Mouse messages reach the button through its parent: press, release, one click.
  HWND parent = form->Handle();
  SendMessageW(parent, WM_MOUSEMOVE, 0, MAKELPARAM(30, 70));
  EXPECT_TRUE(first->Hot());
  SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 70));
  EXPECT_TRUE(first->Pressed());
  EXPECT_EQ(first->LastLook(), skin::blPressed);
  SendMessageW(parent, WM_LBUTTONUP, 0, MAKELPARAM(30, 70));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(first->Pressed());
  // Leaving the button takes its hot look off.
  SendMessageW(parent, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(first->Hot());
  EXPECT_EQ(first->LastLook(), skin::blNormal);

  // A latched-down button is drawn pressed with the mouse elsewhere.
  EXPECT_TRUE(latched->Down());
  second->PaintSkin(nullptr);
  EXPECT_EQ(second->LastLook(), skin::blPressed);

  form_skinner_->FreeControlSkinners();
  EXPECT_EQ(speed->WindowProc, speed->OwnWindowMethod());
  EXPECT_EQ(latched->WindowProc, latched->OwnWindowMethod());
  SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 70));
  SendMessageW(parent, WM_LBUTTONUP, 0, MAKELPARAM(30, 70));
  EXPECT_EQ(clicks, 2);  // unskinned, it still clicks
}

// A window that already carries another layer (or is gone) cannot be
// subclassed: the attach says so, and discovery does not count the window
// as skinned. The other layer keeps working.
TEST_F(DiscoveryTest, AnAttachThatFailsSaysSoAndIsNotCounted) {
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
  TWinSkinForm dialogSkinner(dialog, nullptr, data_.get(), nullptr);
  EXPECT_EQ(skin::SkinChildWindow(dialogSkinner, edit), "");
  EXPECT_EQ(dialogSkinner.FindWindowSkinner(edit), nullptr);
  EXPECT_TRUE(dialogSkinner.ControlSkinners().empty());
  skin::TSkinEdit skinner(nullptr);
  EXPECT_FALSE(skinner.AttachWindow(edit, data_.get(), &dialogSkinner, nullptr));
  EXPECT_FALSE(skinner.Attached());
  EXPECT_EQ(skinner.SkinnerState(), skin::ksCreated);
  EXPECT_TRUE(dialogSkinner.ControlSkinners().empty());
  // No family says otherwise, whichever way it is given the window.
  for (std::size_t k = 1; k < skin::kSkinnerKinds; ++k) {
    const auto kind = static_cast<skin::TSkinnerKind>(k);
    std::unique_ptr<skin::TSkinControl> any(skin::SkinnerEntry(kind).Create(nullptr));
    EXPECT_FALSE(any->Attach({.Window = edit, .Data = data_.get(), .Host = &dialogSkinner})) << any->ClassName();
    EXPECT_EQ(any->SkinnerState(), skin::ksCreated) << any->ClassName();
  }
  EXPECT_TRUE(dialogSkinner.ControlSkinners().empty());
  SendMessageW(edit, WM_USER + 7, 0, 0);
  EXPECT_EQ(seen, 1);
  other.Detach();
  DestroyWindow(dialog);
  skin::TSkinEdit late(nullptr);
  EXPECT_FALSE(late.AttachWindow(edit, data_.get(), &dialogSkinner, nullptr));
  EXPECT_FALSE(late.Attached());
  EXPECT_TRUE(dialogSkinner.ControlSkinners().empty());
}

}  // namespace
