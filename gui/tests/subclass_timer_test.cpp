// Taking over foreign windows and framework window methods and giving them
// back, and the window timer.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "gui/controls.h"
#include "gui/fault_guard.h"
#include "gui/menus.h"
#include "gui/method_hook.h"
#include "gui/subclass.h"
#include "gui/timer.h"

namespace {

std::vector<UINT> g_original;
WNDPROC g_foreignSaved = nullptr;
std::vector<UINT> g_foreign;

LRESULT CALLBACK OriginalProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  g_original.push_back(msg);
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

// Another layer that subclasses the window the plain way.
LRESULT CALLBACK ForeignProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  g_foreign.push_back(msg);
  return CallWindowProcW(g_foreignSaved, wnd, msg, wParam, lParam);
}

HWND CreatePlainWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &OriginalProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SubclassTestWindow";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance,
                         nullptr);
}

constexpr UINT kProbe = WM_USER + 7;

TEST(WindowSubclass, DetachGivesBackExactlyWhatWasThere) {
  HWND wnd = CreatePlainWindow();
  const long live = gui::TWindowSubclass::LiveCount();
  const LONG_PTR original = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  std::vector<UINT> seen;
  gui::TWindowSubclass ours;
  ASSERT_TRUE(ours.Attach(wnd, [&](UINT msg, WPARAM w, LPARAM l) {
    seen.push_back(msg);
    return msg == kProbe ? 42 : ours.CallPrevious(msg, w, l);
  }));
  gui::TWindowSubclass second;
  EXPECT_FALSE(second.Attach(wnd, [](UINT, WPARAM, LPARAM) { return LRESULT{0}; }));  // one of ours per window
  EXPECT_EQ(SendMessageW(wnd, kProbe, 0, 0), 42);
  EXPECT_EQ(seen, std::vector<UINT>{kProbe});
  ours.Detach();
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), original);
  EXPECT_EQ(gui::TWindowSubclass::LiveCount(), live);
  g_original.clear();
  SendMessageW(wnd, kProbe, 0, 0);
  EXPECT_EQ(g_original, std::vector<UINT>{kProbe});
  DestroyWindow(wnd);
}

TEST(WindowSubclass, ALayerOnTopKeepsTheChainWhole) {
  HWND wnd = CreatePlainWindow();
  const long live = gui::TWindowSubclass::LiveCount();
  int handled = 0;
  auto ours = std::make_unique<gui::TWindowSubclass>();
  ASSERT_TRUE(ours->Attach(wnd, [&, sub = ours.get()](UINT msg, WPARAM w, LPARAM l) {
    ++handled;
    return sub->CallPrevious(msg, w, l);
  }));
  const LONG_PTR ourProc = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  g_foreignSaved = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
  // Ours goes while the other layer sits on top: the chain must not be cut,
  // and the freed object must never be called.
  ours.reset();
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ForeignProc));
  g_original.clear();
  g_foreign.clear();
  SendMessageW(wnd, kProbe, 0, 0);
  EXPECT_EQ(g_foreign, std::vector<UINT>{kProbe});
  EXPECT_EQ(g_original, std::vector<UINT>{kProbe});
  EXPECT_EQ(handled, 0);
  // The other layer leaves in its turn, putting back our pass-through.
  SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreignSaved));
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), ourProc);
  g_original.clear();
  SendMessageW(wnd, kProbe, 0, 0);
  EXPECT_EQ(g_original, std::vector<UINT>{kProbe});
  // The pass-through goes with the window.
  DestroyWindow(wnd);
  EXPECT_EQ(gui::TWindowSubclass::LiveCount(), live);
}

TEST(WindowSubclass, DetachingDuringNcDestroyStillReachesTheWindow) {
  HWND wnd = CreatePlainWindow();
  gui::TWindowSubclass ours;
  ASSERT_TRUE(ours.Attach(wnd, [&](UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_NCDESTROY) ours.Detach();
    return ours.CallPrevious(msg, w, l);
  }));
  g_original.clear();
  DestroyWindow(wnd);
  ASSERT_FALSE(g_original.empty());
  EXPECT_EQ(g_original.back(), static_cast<UINT>(WM_NCDESTROY));
  EXPECT_FALSE(ours.Attached());
}

// A program's own subclass made with comctl32 (SetWindowSubclass).
LRESULT CALLBACK ProgramSubclass(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  g_foreign.push_back(msg);
  return DefSubclassProc(wnd, msg, wParam, lParam);
}

// The program subclasses the window before ours and after it, with both
// ways the system offers; ours comes and goes (and comes back over the
// pass-through it had to leave) without cutting the program's chain.
TEST(WindowSubclass, StacksWithTheProgramsOwnInBothOrders) {
  HWND wnd = CreatePlainWindow();
  const long live = gui::TWindowSubclass::LiveCount();
  int handled = 0;
  const auto attach = [&](gui::TWindowSubclass& ours) {
    return ours.Attach(wnd, [&](UINT msg, WPARAM w, LPARAM l) {
      if (msg == kProbe) ++handled;
      return ours.CallPrevious(msg, w, l);
    });
  };
  const auto probe = [&] {
    g_original.clear();
    g_foreign.clear();
    handled = 0;
    SendMessageW(wnd, kProbe, 0, 0);
    return std::vector<int>{static_cast<int>(g_foreign.size()), handled, static_cast<int>(g_original.size())};
  };
  ASSERT_TRUE(SetWindowSubclass(wnd, &ProgramSubclass, 1, 0));  // before ours
  {
    gui::TWindowSubclass ours;
    ASSERT_TRUE(attach(ours));
    EXPECT_EQ(probe(), (std::vector<int>{1, 1, 1}));
    g_foreignSaved =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    EXPECT_EQ(probe(), (std::vector<int>{2, 1, 1}));  // after ours
  }
  // Ours left a pass-through under the program's layer; skinned again, the
  // window takes a new layer of ours in its place (it used to refuse).
  EXPECT_EQ(probe(), (std::vector<int>{2, 0, 1}));
  gui::TWindowSubclass again;
  ASSERT_TRUE(attach(again));
  EXPECT_EQ(probe(), (std::vector<int>{2, 1, 1}));
  // The program takes its later layer off, then ours goes, then its first.
  SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreignSaved));
  again.Detach();
  EXPECT_EQ(probe(), (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(gui::TWindowSubclass::LiveCount(), live);
  ASSERT_TRUE(RemoveWindowSubclass(wnd, &ProgramSubclass, 1));
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OriginalProc));
  // And with comctl32's layer on top of ours.
  gui::TWindowSubclass under;
  ASSERT_TRUE(attach(under));
  ASSERT_TRUE(SetWindowSubclass(wnd, &ProgramSubclass, 2, 0));
  under.Detach();
  EXPECT_EQ(probe(), (std::vector<int>{1, 0, 1}));
  ASSERT_TRUE(attach(under));
  EXPECT_EQ(probe(), (std::vector<int>{1, 1, 1}));
  ASSERT_TRUE(RemoveWindowSubclass(wnd, &ProgramSubclass, 2));
  under.Detach();
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OriginalProc));
  EXPECT_EQ(gui::TWindowSubclass::LiveCount(), live);
  DestroyWindow(wnd);
}

// A layer that fails does no harm: the message still gets the window's own
// handling, once, the failure is heard once, and from then on the layer
// passes every message through until its owner detaches it.
TEST(WindowSubclass, AFailingLayerGivesTheWindowBackAndIsHeardOnce) {
  HWND wnd = CreatePlainWindow();
  const LONG_PTR original = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  std::vector<std::wstring> heard;
  gui::SetWindowFailureHandler([&](HWND failed, const std::wstring& what) {
    EXPECT_EQ(failed, wnd);
    heard.push_back(what);
  });
  gui::ContainHardwareFaults(GetModuleHandleW(nullptr));
  for (const bool afterPassingOn : {false, true}) {
    for (const gui::TFaultKind kind : {gui::TFaultKind::CxxException, gui::TFaultKind::AccessViolation}) {
      heard.clear();
      int handled = 0;
      gui::TWindowSubclass ours;
      ASSERT_TRUE(ours.Attach(wnd, [&](UINT msg, WPARAM w, LPARAM l) {
        if (msg != kProbe) return ours.CallPrevious(msg, w, l);
        ++handled;
        const LRESULT result = afterPassingOn ? ours.CallPrevious(msg, w, l) : 0;
        gui::ArmFault(gui::TFaultSite::FramePaint, kind);
        gui::FaultPoint(gui::TFaultSite::FramePaint);
        return result;
      }));
      g_original.clear();
      SendMessageW(wnd, kProbe, 0, 0);
      SendMessageW(wnd, kProbe, 0, 0);
      EXPECT_EQ(handled, 1);
      EXPECT_EQ(g_original, (std::vector<UINT>{kProbe, kProbe}));
      ASSERT_EQ(heard.size(), 1u);
      EXPECT_NE(heard[0].find(kind == gui::TFaultKind::CxxException ? L"forced" : L"access violation"),
                std::wstring::npos)
          << std::string(heard[0].begin(), heard[0].end());
      EXPECT_TRUE(ours.Attached());
      ours.Detach();
      EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), original);
    }
  }
  // Faults the system expects and handles itself are left to it.
  EXPECT_TRUE(gui::Guarded([] { EXPECT_TRUE(IsBadReadPtr(nullptr, 4)); }).What.empty());
  gui::StopContainingHardwareFaults();
  gui::SetWindowFailureHandler(nullptr);
  DestroyWindow(wnd);
}

// A framework control whose own method answers the probe.
class ProbeControl : public gui::TControl {
 public:
  ProbeControl() : gui::TControl(nullptr) {}
  void WndProc(gui::TMessage& m) override {
    if (m.Msg == kProbe) {
      own.push_back(m.Msg);
      m.Result = 7;
      return;
    }
    gui::TControl::WndProc(m);
  }
  std::vector<UINT> own;
};

// Another layer that swaps the window method by hand.
struct ForeignLayer {
  gui::TWndMethod next;
  std::vector<UINT> seen;
  void Method(gui::TMessage& m) {
    seen.push_back(m.Msg);
    next(m);
  }
};

TEST(WindowMethodHook, DetachGivesBackExactlyWhatWasThere) {
  ProbeControl control;
  const long live = gui::TWindowMethodHook::LiveCount();
  const gui::TWndMethod original = control.WindowProc;
  std::vector<UINT> seen;
  gui::TWindowMethodHook ours;
  ASSERT_TRUE(ours.Attach(&control, [&](gui::TMessage& m) {
    seen.push_back(m.Msg);
    if (m.Msg == kProbe + 1) {
      m.Result = 42;
      return;
    }
    ours.CallPrevious(m);
  }));
  EXPECT_FALSE(ours.Attach(&control, [](gui::TMessage&) {}));  // once per hook
  EXPECT_NE(control.WindowProc, original);
  EXPECT_EQ(ours.Previous(), original);
  EXPECT_EQ(control.Perform(kProbe + 1), 42);
  EXPECT_EQ(control.Perform(kProbe), 7);  // passed on to the control's own method
  EXPECT_EQ(seen, (std::vector<UINT>{kProbe + 1, kProbe}));
  EXPECT_EQ(gui::TWindowMethodHook::LiveCount(), live + 1);
  ours.Detach();
  EXPECT_EQ(control.WindowProc, original);
  EXPECT_EQ(gui::TWindowMethodHook::LiveCount(), live);
  seen.clear();
  control.Perform(kProbe);
  EXPECT_TRUE(seen.empty());
}

TEST(WindowMethodHook, ALayerOnTopKeepsTheChainWhole) {
  const long live = gui::TWindowMethodHook::LiveCount();
  auto control = std::make_unique<ProbeControl>();
  int handled = 0;
  auto ours = std::make_unique<gui::TWindowMethodHook>();
  ASSERT_TRUE(ours->Attach(control.get(), [&, hook = ours.get()](gui::TMessage& m) {
    ++handled;
    hook->CallPrevious(m);
  }));
  const gui::TWndMethod ourMethod = control->WindowProc;
  ForeignLayer foreign;
  foreign.next = control->WindowProc;
  control->WindowProc = gui::TWndMethod::Bind<ForeignLayer, &ForeignLayer::Method>(&foreign);
  // Ours goes while the other layer sits on top: the chain must not be cut,
  // and the freed hook must never be called.
  ours.reset();
  EXPECT_EQ(control->WindowProc, (gui::TWndMethod::Bind<ForeignLayer, &ForeignLayer::Method>(&foreign)));
  EXPECT_EQ(control->Perform(kProbe), 7);
  EXPECT_EQ(foreign.seen, std::vector<UINT>{kProbe});
  EXPECT_EQ(control->own, std::vector<UINT>{kProbe});
  EXPECT_EQ(handled, 0);
  // The other layer leaves in its turn, putting back our pass-through.
  control->WindowProc = foreign.next;
  EXPECT_EQ(control->WindowProc, ourMethod);
  EXPECT_EQ(control->Perform(kProbe), 7);
  EXPECT_EQ(control->own.size(), 2u);
  // The pass-through goes with the control.
  EXPECT_EQ(gui::TWindowMethodHook::LiveCount(), live + 1);
  control.reset();
  EXPECT_EQ(gui::TWindowMethodHook::LiveCount(), live);
}

TEST(WindowMethodHook, AControlFreedFirstLeavesTheHookNothingToDo) {
  auto control = std::make_unique<ProbeControl>();
  gui::TWindowMethodHook ours;
  ASSERT_TRUE(ours.Attach(control.get(), [&](gui::TMessage& m) {
    // Detaching while handling a message still passes the message on.
    ours.Detach();
    ours.CallPrevious(m);
  }));
  gui::TWindowMethodHook second;
  ASSERT_TRUE(second.Attach(control.get(), [&](gui::TMessage& m) { second.CallPrevious(m); }));
  EXPECT_EQ(control->Perform(kProbe), 7);
  EXPECT_FALSE(ours.Attached());
  control.reset();
  EXPECT_FALSE(second.Attached());
  second.Detach();  // nothing left to touch
}

TEST(Timer, TicksFromTheMessageLoopUntilDisabled) {
  const long live = gui::TTimer::LiveCount();
  int ticks = 0;
  {
    gui::TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.OnTimer = [&](gui::TObject*) {
      if (++ticks == 3) timer.SetEnabled(false);
    };
    EXPECT_EQ(gui::TTimer::LiveCount(), live + 1);
    MSG msg;
    for (int i = 0; i < 500 && timer.Enabled(); ++i) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(5);
    }
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(gui::TTimer::LiveCount(), live);
    timer.SetEnabled(true);
  }
  EXPECT_EQ(gui::TTimer::LiveCount(), live);  // a running timer stops with its object
}

TEST(PopupMenu, OwnerDrawnItemsReachTheirHandlers) {
  gui::TPopupMenu menu(nullptr);
  menu.OwnerDraw = true;
  gui::TMenuItem* item = menu.Items().Add(L"Item");
  item->OnMeasureItem = [](gui::TMenuItem*, HDC, int& width, int& height) {
    width = 77;
    height = 19;
  };
  HMENU handle = menu.Handle();
  ASSERT_NE(handle, nullptr);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
  ASSERT_TRUE(GetMenuItemInfoW(handle, 0, TRUE, &info));
  EXPECT_NE(info.fType & MFT_OWNERDRAW, 0u);
  EXPECT_EQ(gui::TMenuItem::FromCommand(info.wID), item);
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = info.dwItemData;
  EXPECT_TRUE(gui::TPopupMenu::MeasureItem(measure));
  EXPECT_EQ(measure.itemWidth, 77u);
  EXPECT_EQ(measure.itemHeight, 19u);
  delete item;
  measure.itemData = info.dwItemData;  // a freed item is not called
  EXPECT_FALSE(gui::TPopupMenu::MeasureItem(measure));
}

}  // namespace
