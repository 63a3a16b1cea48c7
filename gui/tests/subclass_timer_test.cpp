// Taking over foreign windows and giving them back, and the window timer.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "gui/menus.h"
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
