// Windows a plain program makes beyond dialog boxes, under the dark skin: a
// property sheet and a wizard with their pages (the next page skinned as it
// is made), an MDI frame with its client and a child, and a main window with
// a rebar holding a tool bar, a status bar with a part the program draws,
// and scroll bars of its own. When SKIN_SHOT_DIR names a folder, the shots
// are written there as bitmaps.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "gui/forms.h"
#include "gui/handles.h"
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

using engine_test::kDarkFace;
using engine_test::kDarkShadow;
using engine_test::kDarkText;
// The checked look of the dark skin's tool-bar strip (frame 5's inside).
constexpr COLORREF kDarkChecked = RGB(52, 67, 90);
// What the program draws itself in its status bar's part.
constexpr COLORREF kOwnPart = RGB(170, 40, 40);

enum : WORD { kPageEdit = 300, kPageCheck, kPageGroup, kPageCombo, kPageList, kToolbar = 400, kRebar, kStatus };

class PlainPrograms : public engine_test::TProgramTest {
 protected:
  static void SetUpTestSuite() {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&classes);
  }
  void SetUp() override {
    TProgramTest::SetUp();
    Wear(L"dark");
  }
  static std::string SkinnerOf(HWND top, HWND wnd) {
    skin::TWinSkinForm* skinner = skin::ThreadSkinManager()->FindFormSkinner(top);
    return skinner ? controls_test::SkinnerClassOf(*skinner, wnd) : std::string("no form skinner");
  }
  static int Share(const gui::TBitmap& shot, const RECT& r, COLORREF colour) {
    const int all = (r.right - r.left) * (r.bottom - r.top);
    return all ? 100 * controls_test::CountColour(shot, r, colour) / all : 0;
  }
  static RECT AreaIn(HWND top, HWND wnd) {
    RECT r{}, window{};
    GetWindowRect(wnd, &r);
    GetWindowRect(top, &window);
    OffsetRect(&r, -window.left, -window.top);
    return r;
  }
};

INT_PTR CALLBACK PageProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A property sheet and a wizard, modeless as a program's own loop shows
// them: each page a dialog inside the sheet, skinned with its controls, the
// second page as soon as it is made.
TEST_F(PlainPrograms, PropertySheetsAndWizardsWithTheirPages) {
  engine_test::TDialogTemplate first(L"General", 200, 120, WS_CHILD | WS_CAPTION | DS_CONTROL);
  first.Item(kPageGroup, 0x0080, BS_GROUPBOX, L"Scanning", 5, 5, 190, 60);
  first.Item(kPageEdit, 0x0081, WS_BORDER | ES_AUTOHSCROLL, L"C:\\", 12, 18, 120, 12);
  first.Item(kPageCheck, 0x0080, BS_AUTOCHECKBOX, L"Archives", 12, 36, 120, 10);
  engine_test::TDialogTemplate second(L"Advanced", 200, 120, WS_CHILD | WS_CAPTION | DS_CONTROL);
  second.Item(kPageCombo, 0x0085, CBS_DROPDOWNLIST | WS_VSCROLL, L"", 5, 5, 120, 60);
  second.Item(kPageList, 0x0083, WS_BORDER | WS_VSCROLL, L"", 5, 25, 120, 60);
  for (bool wizard : {false, true}) {
    SCOPED_TRACE(wizard ? "wizard" : "property sheet");
    PROPSHEETPAGEW pages[2]{};
    for (int i = 0; i < 2; ++i) {
      pages[i].dwSize = sizeof pages[i];
      pages[i].dwFlags = PSP_DLGINDIRECT;
      pages[i].pResource = (i == 0 ? first : second).Get();
      pages[i].pfnDlgProc = PageProc;
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW | (wizard ? PSH_WIZARD : 0);
    header.pszCaption = L"Scanner settings";
    header.nPages = 2;
    header.ppsp = pages;
    const auto sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
    ASSERT_NE(sheet, nullptr);
    SetActiveWindow(sheet);
    Settle();
    ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(sheet), nullptr);
    HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    EXPECT_EQ(SkinnerOf(sheet, page), "TSkinColourRelay");
    EXPECT_EQ(SkinnerOf(sheet, GetDlgItem(page, kPageEdit)), "TSkinEdit");
    EXPECT_EQ(SkinnerOf(sheet, GetDlgItem(page, kPageCheck)), "TSkinCheckBox");
    EXPECT_EQ(SkinnerOf(sheet, GetDlgItem(page, kPageGroup)), "TSkinGroupBox");
    gui::TBitmap shot = controls_test::Snapshot(sheet);
    EXPECT_GT(Share(shot, AreaIn(sheet, page), kDarkFace), 50);
    EXPECT_LE(engine_test::LightShare(shot), 12.0);

    // The next page is made when it is first shown.
    PropSheet_SetCurSel(sheet, nullptr, 1);
    Settle();
    page = PropSheet_GetCurrentPageHwnd(sheet);
    EXPECT_EQ(SkinnerOf(sheet, page), "TSkinColourRelay");
    EXPECT_EQ(SkinnerOf(sheet, GetDlgItem(page, kPageCombo)), "TSkinComBox");
    EXPECT_EQ(SkinnerOf(sheet, GetDlgItem(page, kPageList)), "TSkinScrollbar");
    shot = controls_test::Snapshot(sheet);
    engine_test::KeepShot(wizard ? "dark-wizard" : "dark-property-sheet", shot);
    EXPECT_GT(Share(shot, AreaIn(sheet, page), kDarkFace), 40);
    const double light = engine_test::LightShare(shot);
    std::printf("%s: light %.1f %%\n", wizard ? "wizard" : "property sheet", light);
    EXPECT_LE(light, 12.0);
    DestroyWindow(sheet);
    Settle();
  }
}

LRESULT CALLBACK FrameProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  static HWND client = nullptr;
  if (msg == WM_CREATE) {
    CLIENTCREATESTRUCT create{nullptr, 0xFF00};
    client = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                             0, 0, wnd, nullptr, GetModuleHandleW(nullptr), &create);
    return 0;
  }
  return DefFrameProcW(wnd, client, msg, wParam, lParam);
}

LRESULT CALLBACK ChildProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) {
    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"A document\r\nwith lines",
                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 0, 0, 200, 120, wnd, nullptr,
                    GetModuleHandleW(nullptr), nullptr);
    return 0;
  }
  return DefMDIChildProcW(wnd, msg, wParam, lParam);
}

// An MDI frame of a plain program: the frame and its child skinned, the
// child's controls too, the workspace in the skin's shadow.
TEST_F(PlainPrograms, MdiFrameClientAndChild) {
  WNDCLASSW frameClass{};
  frameClass.lpfnWndProc = FrameProc;
  frameClass.hInstance = GetModuleHandleW(nullptr);
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  frameClass.lpszClassName = L"PlainMdiFrame";
  RegisterClassW(&frameClass);
  WNDCLASSW childClass = frameClass;
  childClass.lpfnWndProc = ChildProc;
  childClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  childClass.lpszClassName = L"PlainMdiChild";
  RegisterClassW(&childClass);
  HWND frame = CreateWindowExW(0, L"PlainMdiFrame", L"Documents", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40,
                               520, 380, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(frame, nullptr);
  HWND client = FindWindowExW(frame, nullptr, L"MDICLIENT", nullptr);
  ASSERT_NE(client, nullptr);
  // One child made before the frame is skinned, one through the client's
  // message and one with CreateMDIWindow afterwards: each a skinned window.
  HWND early = CreateMDIWindowW(L"PlainMdiChild", L"Early", 0, 280, 10, 200, 150, client, nullptr, 0);
  ShowWindow(frame, SW_SHOW);
  SetActiveWindow(frame);
  Settle();
  MDICREATESTRUCTW create{L"PlainMdiChild", L"Report", GetModuleHandleW(nullptr), 10, 10, 240, 180, 0, 0};
  const auto child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
  ASSERT_NE(child, nullptr);
  HWND late = CreateMDIWindowW(L"PlainMdiChild", L"Late", 0, 40, 200, 200, 120, client, nullptr, 0);
  Settle();
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(frame), nullptr);
  for (HWND each : {early, child, late}) EXPECT_NE(skin::ThreadSkinManager()->FindFormSkinner(each), nullptr);
  HWND edit = GetWindow(child, GW_CHILD);
  EXPECT_EQ(SkinnerOf(child, edit), "TSkinScrollbar");
  gui::TBitmap shot = controls_test::Snapshot(frame);
  engine_test::KeepShot("dark-mdi", shot);
  // The workspace right of the child.
  const RECT workspace = AreaIn(frame, client);
  EXPECT_EQ(shot.Pixel(workspace.right - 20, workspace.bottom - 20), kDarkShadow);
  const double light = engine_test::LightShare(shot);
  std::printf("mdi: light %.1f %%\n", light);
  EXPECT_LE(light, 12.0);
  DestroyWindow(frame);
  Settle();
}

LRESULT CALLBACK MainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DRAWITEM && wParam == kStatus) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    gui::BrushHandle own(CreateSolidBrush(kOwnPart));
    RECT swatch = item->rcItem;
    swatch.right = swatch.left + 20;
    FillRect(item->hDC, &swatch, own.get());
    return TRUE;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

// A main window of a plain program: a rebar with a tool bar in its band (a
// separator, a checked button), a status bar with a part the program draws,
// scroll bars of the window's own.
TEST_F(PlainPrograms, AMainWindowWithRebarToolBarStatusBarAndScrollBars) {
  HWND main = skin_test::CreateTestWindow(L"PlainMainWindow", MainProc, L"Scanner",
                                          WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL, 40, 40, 520, 360);
  ASSERT_NE(main, nullptr);
  HWND rebar = CreateWindowExW(0, REBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | RBS_BANDBORDERS | CCS_NODIVIDER,
                               0, 0, 0, 0, main, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRebar)), nullptr,
                               nullptr);
  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NODIVIDER |
                                     CCS_NOPARENTALIGN,
                                 0, 0, 300, 24, rebar, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolbar)),
                                 nullptr, nullptr);
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  TBBUTTON buttons[4]{};
  const wchar_t* captions[] = {L"Scan", L"", L"Quarantine", L"Report"};
  for (int i = 0; i < 4; ++i) {
    buttons[i].iBitmap = I_IMAGENONE;
    buttons[i].idCommand = 500 + i;
    buttons[i].fsState = static_cast<BYTE>(TBSTATE_ENABLED | (i == 2 ? TBSTATE_CHECKED : 0));
    buttons[i].fsStyle = static_cast<BYTE>(i == 1 ? BTNS_SEP : BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT);
    buttons[i].iString = i == 1 ? 0 : reinterpret_cast<INT_PTR>(captions[i]);
  }
  SendMessageW(toolbar, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
  REBARBANDINFOW band{};
  band.cbSize = REBARBANDINFOW_V3_SIZE;
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE;
  band.fStyle = RBBS_GRIPPERALWAYS;
  band.hwndChild = toolbar;
  band.cxMinChild = 200;
  band.cyMinChild = 24;
  band.cx = 400;
  SendMessageW(rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
  HWND status = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, main,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatus)), nullptr, nullptr);
  const int parts[] = {200, -1};
  SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Ready"));
  SendMessageW(status, SB_SETTEXTW, 1 | SBT_OWNERDRAW, 42);
  SCROLLINFO bars{sizeof(SCROLLINFO), SIF_ALL, 0, 200, 50, 10, 0};
  SetScrollInfo(main, SB_VERT, &bars, TRUE);
  SetScrollInfo(main, SB_HORZ, &bars, TRUE);
  RECT windowBefore{};
  GetWindowRect(main, &windowBefore);
  ShowWindow(main, SW_SHOW);
  SetActiveWindow(main);
  Settle();
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(main), nullptr);
  EXPECT_EQ(SkinnerOf(main, rebar), "TSkinRebar");
  EXPECT_EQ(SkinnerOf(main, toolbar), "TSkinToolBar");
  EXPECT_EQ(SkinnerOf(main, status), "TSkinStatusBar");
  gui::TBitmap shot = controls_test::Snapshot(main);
  engine_test::KeepShot("dark-main-window", shot);
  // The tool bar's captions in the skin's text, its checked button in the
  // skin's checked picture, nothing of the system's light left.
  const RECT tools = AreaIn(main, toolbar);
  EXPECT_GT(controls_test::CountColour(shot, tools, kDarkText), 0);
  EXPECT_EQ(controls_test::CountColour(shot, tools, RGB(0, 0, 0)), 0);
  RECT checked{};
  SendMessageW(toolbar, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&checked));
  MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&checked), 2);
  RECT window{};
  GetWindowRect(main, &window);
  OffsetRect(&checked, -window.left, -window.top);
  EXPECT_EQ(shot.Pixel(checked.left + 3, (checked.top + checked.bottom) / 2), kDarkChecked);
  // The part the program draws is its own.
  EXPECT_GT(controls_test::CountColour(shot, AreaIn(main, status), kOwnPart), 0);
  // The window's own scroll bars keep their room beside the client area and
  // are the skin's; a sizeable window keeps the size its program gave it.
  EXPECT_EQ(window.right - window.left, windowBefore.right - windowBefore.left);
  EXPECT_EQ(window.bottom - window.top, windowBefore.bottom - windowBefore.top);
  RECT client{};
  GetClientRect(main, &client);
  POINT corner{client.right, client.bottom};
  ClientToScreen(main, &corner);
  const RECT vertical{corner.x - window.left, 40, corner.x - window.left + GetSystemMetrics(SM_CXVSCROLL),
                      corner.y - window.top};
  EXPECT_GT(controls_test::CountColour(shot, vertical, kDarkFace) + controls_test::CountColour(shot, vertical, kDarkText), 0);
  EXPECT_EQ(SendMessageW(main, WM_NCHITTEST, 0, MAKELPARAM(corner.x + 4, corner.y - 30)), HTVSCROLL);
  const double light = engine_test::LightShare(shot);
  std::printf("main window: light %.1f %%\n", light);
  EXPECT_LE(light, 12.0);
  DestroyWindow(main);
  Settle();
}

}  // namespace
