// The public C++ interface on plain Win32 windows, as a program that knows
// nothing of the framework uses it.
#include "skinengine/skinengine.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "gui/forms.h"
#include "gui/handles.h"
#include "gui/subclass.h"

namespace {

std::wstring SkinPath(const char* name) {
  std::wstring path = L"Z:" OWN_SKINS_DIR L"/";
  for (const char* c = name; *c; ++c) path += static_cast<wchar_t>(*c);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

HWND PlainWindow(const wchar_t* className = L"SdkTestWindow") {
  WNDCLASSW wc{};
  if (!GetClassInfoW(GetModuleHandleW(nullptr), className, &wc)) {
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
  }
  HWND wnd = CreateWindowExW(0, className, L"Plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 320, 240, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(wnd);
  Drain();
  return wnd;
}

// What a stop must give back: every window procedure and handle.
struct TLive {
  long subclasses, brushes, bitmaps, fonts, regions;
  static TLive Now() {
    return {gui::TWindowSubclass::LiveCount(), gui::BrushHandle::LiveCount(), gui::BitmapHandle::LiveCount(),
            gui::FontHandle::LiveCount(), gui::RegionHandle::LiveCount()};
  }
  bool operator==(const TLive&) const = default;
};

class SdkTest : public ::testing::Test {
 protected:
  void TearDown() override {
    skinengine::Stop();
    for (HWND wnd : windows_) DestroyWindow(wnd);
    Drain();
  }
  HWND Window(const wchar_t* className = L"SdkTestWindow") { return windows_.emplace_back(PlainWindow(className)); }
  skinengine::Options Heard() {
    skinengine::Options options;
    options.OnError = [this](const std::wstring& message) { heard_.push_back(message); };
    return options;
  }
  std::vector<HWND> windows_;
  std::vector<std::wstring> heard_;
};

// Windows there before the start and made after it are skinned; stop and
// skinning off give each its own procedure, caption and handles back.
TEST_F(SdkTest, StartSkinsTheThreadsWindowsAndStopGivesEverythingBack) {
  HWND before = Window();
  const LONG_PTR procedure = GetWindowLongPtrW(before, GWLP_WNDPROC);
  const TLive live = TLive::Now();
  ASSERT_EQ(skinengine::Start(SkinPath("default.skin"), Heard()), skinengine::Result::Ok);
  EXPECT_TRUE(skinengine::IsSkinned(before));
  HWND after = Window();
  EXPECT_TRUE(skinengine::IsSkinned(after));

  ASSERT_EQ(skinengine::SetSkinning(false), skinengine::Result::Ok);
  EXPECT_FALSE(skinengine::IsSkinned(before));
  EXPECT_FALSE(skinengine::IsSkinned(after));
  ASSERT_EQ(skinengine::SetSkinning(true), skinengine::Result::Ok);
  EXPECT_TRUE(skinengine::IsSkinned(before));

  ASSERT_EQ(skinengine::Stop(), skinengine::Result::Ok);
  for (HWND wnd : {before, after}) {
    EXPECT_FALSE(skinengine::IsSkinned(wnd));
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  }
  EXPECT_EQ(GetWindowLongPtrW(before, GWLP_WNDPROC), procedure);
  EXPECT_TRUE(TLive::Now() == live);
  EXPECT_TRUE(heard_.empty());
  // And again.
  ASSERT_EQ(skinengine::Start(SkinPath("dark.skin")), skinengine::Result::Ok);
  EXPECT_TRUE(skinengine::IsSkinned(before));
}

// Every failure says what and why, through the result, the handler and
// LastError, and leaves what was on the screen.
TEST_F(SdkTest, FailuresAreReportedAndKeepTheSkinInForce) {
  HWND wnd = Window();
  EXPECT_EQ(skinengine::Start(L"Z:\\no\\such.skin", Heard()), skinengine::Result::File);
  ASSERT_EQ(heard_.size(), 1u);
  EXPECT_NE(heard_[0].find(L"no\\such.skin"), std::wstring::npos);
  EXPECT_EQ(skinengine::LastError(), heard_[0]);
  EXPECT_EQ(skinengine::SwitchSkin(SkinPath("dark.skin")), skinengine::Result::NotStarted);
  EXPECT_FALSE(skinengine::IsSkinned(wnd));

  ASSERT_EQ(skinengine::Start(SkinPath("default.skin"), Heard()), skinengine::Result::Ok);
  EXPECT_TRUE(skinengine::LastError().empty());
  const std::vector<std::uint8_t> junk{'n', 'o', ' ', 's', 'k', 'i', 'n'};
  EXPECT_EQ(skinengine::SwitchSkin(junk), skinengine::Result::NotASkin);
  EXPECT_EQ(heard_.size(), 2u);
  EXPECT_TRUE(skinengine::IsSkinned(wnd));
  EXPECT_EQ(skinengine::Start(SkinPath("dark.skin")), skinengine::Result::AlreadyStarted);
  EXPECT_EQ(skinengine::SwitchSkin(SkinPath("dark.skin")), skinengine::Result::Ok);
  skinengine::Result elsewhere = skinengine::Result::Ok;
  std::thread([&] { elsewhere = skinengine::SwitchSkin(SkinPath("default.skin")); }).join();
  EXPECT_EQ(elsewhere, skinengine::Result::WrongThread);
}

// A framework program may have the messages in its application's standard
// error report.
TEST_F(SdkTest, AFrameworkProgramHearsThroughItsErrorReport) {
  gui::TApplication app;
  std::vector<std::wstring> reported;
  app.OnException = [&](gui::TObject*, const std::wstring& message) { reported.push_back(message); };
  skinengine::Options options;
  options.FrameworkReport = true;
  EXPECT_EQ(skinengine::Start(L"Z:\\no\\such.skin", options), skinengine::Result::File);
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], skinengine::LastError());
}

TEST_F(SdkTest, ExcludedWindowsAndClassesStayUnskinned) {
  HWND kept = Window();
  ASSERT_EQ(skinengine::Start(SkinPath("default.skin")), skinengine::Result::Ok);
  ASSERT_TRUE(skinengine::IsSkinned(kept));
  EXPECT_EQ(skinengine::ExcludeWindow(kept), skinengine::Result::Ok);
  EXPECT_FALSE(skinengine::IsSkinned(kept));
  SetForegroundWindow(GetDesktopWindow());
  SetForegroundWindow(kept);
  Drain();
  EXPECT_FALSE(skinengine::IsSkinned(kept));

  EXPECT_EQ(skinengine::ExcludeClass(L"SdkPlainTool"), skinengine::Result::Ok);
  EXPECT_FALSE(skinengine::IsSkinned(Window(L"SdkPlainTool")));
  EXPECT_TRUE(skinengine::IsSkinned(Window()));
  // Stopped, the window carries nothing of the engine's.
  skinengine::Stop();
  EXPECT_EQ(GetPropW(kept, L"SkinEngine.Exclude"), nullptr);
}

}  // namespace
