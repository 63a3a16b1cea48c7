// The settings dialog built from its real form description, driven by real
// messages; message boxes are answered by a watcher thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <thread>

#include "app/Unit1.h"
#include "gui/text.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_elements.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/contrast_switch.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Answers the first message box with the given caption by pressing a button,
// and remembers its text and owner.
class BoxAnswerer {
 public:
  BoxAnswerer(const wchar_t* caption, int button)
      : thread_([this, caption, button] {
          for (int i = 0; i < 500 && !stop_; ++i) {
            HWND box = FindWindowW(L"#32770", caption);
            if (box && IsWindowVisible(box)) {
              wchar_t text[512] = {};
              GetDlgItemTextW(box, 0xFFFF, text, 512);
              text_ = text;
              owner_ = GetWindow(box, GW_OWNER);
              PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
              answered_ = true;
              return;
            }
            Sleep(20);
          }
        }) {}
  ~BoxAnswerer() {
    stop_ = true;
    thread_.join();
  }
  bool Answered() const { return answered_; }
  const std::wstring& Text() const { return text_; }
  HWND Owner() const { return owner_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> answered_{false};
  std::wstring text_;
  HWND owner_ = nullptr;
  std::thread thread_;
};

class SettingsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = SettingsFilePath();
    RemoveSettings();
    app_ = std::make_unique<gui::TApplication>();
    app_->OnException = [this](gui::TObject*, const std::wstring& message) { errors_.push_back(message); };
  }
  void TearDown() override {
    app_.reset();
    RemoveSettings();
  }
  void RemoveSettings() {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
    DeleteFileA(path_.c_str());
    RemoveDirectoryA(path_.c_str());
  }
  void WriteSettings(const std::string& text) {
    std::ofstream(path_, std::ios::binary) << text;
  }
  // The form as the program creates it: from its description, as main form.
  TForm1& Open() {
    TForm1* form = app_->CreateForm<TForm1>();
    form->Show();
    app_->ProcessMessages();
    return *form;
  }
  std::map<std::string, std::string> SavedKeys() {
    std::map<std::string, std::string> keys;
    char names[4096] = {};
    const DWORD n = GetPrivateProfileStringA("Set", nullptr, "", names, sizeof names, path_.c_str());
    for (const char* k = names; k < names + n && *k; k += std::strlen(k) + 1) {
      char value[256] = {};
      GetPrivateProfileStringA("Set", k, "", value, sizeof value, path_.c_str());
      keys[k] = value;
    }
    return keys;
  }
  static void UserClick(gui::TWinControl* control) {
    SendMessageW(control->Handle(), BM_CLICK, 0, 0);
  }
  // "1" for each checked radio button of both groups and each check box, in order.
  static std::string State(TForm1& f) {
    std::string s;
    for (auto* r : {f.RadioButton1, f.RadioButton2, f.RadioButton3, f.RadioButton4}) s += r->Checked() ? '1' : '0';
    s += ' ';
    for (auto* r : {f.RadioButton5, f.RadioButton6, f.RadioButton7, f.RadioButton8}) s += r->Checked() ? '1' : '0';
    s += ' ';
    for (auto* c : {f.CheckBox1, f.CheckBox2, f.CheckBox3, f.CheckBox4, f.CheckBox5}) s += c->Checked() ? '1' : '0';
    return s;
  }

  std::string path_;
  std::unique_ptr<gui::TApplication> app_;
  std::vector<std::wstring> errors_;
};

}  // namespace

TEST_F(SettingsDialog, LayoutComesFromTheFormDescription) {
  TForm1& f = Open();
  HWND wnd = f.Handle();
  EXPECT_EQ(f.Caption(), L"Settings");
  RECT client;
  GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 290);
  EXPECT_EQ(client.bottom, 310);
  RECT window;
  GetWindowRect(wnd, &window);
  EXPECT_EQ(window.left, 373);
  EXPECT_EQ(window.top, 243);

  // Maximise removed at creation; system menu and minimise stay; sizeable frame.
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_EQ(f.BorderIcons(), gui::biSystemMenu | gui::biMinimize);
  // The skin paints the caption: the system's caption style is gone and the
  // window is the client area plus the skin's frame.
  EXPECT_EQ(style & WS_CAPTION, 0);
  ASSERT_NE(skin::ThreadSkinManager(), nullptr);
  const skin::TWinSkinForm* skinner = skin::ThreadSkinManager()->FindFormSkinner(wnd);
  ASSERT_NE(skinner, nullptr);
  EXPECT_GT(skinner->Frame().Top, 0);
  EXPECT_EQ(window.right - window.left, 290 + skinner->Frame().Left + skinner->Frame().Right);
  EXPECT_EQ(window.bottom - window.top, 310 + skinner->Frame().Top + skinner->Frame().Bottom);

  // Window classes are the framework class names.
  wchar_t cls[64];
  GetClassNameW(wnd, cls, 64);
  EXPECT_STREQ(cls, L"TForm1");
  GetClassNameW(f.CheckBox1->Handle(), cls, 64);
  EXPECT_STREQ(cls, L"TCheckBox");
  GetClassNameW(app_->Handle(), cls, 64);
  EXPECT_STREQ(cls, L"TApplication");

  // Positions, parents, captions and tab order of a sample of the table.
  EXPECT_EQ(f.GroupBox3->BoundsRect().top, 153);
  EXPECT_EQ(f.GroupBox3->Height(), 121);
  EXPECT_EQ(f.RadioButton3->Parent(), f.GroupBox1);
  EXPECT_EQ(f.RadioButton3->Width(), 275);
  EXPECT_EQ(f.CheckBox5->Top(), 92);
  EXPECT_EQ(f.Button2->Left(), 159);
  EXPECT_EQ(f.Button1->Caption(), L"Save");
  EXPECT_EQ(f.RadioButton4->Caption(), L"\u5168\u90E8\u5FFD\u7565");
  EXPECT_EQ(f.Button1->TabOrder(), 3);
  EXPECT_EQ(f.GroupBox2->TabOrder(), 1);
  EXPECT_EQ(f.RadioButton8->TabOrder(), 3);
  EXPECT_EQ(f.CheckBox4->TabOrder(), 3);
  // Only the checked radio button of a group is a tab stop.
  EXPECT_TRUE(GetWindowLongPtrW(f.RadioButton1->Handle(), GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongPtrW(f.RadioButton2->Handle(), GWL_STYLE) & WS_TABSTOP);

  // The hidden fourth option exists but is never shown.
  EXPECT_FALSE(IsWindowVisible(f.RadioButton4->Handle()));
  EXPECT_TRUE(IsWindowVisible(f.RadioButton3->Handle()));

  // Fonts: the group boxes and buttons carry their own 8-point MS Sans Serif.
  for (gui::TControl* c : {static_cast<gui::TControl*>(f.GroupBox1), static_cast<gui::TControl*>(f.Button2)}) {
    EXPECT_FALSE(c->ParentFont());
    EXPECT_EQ(c->Font().Name(), L"MS Sans Serif");
    EXPECT_EQ(c->Font().Height(), -11);
    EXPECT_EQ(c->Font().Charset(), ANSI_CHARSET);
  }
  EXPECT_TRUE(f.CheckBox1->ParentFont());
  EXPECT_EQ(f.CheckBox1->Font().Height(), -11);

  // The window icon: one 48 x 48 image in 256 colours.
  int w = 0, h = 0, bits = 0;
  ASSERT_TRUE(f.Icon().FirstImageInfo(w, h, bits));
  EXPECT_EQ(w, 48);
  EXPECT_EQ(h, 48);
  EXPECT_EQ(bits, 8);
  EXPECT_NE(SendMessageW(wnd, WM_GETICON, ICON_BIG, 0), 0);

  // Published properties by name.
  EXPECT_EQ(gui::GetPropValue(*f.RadioButton1, "Checked"), "True");
  EXPECT_EQ(gui::GetPropValue(f, "Font.Name"), "MS Sans Serif");
  EXPECT_EQ(gui::GetPropValue(f, "BorderIcons"), "[biSystemMenu,biMinimize]");
  EXPECT_FALSE(gui::SetPropValue(*f.Button1, "Flat", "True"));
}

TEST_F(SettingsDialog, NoSettingsFileGivesTheDefaults) {
  TForm1& f = Open();
  // Both pairing keys default to true: "Scan All Files" wins.
  EXPECT_EQ(State(f), "1000 1000 11011");
  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "reading created the file";
}

TEST_F(SettingsDialog, StoredChoicesAreLoaded) {
  struct Case {
    const char* ini;
    const char* state;
  } cases[] = {
      {"[Set]\nRa1=3\nRa5=3\n", "0001 0001 11011"},
      {"[Set]\nRa1=7\nRa5=-1\n", "1000 1000 11011"},
      {"[Set]\nRa1=2\nRa5=1\nCB1=0\nCB2=0\nCB5=0\n", "0010 0100 00010"},
      {"[Set]\nCB3=0\nCB4=0\n", "1000 1000 11101"},
      {"[Set]\nCB3=1\nCB4=0\n", "1000 1000 11101"},
      {"[Set]\nCB3=0\nCB4=1\n", "1000 1000 11011"},
      // Integer forms: hexadecimal after 0x or $, defaults for what does not parse.
      {"[Set]\nRa1=0x2\nRa5=$2\n", "0010 0010 11011"},
      {"[Set]\nRa1=0x\nRa5= 1 \n", "1000 0100 11011"},
      {"[set]\nra1=1\n", "0100 1000 11011"},
      {"[Set]\nCB1=\nCB2=5\nCB5=-1\n", "1000 1000 11011"},
      {"[Set]\nCB1=yes\nCB2=0x10\nCB5=0x0\n", "1000 1000 11010"},
      {"[Set]\nCB1=0\nCB2=true\n", "1000 1000 01011"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    TearDown();
    SetUp();
    WriteSettings(c.ini);
    TForm1& f = Open();
    EXPECT_EQ(State(f), c.state);
  }
}

TEST_F(SettingsDialog, UserClicksKeepExactlyOneOfThePairChecked) {
  struct Case {
    bool three, four;     // starting state
    bool clickThree;      // which box the user clicks
    bool wantThree, wantFour;
  } cases[] = {
      {true, false, false, false, true},   // click the unchecked box: the check moves
      {false, true, true, true, false},
      {true, false, true, true, false},    // click the checked box: it stays checked
      {false, true, false, false, true},
      {true, true, true, false, true},     // both checked: the clicked one goes
      {true, true, false, true, false},
      {false, false, true, true, false},   // neither checked: the clicked one comes on
      {false, false, false, false, true},
  };
  TForm1& f = Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.three << c.four << " click " << (c.clickThree ? "3" : "4"));
    for (auto* box : {f.CheckBox3, f.CheckBox4}) box->ClicksDisabled = true;
    f.CheckBox3->SetChecked(c.three);
    f.CheckBox4->SetChecked(c.four);
    for (auto* box : {f.CheckBox3, f.CheckBox4}) box->ClicksDisabled = false;
    UserClick(c.clickThree ? f.CheckBox3 : f.CheckBox4);
    EXPECT_EQ(f.CheckBox3->Checked(), c.wantThree);
    EXPECT_EQ(f.CheckBox4->Checked(), c.wantFour);
    // The buttons on screen show the same state.
    EXPECT_EQ(SendMessageW(f.CheckBox3->Handle(), BM_GETCHECK, 0, 0), c.wantThree ? BST_CHECKED : BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(f.CheckBox4->Handle(), BM_GETCHECK, 0, 0), c.wantFour ? BST_CHECKED : BST_UNCHECKED);
  }
}

TEST_F(SettingsDialog, CheckBoxClickRunsOnEveryRealChangeOnly) {
  TForm1& f = Open();
  int clicks = 0;
  f.CheckBox1->OnClick = [&clicks](gui::TObject*) { ++clicks; };
  f.CheckBox1->SetChecked(true);  // already checked
  EXPECT_EQ(clicks, 0);
  f.CheckBox1->SetChecked(false);
  EXPECT_EQ(clicks, 1);
  UserClick(f.CheckBox1);
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(f.CheckBox1->Checked());
  f.CheckBox1->ClicksDisabled = true;
  f.CheckBox1->SetChecked(false);
  EXPECT_EQ(clicks, 2);
}

TEST_F(SettingsDialog, RadioButtonsExcludeEachOtherWithinTheirGroupOnly) {
  TForm1& f = Open();
  UserClick(f.RadioButton3);
  EXPECT_EQ(State(f).substr(0, 9), "0010 1000");
  UserClick(f.RadioButton7);
  EXPECT_EQ(State(f).substr(0, 9), "0010 0010");
  EXPECT_EQ(SendMessageW(f.RadioButton1->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(GetWindowLongPtrW(f.RadioButton3->Handle(), GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongPtrW(f.RadioButton1->Handle(), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(SettingsDialog, SaveAnsweredCancelWritesNothingAndStaysOpen) {
  TForm1& f = Open();
  UserClick(f.CheckBox1);
  {
    BoxAnswerer answer(L"Notes", IDCANCEL);
    UserClick(f.Button1);
    app_->ProcessMessages();
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(answer.Text(), L"Do you wish to save the changes?");
    EXPECT_EQ(answer.Owner(), f.Handle());
  }
  EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(app_->Terminated());
  EXPECT_TRUE(IsWindowVisible(f.Handle()));
}

TEST_F(SettingsDialog, SaveAnsweredOkWritesTheSevenKeysAndCloses) {
  WriteSettings("[Other]\nKeep=me\n[Set]\nRa1=3\nExtra=1\n");
  TForm1& f = Open();
  UserClick(f.RadioButton6);
  UserClick(f.CheckBox2);
  UserClick(f.CheckBox3);  // "Scan Program Files Only" takes the check from "Scan All Files"
  {
    BoxAnswerer answer(L"Notes", IDOK);
    UserClick(f.Button1);
    app_->ProcessMessages();
    ASSERT_TRUE(answer.Answered());
  }
  EXPECT_TRUE(app_->Terminated());
  const std::map<std::string, std::string> expected{{"Ra1", "3"}, {"Ra5", "1"}, {"CB1", "1"}, {"CB2", "0"},
                                                    {"CB3", "1"}, {"CB4", "0"}, {"CB5", "1"}, {"Extra", "1"}};
  EXPECT_EQ(SavedKeys(), expected);
  // Other sections are left as they were; keys come in the order written.
  char other[64] = {};
  GetPrivateProfileStringA("Other", "Keep", "", other, sizeof other, path_.c_str());
  EXPECT_STREQ(other, "me");
  const std::string text = ReadFile(path_);
  EXPECT_LT(text.find("Ra5=1"), text.find("CB1=1"));
  EXPECT_LT(text.find("CB4=0"), text.find("CB5=1"));
}

TEST_F(SettingsDialog, SaveWithoutASettingsFileCreatesExactlyTheSevenKeys) {
  TForm1& f = Open();
  {
    BoxAnswerer answer(L"Notes", IDOK);
    UserClick(f.Button1);
    app_->ProcessMessages();
  }
  const std::map<std::string, std::string> expected{{"Ra1", "0"}, {"Ra5", "0"}, {"CB1", "1"}, {"CB2", "1"},
                                                    {"CB3", "0"}, {"CB4", "1"}, {"CB5", "1"}};
  EXPECT_EQ(SavedKeys(), expected);
}

TEST_F(SettingsDialog, AnUnwritableFileIsReportedAndTheDialogStaysOpen) {
  // A folder where the file should be: the system refuses every write.
  ASSERT_TRUE(CreateDirectoryA(path_.c_str(), nullptr));
  TForm1& f = Open();
  {
    BoxAnswerer answer(L"Notes", IDOK);
    UserClick(f.Button1);
    app_->ProcessMessages();
    ASSERT_TRUE(answer.Answered());
  }
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], L"Unable to write to " + gui::AnsiToWide(path_));
  EXPECT_FALSE(app_->Terminated());
  EXPECT_TRUE(IsWindowVisible(f.Handle()));
}

TEST_F(SettingsDialog, CancelAndTheCloseBoxEndTheProgramWithoutWriting) {
  {
    TForm1& f = Open();
    UserClick(f.Button2);
    EXPECT_TRUE(app_->Terminated());
  }
  TearDown();
  SetUp();
  TForm1& f = Open();
  SendMessageW(f.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  app_->ProcessMessages();
  EXPECT_TRUE(app_->Terminated());
  EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Run under winxp and win7: version 6 keeps the system's frame.
TEST_F(SettingsDialog, SkinnedExceptOnVersion6) {
  TForm1& f = Open();
  HWND wnd = f.Handle();
  RECT client;
  GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 290);
  EXPECT_EQ(client.bottom, 310);
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  RECT window;
  GetWindowRect(wnd, &window);
  auto hitAt = [&](int x, int y) {
    return SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y));
  };
  if (WindowsVersionName() == "Vista") {
    EXPECT_EQ(SendMessageW(wnd, skin::SkinMsgQuery, 0, 0), 0);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(skin::ThreadSkinManager() == nullptr || skin::ThreadSkinManager()->FindFormSkinner(wnd) == nullptr);
    return;
  }
  EXPECT_EQ(SendMessageW(wnd, skin::SkinMsgQuery, 0, 0), 1);
  const skin::TWinSkinForm* skinner = skin::ThreadSkinManager()->FindFormSkinner(wnd);
  ASSERT_NE(skinner, nullptr);
  // The close box is where the skin draws it, the rest of the band moves the window.
  const skin::TWinSysButton* close = nullptr;
  for (const auto& button : skinner->SysButtons())
    if (button->Element->Action == 0 && skinner->PlaceOf(*button).Visible) close = button.get();
  ASSERT_NE(close, nullptr);
  const RECT r = skinner->PlaceOf(*close).Bounds;
  EXPECT_EQ(hitAt((r.left + r.right) / 2, (r.top + r.bottom) / 2), HTCLOSE);
  EXPECT_EQ(hitAt(150, skinner->Frame().Top / 2), HTCAPTION);
  EXPECT_EQ(hitAt(150, skinner->Frame().Top + 20), HTCLIENT);
}

// High contrast takes the skin off the dialog and gives it back; where the
// system reports version 6 the dialog keeps the system's look before, while
// and after the mode is on.
TEST_F(SettingsDialog, HighContrastLeavesTheVersion6RuleAlone) {
  skin::FreeSkinManager();  // as at program start: no activation seen yet
  skin_test::TFakeHighContrast contrast(false);
  TForm1& f = Open();
  HWND wnd = f.Handle();
  const bool version6 = WindowsVersionName() == "Vista";
  auto expectSkinned = [&](bool skinned, const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(SendMessageW(wnd, skin::SkinMsgQuery, 0, 0), skinned ? 1 : 0);
    ASSERT_NE(skin::ThreadSkinManager(), nullptr);
    EXPECT_EQ(skin::ThreadSkinManager()->FindFormSkinner(wnd) != nullptr, skinned);
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION, skinned ? 0 : WS_CAPTION);
  };
  skin_test::WaitForPendingAction();
  expectSkinned(!version6, "before");

  contrast.On = true;
  skin_test::AnnounceHighContrastChange();
  skin_test::WaitForPendingAction();
  expectSkinned(false, "while high contrast is on");

  contrast.On = false;
  skin_test::AnnounceHighContrastChange();
  skin_test::WaitForPendingAction();
  expectSkinned(!version6, "after");
  EXPECT_EQ(f.SkinData1->Active(), !version6);
  EXPECT_FALSE(f.SkinData1->SkinLoading());
}

TEST_F(SettingsDialog, TheApplicationTitleIsTheGbkText) {
  app_->SetTitle(gui::AnsiToWide("\xC9\xE8\xD6\xC3", 936));
  EXPECT_EQ(app_->Title(), L"\u8BBE\u7F6E");
  wchar_t text[16] = {};
  GetWindowTextW(app_->Handle(), text, 16);
  EXPECT_STREQ(text, L"\u8BBE\u7F6E");
}

// The live dialog switched off and on again many times: every control keeps
// working, and after the last switch off every window method, window
// procedure and colour is what it was, with no handle left behind.
TEST_F(SettingsDialog, TwoHundredSkinSwitchesLeaveEverythingAsItWas) {
  TForm1& f = Open();
  if (WindowsVersionName() == "Vista") GTEST_SKIP() << "the dialog is not skinned on version 6";
  ASSERT_NE(skin::ThreadSkinManager(), nullptr);
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(f.Handle()), nullptr);
  const auto switchTo = [&](bool on) {
    f.SkinData1->SetActive(on);
    skin::ThreadSkinManager()->CarryOut(skin::ThreadSkinManager()->PendingRequest());
    app_->ProcessMessages();
  };
  std::vector<gui::TWinControl*> controls{&f, f.GroupBox1, f.GroupBox3, f.RadioButton2, f.RadioButton7, f.CheckBox1,
                                          f.CheckBox4, f.Button1, f.Button2};
  struct Saved {
    gui::TWndMethod method;
    LONG_PTR procedure;
    gui::TColor color;
    bool operator==(const Saved&) const = default;
  };
  const auto snapshot = [&] {
    std::vector<Saved> all;
    for (gui::TWinControl* c : controls)
      all.push_back({c->WindowProc, GetWindowLongPtrW(c->Handle(), GWLP_WNDPROC), c->Color()});
    return all;
  };
  const auto liveCounts = [] {
    return std::vector<long>{gui::BitmapHandle::LiveCount(), gui::FontHandle::LiveCount(),
                             gui::RegionHandle::LiveCount(), gui::BrushHandle::LiveCount(),
                             gui::MemoryDcHandle::LiveCount(), gui::WindowDc::LiveCount()};
  };

  switchTo(false);
  ASSERT_EQ(skin::ThreadSkinManager()->FindFormSkinner(f.Handle()), nullptr);
  const std::vector<Saved> unskinned = snapshot();
  const std::vector<long> counts = liveCounts();
  RECT client;
  GetClientRect(f.Handle(), &client);
  for (int i = 0; i < 200; ++i) {
    switchTo(true);
    ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(f.Handle()), nullptr) << "cycle " << i;
    ASSERT_NE(snapshot(), unskinned) << "the skin did not take the controls over, cycle " << i;
    if (i % 50 == 0) {
      const bool before = f.CheckBox1->Checked();
      UserClick(f.CheckBox1);
      EXPECT_NE(f.CheckBox1->Checked(), before) << "cycle " << i;
      UserClick(f.RadioButton7);
      EXPECT_TRUE(f.RadioButton7->Checked());
      UserClick(f.RadioButton5);
    }
    switchTo(false);
    ASSERT_EQ(snapshot(), unskinned) << "cycle " << i;
  }
  EXPECT_EQ(liveCounts(), counts);
  RECT after;
  GetClientRect(f.Handle(), &after);
  EXPECT_TRUE(EqualRect(&client, &after));
  // Unskinned, the controls still work.
  UserClick(f.RadioButton2);
  EXPECT_TRUE(f.RadioButton2->Checked());
  EXPECT_FALSE(f.RadioButton1->Checked());
}
