// A plain program's dialog with one of every standard and common control (a
// dialog template, no framework form: static texts, frames and etched lines,
// a group box, list and combo boxes, owner-drawn ones among them, a memo, a
// rich edit, a tree view, a header, a toolbar, a rebar, a link, hot-key and
// IP-address fields, a month calendar, a date picker, track and progress
// bars, up-down arrows, a list view, a status bar, a tab control with a
// dialog page inside it and a plain window with scroll bars), skinned by the
// manager's hook under the project's skins: nothing left light under the
// dark skin, each class in the skin's colours or pictures, the program's own
// drawing (owner-drawn list, combo and header items) left alone, and every window given back exactly at skin-off. When
// SKIN_SHOT_DIR names a folder, the shots are written there as bitmaps
// (scripts/look-census measures them).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "gui/forms.h"
#include "gui/tests/form_fixture.h"
#include "gui/text.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/contrast_switch.h"
#include "skin/manager/tests/dialog_template.h"
#include "skin/manager/tests/program_fixture.h"
#include "skin/manager/tests/shot_file.h"

namespace {

enum : WORD {
  kLabel = 100, kEtchedLine, kEtchedFrame, kBlackFrame, kGrayRect, kSunken, kGroup, kCheck, kRadio, kPush, kList,
  kOwnerList, kCombo, kSimpleCombo, kOwnerCombo, kMemo, kRich, kTree, kHeader, kToolbar, kRebar, kLink, kHotKey,
  kIpAddress, kScrollBar, kMonthCal, kDate, kTrack, kProgress, kSpinEdit, kUpDown, kListView, kStatus, kTabs, kPlain,
  kPage, kPageLabel, kPageEdit, kPageCheck
};

// What the program draws itself in its owner-drawn lists.
constexpr COLORREF kOwnItem = RGB(170, 40, 40);
constexpr COLORREF kOwnItemText = RGB(250, 240, 60);

const wchar_t kPlainClass[] = L"EveryControlPlainWindow";

void DrawOwnItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  gui::BrushHandle fill(CreateSolidBrush(kOwnItem));
  FillRect(item.hDC, &item.rcItem, fill.get());
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, kOwnItemText);
  wchar_t text[32];
  const int n = swprintf(text, 32, L"Own %u", item.itemID);
  TextOutW(item.hDC, item.rcItem.left + 2, item.rcItem.top, text, n);
}

HWND g_page = nullptr;

INT_PTR CALLBACK PageProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// The tab control's page: a dialog of its own inside the tab's display area.
HWND MakePage(HWND dialog) {
  engine_test::TDialogTemplate page(L"", 90, 60, WS_CHILD | WS_VISIBLE | DS_CONTROL);
  page.Item(kPageLabel, 0x0082, SS_LEFT, L"On the page", 4, 4, 80, 8);
  page.Item(kPageEdit, 0x0081, WS_BORDER | ES_AUTOHSCROLL, L"page text", 4, 16, 80, 12);
  page.Item(kPageCheck, 0x0080, BS_AUTOCHECKBOX, L"Page option", 4, 32, 80, 10);
  HWND wnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), page.Get(), dialog, PageProc, 0);
  SetWindowLongPtrW(wnd, GWLP_ID, kPage);
  HWND tabs = GetDlgItem(dialog, kTabs);
  RECT display{};
  GetClientRect(tabs, &display);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  MapWindowPoints(tabs, dialog, reinterpret_cast<POINT*>(&display), 2);
  SetWindowPos(wnd, HWND_TOP, display.left, display.top, display.right - display.left, display.bottom - display.top, 0);
  return wnd;
}

void FillControls(HWND dialog) {
  const auto send = [dialog](WORD id, UINT msg, WPARAM w = 0, LPARAM l = 0) {
    return SendDlgItemMessageW(dialog, id, msg, w, l);
  };
  for (int i = 1; i <= 12; ++i) {
    const std::wstring text = L"Entry number " + std::to_wstring(i);
    const auto item = reinterpret_cast<LPARAM>(text.c_str());
    send(kList, LB_ADDSTRING, 0, item);
    send(kOwnerList, LB_ADDSTRING, 0, item);
    if (i <= 3) send(kOwnerCombo, CB_ADDSTRING, 0, item);
    send(kCombo, CB_ADDSTRING, 0, item);
    send(kSimpleCombo, CB_ADDSTRING, 0, item);
  }
  send(kCombo, CB_SETCURSEL, 0);
  send(kOwnerCombo, CB_SETCURSEL, 1);
  std::wstring memo;
  for (int i = 1; i <= 12; ++i) memo += L"Line " + std::to_wstring(i) + L" of a memo that is wider than its box\r\n";
  SetDlgItemTextW(dialog, kMemo, memo.c_str());
  SetDlgItemTextW(dialog, kRich, memo.c_str());
  CheckDlgButton(dialog, kCheck, BST_CHECKED);

  TVINSERTSTRUCTW node{};
  node.hInsertAfter = TVI_LAST;
  node.item.mask = TVIF_TEXT;
  for (int i = 1; i <= 3; ++i) {
    node.hParent = TVI_ROOT;
    std::wstring text = L"Folder " + std::to_wstring(i);
    node.item.pszText = text.data();
    const auto parent = reinterpret_cast<HTREEITEM>(send(kTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&node)));
    for (int j = 1; j <= 3; ++j) {
      node.hParent = parent;
      std::wstring leaf = L"A file with a long name " + std::to_wstring(j);
      node.item.pszText = leaf.data();
      send(kTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&node));
    }
    send(kTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
  }

  HDITEMW column{};
  column.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
  column.fmt = HDF_STRING;
  column.cxy = 70;
  column.pszText = const_cast<wchar_t*>(L"Name");
  send(kHeader, HDM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&column));
  column.pszText = const_cast<wchar_t*>(L"Size");
  column.fmt = HDF_OWNERDRAW;
  send(kHeader, HDM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&column));

  send(kToolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  send(kToolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  TBBUTTON buttons[3]{};
  const wchar_t* captions[] = {L"New", L"Open", L"Save"};
  for (int i = 0; i < 3; ++i) {
    buttons[i].iBitmap = I_IMAGENONE;
    buttons[i].idCommand = 200 + i;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    buttons[i].iString = reinterpret_cast<INT_PTR>(captions[i]);
  }
  send(kToolbar, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));

  REBARBANDINFOW band{};
  band.cbSize = REBARBANDINFOW_V3_SIZE;
  band.fMask = RBBIM_TEXT | RBBIM_STYLE | RBBIM_SIZE;
  band.fStyle = RBBS_GRIPPERALWAYS;
  band.lpText = const_cast<wchar_t*>(L"Band");
  band.cx = 120;
  send(kRebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));

  send(kHotKey, HKM_SETHOTKEY, MAKEWORD('K', HOTKEYF_CONTROL));
  send(kIpAddress, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 20));
  SCROLLINFO range{sizeof(SCROLLINFO), SIF_ALL, 0, 100, 20, 30, 0};
  SetScrollInfo(GetDlgItem(dialog, kScrollBar), SB_CTL, &range, TRUE);
  send(kTrack, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  send(kTrack, TBM_SETPOS, TRUE, 4);
  send(kProgress, PBM_SETPOS, 60);
  send(kUpDown, UDM_SETRANGE32, 0, 100);
  send(kUpDown, UDM_SETPOS32, 0, 12);

  LVCOLUMNW lvColumn{};
  lvColumn.mask = LVCF_TEXT | LVCF_WIDTH;
  lvColumn.cx = 120;
  lvColumn.pszText = const_cast<wchar_t*>(L"Name");
  send(kListView, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&lvColumn));
  LVITEMW row{};
  row.mask = LVIF_TEXT;
  row.pszText = const_cast<wchar_t*>(L"First row");
  send(kListView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));

  const int parts[] = {120, 260, -1};
  send(kStatus, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  send(kStatus, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Ready"));
  send(kStatus, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"12 files"));

  TCITEMW tab{};
  tab.mask = TCIF_TEXT;
  tab.pszText = const_cast<wchar_t*>(L"One");
  send(kTabs, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&tab));
  tab.pszText = const_cast<wchar_t*>(L"Two");
  send(kTabs, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&tab));
  g_page = MakePage(dialog);

  HWND plain = GetDlgItem(dialog, kPlain);
  SCROLLINFO bars{sizeof(SCROLLINFO), SIF_ALL, 0, 200, 50, 10, 0};
  SetScrollInfo(plain, SB_VERT, &bars, TRUE);
  SetScrollInfo(plain, SB_HORZ, &bars, TRUE);
}

INT_PTR CALLBACK EveryControlProc(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      FillControls(dialog);
      // No caret blinks in the pictures.
      SetFocus(GetDlgItem(dialog, kPush));
      return FALSE;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 14;
      return TRUE;
    case WM_DRAWITEM:
      DrawOwnItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    default:
      return FALSE;
  }
}

// The windows a test compares before the skin and after it: each one's
// procedure, styles, place, properties and the pixels of the whole dialog.
struct TWindowState {
  HWND Wnd;
  LONG_PTR Proc, Style, ExStyle;
  RECT Rect;
  int Properties;
  bool operator==(const TWindowState& o) const {
    return Wnd == o.Wnd && Proc == o.Proc && Style == o.Style && ExStyle == o.ExStyle && EqualRect(&Rect, &o.Rect) &&
           Properties == o.Properties;
  }
};

BOOL CALLBACK CountProperty(HWND, LPWSTR, HANDLE, ULONG_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

TWindowState StateOf(HWND wnd) {
  TWindowState state{wnd, GetWindowLongPtrW(wnd, GWLP_WNDPROC), GetWindowLongPtrW(wnd, GWL_STYLE),
                     GetWindowLongPtrW(wnd, GWL_EXSTYLE), {}, 0};
  GetWindowRect(wnd, &state.Rect);
  EnumPropsExW(wnd, CountProperty, reinterpret_cast<LPARAM>(&state.Properties));
  return state;
}

BOOL CALLBACK CollectState(HWND wnd, LPARAM list) {
  reinterpret_cast<std::vector<TWindowState>*>(list)->push_back(StateOf(wnd));
  return TRUE;
}

std::vector<TWindowState> StatesUnder(HWND dialog) {
  std::vector<TWindowState> states{StateOf(dialog)};
  EnumChildWindows(dialog, CollectState, reinterpret_cast<LPARAM>(&states));
  return states;
}

using engine_test::kDarkFace;
using engine_test::kDarkText;
using engine_test::kDarkWindow;

int Luminance(COLORREF c) { return (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) / 1000; }

class EveryControl : public engine_test::TProgramTest {
 protected:
  static void SetUpTestSuite() {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                                                        ICC_USEREX_CLASSES | ICC_COOL_CLASSES |
                                                                        ICC_INTERNET_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&classes);
    LoadLibraryW(L"riched20.dll");
    WNDCLASSEXW plain{};
    plain.cbSize = sizeof plain;
    plain.lpfnWndProc = DefWindowProcW;
    plain.hInstance = GetModuleHandleW(nullptr);
    plain.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    plain.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    plain.lpszClassName = kPlainClass;
    RegisterClassExW(&plain);
  }
  void TearDown() override {
    if (dialog_) DestroyWindow(dialog_);
    TProgramTest::TearDown();
  }
  void OpenDialog() {
    engine_test::TDialogTemplate t(L"Every control", 420, 280);
    t.Item(kLabel, 0x0082, SS_LEFT, L"Name of the scan:", 5, 5, 100, 8);
    t.Item(kEtchedLine, 0x0082, SS_ETCHEDHORZ, L"", 5, 15, 100, 1);
    t.Item(kEtchedFrame, 0x0082, SS_ETCHEDFRAME, L"", 5, 19, 40, 18);
    t.Item(kBlackFrame, 0x0082, SS_BLACKFRAME, L"", 50, 19, 25, 18);
    t.Item(kGrayRect, 0x0082, SS_GRAYRECT, L"", 80, 19, 25, 18);
    t.Item(kSunken, 0x0082, SS_SUNKEN | SS_CENTER, L"Sunken", 5, 40, 100, 10);
    t.Item(kGroup, 0x0080, BS_GROUPBOX, L"Options", 5, 53, 100, 38);
    t.Item(kCheck, 0x0080, BS_AUTOCHECKBOX, L"Scan memory", 10, 64, 90, 10);
    t.Item(kRadio, 0x0080, BS_AUTORADIOBUTTON, L"Quick scan", 10, 77, 90, 10);
    t.Item(kPush, 0x0080, BS_PUSHBUTTON, L"Push", 5, 95, 45, 14);
    t.Item(kList, 0x0083, WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, L"", 5, 112, 100, 40);
    t.Item(kOwnerList, 0x0083,
           WS_BORDER | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, L"", 5, 155, 100, 36);
    t.Item(kCombo, 0x0085, CBS_DROPDOWN | WS_VSCROLL, L"", 5, 194, 100, 60);
    t.Item(kSimpleCombo, 0x0085, CBS_SIMPLE | WS_VSCROLL, L"", 5, 210, 100, 40);
    t.Item(kOwnerCombo, 0x0085, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL, L"", 5, 254, 100,
           60);
    t.Item(kMemo, 0x0081, WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE, L"", 110, 5, 100, 45);
    t.Item(kRich, 0, WS_BORDER | WS_VSCROLL | ES_MULTILINE, L"", 110, 54, 100, 40, RICHEDIT_CLASSW);
    t.Item(kTree, 0, WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, L"", 110, 98, 100, 60, WC_TREEVIEWW);
    t.Item(kHeader, 0, HDS_BUTTONS, L"", 110, 162, 100, 12, WC_HEADERW);
    t.Item(kToolbar, 0, CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_FLAT | TBSTYLE_LIST, L"", 110, 178,
           100, 16, TOOLBARCLASSNAMEW);
    t.Item(kRebar, 0, CCS_NOPARENTALIGN | CCS_NORESIZE | RBS_BANDBORDERS, L"", 110, 198, 100, 16, REBARCLASSNAMEW);
    t.Item(kLink, 0, 0, L"Read <a>the manual</a>", 110, 218, 100, 10, WC_LINK);
    t.Item(kHotKey, 0, 0, L"", 110, 231, 100, 12, HOTKEY_CLASSW);
    t.Item(kIpAddress, 0, 0, L"", 110, 246, 100, 12, WC_IPADDRESSW);
    t.Item(kScrollBar, 0x0084, SBS_HORZ, L"", 110, 262, 100, 10);
    t.Item(kMonthCal, 0, 0, L"", 215, 5, 100, 90, MONTHCAL_CLASSW);
    t.Item(kDate, 0, 0, L"", 215, 99, 100, 12, DATETIMEPICK_CLASSW);
    t.Item(kTrack, 0, TBS_AUTOTICKS, L"", 215, 114, 100, 20, TRACKBAR_CLASSW);
    t.Item(kProgress, 0, 0, L"", 215, 137, 100, 10, PROGRESS_CLASSW);
    t.Item(kSpinEdit, 0x0081, WS_BORDER | ES_NUMBER, L"", 215, 151, 40, 12);
    t.Item(kUpDown, 0, UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_AUTOBUDDY, L"", 255, 151, 10, 12, UPDOWN_CLASSW);
    t.Item(kListView, 0, WS_BORDER | LVS_REPORT, L"", 215, 167, 100, 50, WC_LISTVIEWW);
    t.Item(kTabs, 0, 0, L"", 320, 5, 95, 90, WC_TABCONTROLW);
    t.Item(kPlain, 0, WS_BORDER | WS_VSCROLL | WS_HSCROLL, L"", 320, 100, 95, 60, kPlainClass);
    t.Item(kStatus, 0, 0, L"", 0, 0, 0, 0, STATUSCLASSNAMEW);
    dialog_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.Get(), nullptr, EveryControlProc, 0);
    ASSERT_NE(dialog_, nullptr);
    ShowWindow(dialog_, SW_SHOW);
    SetActiveWindow(dialog_);
    skin_test::DrainMessages();
    skin_test::WaitForPendingAction();
  }
  HWND Item(WORD id) const {
    if (id == kPage) return g_page;
    if (id >= kPageLabel) return GetDlgItem(g_page, id);
    return GetDlgItem(dialog_, id);
  }
  skin::TWinSkinForm& Skinner() const { return *skin::ThreadSkinManager()->FindFormSkinner(dialog_); }
  std::string SkinnerOf(WORD id) const { return controls_test::SkinnerClassOf(Skinner(), Item(id)); }
  // A control's window rectangle in the dialog's picture.
  RECT Area(WORD id) const {
    RECT r{}, window{};
    GetWindowRect(Item(id), &r);
    GetWindowRect(dialog_, &window);
    OffsetRect(&r, -window.left, -window.top);
    return r;
  }
  // Pixels of the area lighter than 170 (as scripts/look-census counts
  // them) that are not the dark skin's text (or the skin's own light
  // colours given): what the system left light.
  static int SystemLight(const gui::TBitmap& shot, const RECT& r, std::initializer_list<COLORREF> skinOwn = {kDarkText}) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const COLORREF c = shot.Pixel(x, y);
        n += Luminance(c) > 170 && std::find(skinOwn.begin(), skinOwn.end(), c) == skinOwn.end();
      }
    return n;
  }
  // The pixel `inset` pixels in from the area's right edge, half way down.
  static COLORREF RightOf(const gui::TBitmap& shot, const RECT& r, int inset) {
    return shot.Pixel(r.right - inset, (r.top + r.bottom) / 2);
  }

  HWND dialog_ = nullptr;
};

// Under each of the project's skins every class gets the skinner its line
// names (the program's own panel of no line its scroll bars only).
TEST_F(EveryControl, EachClassGetsTheSkinnerOfItsLineUnderEverySkin) {
  const std::vector<std::pair<WORD, std::string>> expected = {
      {kLabel, "none"}, {kEtchedLine, "TSkinStaticFrame"}, {kEtchedFrame, "TSkinStaticFrame"},
      {kBlackFrame, "TSkinStaticFrame"}, {kGrayRect, "TSkinStaticFrame"}, {kSunken, "TSkinStaticFrame"},
      {kGroup, "TSkinGroupBox"}, {kCheck, "TSkinCheckBox"}, {kRadio, "TSkinRadioButton"}, {kPush, "TSkinButton"},
      {kList, "TSkinScrollbar"}, {kOwnerList, "TSkinScrollbar"}, {kCombo, "TSkinComBox"},
      {kSimpleCombo, "TSkinComBox"}, {kOwnerCombo, "TSkinComBox"}, {kMemo, "TSkinScrollbar"},
      {kRich, "TSkinRichEdit"}, {kTree, "TSkinScrollbar"}, {kHeader, "TSkinHeader"}, {kToolbar, "TSkinToolBar"},
      {kRebar, "TSkinRebar"}, {kLink, "TSkinLink"}, {kHotKey, "TSkinField"}, {kIpAddress, "TSkinField"},
      {kScrollBar, "TSkinScControl"}, {kMonthCal, "TSkinCalendar"}, {kDate, "TSkinComBox"},
      {kTrack, "TSkinTrackBar"}, {kProgress, "TSkinProgress"}, {kSpinEdit, "TSkinEdit"}, {kUpDown, "TSkinUpDown"},
      {kListView, "TSkinListView"}, {kStatus, "TSkinStatusBar"}, {kTabs, "TSkinTab"}, {kPlain, "TSkinScrollbar"},
      {kPage, "TSkinColourRelay"}, {kPageLabel, "none"}, {kPageEdit, "TSkinEdit"}, {kPageCheck, "TSkinCheckBox"},
  };
  for (const wchar_t* skinName : {L"default", L"dark", L"flat", L"meridian", L"meridian_dark"}) {
    SCOPED_TRACE(gui::WideToUtf8(skinName));
    Wear(skinName);
    OpenDialog();
    ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(dialog_), nullptr);
    for (const auto& [id, skinner] : expected) EXPECT_EQ(SkinnerOf(id), skinner) << id;
    // The combo boxes' lists have the skin's scroll bars.
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    ASSERT_TRUE(GetComboBoxInfo(Item(kCombo), &combo));
    EXPECT_EQ(controls_test::SkinnerClassOf(Skinner(), combo.hwndList), "TSkinScrollbar");
    gui::TBitmap shot = controls_test::Snapshot(dialog_);
    engine_test::KeepShot(gui::WideToUtf8(skinName) + "-every-control", shot);
    DestroyWindow(dialog_);
    dialog_ = nullptr;
    skin_test::DrainMessages();
  }
}

TEST_F(EveryControl, UnderTheDarkSkinNothingTheSystemDrawsStaysLight) {
  Wear(L"dark");
  OpenDialog();
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(dialog_), nullptr);
  gui::TBitmap shot = controls_test::Snapshot(dialog_);
  const double light = engine_test::LightShare(shot);
  std::printf("light pixels under the dark skin: %.1f %%\n", light);
  EXPECT_LE(light, 12.0);

  // What the program draws itself (its owner-drawn items and its own
  // window's client area) and the skin's white title of the calendar aside,
  // no control keeps a light pixel of the system's.
  const std::set<WORD> ownDrawing = {kOwnerList, kOwnerCombo, kHeader, kMonthCal, kPlain};
  for (WORD id = kLabel; id <= kPageCheck; ++id) {
    if (ownDrawing.contains(id)) continue;
    EXPECT_EQ(SystemLight(shot, Area(id)), 0) << id;
  }
  // Backgrounds in the skin's window colour, faces in its face: most of
  // each control's pixels.
  const auto share = [&](WORD id, COLORREF colour) {
    const RECT r = Area(id);
    return 100 * controls_test::CountColour(shot, r, colour) / ((r.right - r.left) * (r.bottom - r.top));
  };
  for (WORD id : {kList, kMemo, kRich, kTree, kHotKey, kIpAddress, kMonthCal, kListView, kPageEdit})
    EXPECT_GT(share(id, kDarkWindow), 40) << id;
  for (WORD id : {kLabel, kPage, kEtchedFrame, kRebar, kToolbar, kGroup}) EXPECT_GT(share(id, kDarkFace), 40) << id;
  // Texts the system prints in its own text colour are in the skin's.
  for (WORD id : {kLabel, kRich, kTree, kHeader, kToolbar, kRebar, kLink, kHotKey, kIpAddress, kStatus, kPageLabel})
    EXPECT_GT(controls_test::CountColour(shot, Area(id), kDarkText), 0) << id;
  for (WORD id : {kRich, kToolbar, kLink, kHotKey, kIpAddress})
    EXPECT_EQ(controls_test::CountColour(shot, Area(id), RGB(0, 0, 0)), 0) << id;

  // The program's own drawing stays exactly its own; the scroll bars beside
  // it are the skin's.
  for (WORD id : {kOwnerList, kOwnerCombo, kHeader}) {
    EXPECT_GT(controls_test::CountColour(shot, Area(id), kOwnItem), 100) << id;
    EXPECT_GT(controls_test::CountColour(shot, Area(id), kOwnItemText), 10) << id;
  }
  const RECT plain = Area(kPlain);
  POINT clientCorner{0, 0};
  ClientToScreen(Item(kPlain), &clientCorner);
  RECT window{};
  GetWindowRect(dialog_, &window);
  EXPECT_EQ(shot.Pixel(clientCorner.x - window.left + 4, clientCorner.y - window.top + 4), RGB(255, 255, 255));
  RECT plainClient{};
  GetClientRect(Item(kPlain), &plainClient);
  const RECT plainBar{clientCorner.x - window.left + plainClient.right, plain.top, plain.right, plain.bottom};
  EXPECT_EQ(SystemLight(shot, plainBar), 0);
  const RECT ownerBar{Area(kOwnerList).right - GetSystemMetrics(SM_CXVSCROLL) - 1, Area(kOwnerList).top,
                      Area(kOwnerList).right, Area(kOwnerList).bottom};
  EXPECT_EQ(SystemLight(shot, ownerBar), 0);

  // A tab control's page with no window on it is the skin's face too.
  ShowWindow(g_page, SW_HIDE);
  const gui::TBitmap bare = controls_test::Snapshot(dialog_);
  RECT display{};
  GetClientRect(Item(kTabs), &display);
  SendMessageW(Item(kTabs), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  MapWindowPoints(Item(kTabs), dialog_, reinterpret_cast<POINT*>(&display), 2);
  POINT origin{0, 0};
  ClientToScreen(dialog_, &origin);
  RECT dialogWindow{};
  GetWindowRect(dialog_, &dialogWindow);
  OffsetRect(&display, origin.x - dialogWindow.left, origin.y - dialogWindow.top);
  InflateRect(&display, -2, -2);  // the skin's page border reaches a little inside
  EXPECT_EQ(controls_test::CountColour(bare, display, kDarkFace), (display.right - display.left) * (display.bottom - display.top));
}

// The dark Meridian skin leaves as little light as the dark one: its white
// text, light accent and the grey of its chevrons aside (the date picker is
// left out: its chevron's soft edge has greys of its own).
TEST_F(EveryControl, UnderTheDarkMeridianSkinNothingTheSystemDrawsStaysLight) {
  Wear(L"meridian_dark");
  OpenDialog();
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(dialog_), nullptr);
  const gui::TBitmap shot = controls_test::Snapshot(dialog_);
  const double light = engine_test::LightShare(shot);
  std::printf("light pixels under the dark Meridian skin: %.1f %%\n", light);
  EXPECT_LE(light, 12.0);
  for (WORD id : {kEtchedFrame, kSunken, kGroup, kList, kMemo, kRich, kTree, kToolbar, kRebar, kLink, kHotKey,
                  kIpAddress, kListView, kStatus, kTabs, kPage, kPageEdit})
    EXPECT_EQ(SystemLight(shot, Area(id), {RGB(255, 255, 255), RGB(96, 205, 255), RGB(200, 200, 200)}), 0) << id;
}

// A skin changed while the dialog shows: every class follows it.
TEST_F(EveryControl, ASkinChangeReachesEveryClass) {
  OpenDialog();
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(dialog_), nullptr);
  Wear(L"dark");
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(dialog_), nullptr);
  const gui::TBitmap shot = controls_test::Snapshot(dialog_);
  EXPECT_LE(engine_test::LightShare(shot), 12.0);
  for (WORD id : {kEtchedFrame, kSunken, kGroup, kList, kMemo, kRich, kTree, kToolbar, kRebar, kLink,
                  kHotKey, kIpAddress, kDate, kTrack, kListView, kStatus, kTabs, kPage, kPageEdit})
    EXPECT_EQ(SystemLight(shot, Area(id)), 0) << id;
}

// A dialog page made once the dialog is skinned (a property sheet's next
// page) is skinned with its controls as soon as it is complete.
TEST_F(EveryControl, APageMadeLaterIsSkinnedWithItsControls) {
  Wear(L"dark");
  OpenDialog();
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(dialog_), nullptr);
  const HWND first = g_page;
  ShowWindow(first, SW_HIDE);
  g_page = MakePage(dialog_);
  ASSERT_NE(g_page, first);
  Settle();
  EXPECT_EQ(SkinnerOf(kPage), "TSkinColourRelay");
  EXPECT_EQ(SkinnerOf(kPageEdit), "TSkinEdit");
  EXPECT_EQ(SkinnerOf(kPageCheck), "TSkinCheckBox");
  const gui::TBitmap shot = controls_test::Snapshot(dialog_);
  EXPECT_EQ(RightOf(shot, Area(kPage), 8), kDarkFace);
  EXPECT_EQ(RightOf(shot, Area(kPageEdit), 6), kDarkWindow);
}

// Skin-off gives every window back exactly: procedures, styles, places,
// properties (the visual styles switched off come back) and pixels.
TEST_F(EveryControl, SkinOffGivesEveryWindowBackExactly) {
  Wear(L"dark");
  data_->SetActive(false);
  skin_test::WaitForPendingAction();
  OpenDialog();
  ASSERT_EQ(skin::ThreadSkinManager()->FindFormSkinner(dialog_), nullptr);
  const gui::TBitmap before = controls_test::Snapshot(dialog_);
  const std::vector<TWindowState> had = StatesUnder(dialog_);

  data_->SetActive(true);
  skin_test::WaitForPendingAction();
  ASSERT_TRUE(skin::ThreadSkinManager()->SkinWindow(dialog_));
  skin_test::DrainMessages();
  gui::TBitmap skinned = controls_test::Snapshot(dialog_);
  EXPECT_NE(gui_test::DifferentPixels(before, skinned), 0);

  data_->SetActive(false);
  skin_test::WaitForPendingAction();
  ASSERT_EQ(skin::ThreadSkinManager()->FindFormSkinner(dialog_), nullptr);
  const gui::TBitmap after = controls_test::Snapshot(dialog_);
  EXPECT_EQ(gui_test::DifferentPixels(before, after), 0);
  const std::vector<TWindowState> has = StatesUnder(dialog_);
  ASSERT_EQ(has.size(), had.size());
  for (std::size_t i = 0; i < had.size(); ++i) EXPECT_TRUE(has[i] == had[i]) << i;
}

}  // namespace
