// Control discovery: which rule of the chain each component reaches, and
// which skinner a bare dialog box's child windows get.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "gui/comctrls.h"
#include "gui/extctrls.h"
#include "gui/stdctrls.h"
#include "skin/controls/skin_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/form/control_discovery.h"

namespace {

using controls_test::Control;
using skin::SkinManager;
using skin::TSkinData;
using skin::TWinSkinForm;

class DiscoveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin::FreeSkinManager();
    data_ = controls_test::LoadData(skin_test::DefaultSkinArchive());
    ASSERT_NE(data_, nullptr);
    skin::SetDiscoveryObserver([this](gui::TComponent* c, const skin::TSkinDecision& d) { rules_[c->Name()] = d; });
  }
  void TearDown() override {
    skin::SetDiscoveryObserver(nullptr);
    skin::FreeSkinManager();
    skin_test::DrainMessages();
  }
  std::unique_ptr<TSkinData> data_;
  std::map<std::string, skin::TSkinDecision> rules_;
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
  skin::EnsureSkinManager().AddSkinData(data_.get());
  SkinManager->SkinningOn = true;
  ASSERT_TRUE(SkinManager->SkinWindow(form->Handle()));
  TWinSkinForm* skinner = SkinManager->FindFormSkinner(form->Handle());
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
  TWinSkinForm form_skinner(nullptr);
  form_skinner.SkinData = data_.get();
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
  data_->SkinControls &= ~skin::SkinControlBit(skin::xcScrollbar);
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
  data_->SkinControls &= ~skin::SkinControlBit(skin::xcPanel);
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
  TWinSkinForm form_skinner(nullptr);
  form_skinner.SkinData = data_.get();
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
  TWinSkinForm form_skinner(nullptr);
  form_skinner.SkinData = data_.get();
  form_skinner.Handle = dialog;
  skin::SkinChildWindows(form_skinner);
  const auto skinnerOf = [&](HWND wnd) { return controls_test::SkinnerClassOf(form_skinner, wnd); };
  EXPECT_EQ(skinnerOf(radio), "TSkinRadioButton");
  EXPECT_EQ(skinnerOf(group), "none");
  EXPECT_EQ(skinnerOf(check), "TSkinCheckBox");
  EXPECT_EQ(skinnerOf(push), "TSkinButton");
  EXPECT_EQ(skinnerOf(ownerDrawn), "none");
  EXPECT_NE(GetWindowLongPtrW(radio, GWLP_WNDPROC), radioProc);
  // Walking again gives nobody a second skinner.
  EXPECT_EQ(skin::SkinChildWindow(form_skinner, radio), "");
  EXPECT_EQ(form_skinner.ControlSkinners().size(), 3u);
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
      {BS_GROUPBOX, ""},
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

}  // namespace
