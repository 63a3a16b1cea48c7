// The public C++ interface on plain Win32 windows, as a program that knows
// nothing of the framework uses it.
#include "skinengine/skinengine.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "gui/forms.h"
#include "gui/handles.h"
#include "gui/subclass.h"
#include "sdk/src/sdk_call.h"
#include "skin/manager/skin_engine.h"
#include "skinengine/skinengine.h"

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

HWND PlainWindow(const wchar_t* className = L"SdkTestWindow", WNDPROC procedure = DefWindowProcW) {
  WNDCLASSW wc{};
  if (!GetClassInfoW(GetModuleHandleW(nullptr), className, &wc)) {
    wc.lpfnWndProc = procedure;
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
  HWND Window(const wchar_t* className = L"SdkTestWindow", WNDPROC procedure = DefWindowProcW) {
    return windows_.emplace_back(PlainWindow(className, procedure));
  }
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

// The numbers the engine's messages once had are any program's to use: a
// skinned window gets each, sent or posted, with what came with it; the
// engine answers only its published, registered query.
constexpr UINT kOldNumbers[] = {0x3401, 0x3502, 0x3503, 0x3504};
std::vector<std::tuple<UINT, WPARAM, LPARAM>> g_ownMessages;

LRESULT CALLBACK OwnMessagesProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (std::find(std::begin(kOldNumbers), std::end(kOldNumbers), msg) != std::end(kOldNumbers)) {
    g_ownMessages.emplace_back(msg, wParam, lParam);
    return 0x1000 + msg;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

TEST_F(SdkTest, AProgramsOwnMessagesReachItSkinned) {
  HWND wnd = Window(L"SdkOwnMessages", &OwnMessagesProc);
  ASSERT_EQ(skinengine::Start(SkinPath("default.skin")), skinengine::Result::Ok);
  ASSERT_TRUE(skinengine::IsSkinned(wnd));
  Drain();  // the frame fitted
  RECT before{};
  GetWindowRect(wnd, &before);
  g_ownMessages.clear();
  for (UINT msg : kOldNumbers) {
    EXPECT_EQ(SendMessageW(wnd, msg, msg + 1, msg + 2), static_cast<LRESULT>(0x1000 + msg)) << std::hex << msg;
    PostMessageW(wnd, msg, msg + 3, msg + 4);
  }
  Drain();
  std::vector<std::tuple<UINT, WPARAM, LPARAM>> expected;
  for (UINT msg : kOldNumbers) expected.emplace_back(msg, msg + 1, msg + 2);
  for (UINT msg : kOldNumbers) expected.emplace_back(msg, msg + 3, msg + 4);
  EXPECT_EQ(g_ownMessages, expected);
  RECT after{};
  GetWindowRect(wnd, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_EQ(SendMessageW(wnd, RegisterWindowMessageW(SKINENGINE_QUERY_MESSAGE), 0, 0), 1);
}

// Each function keeps its thread rule; each thread has its own last error,
// which says why a call failed and is empty after one that succeeded.
TEST_F(SdkTest, ThreadRulesAndEachThreadsOwnLastError) {
  HWND wnd = Window();
  const std::wstring path = SkinPath("default.skin");
  ASSERT_EQ(skinengine_start_file(path.c_str(), nullptr, nullptr), SKINENGINE_OK);
  std::vector<skinengine_result> elsewhere;
  int skinnedElsewhere = -1;
  std::wstring errorElsewhere;
  std::string versionElsewhere;
  std::thread([&] {
    const char junk[] = "junk";
    elsewhere = {skinengine_start_file(path.c_str(), nullptr, nullptr),
                 skinengine_switch_file(path.c_str()),
                 skinengine_switch_memory(junk, sizeof junk),
                 skinengine_set_skinning(0),
                 skinengine_exclude_window(wnd),
                 skinengine_exclude_class(L"SdkTestWindow"),
                 skinengine_report_with_message_boxes(1),
                 skinengine_stop()};
    skinnedElsewhere = skinengine_is_skinned(wnd);
    errorElsewhere = skinengine_last_error();
    versionElsewhere = skinengine_version();
  }).join();
  for (std::size_t i = 0; i < elsewhere.size(); ++i) EXPECT_EQ(elsewhere[i], SKINENGINE_E_WRONG_THREAD) << "call " << i;
  EXPECT_EQ(skinnedElsewhere, 0);
  EXPECT_NE(errorElsewhere.find(L"another thread"), std::wstring::npos);
  EXPECT_EQ(versionElsewhere, SKINENGINE_VERSION_STRING);
  // Nothing of that reached this thread or the engine.
  EXPECT_STREQ(skinengine_last_error(), L"");
  EXPECT_EQ(skinengine_is_skinned(wnd), 1);

  EXPECT_EQ(skinengine_switch_file(L"Z:\\no\\such.skin"), SKINENGINE_E_FILE);
  EXPECT_NE(std::wstring(skinengine_last_error()).find(L"such.skin"), std::wstring::npos);
  EXPECT_EQ(skinengine_set_skinning(1), SKINENGINE_OK);
  EXPECT_STREQ(skinengine_last_error(), L"");
  EXPECT_EQ(skinengine_report_with_message_boxes(0), SKINENGINE_OK);
  ASSERT_EQ(skinengine_stop(), SKINENGINE_OK);
  EXPECT_EQ(skinengine_stop(), SKINENGINE_E_NOT_STARTED);
  EXPECT_NE(std::wstring(skinengine_last_error()).find(L"not started"), std::wstring::npos);
}

// skinengine_start_ex reads the options as far as the program's version has
// them: a later 1.x program's extra fields are ignored, a structure smaller
// than any version is refused, and so is a program of a later major version.
TEST_F(SdkTest, StartExReadsTheOptionsOfAnyOneMajorVersion) {
  HWND wnd = Window();
  const std::wstring path = SkinPath("default.skin");
  skinengine_options options = SKINENGINE_OPTIONS_INIT;
  options.skin_file = path.c_str();
  options.size = offsetof(skinengine_options, message_boxes);
  EXPECT_EQ(skinengine_start_ex(&options), SKINENGINE_E_INVALID_ARGUMENT);
  EXPECT_NE(std::wstring(skinengine_last_error()).find(L"SKINENGINE_OPTIONS_INIT"), std::wstring::npos);
  options.size = sizeof options;
  options.version = SKINENGINE_MAKE_VERSION(2, 0, 0);
  EXPECT_EQ(skinengine_start_ex(&options), SKINENGINE_E_VERSION);
  EXPECT_NE(std::wstring(skinengine_last_error()).find(L"2.0.0"), std::wstring::npos);
  options.version = SKINENGINE_VERSION_NUMBER;
  const char junk[] = "junk";
  options.skin_bytes = junk;
  options.skin_size = sizeof junk;
  EXPECT_EQ(skinengine_start_ex(&options), SKINENGINE_E_INVALID_ARGUMENT);  // a file and bytes
  EXPECT_EQ(skinengine_start_ex(nullptr), SKINENGINE_E_INVALID_ARGUMENT);
  EXPECT_FALSE(skinengine::IsSkinned(wnd));

  struct TLaterOptions {
    skinengine_options known;
    int unknown[4];
  } later{};
  later.known = SKINENGINE_OPTIONS_INIT;
  later.known.size = sizeof later;
  later.known.version = SKINENGINE_MAKE_VERSION(1, 9, 0);
  later.known.skin_file = path.c_str();
  std::fill(std::begin(later.unknown), std::end(later.unknown), 0x5555);
  int reports = 0;
  later.known.on_error = [](const wchar_t*, void* context) { ++*static_cast<int*>(context); };
  later.known.context = &reports;
  ASSERT_EQ(skinengine_start_ex(&later.known), SKINENGINE_OK);
  EXPECT_TRUE(skinengine::IsSkinned(wnd));
  EXPECT_EQ(skinengine_switch_memory(junk, sizeof junk), SKINENGINE_E_NOT_A_SKIN);
  EXPECT_EQ(reports, 1);

  ASSERT_EQ(skinengine_stop(), SKINENGINE_OK);

  // Fades off when a 1.2 program says so, and on again after its stop; a
  // 1.1 program's bytes where the field now lies (its padding on x86-64)
  // are not read.
  skinengine_options quiet = SKINENGINE_OPTIONS_INIT;
  quiet.skin_file = path.c_str();
  quiet.no_transitions = 1;
  ASSERT_EQ(skinengine_start_ex(&quiet), SKINENGINE_OK);
  EXPECT_FALSE(skin::TransitionOptions().Enabled);
  ASSERT_EQ(skinengine_stop(), SKINENGINE_OK);
  EXPECT_TRUE(skin::TransitionOptions().Enabled);
  quiet.version = SKINENGINE_MAKE_VERSION(1, 1, 0);
  ASSERT_EQ(skinengine_start_ex(&quiet), SKINENGINE_OK);
  EXPECT_TRUE(skin::TransitionOptions().Enabled);

  std::set<std::string> texts;
  for (int r = SKINENGINE_OK; r <= SKINENGINE_E_VERSION; ++r)
    texts.insert(skinengine_result_text(static_cast<skinengine_result>(r)));
  EXPECT_EQ(texts.size(), 9u);
  EXPECT_EQ(skinengine_version_number(), static_cast<unsigned>(SKINENGINE_VERSION_NUMBER));
}

// A failure inside the engine is answered Internal and said, never thrown
// at the caller nor taken for a success.
TEST_F(SdkTest, AFailureInsideTheEngineIsInternal) {
  ASSERT_EQ(skinengine::Start(SkinPath("default.skin"), Heard()), skinengine::Result::Ok);
  using skinengine::Result;
  EXPECT_EQ(skinengine::detail::Shielded([]() -> Result { throw std::bad_alloc(); }), Result::Internal);
  EXPECT_NE(skinengine::LastError().find(L"failed inside"), std::wstring::npos);
  ASSERT_EQ(heard_.size(), 1u);
  EXPECT_EQ(heard_[0], skinengine::LastError());
  EXPECT_EQ(skinengine::detail::Shielded([]() -> Result { throw 42; }), Result::Internal);
  EXPECT_EQ(skinengine::SetSkinning(true), Result::Ok);
  EXPECT_TRUE(skinengine::LastError().empty());
}

// Stop gives the program back the error report it had before Start.
TEST_F(SdkTest, StopGivesTheErrorReportBack) {
  bool mine = false;
  gui::SetErrorReport([&](const std::wstring&) { mine = true; });
  ASSERT_EQ(skinengine::Start(SkinPath("default.skin")), skinengine::Result::Ok);
  ASSERT_EQ(skinengine::Stop(), skinengine::Result::Ok);
  const gui::TErrorReport back = gui::SetErrorReport(nullptr);
  ASSERT_TRUE(back);
  back(L"heard");
  EXPECT_TRUE(mine);
}

}  // namespace
