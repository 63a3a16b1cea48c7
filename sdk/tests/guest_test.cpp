// The engine as a guest in a program that does things of its own: the
// program's subclasses of its controls made before and after the start,
// failures inside the engine, and the sizes the program reads back.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gui/fault_guard.h"
#include "gui/subclass.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skinengine/skinengine.hpp"

namespace {

std::wstring SkinPath(const char* name) {
  std::wstring path = L"Z:" OWN_SKINS_DIR L"/";
  for (const char* c = name; *c; ++c) path += static_cast<wchar_t>(*c);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

void Drain() {
  MSG msg;
  for (int i = 0; i < 3; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

HWND Show(DWORD style, const wchar_t* title, int width = 360, int height = 260) {
  WNDCLASSW wc{};
  if (!GetClassInfoW(GetModuleHandleW(nullptr), L"GuestTestWindow", &wc)) {
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"GuestTestWindow";
    RegisterClassW(&wc);
  }
  HWND wnd = CreateWindowExW(0, L"GuestTestWindow", title, style, 40, 40, width, height, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  ShowWindow(wnd, SW_SHOW);
  SetForegroundWindow(wnd);
  Drain();
  return wnd;
}

HWND Button(HWND parent, int top) {
  return CreateWindowExW(0, L"BUTTON", L"Button", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, top, 100, 26, parent,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The program's own subclass of a control: counts what reaches it.
std::vector<HWND> g_seen;
std::map<HWND, WNDPROC> g_buttonProcs;
LRESULT CALLBACK ProgramButtonProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER + 1) g_seen.push_back(wnd);
  return CallWindowProcW(g_buttonProcs[wnd], wnd, msg, wParam, lParam);
}
WNDPROC SubclassByProgram(HWND button) {
  return g_buttonProcs[button] = reinterpret_cast<WNDPROC>(
             SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProgramButtonProc)));
}

bool ControlSkinned(HWND top, HWND control) {
  skin::TWinSkinForm* skinner = skin::ThreadSkinManager() ? skin::ThreadSkinManager()->FindFormSkinner(top) : nullptr;
  return skinner && skinner->FindWindowSkinner(control);
}

class GuestTest : public ::testing::Test {
 protected:
  void TearDown() override {
    skinengine::Stop();
    for (HWND wnd : windows_) DestroyWindow(wnd);
    Drain();
  }
  HWND Window(DWORD style = WS_OVERLAPPEDWINDOW, const wchar_t* title = L"Guest test") {
    return windows_.emplace_back(Show(style, title));
  }
  skinengine::Options Heard() {
    skinengine::Options options;
    options.OnError = [this](const std::wstring& message) { heard_.push_back(message); };
    return options;
  }
  std::vector<HWND> windows_;
  std::vector<std::wstring> heard_;
};

// A program subclasses one button before the engine starts and another
// after: both keep reaching the program's procedures and are skinned; the
// stop leaves each with exactly the program's chain, and a start after
// that skins both again (the second over the pass-through left under the
// program's subclass).
TEST_F(GuestTest, TheProgramsOwnSubclassesBeforeAndAfterTheStartKeepWorking) {
  HWND wnd = Window();
  HWND before = Button(wnd, 10);
  HWND after = Button(wnd, 50);
  SubclassByProgram(before);
  ASSERT_EQ(skinengine::Start(SkinPath("dark.skin"), Heard()), skinengine::Result::Ok);
  const WNDPROC underAfter = SubclassByProgram(after);
  const auto probe = [&] {
    g_seen.clear();
    SendMessageW(before, WM_USER + 1, 0, 0);
    SendMessageW(after, WM_USER + 1, 0, 0);
    return g_seen == std::vector<HWND>{before, after};
  };
  EXPECT_TRUE(probe());
  EXPECT_TRUE(ControlSkinned(wnd, before));
  EXPECT_TRUE(ControlSkinned(wnd, after));
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(skinengine::Stop(), skinengine::Result::Ok);
    EXPECT_FALSE(skinengine::IsSkinned(wnd));
    EXPECT_EQ(GetWindowLongPtrW(before, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ProgramButtonProc));
    EXPECT_EQ(GetWindowLongPtrW(after, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ProgramButtonProc));
    EXPECT_TRUE(probe());
    ASSERT_EQ(skinengine::Start(SkinPath("dark.skin"), Heard()), skinengine::Result::Ok);
    EXPECT_TRUE(skinengine::IsSkinned(wnd));
    EXPECT_TRUE(ControlSkinned(wnd, before));
    EXPECT_TRUE(ControlSkinned(wnd, after)) << "round " << round;
    EXPECT_TRUE(probe());
  }
  // The program takes its later subclass off again while skinned.
  SetWindowLongPtrW(after, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(underAfter));
  EXPECT_TRUE(ControlSkinned(wnd, after));
  ASSERT_EQ(skinengine::Stop(), skinengine::Result::Ok);
  EXPECT_TRUE(heard_.empty());
}

// A failure forced inside the engine, in its painting or in its hook:
// the program goes on, the window gets the system's frame back and stays
// unskinned, and the failure is heard once.
TEST_F(GuestTest, AFailureInsideTheEngineGivesTheWindowBackOnce) {
  gui::ContainHardwareFaults(GetModuleHandleW(nullptr));
  struct Case {
    gui::TFaultSite site;
    gui::TFaultKind kind;
  };
  for (const Case c : {Case{gui::TFaultSite::FramePaint, gui::TFaultKind::AccessViolation},
                       Case{gui::TFaultSite::ControlPaint, gui::TFaultKind::AccessViolation},
                       Case{gui::TFaultSite::CbtHook, gui::TFaultKind::CxxException}}) {
    heard_.clear();
    ASSERT_EQ(skinengine::Start(SkinPath("dark.skin"), Heard()), skinengine::Result::Ok);
    gui::ArmFault(c.site, c.kind);
    HWND wnd = Show(WS_OVERLAPPEDWINDOW, L"Failing");
    Button(wnd, 10);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Drain();
    const int site = static_cast<int>(c.site);
    EXPECT_FALSE(skinengine::IsSkinned(wnd)) << site;
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION, WS_CAPTION) << site;
    ASSERT_EQ(heard_.size(), 1u) << site;
    EXPECT_NE(heard_[0].find(L"gave it back to the system"), std::wstring::npos) << site;
    // Activated again, it is left to the system; other windows are skinned.
    SetForegroundWindow(GetDesktopWindow());
    SetForegroundWindow(wnd);
    Drain();
    EXPECT_FALSE(skinengine::IsSkinned(wnd)) << site;
    HWND other = Show(WS_OVERLAPPEDWINDOW, L"Other");
    EXPECT_TRUE(skinengine::IsSkinned(other)) << site;
    EXPECT_EQ(heard_.size(), 1u) << site;
    DestroyWindow(other);
    DestroyWindow(wnd);
    skinengine::Stop();
  }
  gui::StopContainingHardwareFaults();
}

// The program ends what the engine is doing from inside it: its own
// subclass of a skinned button answers the font question the button's
// skinner asks while painting by destroying the whole window, and its
// window procedure takes the skin off, and stops the engine, from inside a
// message the engine passed on. Nothing of the engine is called after it
// was freed (run with Wine's heap checking, which fills freed memory, a
// late call would fault, and be heard here) or left behind.
HWND g_destroyOnFont = nullptr;
WNDPROC g_destroyingProc = nullptr;
LRESULT CALLBACK DestroyingButtonProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_GETFONT && g_destroyOnFont) DestroyWindow(std::exchange(g_destroyOnFont, nullptr));
  return CallWindowProcW(g_destroyingProc, wnd, msg, wParam, lParam);
}

constexpr UINT kSkinOff = WM_APP + 1, kSkinOn = WM_APP + 2, kStop = WM_APP + 3;
LRESULT CALLBACK CommandingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kSkinOff || msg == kSkinOn) return skinengine::SetSkinning(msg == kSkinOn) == skinengine::Result::Ok;
  if (msg == kStop) return skinengine::Stop() == skinengine::Result::Ok;
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

TEST_F(GuestTest, NothingOfTheEngineOutlivesWhatTheProgramEndsFromInsideIt) {
  gui::ContainHardwareFaults(GetModuleHandleW(nullptr));
  ASSERT_EQ(skinengine::Start(SkinPath("dark.skin"), Heard()), skinengine::Result::Ok);
  const long subclasses = gui::TWindowSubclass::LiveCount();
  for (int round = 0; round < 3; ++round) {
    HWND wnd = Show(WS_OVERLAPPEDWINDOW, L"Going");
    HWND button = Button(wnd, 10);
    g_destroyingProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DestroyingButtonProc)));
    ASSERT_TRUE(skinengine::IsSkinned(wnd));
    g_destroyOnFont = wnd;
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Drain();
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(g_destroyOnFont, nullptr);
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = &CommandingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"GuestCommanding";
  RegisterClassW(&wc);
  HWND next = windows_.emplace_back(CreateWindowExW(0, wc.lpszClassName, L"Commanding",
                                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr,
                                                    nullptr, wc.hInstance, nullptr));
  SetForegroundWindow(next);
  Drain();
  ASSERT_TRUE(skinengine::IsSkinned(next));
  EXPECT_EQ(skin::ThreadSkinManager()->FormSkinners().size(), 1u);
  EXPECT_EQ(gui::TWindowSubclass::LiveCount(), subclasses + 1);
  EXPECT_EQ(SendMessageW(next, kSkinOff, 0, 0), 1);
  Drain();
  EXPECT_FALSE(skinengine::IsSkinned(next));
  EXPECT_EQ(SendMessageW(next, kSkinOn, 0, 0), 1);
  Drain();
  EXPECT_TRUE(skinengine::IsSkinned(next));
  EXPECT_EQ(SendMessageW(next, kStop, 0, 0), 1);
  Drain();
  EXPECT_FALSE(skinengine::IsSkinned(next));
  EXPECT_EQ(GetWindowLongPtrW(next, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(gui::TWindowSubclass::LiveCount(), subclasses);
  gui::StopContainingHardwareFaults();
  EXPECT_TRUE(heard_.empty()) << (heard_.empty() ? std::string() : std::string(heard_[0].begin(), heard_[0].end()));
}

// What the program reads about its window stays what it set: a sizeable
// window keeps its size skinned and after (a program that saves its size
// at exit and makes its window that size again does not see it grow run
// after run); a fixed one keeps its client area, which its layout needs.
TEST_F(GuestTest, ASizeableWindowKeepsTheSizeItsProgramGaveIt) {
  const auto size = [](HWND wnd, bool client) {
    RECT r{};
    client ? GetClientRect(wnd, &r) : GetWindowRect(wnd, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  };
  const auto same = [](SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; };
  HWND sizeable = Window();
  HWND fixed = Window(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, L"Fixed");
  const SIZE sizeableWindow = size(sizeable, false), fixedClient = size(fixed, true);
  const SIZE sizeableClient = size(sizeable, true);
  for (const char* skin : {"dark.skin", "default.skin"}) {
    ASSERT_EQ(skinengine::Start(SkinPath(skin)), skinengine::Result::Ok);
    SetForegroundWindow(sizeable);
    Drain();
    ASSERT_TRUE(skinengine::IsSkinned(sizeable) && skinengine::IsSkinned(fixed));
    EXPECT_TRUE(same(size(sizeable, false), sizeableWindow)) << skin;
    EXPECT_TRUE(same(size(fixed, true), fixedClient)) << skin;
    ASSERT_EQ(skinengine::Stop(), skinengine::Result::Ok);
    EXPECT_TRUE(same(size(sizeable, false), sizeableWindow)) << skin;
    EXPECT_TRUE(same(size(sizeable, true), sizeableClient)) << skin;
    EXPECT_TRUE(same(size(fixed, true), fixedClient)) << skin;
  }
}

}  // namespace
