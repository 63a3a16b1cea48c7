// High contrast on real windows: the broadcasts the system sends when the
// mode changes, who hears them, and the manager wearing no skin while the
// mode is on (at start-up or switched on while running) and putting the skin
// that is wanted back on when it ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "gui/bitmap.h"
#include "gui/forms.h"
#include "gui/handles.h"
#include "gui/imagelist.h"
#include "gui/method_hook.h"
#include "gui/subclass.h"
#include "gui/timer.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/data/look_transitions.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/contrast_switch.h"
#include "skin/manager/tests/live_counts.h"

namespace {

using skin::ThreadSkinManager;
using skin::TSkinData;
using skin_test::TContrastAnnouncement;
using skin_test::TLiveCounts;

// What reached each probe window: the message and its wParam.
struct TReceived {
  HWND wnd;
  UINT msg;
  WPARAM wParam;
};
std::vector<TReceived> g_received;

LRESULT CALLBACK ProbeProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SETTINGCHANGE || msg == WM_SYSCOLORCHANGE) g_received.push_back({wnd, msg, wParam});
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

int CountReceived(HWND wnd, UINT msg, WPARAM wParam = 0) {
  int n = 0;
  for (const TReceived& r : g_received) n += r.wnd == wnd && r.msg == msg && (msg != WM_SETTINGCHANGE || r.wParam == wParam);
  return n;
}

// Whether the colour is one the system paints the window's caption band
// with: its caption colour, or on the way to the gradient's end colour.
bool SystemCaptionColour(HWND wnd, COLORREF colour) {
  const bool active = GetActiveWindow() == wnd;
  const COLORREF from = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  BOOL gradient = FALSE;
  SystemParametersInfoW(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
  if (!gradient) return colour == from;
  const COLORREF to = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
  auto between = [](int value, int a, int b) { return value >= std::min(a, b) && value <= std::max(a, b); };
  return between(GetRValue(colour), GetRValue(from), GetRValue(to)) &&
         between(GetGValue(colour), GetGValue(from), GetGValue(to)) &&
         between(GetBValue(colour), GetBValue(from), GetBValue(to));
}

// A point in the middle of the system caption's band, past its text.
POINT CaptionPoint(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  const int border = GetSystemMetrics(SM_CYSIZEFRAME);
  return POINT{(r.right - r.left) * 3 / 4, border + GetSystemMetrics(SM_CYCAPTION) / 2};
}

class HighContrastTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin::FreeSkinManager();
    app_ = std::make_unique<gui::TApplication>();
  }
  void TearDown() override {
    app_.reset();
    skin::FreeSkinManager();
    skin_test::DrainMessages();
  }
  // A main-form component as the form reader loads it, with the default
  // skin, skinning windows as they are activated.
  TSkinData* LoadedData() {
    TSkinData* data = skin_test::LoadSkinData(app_.get(), skin::sfMainform, true, skin_test::DefaultSkinArchive());
    EXPECT_FALSE(data->SkinLoading());
    // Components without a default window icon adopt the first skinned
    // window's for good; give them one so the counts compare.
    skin::EnsureSkinManager().SetDefaultWindowIcon(data, gui::TBitmap(16, 16));
    // Its listener made now rather than when the thread is first idle.
    skin::EnsureSkinManager().HighContrastListenerWindow();
    return data;
  }
  // A framework form with controls that all get skinners, not shown yet.
  gui::TForm* NewForm() {
    auto* form = new gui::TForm(app_.get());
    form->InitFromText(
        "object ContrastForm: TForm\n  Left = 40\n  Top = 40\n  ClientWidth = 300\n  ClientHeight = 160\n"
        "  Caption = 'Contrast'\n"
        "  object Button1: TButton\n    Left = 10\n    Top = 10\n    Width = 90\n    Height = 25\n"
        "    Caption = 'Save'\n  end\n"
        "  object CheckBox1: TCheckBox\n    Left = 10\n    Top = 50\n    Width = 120\n    Height = 20\n"
        "    Caption = 'Scan archives'\n  end\n"
        "  object GroupBox1: TGroupBox\n    Left = 150\n    Top = 10\n    Width = 140\n    Height = 100\n"
        "    Caption = 'When done'\n  end\n"
        "end\n");
    form->HandleNeeded();
    return form;
  }
  static bool Skinned(HWND wnd) {
    return ThreadSkinManager()->FindFormSkinner(wnd) != nullptr && SendMessageW(wnd, skin::SkinMsgQuery, 0, 0) == 1;
  }
  // Everything that says the window wears the system's look: no skinner,
  // its own procedure, the caption styles, no region, and the caption band
  // on the screen as the system paints it.
  static void ExpectSystemLook(gui::TForm& form, LONG_PTR ownProc, const gui::TWndMethod& ownMethod) {
    HWND wnd = form.Handle();
    EXPECT_EQ(ThreadSkinManager()->FindFormSkinner(wnd), nullptr);
    EXPECT_EQ(SendMessageW(wnd, skin::SkinMsgQuery, 0, 0), 0);
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), ownProc);
    EXPECT_TRUE(form.WindowProc == ownMethod);
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    gui::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(wnd, region.get()), ERROR);
    const POINT at = CaptionPoint(wnd);
    const COLORREF caption = controls_test::Snapshot(wnd).Pixel(at.x, at.y);
    EXPECT_TRUE(SystemCaptionColour(wnd, caption))
        << std::hex << caption << " active " << (GetActiveWindow() == wnd) << " caption colours "
        << GetSysColor(COLOR_ACTIVECAPTION) << " " << GetSysColor(COLOR_INACTIVECAPTION);
  }

  std::unique_ptr<gui::TApplication> app_;
};

// What the tests rely on: the system's two announcements reach every
// top-level window, shown or hidden (so the manager's hidden listener), and
// neither child nor message-only windows; an unrelated setting is ignored.
TEST_F(HighContrastTest, TheAnnouncementsReachTopLevelWindowsOnly) {
  skin_test::TFakeHighContrast contrast(false);
  LoadedData();
  HWND listener = ThreadSkinManager()->HighContrastListenerWindow();
  ASSERT_NE(listener, nullptr);
  EXPECT_FALSE(IsWindowVisible(listener));
  EXPECT_EQ(GetAncestor(listener, GA_PARENT), GetDesktopWindow());

  auto probe = [](DWORD style, HWND parent) {
    return skin_test::CreateTestWindow(L"HighContrastProbe", &ProbeProc, L"Probe", style, 0, 0, 100, 80, parent);
  };
  HWND shown = probe(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr);
  HWND hidden = probe(WS_POPUP, nullptr);
  HWND child = probe(WS_CHILD | WS_VISIBLE, shown);
  HWND messageOnly = probe(0, HWND_MESSAGE);
  ASSERT_TRUE(shown && hidden && child && messageOnly);
  skin_test::DrainMessages();

  // An unrelated setting: the listener asks for nothing.
  g_received.clear();
  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0, SMTO_ABORTIFHUNG, 2000, &result);
  EXPECT_EQ(CountReceived(hidden, WM_SETTINGCHANGE, SPI_SETWORKAREA), 1);
  EXPECT_FALSE(ThreadSkinManager()->ActionTimer().Enabled());

  for (const auto which : {TContrastAnnouncement::SettingChange, TContrastAnnouncement::SysColorChange}) {
    const bool setting = which == TContrastAnnouncement::SettingChange;
    SCOPED_TRACE(setting ? "WM_SETTINGCHANGE" : "WM_SYSCOLORCHANGE");
    const UINT msg = setting ? WM_SETTINGCHANGE : WM_SYSCOLORCHANGE;
    const WPARAM wParam = setting ? SPI_SETHIGHCONTRAST : 0;
    g_received.clear();
    skin_test::AnnounceHighContrastChange(which);
    skin_test::DrainMessages();
    EXPECT_EQ(CountReceived(shown, msg, wParam), 1);
    EXPECT_EQ(CountReceived(hidden, msg, wParam), 1);
    EXPECT_EQ(CountReceived(child, msg, wParam), 0);
    EXPECT_EQ(CountReceived(messageOnly, msg, wParam), 0);
    // The listener heard it and left the work to the action timer.
    EXPECT_TRUE(ThreadSkinManager()->ActionTimer().Enabled());
    skin_test::WaitForPendingAction();
    EXPECT_FALSE(ThreadSkinManager()->ActionTimer().Enabled());
  }
  for (HWND wnd : {messageOnly, child, hidden, shown}) DestroyWindow(wnd);
}

TEST_F(HighContrastTest, OnAtStartUpNothingIsSkinned) {
  skin_test::TFakeHighContrast contrast(true);
  TSkinData* data = LoadedData();
  gui::TForm* form = NewForm();
  HWND wnd = form->Handle();
  const LONG_PTR ownProc = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  const gui::TWndMethod ownMethod = form->WindowProc;
  RECT client{};
  GetClientRect(wnd, &client);
  // Painting makes the controls' colour brushes; what a skinner makes is
  // compared.
  const TLiveCounts before;

  form->Show();  // activation: the hook asks the manager
  skin_test::DrainMessages();
  EXPECT_TRUE(ThreadSkinManager()->HighContrast());
  EXPECT_FALSE(ThreadSkinManager()->IsSkinningOn());
  EXPECT_TRUE(ThreadSkinManager()->FormSkinners().empty());
  EXPECT_FALSE(skin::TLookTransitions::OfThread().Allowed());  // nothing fades either
  ExpectSystemLook(*form, ownProc, ownMethod);
  RECT clientAfter{};
  GetClientRect(wnd, &clientAfter);
  EXPECT_EQ(clientAfter.right, client.right);
  EXPECT_EQ(clientAfter.bottom, client.bottom);
  const TLiveCounts after;
  EXPECT_EQ(after.subclasses, before.subclasses);
  EXPECT_EQ(after.methodHooks, before.methodHooks);
  EXPECT_EQ(after.regions, before.regions);
  EXPECT_EQ(after.timers, before.timers);
  // Not even when asked directly.
  EXPECT_FALSE(ThreadSkinManager()->SkinWindow(wnd));
  // The skin stays loaded and wanted.
  EXPECT_TRUE(data->Active());
  EXPECT_FALSE(data->SkinLoading());
  EXPECT_TRUE(ThreadSkinManager()->SkinningWanted());

  // When the mode ends the form is skinned as skin-on skins it.
  contrast.On = false;
  skin_test::AnnounceHighContrastChange();
  skin_test::WaitForPendingAction();
  EXPECT_FALSE(ThreadSkinManager()->HighContrast());
  EXPECT_TRUE(Skinned(wnd));
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(skin::TLookTransitions::OfThread().Allowed(), skin::SystemAnimatesClientArea());
}

// Switched on while skinned: every form and control goes back to the
// system's look and the framework's handles to their count before the skin;
// switched off: skinned again, as before.
TEST_F(HighContrastTest, SwitchedOnWhileRunningUnskinsEverythingAndOffSkinsAgain) {
  // The forms are first shown and painted in the system's look (painting
  // makes the controls' colour brushes, which they keep), so the counts
  // before any skin are known.
  skin_test::TFakeHighContrast contrast(true);
  LoadedData();
  gui::TForm* form = NewForm();
  gui::TForm* second = NewForm();
  SetWindowPos(second->Handle(), nullptr, 380, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const LONG_PTR ownProc = GetWindowLongPtrW(form->Handle(), GWLP_WNDPROC);
  const gui::TWndMethod ownMethod = form->WindowProc;
  const LONG_PTR secondProc = GetWindowLongPtrW(second->Handle(), GWLP_WNDPROC);
  const gui::TWndMethod secondMethod = second->WindowProc;
  std::vector<std::pair<gui::TControl*, gui::TWndMethod>> controls;
  for (gui::TComponent* component : form->Components())
    if (auto* control = dynamic_cast<gui::TControl*>(component)) controls.emplace_back(control, control->WindowProc);
  ASSERT_EQ(controls.size(), 3u);
  RECT client{};
  GetClientRect(form->Handle(), &client);
  second->Show();
  form->Show();
  controls_test::Snapshot(second->Handle());
  controls_test::Snapshot(form->Handle());
  ASSERT_FALSE(Skinned(form->Handle()));
  const TLiveCounts unskinned;

  contrast.On = false;
  skin_test::AnnounceHighContrastChange();
  skin_test::WaitForPendingAction();
  ASSERT_TRUE(Skinned(form->Handle()));
  ASSERT_TRUE(Skinned(second->Handle()));
  for (auto& [control, method] : controls) EXPECT_FALSE(control->WindowProc == method) << control->Name();
  const TLiveCounts skinned;
  EXPECT_GT(skinned.methodHooks, unskinned.methodHooks);
  EXPECT_GT(skinned.subclasses, unskinned.subclasses);
  SetForegroundWindow(form->Handle());
  const POINT at = CaptionPoint(form->Handle());
  const COLORREF skinnedCaption = controls_test::Snapshot(form->Handle()).Pixel(at.x, at.y);
  controls_test::Snapshot(second->Handle());

  // Switched on while the skin is worn.
  contrast.On = true;
  skin_test::AnnounceHighContrastChange(TContrastAnnouncement::SettingChange);
  skin_test::WaitForPendingAction();
  EXPECT_TRUE(ThreadSkinManager()->FormSkinners().empty());
  ExpectSystemLook(*form, ownProc, ownMethod);
  ExpectSystemLook(*second, secondProc, secondMethod);
  for (auto& [control, method] : controls) EXPECT_TRUE(control->WindowProc == method) << control->Name();
  RECT clientAfter{};
  GetClientRect(form->Handle(), &clientAfter);
  EXPECT_EQ(clientAfter.right, client.right);
  EXPECT_EQ(clientAfter.bottom, client.bottom);
  EXPECT_EQ(TLiveCounts{}, unskinned);
  EXPECT_NE(controls_test::Snapshot(form->Handle()).Pixel(at.x, at.y), skinnedCaption);
  EXPECT_TRUE(ThreadSkinManager()->SkinningWanted());  // still wanted

  // A window activated while the mode is on stays as it is.
  SetForegroundWindow(second->Handle());
  skin_test::DrainMessages();
  EXPECT_FALSE(Skinned(second->Handle()));

  contrast.On = false;
  skin_test::AnnounceHighContrastChange(TContrastAnnouncement::SysColorChange);
  skin_test::WaitForPendingAction();
  EXPECT_TRUE(Skinned(form->Handle()));
  EXPECT_TRUE(Skinned(second->Handle()));
  for (auto& [control, method] : controls) EXPECT_FALSE(control->WindowProc == method) << control->Name();
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(TLiveCounts{}, skinned);
  SetForegroundWindow(form->Handle());
  skin_test::DrainMessages();
  EXPECT_EQ(controls_test::Snapshot(form->Handle()).Pixel(at.x, at.y), skinnedCaption);
}

// The skin wanted while the mode is on is the one worn when it ends: a new
// skin file is worn then, and "no skin" keeps every window as it is.
TEST_F(HighContrastTest, WhatIsChosenWhileOnTakesEffectWhenItEnds) {
  skin_test::TFakeHighContrast contrast(false);
  TSkinData* data = LoadedData();
  gui::TForm* form = NewForm();
  form->Show();
  skin_test::DrainMessages();
  ASSERT_TRUE(Skinned(form->Handle()));
  const POINT at = CaptionPoint(form->Handle());
  const COLORREF defaultCaption = controls_test::Snapshot(form->Handle()).Pixel(at.x, at.y);
  int changed = 0;
  data->OnSkinChanged = [&changed](gui::TObject*) { ++changed; };

  contrast.On = true;
  skin_test::AnnounceHighContrastChange();
  skin_test::WaitForPendingAction();
  ASSERT_FALSE(Skinned(form->Handle()));

  data->SetSkinFile(skin_test::DarkSkinPath());
  ASSERT_EQ(data->SkinName(), "Nightfall");
  skin_test::WaitForPendingAction();
  EXPECT_EQ(changed, 1);  // the request ran, and skinned nothing
  EXPECT_FALSE(Skinned(form->Handle()));

  contrast.On = false;
  skin_test::AnnounceHighContrastChange();
  skin_test::WaitForPendingAction();
  ASSERT_TRUE(Skinned(form->Handle()));
  EXPECT_EQ(ThreadSkinManager()->FindFormSkinner(form->Handle())->SkinData(), data);
  const COLORREF darkCaption = controls_test::Snapshot(form->Handle()).Pixel(at.x, at.y);
  EXPECT_NE(darkCaption, defaultCaption);

  // "No skin" chosen while the mode is on: nothing comes back after it.
  contrast.On = true;
  skin_test::AnnounceHighContrastChange();
  skin_test::WaitForPendingAction();
  data->SetActive(false);
  skin_test::WaitForPendingAction();
  EXPECT_FALSE(ThreadSkinManager()->SkinningWanted());
  contrast.On = false;
  skin_test::AnnounceHighContrastChange();
  skin_test::WaitForPendingAction();
  EXPECT_FALSE(Skinned(form->Handle()));
  EXPECT_TRUE(ThreadSkinManager()->FormSkinners().empty());
  // Chosen again afterwards, it is worn at once.
  data->SetActive(true);
  skin_test::WaitForPendingAction();
  EXPECT_TRUE(Skinned(form->Handle()));
  EXPECT_EQ(controls_test::Snapshot(form->Handle()).Pixel(at.x, at.y), darkCaption);
}

}  // namespace
