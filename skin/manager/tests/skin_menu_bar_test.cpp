// The skinned menu bar on real windows with the project's default skin: the
// items' layout and hit testing, the hot and pressed looks, Alt+letter, the
// arrow keys moving between open submenus, menu changes while skinned, the
// window's own bar given back, and the owner-drawn items of the submenus
// and of a skinned form's popup menus.
#include <gtest/gtest.h>
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "gui/forms.h"
#include "gui/imagelist.h"
#include "gui/menus.h"
#include "gui/tests/test_forms.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_protocol.h"
#include "skin/data/tests/pixel_checks.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/menu_item_draw.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_menu_bar.h"
#include "skin/form/skin_popup_menu.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/engine_fixture.h"
#include "tests/support/message_sequence.h"

namespace {

using skin::ThreadSkinManager;
using skin::TMenuBtn;
using skin::TNCObject;
using skin::TWinSkinForm;
using skin::TWinSkinMenu;

using msgseq::posted;
using msgseq::TMessageLog;
using msgseq::wparam;

void Drain() { skin_test::DrainMessages(); }

// The window's own procedure: keeps the system's keyboard menu mode and the
// system menu out of the tests (both would run a modal loop).
// The menu items a test window was asked to measure and draw itself.
std::vector<UINT> g_ownerDrawnAsked;
// The layout of the contexts those items were drawn on.
std::vector<DWORD> g_ownerDrawnLayouts;

LRESULT CALLBACK BarWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (TMessageLog* log = TMessageLog::Active()) log->Record(wnd, msg, wParam, lParam);
  if (msg == WM_MEASUREITEM && reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlType == ODT_MENU) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    g_ownerDrawnAsked.push_back(measure->itemID);
    measure->itemWidth = 60;
    measure->itemHeight = 18;
    return TRUE;
  }
  if (msg == WM_DRAWITEM && reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->CtlType == ODT_MENU) {
    g_ownerDrawnAsked.push_back(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->itemID);
    g_ownerDrawnLayouts.push_back(GetLayout(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hDC));
    return TRUE;
  }
  if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU) return 0;
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

int MenuTextWidth(const std::wstring& text) {
  gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  gui::FontHandle font = skin::SystemMenuFont(false);
  gui::SelectGuard select(dc.get(), font.get());
  RECT r{};
  DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  return r.right - r.left;
}

// The screen point one pixel inside an object's top-left corner.
LPARAM ScreenPointIn(const TWinSkinForm& form, const RECT& r) {
  RECT window{};
  GetWindowRect(form.Handle(), &window);
  return MAKELPARAM(window.left + (r.left + r.right) / 2, window.top + (r.top + r.bottom) / 2);
}

// What happens while a bar submenu is open: each step runs from the menu's
// own loop (a thread timer) once a submenu is open, sees which and may act.
struct TMenuScript {
  std::vector<std::function<void()>> Steps;
  std::size_t Next = 0;
};
TMenuScript* g_script = nullptr;

void CALLBACK RunScriptStep(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_script || g_script->Next >= g_script->Steps.size()) {
    KillTimer(nullptr, id);
    return;
  }
  // Each step waits for a bar submenu to be open (the one before may have
  // closed one and asked for the next).
  if (!skin::CurrentMenuTracking().Hook) return;
  g_script->Steps[g_script->Next++]();
}

// Runs the script from the loop of the bar submenu that `open` opens; gives
// up after five seconds.
void RunMenuScript(TMenuScript& script, const std::function<void()>& open) {
  g_script = &script;
  SetTimer(nullptr, 0, 120, &RunScriptStep);
  open();
  const DWORD start = GetTickCount();
  while (script.Next < script.Steps.size() && GetTickCount() - start < 5000) {
    Drain();
    Sleep(10);
  }
  Drain();
  g_script = nullptr;
}

class SkinMenuBarTest : public engine_test::DefaultSkinTest {
 protected:
  void TearDown() override {
    for (HWND wnd : windows_) DestroyWindow(wnd);
    DefaultSkinTest::TearDown();
  }

  // A plain window with a system menu bar: "&One", an item without text,
  // "&Three" with a submenu.
  HWND PlainWindowWithMenu() {
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 101, L"&One");
    AppendMenuW(bar, MF_STRING, 102, L"");
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 111, L"Alpha");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&Three");
    HWND wnd = CreateWindowExW(0, L"SkinMenuBarWindow", L"Bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 360, 240,
                               nullptr, bar, GetModuleHandleW(nullptr), nullptr);
    windows_.push_back(wnd);
    return wnd;
  }

  TWinSkinForm* Skin(HWND wnd) {
    SetForegroundWindow(wnd);
    Drain();
    if (!ThreadSkinManager()->FindFormSkinner(wnd)) ThreadSkinManager()->SkinWindow(wnd);
    Drain();
    SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
    TWinSkinForm* form = ThreadSkinManager()->FindFormSkinner(wnd);
    if (form) Paint(*form);
    return form;
  }

  static gui::TBitmap Paint(TWinSkinForm& form) { return engine_test::PaintedFrame(form); }

  void SkinOff() {
    ThreadSkinManager()->CarryOut({skin::saSkinOff, data_.get()});
    Drain();
  }

  static void RegisterClassOnce() {
    WNDCLASSW wc{};
    if (GetClassInfoW(GetModuleHandleW(nullptr), L"SkinMenuBarWindow", &wc)) return;
    wc.lpfnWndProc = &BarWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinMenuBarWindow";
    RegisterClassW(&wc);
  }

  std::vector<HWND> windows_;
};

// A framework form with "&File" (Open, a separator, Exit), "&Edit" without
// a submenu, "&Help" (About).
struct TBarForm {
  explicit TBarForm(gui::TApplication& app) : Form(new gui::TForm(&app)) {
    Menu = new gui::TMainMenu(Form);
    File = Menu->Items().Add(L"&File");
    Open = File->Add(L"&Open");
    File->Add(L"-");
    File->Add(L"E&xit");
    Edit = Menu->Items().Add(L"&Edit");
    Edit->OnClick = [this](gui::TObject*) { ++EditClicks; };
    Help = Menu->Items().Add(L"&Help");
    Help->Add(L"&About");
    Form->SetMenu(Menu);
    Form->SetClientWidth(400);
    Form->SetClientHeight(240);
    Form->HandleNeeded();
    Form->Show();
  }
  gui::TForm* Form;
  gui::TMainMenu* Menu;
  gui::TMenuItem *File, *Open, *Edit, *Help;
  int EditClicks = 0;
};

// --- layout ------------------------------------------------------------------

TEST(MenuBarLayout, ItemsFollowTheirCaptionsFromTheLeadingEdge) {
  // Left to right: from the start, each caption plus 10; a caption that
  // measures nothing takes no room.
  const std::vector<RECT> ltr = skin::LayoutMenuBarItems({30, 0, 20}, SIZE{200, 19}, 6, false);
  ASSERT_EQ(ltr.size(), 3u);
  EXPECT_EQ(ltr[0].left, 6);
  EXPECT_EQ(ltr[0].right, 46);
  EXPECT_EQ(ltr[1].left, ltr[1].right);
  EXPECT_EQ(ltr[2].left, 46);
  EXPECT_EQ(ltr[2].right, 76);
  EXPECT_EQ(ltr[0].top, 0);
  EXPECT_EQ(ltr[0].bottom, 18);  // one short of the bar
  // Right to left: from the right edge leftwards.
  const std::vector<RECT> rtl = skin::LayoutMenuBarItems({30, 0, 20}, SIZE{200, 19}, 8, true);
  EXPECT_EQ(rtl[0].right, 192);
  EXPECT_EQ(rtl[0].left, 152);
  EXPECT_EQ(rtl[2].right, 152);
  EXPECT_EQ(rtl[2].left, 122);

  // The start: the picture's margin and 4 (8 from the right for a
  // right-to-left bar), 12 on a bar too narrow for that, 6 without picture.
  const skin::TMenuBarStart withPicture{true, 9, 5};
  EXPECT_EQ(skin::MenuBarItemStart(withPicture, 300, false), 13);
  EXPECT_EQ(skin::MenuBarItemStart(withPicture, 300, true), 13);
  EXPECT_EQ(skin::MenuBarItemStart(skin::TMenuBarStart{true, 20, 0}, 300, false), 24);
  EXPECT_EQ(skin::MenuBarItemStart(skin::TMenuBarStart{true, 20, 0}, 10, false), 12);
  EXPECT_EQ(skin::MenuBarItemStart(skin::TMenuBarStart{}, 300, true), 6);

  // Too long for one row: an item that would cross the far end starts the
  // next row from the start again, either way round; the first row keeps
  // its room (a maximised MDI child's buttons) free.
  const std::vector<RECT> wrapped = skin::LayoutMenuBarItems({30, 30, 30}, SIZE{100, 19}, 6, false);
  EXPECT_EQ(wrapped[1].top, 0);
  EXPECT_EQ(wrapped[2].left, 6);
  EXPECT_EQ(wrapped[2].top, 19);
  EXPECT_EQ(wrapped[2].bottom, 37);
  EXPECT_EQ(skin::MenuBarRows(wrapped, 19), 2);
  EXPECT_EQ(skin::MenuBarRows(ltr, 19), 1);
  const std::vector<RECT> rtlWrapped = skin::LayoutMenuBarItems({30, 30, 30}, SIZE{100, 19}, 8, true);
  EXPECT_EQ(rtlWrapped[2].right, 92);
  EXPECT_EQ(rtlWrapped[2].top, 19);
  const std::vector<RECT> room = skin::LayoutMenuBarItems({30, 30, 30}, SIZE{100, 19}, 6, false, {0, 40});
  EXPECT_EQ(room[1].top, 19);  // 46 + 40 would reach into the room
  EXPECT_EQ(room[2].top, 19);  // the second row has the whole width
  // An item wider than the bar stays on its own row rather than none.
  EXPECT_EQ(skin::LayoutMenuBarItems({300}, SIZE{100, 19}, 6, false)[0].top, 0);
}

TEST_F(SkinMenuBarTest, APlainWindowsBarIsTakenOverAndGivenBack) {
  RegisterClassOnce();
  HWND wnd = PlainWindowWithMenu();
  HMENU own = GetMenu(wnd);
  ASSERT_NE(own, nullptr);
  TWinSkinForm* form = Skin(wnd);
  ASSERT_NE(form, nullptr);
  ASSERT_NE(form->MenuBar(), nullptr);
  TWinSkinMenu& bar = *form->MenuBar();

  // The skin's bar is SM_CYMENU high below the title; the program still
  // reads its own menu (GetMenu), which the system draws no bar for.
  EXPECT_EQ(GetMenu(wnd), own);
  EXPECT_EQ(bar.MenuHandle(), own);
  EXPECT_EQ(form->MenuHeight(), GetSystemMetrics(SM_CYMENU));
  ASSERT_EQ(bar.Items.size(), 3u);
  EXPECT_EQ(bar.Items[0]->Caption, L"&One");
  EXPECT_EQ(bar.Items[2]->Caption, L"&Three");
  EXPECT_EQ(bar.Items[0]->Command, 101u);
  EXPECT_EQ(bar.Items[2]->Submenu, GetSubMenu(own, 2));
  EXPECT_EQ(bar.BarRect().top, form->Frame().Top);
  EXPECT_EQ(bar.BarRect().bottom - bar.BarRect().top, form->MenuHeight());

  // Widths from the menu font; the item without text takes no room and is
  // never hit.
  const RECT one = bar.ItemRect(*bar.Items[0]);
  const RECT empty = bar.ItemRect(*bar.Items[1]);
  const RECT three = bar.ItemRect(*bar.Items[2]);
  EXPECT_EQ(one.right - one.left, MenuTextWidth(L"&One") + 10);
  EXPECT_EQ(empty.left, empty.right);
  EXPECT_EQ(three.left, one.right);
  const skin::TDataSkinObject& picture = *data_->Skin().MenuBar;
  EXPECT_EQ(one.left - bar.BarRect().left, picture.LeftWidth + 4);
  EXPECT_EQ(bar.FindMenuButton(POINT{one.right, one.top + 2}), bar.Items[2].get());
  EXPECT_EQ(bar.FindMenuButton(POINT{one.left + 1, one.top + 2}), bar.Items[0].get());
  EXPECT_EQ(bar.FindMenuButton(POINT{three.right + 5, three.top + 2}), nullptr);
  // The band is the menu for hit testing.
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, ScreenPointIn(*form, three)), HTMENU);
  // Where the system would put the bar of the menu the window still holds,
  // the skin's title band is the caption.
  const RECT title{one.left, form->Frame().Top / 2, one.right, form->Frame().Top / 2 + 2};
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, ScreenPointIn(*form, title)), HTCAPTION);

  // Switched off, the window has its own bar back, with all its items.
  SkinOff();
  EXPECT_EQ(GetMenu(wnd), own);
  EXPECT_EQ(GetMenuItemCount(own), 3);
  wchar_t text[16] = {};
  GetMenuStringW(own, 2, text, 16, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Three");
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(GetSubMenu(own, 2), 0, TRUE, &info);
  EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
}

// A window that is not a framework form hears of Alt+letter and of Alt or
// F10 alone only as SC_KEYMENU: both work its skinned bar, and a menu given
// to it while skinned or changed behind the bar's back is followed.
TEST_F(SkinMenuBarTest, APlainWindowsBarWorksFromTheKeysAndFollowsItsMenu) {
  RegisterClassOnce();
  HWND wnd = PlainWindowWithMenu();
  HMENU own = GetMenu(wnd);
  TWinSkinForm* form = Skin(wnd);
  ASSERT_NE(form, nullptr);
  TWinSkinMenu& bar = *form->MenuBar();
  // The click the skin posts, taken off the queue: the item it lands on.
  auto clicked = [&]() -> TMenuBtn* {
    MSG click{};
    if (!PeekMessageW(&click, wnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) return nullptr;
    return bar.FindMenuButton(form->ScreenToWindow(GET_X_LPARAM(click.lParam), GET_Y_LPARAM(click.lParam)));
  };
  auto menuKey = [wnd](std::initializer_list<std::pair<UINT, WPARAM>> keys) {
    for (const auto& [msg, key] : keys) PostMessageW(wnd, msg, key, 1);
    return SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, 0);
  };
  {
    gui_test::HeldKeys alt({VK_MENU});
    EXPECT_EQ(SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, 't'), 1);
  }
  EXPECT_EQ(clicked(), bar.Items[2].get());
  // Alt alone selects the first item; Right steps over the one without a
  // caption, the ends wrap round, Down opens.
  EXPECT_EQ(menuKey({{WM_KEYDOWN, VK_RIGHT}, {WM_KEYDOWN, VK_RIGHT}, {WM_KEYDOWN, VK_LEFT}, {WM_KEYDOWN, VK_DOWN}}), 1);
  EXPECT_EQ(clicked(), bar.Items[2].get());
  EXPECT_FALSE(form->MenuTracking());
  EXPECT_EQ(form->CurrentObject(), nullptr);
  // A letter opens its item; Escape leaves without opening anything.
  menuKey({{WM_CHAR, 'o'}});
  EXPECT_EQ(clicked(), bar.Items[0].get());
  menuKey({{WM_KEYDOWN, VK_ESCAPE}});
  EXPECT_EQ(clicked(), nullptr);

  // A command item clicked runs; greyed behind the bar's back, it neither
  // runs nor stops the keys.
  TMessageLog log;
  auto press = [&](const TMenuBtn& item) {
    log.Flush();
    SendMessageW(wnd, WM_NCLBUTTONDOWN, HTMENU, ScreenPointIn(*form, bar.ItemRect(item)));
    log.Pump();
  };
  press(*bar.Items[0]);
  EXPECT_TRUE(std::any_of(log.Entries().begin(), log.Entries().end(),
                          [](const msgseq::TMsgEntry& e) { return e.message == WM_COMMAND && e.wParam == 101; }));
  EnableMenuItem(own, 101, MF_BYCOMMAND | MF_GRAYED);
  press(*bar.Items[0]);
  EXPECT_FALSE(bar.Items[0]->Enabled);
  EXPECT_FALSE(std::any_of(log.Entries().begin(), log.Entries().end(),
                           [](const msgseq::TMsgEntry& e) { return e.message == WM_COMMAND; }));
  menuKey({{WM_KEYDOWN, VK_DOWN}});
  EXPECT_EQ(clicked(), bar.Items[2].get());  // the first item the keys stop on

  // Its submenu opened from the bar is announced to the window, as the
  // system's bar announces it.
  TMenuScript script;
  script.Steps = {[] { EndMenu(); }};
  log.Flush();
  RunMenuScript(script, [&] { PostMessageW(wnd, WM_NCLBUTTONDOWN, HTMENU, ScreenPointIn(*form, bar.ItemRect(*bar.Items[2]))); });
  EXPECT_TRUE(std::any_of(log.Entries().begin(), log.Entries().end(), [own](const msgseq::TMsgEntry& e) {
    return e.message == WM_INITMENUPOPUP && e.wParam == reinterpret_cast<WPARAM>(GetSubMenu(own, 2));
  }));

  // Moved with its menu as it stands: the bar keeps its items, and the
  // frame is not painted again for the move.
  Drain();
  const TMenuBtn* first = form->MenuBar()->Items[0].get();
  SetWindowPos(wnd, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  MSG repaint{};
  EXPECT_FALSE(PeekMessageW(&repaint, wnd, skin::SkinMsgRepaint, skin::SkinMsgRepaint, PM_NOREMOVE));
  EXPECT_EQ(form->MenuBar()->Items[0].get(), first);

  // An item renamed and the bar redrawn: the bar follows.
  Drain();
  ModifyMenuW(own, 0, MF_BYPOSITION | MF_STRING, 101, L"&Renamed");
  DrawMenuBar(wnd);
  Drain();
  EXPECT_EQ(form->MenuBar()->Items[0]->Caption, L"&Renamed");

  // Given another menu: the bar shows it; switched off, the window has it.
  HMENU other = CreateMenu();
  AppendMenuW(other, MF_STRING, 201, L"&Other");
  SetMenu(wnd, other);
  Drain();
  EXPECT_EQ(GetMenu(wnd), other);
  ASSERT_EQ(form->MenuBar()->Items.size(), 1u);
  EXPECT_EQ(form->MenuBar()->Items[0]->Caption, L"&Other");
  SkinOff();
  EXPECT_EQ(GetMenu(wnd), other);
  DestroyMenu(own);
}

// An item the window owner-draws itself is measured and drawn by the
// window; the skin draws the others. The window hears WM_INITMENU and
// WM_INITMENUPOPUP as the bar's submenu opens, as from the system's bar.
TEST_F(SkinMenuBarTest, APlainWindowsOwnOwnerDrawnItemsStayItsOwn) {
  RegisterClassOnce();
  HWND wnd = PlainWindowWithMenu();
  HMENU sub = GetSubMenu(GetMenu(wnd), 2);
  AppendMenuW(sub, MF_OWNERDRAW, 112, reinterpret_cast<LPCWSTR>(0x77));
  TWinSkinForm* form = Skin(wnd);
  ASSERT_NE(form, nullptr);
  TWinSkinMenu& bar = *form->MenuBar();
  g_ownerDrawnAsked.clear();
  TMessageLog log;
  TMenuScript script;
  script.Steps = {[] { EndMenu(); }};
  RunMenuScript(script, [&] { PostMessageW(wnd, WM_NCLBUTTONDOWN, HTMENU, ScreenPointIn(*form, bar.ItemRect(*bar.Items[2]))); });
  ASSERT_FALSE(g_ownerDrawnAsked.empty());
  EXPECT_TRUE(std::all_of(g_ownerDrawnAsked.begin(), g_ownerDrawnAsked.end(), [](UINT id) { return id == 112; }));
  const auto heard = [&](UINT message) {
    return std::any_of(log.Entries().begin(), log.Entries().end(),
                       [message](const msgseq::TMsgEntry& e) { return e.message == message; });
  };
  EXPECT_TRUE(heard(WM_INITMENU));
  EXPECT_TRUE(heard(WM_INITMENUPOPUP));
  // Closed, the items are what they were: the window's own still
  // owner-drawn, Alpha not.
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoW(sub, 112, FALSE, &info));
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  ASSERT_TRUE(GetMenuItemInfoW(sub, 111, FALSE, &info));
  EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
}

TEST_F(SkinMenuBarTest, RightToLeftAndNarrowBars) {
  gui::TApplication app;
  TBarForm bf(app);
  bf.Menu->SetBiDiMode(gui::TBiDiMode::bdRightToLeft);
  TWinSkinForm* form = Skin(bf.Form->Handle());
  ASSERT_NE(form, nullptr);
  ASSERT_NE(form->MenuBar(), nullptr);
  TWinSkinMenu& bar = *form->MenuBar();
  ASSERT_EQ(bar.Items.size(), 3u);
  // From the right edge leftwards, in menu order.
  const skin::TDataSkinObject& picture = *data_->Skin().MenuBar;
  EXPECT_EQ(bar.BarRect().right - bar.ItemRect(*bar.Items[0]).right, picture.RightWidth + 8);
  EXPECT_EQ(bar.ItemRect(*bar.Items[1]).right, bar.ItemRect(*bar.Items[0]).left);
  EXPECT_EQ(bar.ItemRect(*bar.Items[2]).right, bar.ItemRect(*bar.Items[1]).left);

  // With a submenu open the arrow keys point the other way: Left moves on
  // to the next item ("Edit" has no submenu), not round to the last.
  bf.Menu->Items().Add(L"&Tools")->Add(L"&Options");
  Drain();
  Paint(*form);
  std::vector<HMENU> open;
  TMenuScript script;
  script.Steps = {[&] { PostMessageW(bf.Form->Handle(), WM_KEYDOWN, VK_LEFT, 1); },
                  [&] {
                    open.push_back(form->TrackedMenu());
                    EndMenu();
                  }};
  RunMenuScript(script, [&] {
    PostMessageW(bf.Form->Handle(), WM_NCLBUTTONDOWN, HTMENU, ScreenPointIn(*form, bar.ItemRect(*bar.Items[0])));
  });
  EXPECT_EQ(open, (std::vector<HMENU>{bf.Help->Handle()}));

  // A bar narrower than where its first item would start starts it at 12.
  gui::TBitmap narrow(8, form->MenuHeight());
  bar.Paint(narrow.DC(), RECT{0, 0, 8, form->MenuHeight()}, {});
  EXPECT_EQ(bar.ItemRect(*bar.Items[0]).right, 8 - 12);

  // A window too narrow for its bar: the band grows a row for the items
  // that do not fit, and the client area starts below it.
  const int row = GetSystemMetrics(SM_CYMENU);
  RECT r{};
  GetWindowRect(form->Handle(), &r);
  SetWindowPos(form->Handle(), nullptr, 0, 0, form->Frame().Left + form->Frame().Right + MenuTextWidth(L"&File") + 40,
               r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  Drain();
  Paint(*form);
  EXPECT_GE(form->MenuHeight(), 2 * row);
  EXPECT_EQ(form->MenuHeight() % row, 0);
  EXPECT_GT(bar.ItemRect(*bar.Items[2]).top, bar.ItemRect(*bar.Items[0]).top);
  POINT client{0, 0};
  ClientToScreen(form->Handle(), &client);
  GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(client.y - r.top, form->Frame().Top + form->MenuHeight());
}

// --- hover and press -----------------------------------------------------------

// A mirrored window's bar (WS_EX_LAYOUTRTL) as the system's bar is there:
// its items from the right (the first where the system's own bar has its
// first), a submenu opened under its item from the right and mirrored (the
// window's own owner-drawn item given a mirrored context, as the system
// gives it), the skin's items with the check mark on the right and their
// text reading unmirrored, Left moving on to the next item.
TEST_F(SkinMenuBarTest, AMirroredWindowsBarRunsFromTheRightAndItsMenusOpenMirrored) {
  RegisterClassOnce();
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING | MF_CHECKED, 201, L"Checked");
  AppendMenuW(file, MF_OWNERDRAW, 202, reinterpret_cast<LPCWSTR>(0x77));
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  HMENU edit = CreatePopupMenu();
  AppendMenuW(edit, MF_STRING, 211, L"Undo");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
  HWND wnd = CreateWindowExW(WS_EX_LAYOUTRTL, L"SkinMenuBarWindow", L"Bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80,
                             360, 240, nullptr, bar, GetModuleHandleW(nullptr), nullptr);
  windows_.push_back(wnd);
  RECT window{};
  GetWindowRect(wnd, &window);
  // The system's own bar has its first item at the right end.
  const int barY = window.top + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME) + 4;
  EXPECT_EQ(MenuItemFromPoint(wnd, bar, POINT{window.right - 20, barY}), 0);
  TWinSkinForm* form = Skin(wnd);
  ASSERT_NE(form, nullptr);
  ASSERT_NE(form->MenuBar(), nullptr);
  TWinSkinMenu& skinned = *form->MenuBar();
  ASSERT_EQ(skinned.Items.size(), 2u);
  const RECT first = form->WindowToScreen(skinned.ItemRect(*skinned.Items[0]));
  const int middle = (window.left + window.right) / 2;
  EXPECT_GT(first.left, middle);
  EXPECT_LE(form->WindowToScreen(skinned.ItemRect(*skinned.Items[1])).right, first.left);

  // An item painted alone (hot or pressed) reads unmirrored as the bar does.
  skinned.PaintItem(*skinned.Items[1]);
  gui::TBitmap alone(first.right - first.left, first.bottom - first.top);
  {
    const gui::WindowDc frame = gui::WindowDc::Whole(wnd);
    const gui::SavedDcState saved(frame.get());
    SetLayout(frame.get(), 0);
    const RECT second = form->WindowToScreen(skinned.ItemRect(*skinned.Items[1]));
    BitBlt(alone.DC(), 0, 0, alone.Width(), alone.Height(), frame.get(), second.left - window.left,
           second.top - window.top, SRCCOPY);
  }
  {
    gui::FontHandle barFont = skin::SystemMenuFont(false);
    const COLORREF barText = gui::ColorToRGB(data_->Skin().Colours.MenuBarText);
    EXPECT_TRUE(skin::testing::ShowsInk(alone, RECT{0, 0, alone.Width(), alone.Height()},
                                        skin::testing::TextInk(L"Edit", barFont.get()),
                                        [barText](COLORREF c) { return c == barText; }));
  }

  g_ownerDrawnLayouts.clear();
  RECT popup{}, item{};
  DWORD popupExStyle = 0;
  gui::TBitmap shot;
  std::vector<HMENU> open;
  TMenuScript script;
  script.Steps = {[&] {
                    HWND menu = FindWindowW(L"#32768", nullptr);
                    GetWindowRect(menu, &popup);
                    GetMenuItemRect(nullptr, file, 0, &item);
                    popupExStyle = static_cast<DWORD>(GetWindowLongPtrW(menu, GWL_EXSTYLE));
                    shot.SetSize(popup.right - popup.left, popup.bottom - popup.top);
                    const gui::WindowDc dc = gui::WindowDc::Whole(menu);
                    const gui::SavedDcState saved(dc.get());
                    SetLayout(dc.get(), 0);
                    BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), dc.get(), 0, 0, SRCCOPY);
                    PostMessageW(wnd, WM_KEYDOWN, VK_LEFT, 1);
                  },
                  [&] {
                    open.push_back(form->TrackedMenu());
                    EndMenu();
                  }};
  RunMenuScript(script, [&] { PostMessageW(wnd, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(first.left + 2, first.top + 2)); });
  EXPECT_TRUE(popupExStyle & WS_EX_LAYOUTRTL);
  EXPECT_NEAR(popup.right, first.right, 2);
  EXPECT_EQ(open, (std::vector<HMENU>{edit}));
  ASSERT_FALSE(g_ownerDrawnLayouts.empty());
  EXPECT_TRUE(std::all_of(g_ownerDrawnLayouts.begin(), g_ownerDrawnLayouts.end(),
                          [](DWORD layout) { return (layout & LAYOUT_RTL) != 0; }));
  gui::FontHandle font = skin::SystemMenuFont(false);
  // The first item, selected as the menu opens: "Checked" in the menu font,
  // unmirrored, its check mark further right.
  const COLORREF text = gui::ColorToRGB(data_->Skin().Colours.HilightText);
  const auto isText = [text](COLORREF c) { return c == text; };
  const int band = skin::TWinSkinPopMenu::kFrameBand;
  const RECT row{band, item.top - popup.top, shot.Width() - band, item.bottom - popup.top};
  const std::vector<std::string> caption = skin::testing::TextInk(L"Checked", font.get());
  EXPECT_TRUE(skin::testing::ShowsInk(shot, row, caption, isText));
  // The mark stands right of the caption: inside the selected look (the
  // row's edges are in the text's colour) the last ink is a column group no
  // wider than the mark, after a gap.
  const std::vector<std::string> look = skin::testing::Ink(shot, row, [&](COLORREF c) { return !isText(c); });
  ASSERT_FALSE(look.empty());
  const int lookLeft = row.left + static_cast<int>(look[0].find('#'));
  const RECT selected{lookLeft + 4, row.top + 4, lookLeft + static_cast<int>(look[0].rfind('#')) - 4, row.bottom - 4};
  const std::vector<std::string> ink = skin::testing::Ink(shot, selected, isText);
  ASSERT_FALSE(ink.empty());
  std::string columns(ink[0].size(), '.');
  for (const std::string& line : ink)
    for (std::size_t x = 0; x < line.size(); ++x)
      if (line[x] == '#') columns[x] = '#';
  const std::size_t gap = columns.rfind("...");
  ASSERT_NE(gap, std::string::npos) << columns;
  EXPECT_LE(columns.size() - gap, static_cast<std::size_t>(GetSystemMetrics(SM_CXMENUCHECK) + 3)) << columns;
  EXPECT_GE(gap, caption[0].size()) << columns;
}

TEST_F(SkinMenuBarTest, HotAndPressedItemsAreFramedInButtonHilight) {
  gui::TApplication app;
  TBarForm bf(app);
  TWinSkinForm* form = Skin(bf.Form->Handle());
  ASSERT_NE(form, nullptr);
  TWinSkinMenu& bar = *form->MenuBar();
  TMenuBtn& edit = *bar.Items[1];
  const COLORREF hilight = gui::ColorToRGB(data_->Skin().Colours.ButtonHilight);
  const COLORREF text = gui::ColorToRGB(data_->Skin().Colours.MenuBarText);

  auto frameAndInk = [&](const gui::TBitmap& p, bool& framed, int& inked) {
    const int w = p.Width(), h = p.Height();
    framed = p.Pixel(0, 0) == hilight && p.Pixel(w - 1, 0) == hilight && p.Pixel(0, h - 2) == hilight &&
             p.Pixel(w / 2, h - 2) == hilight;
    inked = 0;
    for (int y = 1; y < h - 2; ++y)
      for (int x = 1; x < w - 1; ++x) inked += p.Pixel(x, y) == text;
  };

  // Normal: the bar's own background under the caption.
  bool framed = true;
  int inked = 0;
  frameAndInk(bar.ItemPicture(edit), framed, inked);
  EXPECT_FALSE(framed);
  EXPECT_GT(inked, 5);
  // The pointer over the item (a real non-client mouse move) makes it hot.
  SendMessageW(form->Handle(), WM_NCMOUSEMOVE, HTMENU, ScreenPointIn(*form, bar.ItemRect(edit)));
  EXPECT_EQ(edit.State, TNCObject::stHot);
  EXPECT_EQ(form->CurrentObject(), &edit);
  frameAndInk(bar.ItemPicture(edit), framed, inked);
  EXPECT_TRUE(framed);
  EXPECT_GT(inked, 5);
  // Over the next item, the first goes back to normal.
  SendMessageW(form->Handle(), WM_NCMOUSEMOVE, HTMENU, ScreenPointIn(*form, bar.ItemRect(*bar.Items[2])));
  EXPECT_EQ(edit.State, TNCObject::stNormal);
  EXPECT_EQ(bar.Items[2]->State, TNCObject::stHot);
  // Pressed looks the same as hot; the press on an item without a submenu
  // runs its click.
  SendMessageW(form->Handle(), WM_NCLBUTTONDOWN, HTMENU, ScreenPointIn(*form, bar.ItemRect(edit)));
  EXPECT_EQ(edit.State, TNCObject::stPressed);
  frameAndInk(bar.ItemPicture(edit), framed, inked);
  EXPECT_TRUE(framed);
  Drain();
  EXPECT_EQ(bf.EditClicks, 1);

  // A disabled item's caption is drawn in the system's button shadow.
  bf.Edit->SetEnabled(false);
  Drain();
  Paint(*form);
  TMenuBtn& disabled = *form->MenuBar()->Items[1];
  EXPECT_FALSE(disabled.Enabled);
  disabled.MouseLeave();
  const gui::TBitmap grey = form->MenuBar()->ItemPicture(disabled);
  int shadowed = 0;
  for (int y = 0; y < grey.Height(); ++y)
    for (int x = 0; x < grey.Width(); ++x) shadowed += grey.Pixel(x, y) == GetSysColor(COLOR_BTNSHADOW);
  EXPECT_GT(shadowed, 5);
}

// --- keys ----------------------------------------------------------------------

TEST_F(SkinMenuBarTest, AltLetterOpensTheItemAndTheSystemKeyboardMenuStaysShut) {
  gui::TApplication app;
  TBarForm bf(app);
  HWND wnd = bf.Form->Handle();
  TWinSkinForm* form = Skin(wnd);
  ASSERT_NE(form, nullptr);
  // What reaches the form's window method: in front of the skinner's, so
  // it sees the dialog character go by, but not the click the skinner
  // consumes.
  TMessageLog log;
  gui_test::MessageLog spy(bf.Form);
  spy.OnMessage = [&](const gui::TMessage& m) {
    if (m.Msg == WM_SYSCHAR || m.Msg == gui::CM_DIALOGCHAR || m.Msg == WM_COMMAND || m.Msg == WM_NCLBUTTONDOWN ||
        m.Msg == WM_SYSCOMMAND)
      log.Record(wnd, m.Msg, m.WParam, m.LParam);
  };
  {
    // Alt+E: the dialog character is the bar's; a click on "&Edit" is
    // posted, which runs its command.
    gui_test::HeldKeys alt({VK_MENU});
    log.Flush();
    SendMessageW(wnd, WM_SYSCHAR, 'e', 0x20000000);
    MSG click{};
    ASSERT_TRUE(PeekMessageW(&click, wnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_NOREMOVE));
    EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, click.lParam), HTMENU);
    const POINT at = form->ScreenToWindow(GET_X_LPARAM(click.lParam), GET_Y_LPARAM(click.lParam));
    EXPECT_EQ(form->MenuBar()->FindMenuButton(at), form->MenuBar()->Items[1].get());
    log.Pump();
  }
  OK_SEQUENCE(log,
              (std::vector<msgseq::TMsgEntry>{{WM_SYSCHAR, msgseq::sent | wparam, 'e'},
                                              {gui::CM_DIALOGCHAR, msgseq::sent | wparam, 'e'},
                                              {WM_COMMAND, posted | wparam, bf.Edit->Command()}}),
              "Alt+E on the skinned bar");
  EXPECT_EQ(bf.EditClicks, 1);

  {
    // With Ctrl as well it is no accelerator of the bar; the system's
    // keyboard menu that the default handling asks for stays shut too.
    gui_test::HeldKeys altCtrl({VK_MENU, VK_CONTROL});
    log.Flush();
    SendMessageW(wnd, WM_SYSCHAR, 'e', 0x20000000);
    log.Pump();
  }
  OK_SEQUENCE(log,
              (std::vector<msgseq::TMsgEntry>{{WM_SYSCHAR, msgseq::sent | wparam, 'e'},
                                              {gui::CM_DIALOGCHAR, msgseq::sent | wparam, 'e'}}),
              "Alt+Ctrl+E");
  EXPECT_EQ(bf.EditClicks, 1);

  // SC_KEYMENU: Alt alone (here left again with Escape) and the bar's
  // letters are answered by the skin; another letter, the blank (system
  // menu) and "-" go on.
  PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
  EXPECT_EQ(SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, 'h'), 1);
  EXPECT_EQ(form->FindAccelButton(L'H'), form->MenuBar()->Items[2].get());
  EXPECT_EQ(form->FindAccelButton(L'q'), nullptr);
  bf.Help->SetEnabled(false);
  Drain();
  EXPECT_EQ(form->FindAccelButton(L'h'), nullptr);  // disabled items have none
}

TEST_F(SkinMenuBarTest, ArrowKeysMoveBetweenOpenSubmenusAndWrapAround) {
  gui::TApplication app;
  TBarForm bf(app);
  // A disabled item at the end: the keys go past it.
  gui::TMenuItem* gone = bf.Menu->Items().Add(L"&Gone");
  gone->Add(L"&Never");
  gone->SetEnabled(false);
  HWND wnd = bf.Form->Handle();
  TWinSkinForm* form = Skin(wnd);
  ASSERT_NE(form, nullptr);
  TWinSkinMenu& bar = *form->MenuBar();
  const HMENU file = bf.File->Handle(), help = bf.Help->Handle();

  // Which submenu is open at each step, while it is open.
  std::vector<HMENU> open;
  std::vector<int> index;
  auto record = [&] {
    open.push_back(form->MenuTracking() ? form->TrackedMenu() : nullptr);
    index.push_back(skin::CurrentMenuTracking().TrackedIndex);
  };
  auto key = [wnd](WPARAM vk) { PostMessageW(wnd, WM_KEYDOWN, vk, 0); };
  // The pointer moved to a point of an item (window coordinates), as the
  // menu's loop sees it.
  auto pointTo = [&](const RECT& r, int dx) {
    RECT window{};
    GetWindowRect(wnd, &window);
    SetCursorPos(window.left + r.left + dx, window.top + (r.top + r.bottom) / 2);
    PostMessageW(wnd, WM_MOUSEMOVE, 0, 0);
  };
  const RECT fileBounds = bar.ItemRect(*bar.Items[0]);
  const RECT editBounds = bar.ItemRect(*bar.Items[1]);
  TMenuScript script;
  script.Steps = {
      [&] { record(); key(VK_RIGHT); },          // past the disabled last item: the first opens
      [&] { record(); key(VK_LEFT); },           // on the first: the last that opens opens
      [&] { record(); pointTo(fileBounds, 3); },  // the mouse onto "File" opens it
      [&] { record(); pointTo(fileBounds, 8); },  // moving within it changes nothing
      [&] { record(); key(VK_RIGHT); },          // past "Edit", which has no submenu
      [&] { record(); pointTo(editBounds, 3); },  // over "Edit": nothing runs, "Help" stays
      [&] { record(); key(VK_ESCAPE); EndMenu(); },
  };
  // A real click on "&Help".
  RunMenuScript(script, [&] {
    PostMessageW(wnd, WM_NCLBUTTONDOWN, HTMENU, ScreenPointIn(*form, bar.ItemRect(*bar.Items[2])));
  });
  EXPECT_EQ(open, (std::vector<HMENU>{help, file, help, file, file, help, help}));
  EXPECT_EQ(index, (std::vector<int>{2, 0, 2, 0, 0, 2, 2}));
  EXPECT_EQ(bf.EditClicks, 0);
  // Closed again: nothing tracked, no hook left, the items as they were.
  EXPECT_FALSE(form->MenuTracking());
  EXPECT_FALSE(skin::CurrentMenuTracking().Hook);
  EXPECT_EQ(skin::CurrentMenuTracking().TrackedIndex, -1);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(file, 0, TRUE, &info);
  EXPECT_FALSE(info.fType & MFT_OWNERDRAW);

  // The very first key in the open menu moves on to "File": the Down key
  // that selects a menu's first item is never left behind for the form
  // once the menu has ended.
  gone->SetVisible(false);
  Drain();
  int strayDowns = 0;
  gui_test::MessageLog spy(bf.Form);
  spy.OnMessage = [&](const gui::TMessage& m) { strayDowns += m.Msg == WM_KEYDOWN && m.WParam == VK_DOWN; };
  open.clear();
  index.clear();
  TMenuScript second;
  second.Steps = {[&] { record(); key(VK_ESCAPE); EndMenu(); }};
  RunMenuScript(second, [&] {
    PostMessageW(wnd, WM_NCLBUTTONDOWN, HTMENU, ScreenPointIn(*form, form->MenuBar()->ItemRect(*form->MenuBar()->Items[2])));
    PostMessageW(wnd, WM_KEYDOWN, VK_RIGHT, 1);
  });
  EXPECT_EQ(open, (std::vector<HMENU>{file}));
  EXPECT_EQ(strayDowns, 0);
}

// --- menu changes ----------------------------------------------------------------

TEST_F(SkinMenuBarTest, ItemsAddedWhileSkinnedAppearAndTheBarStaysOff) {
  gui::TApplication app;
  TBarForm bf(app);
  HWND wnd = bf.Form->Handle();
  HMENU own = GetMenu(wnd);
  TWinSkinForm* form = Skin(wnd);
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(form->MenuBar()->Items.size(), 3u);

  gui::TMenuItem* tools = bf.Menu->Items().Add(L"&Tools");
  Drain();
  EXPECT_EQ(GetMenu(wnd), nullptr);  // the form put it back; the skin took it off again
  ASSERT_EQ(form->MenuBar()->Items.size(), 4u);
  EXPECT_EQ(form->MenuBar()->Items[3]->Caption, L"&Tools");
  EXPECT_EQ(form->MenuBar()->Items[3]->Command, tools->Command());
  bf.Edit->SetCaption(L"&Change");
  Drain();
  EXPECT_EQ(form->MenuBar()->Items[1]->Caption, L"&Change");

  // Without MenuUpdate the bar keeps what it shows, and the system's still
  // stays off the window.
  data_->SetMenuUpdate(false);
  bf.Menu->Items().Add(L"&Later");
  Drain();
  EXPECT_EQ(GetMenu(wnd), nullptr);
  EXPECT_EQ(form->MenuBar()->Items.size(), 4u);
  data_->SetMenuUpdate(true);

  // Detach gives the form its bar back with everything in it.
  SkinOff();
  EXPECT_EQ(GetMenu(wnd), own);
  EXPECT_EQ(GetMenuItemCount(own), 5);
}

TEST_F(SkinMenuBarTest, AMenuGivenToASkinnedFormOrTakenAwayIsFollowed) {
  gui::TApplication app;
  auto* form = new gui::TForm(&app);
  form->SetClientWidth(300);
  form->SetClientHeight(160);
  form->HandleNeeded();
  form->Show();
  HWND wnd = form->Handle();
  TWinSkinForm* skinner = Skin(wnd);
  ASSERT_NE(skinner, nullptr);
  ASSERT_EQ(skinner->MenuBar(), nullptr);
  RECT before{};
  GetClientRect(wnd, &before);

  // A menu for a form that had none: the skinned bar appears, the window
  // keeps its size and the client area makes room for the band.
  auto* menu = new gui::TMainMenu(form);
  menu->Items().Add(L"&File")->Add(L"&Open");
  form->SetMenu(menu);
  Drain();
  ASSERT_NE(skinner->MenuBar(), nullptr);
  EXPECT_EQ(GetMenu(wnd), nullptr);
  EXPECT_EQ(skinner->MenuHeight(), GetSystemMetrics(SM_CYMENU));
  ASSERT_EQ(skinner->MenuBar()->Items.size(), 1u);
  EXPECT_EQ(skinner->MenuBar()->Items[0]->Caption, L"&File");
  RECT with{};
  GetClientRect(wnd, &with);
  EXPECT_EQ(with.bottom, before.bottom - skinner->MenuHeight());

  // Taken away: the bar and its band go, and switching off puts nothing
  // back on the window.
  form->SetMenu(nullptr);
  Drain();
  EXPECT_EQ(skinner->MenuBar(), nullptr);
  EXPECT_EQ(skinner->MenuHeight(), 0);
  RECT without{};
  GetClientRect(wnd, &without);
  EXPECT_EQ(without.bottom, before.bottom);
  SkinOff();
  EXPECT_EQ(GetMenu(wnd), nullptr);
  delete form;
}

// --- owner-drawn items -------------------------------------------------------------

class MenuItemDrawTest : public SkinMenuBarTest {
 protected:
  static constexpr int kWidth = 160, kHeight = 22;

  gui::TBitmap Drawn(gui::TMenuItem& item, bool selected = false) {
    gui::TBitmap picture(kWidth, kHeight);
    skin::SkinMenuItemDraw(*form_, item, picture.DC(), RECT{0, 0, kWidth, kHeight}, selected, nullptr);
    return picture;
  }
  static int Count(const gui::TBitmap& b, COLORREF c, RECT area = RECT{0, 0, kWidth, kHeight}) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) n += b.Pixel(x, y) == c;
    return n;
  }
  // The leftmost column with a pixel of the colour, or -1.
  static int FirstColumn(const gui::TBitmap& b, COLORREF c) {
    for (int x = 0; x < kWidth; ++x)
      for (int y = 0; y < kHeight; ++y)
        if (b.Pixel(x, y) == c) return x;
    return -1;
  }

  void SetUp() override {
    SkinMenuBarTest::SetUp();
    app_ = std::make_unique<gui::TApplication>();
    bf_ = std::make_unique<TBarForm>(*app_);
    form_ = Skin(bf_->Form->Handle());
    ASSERT_NE(form_, nullptr);
  }
  void TearDown() override {
    bf_.reset();
    app_.reset();
    SkinMenuBarTest::TearDown();
  }
  std::unique_ptr<gui::TApplication> app_;
  std::unique_ptr<TBarForm> bf_;
  TWinSkinForm* form_ = nullptr;
};

TEST_F(MenuItemDrawTest, MarksColoursBoldAndSeparators) {
  const skin::TDataSkinObject& element = *data_->Skin().MenuItem;
  const core::SkinColours& colours = data_->Skin().Colours;
  const COLORREF text = gui::ColorToRGB(colours.MenuText);
  gui::TMenuItem* item = bf_->Open;
  // The glyph box: 16 square after the element's left margin and 1.
  const RECT box{1 + element.LeftWidth, 1, 17 + element.LeftWidth, 17};

  const gui::TBitmap plain = Drawn(*item);
  EXPECT_EQ(Count(plain, text, box), 0);
  EXPECT_GT(Count(plain, text), 10);
  item->SetChecked(true);
  const gui::TBitmap checked = Drawn(*item);
  EXPECT_GT(Count(checked, text, box), 4);  // the check mark
  item->SetRadioItem(true);
  const gui::TBitmap radio = Drawn(*item);
  EXPECT_GT(Count(radio, text, box), 4);
  EXPECT_NE(Count(radio, text, box), Count(checked, text, box));  // a bullet, not a tick
  item->SetChecked(false);
  item->SetRadioItem(false);

  // Selected: the element's selected frame and the HilightText colour.
  const gui::TBitmap selected = Drawn(*item, true);
  EXPECT_GT(Count(selected, gui::ColorToRGB(colours.HilightText)), 10);

  // Disabled: ButtonShadow, or the system's when the skin has it equal to MenuText.
  item->SetEnabled(false);
  const COLORREF shadow =
      colours.ButtonShadow == colours.MenuText ? GetSysColor(COLOR_BTNSHADOW) : gui::ColorToRGB(colours.ButtonShadow);
  const gui::TBitmap disabled = Drawn(*item);
  EXPECT_GT(Count(disabled, shadow), 10);
  EXPECT_EQ(Count(disabled, text), 0);
  item->SetEnabled(true);

  // The default item is bold: more ink, the caption starting at the same place.
  item->SetDefault(true);
  const gui::TBitmap bold = Drawn(*item);
  EXPECT_GT(Count(bold, text), Count(plain, text) + 5);
  EXPECT_EQ(FirstColumn(bold, text), FirstColumn(plain, text));
  item->SetDefault(false);

  // A separator by the skinned routine: frame 2 of the MenuItem strip.
  gui::TMenuItem* line = bf_->File->Items()[1];
  ASSERT_TRUE(line->IsLine());
  const gui::TBitmap separator = Drawn(*line);
  const int fw = element.Image.Width() / 5;
  const int sy = kHeight < element.Image.Height() ? element.Image.Height() - kHeight : 0;
  const COLORREF source = element.Image.Pixel(fw + element.LeftWidth + 1, sy + kHeight / 2);
  if (source != skin::TransparentColour) {
    EXPECT_EQ(separator.Pixel(kWidth / 2, kHeight / 2), source);
  }
  EXPECT_EQ(Count(separator, text), 0);
  // By the window-menu routine a "-" is the etched line.
  auto windowItem = skin::MenuItemFromHandle(nullptr, 0);
  EXPECT_EQ(windowItem->Caption(), L"-");
  gui::TBitmap etched(kWidth, kHeight);
  skin::DrawWindowMenuItem(*form_, *windowItem, etched.DC(), RECT{0, 0, kWidth, kHeight}, false, nullptr);
  EXPECT_GT(Count(etched, GetSysColor(COLOR_BTNSHADOW), RECT{0, 4, kWidth, 5}), kWidth / 2);
}

TEST_F(MenuItemDrawTest, ACheckedImageSitsOnASunkenDitheredBox) {
  auto* images = new gui::TImageList(bf_->Form, 16, 16);
  // A red square in the middle of a magenta (transparent) picture.
  const COLORREF red = RGB(200, 0, 0);
  gui::WindowDc screen = gui::WindowDc::Client(nullptr);
  gui::BitmapHandle strip(CreateCompatibleBitmap(screen.get(), 16, 16));
  {
    gui::MemoryDcHandle dc(CreateCompatibleDC(screen.get()));
    gui::SelectGuard select(dc.get(), strip.get());
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) SetPixel(dc.get(), x, y, (x >= 4 && x < 12 && y >= 4 && y < 12) ? red : RGB(255, 0, 255));
  }
  ASSERT_TRUE(images->AddMasked(strip.get(), RGB(255, 0, 255)));
  bf_->Menu->SetImages(images);
  gui::TMenuItem* item = bf_->Open;
  item->SetImageIndex(0);
  const int left = 1 + data_->Skin().MenuItem->LeftWidth;

  const gui::TBitmap unchecked = Drawn(*item);
  EXPECT_EQ(unchecked.Pixel(left + 8, 9), red);
  item->SetChecked(true);
  const gui::TBitmap checked = Drawn(*item);
  EXPECT_EQ(checked.Pixel(left + 8, 9), red);  // the image, not a check mark
  // Around it the box: the sunken edge's shadow at its top-left, the
  // dither of face and highlight inside.
  EXPECT_EQ(checked.Pixel(left + 5, 0 + 1), GetSysColor(COLOR_BTNSHADOW));
  const COLORREF a = checked.Pixel(left + 2, 3), b = checked.Pixel(left + 3, 3);
  EXPECT_NE(a, b);
  EXPECT_TRUE(a == GetSysColor(COLOR_BTNFACE) || a == GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_TRUE(b == GetSysColor(COLOR_BTNFACE) || b == GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_TRUE(unchecked.Pixel(left + 2, 3) != a || unchecked.Pixel(left + 3, 3) != b);
  bf_->Menu->SetImages(nullptr);
}

TEST_F(MenuItemDrawTest, RightToLeftItemsMirrorTheirLayout) {
  const COLORREF text = gui::ColorToRGB(data_->Skin().Colours.MenuText);
  gui::TMenuItem* item = bf_->Open;
  const gui::TBitmap ltr = Drawn(*item);
  bf_->Menu->SetBiDiMode(gui::TBiDiMode::bdRightToLeft);
  item->SetChecked(true);
  const gui::TBitmap rtl = Drawn(*item);
  const int leftWidth = data_->Skin().MenuItem->LeftWidth;
  // The caption at the right, the check mark in the box at the right end.
  EXPECT_GT(FirstColumn(rtl, text), kWidth / 2);
  EXPECT_LT(FirstColumn(ltr, text), kWidth / 2);
  EXPECT_GT(Count(rtl, text, RECT{kWidth - 17 - leftWidth, 1, kWidth - 1 - leftWidth, 17}), 4);
}

TEST_F(MenuItemDrawTest, APopupMenuOfASkinnedFormIsDrawnAndGivenBack) {
  auto* popup = new gui::TPopupMenu(bf_->Form);
  gui::TMenuItem* cut = popup->Items().Add(L"Cu&t");
  bool ownDrawn = false;
  gui::TMenuItem* own = popup->Items().Add(L"Own");
  own->OnDrawItem = [&](gui::TMenuItem*, HDC, const RECT&, UINT) { ownDrawn = true; };
  // A skin change takes over popup menus made since the form was skinned.
  form_->RefreshSkin();
  EXPECT_TRUE(popup->OwnerDraw);
  ASSERT_TRUE(static_cast<bool>(cut->OnDrawItem));

  // The form's popup item, drawn through the window: no longer blank.
  gui::TBitmap picture(kWidth, kHeight);
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemID = cut->Command();
  draw.itemAction = ODA_DRAWENTIRE;
  draw.hwndItem = reinterpret_cast<HWND>(popup->Handle());
  draw.hDC = picture.DC();
  draw.rcItem = RECT{0, 0, kWidth, kHeight};
  draw.itemData = reinterpret_cast<ULONG_PTR>(cut);
  EXPECT_EQ(SendMessageW(form_->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), TRUE);
  EXPECT_GT(Count(picture, gui::ColorToRGB(data_->Skin().Colours.MenuText)), 10);
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemID = cut->Command();
  measure.itemData = reinterpret_cast<ULONG_PTR>(cut);
  SendMessageW(form_->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  EXPECT_GE(static_cast<int>(measure.itemWidth), MenuTextWidth(L"Cut") + 12 + 23);
  // The application's own handler draws its own item.
  draw.itemID = own->Command();
  draw.itemData = reinterpret_cast<ULONG_PTR>(own);
  SendMessageW(form_->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  EXPECT_TRUE(ownDrawn);

  // An item added while skinned gets the skin's handlers when it is first
  // measured, and loses them at detach like the rest; the application's stays.
  gui::TMenuItem* later = popup->Items().Add(L"Later");
  EXPECT_FALSE(static_cast<bool>(later->OnDrawItem));
  measure.itemID = later->Command();
  measure.itemData = reinterpret_cast<ULONG_PTR>(later);
  SendMessageW(form_->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  EXPECT_TRUE(static_cast<bool>(later->OnDrawItem));
  EXPECT_GE(static_cast<int>(measure.itemWidth), MenuTextWidth(L"Later") + 12 + 23);
  SkinOff();
  EXPECT_FALSE(popup->OwnerDraw);
  EXPECT_FALSE(static_cast<bool>(cut->OnDrawItem));
  EXPECT_FALSE(static_cast<bool>(cut->OnMeasureItem));
  EXPECT_FALSE(static_cast<bool>(later->OnDrawItem));
  EXPECT_TRUE(static_cast<bool>(own->OnDrawItem));
}

}  // namespace
