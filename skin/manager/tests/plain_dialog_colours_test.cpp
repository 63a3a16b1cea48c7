// A plain Win32 dialog (a dialog template, no framework form) skinned by the
// manager's hook: its static texts, edits, list and combo boxes, check boxes
// and group box in the skin's colours, a colour the dialog chose itself kept,
// and exactly the system's colours back at skin-off and in high contrast.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/color_scheme.h"
#include "gui/forms.h"
#include "gui/handles.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/contrast_switch.h"
#include "skin/manager/tests/dialog_template.h"

namespace {

enum : WORD { kLabel = 10, kEdit, kReadOnly, kOwnColour, kList, kCombo, kCheck, kGroup, kDisabledCheck, kListView, kComboEx, kLateList };

// The dark skin's colours (skins/dark/skin.ini).
constexpr COLORREF kDarkWindow = RGB(30, 33, 38);
constexpr COLORREF kDarkFace = RGB(43, 47, 54);
constexpr COLORREF kDarkText = RGB(230, 232, 236);
constexpr COLORREF kDarkGrayText = RGB(120, 127, 138);
constexpr COLORREF kOwnRed = RGB(200, 0, 0);

HBRUSH g_ownBrush = nullptr;

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) return TRUE;
  // One edit in colours of the dialog's own choosing.
  if (msg == WM_CTLCOLOREDIT && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kOwnColour) {
    SetBkColor(reinterpret_cast<HDC>(wParam), kOwnRed);
    return reinterpret_cast<INT_PTR>(g_ownBrush);
  }
  return FALSE;
}

class PlainDialogColours : public ::testing::Test {
 protected:
  void SetUp() override {
    skin::FreeSkinManager();
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&classes);
    app_ = std::make_unique<gui::TApplication>();
    data_ = skin_test::LoadSkinData(app_.get(), skin::sfMainform, true, skin_test::DefaultSkinArchive());
    ASSERT_FALSE(data_->SkinLoading());
    ownBrush_.reset(CreateSolidBrush(kOwnRed));
    g_ownBrush = ownBrush_.get();
  }
  void TearDown() override {
    if (dialog_) DestroyWindow(dialog_);
    app_.reset();
    skin::FreeSkinManager();
    skin_test::DrainMessages();
  }
  void WearDarkSkin() {
    data_->SetSkinFile(skin_test::DarkSkinPath());
    ASSERT_EQ(data_->SkinName(), "Nightfall");
    skin_test::WaitForPendingAction();
  }
  // The dialog, shown and activated, so that the hook skins it.
  void OpenDialog() {
    engine_test::TDialogTemplate t(L"Plain dialog", 200, 120);
    t.Item(kLabel, 0x0082, SS_LEFT, L"Name of the scan:", 5, 5, 60, 10);
    t.Item(kEdit, 0x0081, WS_BORDER | ES_AUTOHSCROLL, L"abc", 70, 5, 100, 12);
    t.Item(kReadOnly, 0x0081, WS_BORDER | ES_READONLY, L"fixed", 70, 20, 100, 12);
    t.Item(kOwnColour, 0x0081, WS_BORDER, L"", 70, 35, 100, 12);
    t.Item(kList, 0x0083, WS_BORDER | WS_VSCROLL | LBS_NOTIFY, L"", 5, 50, 60, 40);
    t.Item(kCombo, 0x0085, CBS_DROPDOWN | WS_VSCROLL, L"", 70, 50, 80, 60);
    t.Item(kCheck, 0x0080, BS_AUTOCHECKBOX, L"Scan memory", 5, 95, 60, 10);
    t.Item(kGroup, 0x0080, BS_GROUPBOX, L"Options", 70, 70, 120, 45);
    t.Item(kDisabledCheck, 0x0080, BS_AUTOCHECKBOX | WS_DISABLED, L"Scan registry", 75, 85, 100, 10);
    t.Item(kListView, 0, WS_BORDER | LVS_LIST, L"", 5, 20, 60, 25, WC_LISTVIEWW);
    t.Item(kComboEx, 0, CBS_DROPDOWN, L"", 155, 50, 40, 60, WC_COMBOBOXEXW);
    dialog_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.Get(), nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
    SendDlgItemMessageW(dialog_, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
    // What a list view has of its own (the dialog's was given the skin's
    // colours as it was made and activated).
    HWND fresh = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_LIST, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    for (UINT get : {LVM_GETBKCOLOR, LVM_GETTEXTBKCOLOR, LVM_GETTEXTCOLOR})
      listViewHad_.push_back(SendMessageW(fresh, get, 0, 0));
    DestroyWindow(fresh);
    ShowWindow(dialog_, SW_SHOW);
    SetActiveWindow(dialog_);
    skin_test::DrainMessages();
    skin_test::WaitForPendingAction();
  }
  // A pixel of a control's client area, `fromRight` pixels in from its
  // right edge, half way down: clear of its text.
  COLORREF Inside(const gui::TBitmap& shot, WORD id, int fromRight = 4) const {
    HWND child = GetDlgItem(dialog_, id);
    RECT client{}, window{};
    GetClientRect(child, &client);
    MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(dialog_, &window);
    return shot.Pixel(client.right - fromRight - window.left, (client.top + client.bottom) / 2 - window.top);
  }
  // How many pixels of a control's window have the colour.
  int Count(const gui::TBitmap& shot, WORD id, COLORREF colour) const {
    RECT r{}, window{};
    GetWindowRect(GetDlgItem(dialog_, id), &r);
    GetWindowRect(dialog_, &window);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += shot.Pixel(x - window.left, y - window.top) == colour;
    return n;
  }
  std::vector<LRESULT> ListViewColours(WORD id = kListView) const {
    std::vector<LRESULT> colours;
    for (UINT get : {LVM_GETBKCOLOR, LVM_GETTEXTBKCOLOR, LVM_GETTEXTCOLOR})
      colours.push_back(SendDlgItemMessageW(dialog_, id, get, 0, 0));
    return colours;
  }
  // A list view the dialog makes once it is shown, as a shell view does.
  void AddLateList() {
    CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_LIST, 5, 5, 40, 40, dialog_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLateList)), nullptr, nullptr);
  }
  // What the ComboBoxEx32 answers for its edit (its combo box hands it on).
  COLORREF ComboExEditAnswer() const {
    HWND combo = reinterpret_cast<HWND>(SendDlgItemMessageW(dialog_, kComboEx, CBEM_GETCOMBOCONTROL, 0, 0));
    HWND edit = reinterpret_cast<HWND>(SendDlgItemMessageW(dialog_, kComboEx, CBEM_GETEDITCONTROL, 0, 0));
    gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(combo, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(edit)));
    LOGBRUSH lb{};
    GetObjectW(brush, sizeof lb, &lb);
    return lb.lbColor;
  }
  COLORREF Answer(UINT msg, WORD id) const {
    gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(dialog_, msg, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id))));
    LOGBRUSH lb{};
    GetObjectW(brush, sizeof lb, &lb);
    return lb.lbColor;
  }
  // The system's look: every answer and pixel in the system's colours.
  void ExpectSystemColours() {
    EXPECT_EQ(gui::CurrentColorScheme(), nullptr);
    gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    EXPECT_EQ(SendMessageW(dialog_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
                           reinterpret_cast<LPARAM>(GetDlgItem(dialog_, kEdit))),
              reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
    EXPECT_EQ(GetTextColor(dc.get()), GetSysColor(COLOR_WINDOWTEXT));
    const gui::TBitmap shot = controls_test::Snapshot(dialog_);
    EXPECT_EQ(Inside(shot, kEdit), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(Inside(shot, kList), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(Inside(shot, kLabel, 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Inside(shot, kOwnColour), kOwnRed);
    EXPECT_EQ(ListViewColours(), listViewHad_);
    EXPECT_EQ(ListViewColours(kLateList), listViewHad_);
    EXPECT_EQ(ComboExEditAnswer(), GetSysColor(COLOR_WINDOW));
  }

  std::unique_ptr<gui::TApplication> app_;
  skin::TSkinData* data_ = nullptr;
  gui::BrushHandle ownBrush_;
  HWND dialog_ = nullptr;
  std::vector<LRESULT> listViewHad_;
};

TEST_F(PlainDialogColours, EveryChildInTheDarkSkinsColoursUnlessTheDialogChoseItsOwn) {
  WearDarkSkin();
  OpenDialog();
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(dialog_), nullptr);
  EXPECT_EQ(Answer(WM_CTLCOLOREDIT, kEdit), kDarkWindow);
  EXPECT_EQ(Answer(WM_CTLCOLORLISTBOX, kList), kDarkWindow);
  EXPECT_EQ(Answer(WM_CTLCOLORSTATIC, kReadOnly), kDarkFace);
  EXPECT_EQ(Answer(WM_CTLCOLORDLG, 0), kDarkFace);
  EXPECT_EQ(Answer(WM_CTLCOLOREDIT, kOwnColour), kOwnRed);
  EXPECT_EQ(ListViewColours(), (std::vector<LRESULT>{kDarkWindow, kDarkWindow, kDarkText}));
  AddLateList();
  EXPECT_EQ(ListViewColours(kLateList), (std::vector<LRESULT>{kDarkWindow, kDarkWindow, kDarkText}));
  EXPECT_EQ(ComboExEditAnswer(), kDarkWindow);
  // The combo box's drop-down list ("ComboLBox"), which its combo box hands on.
  COMBOBOXINFO combo{};
  combo.cbSize = sizeof combo;
  ASSERT_TRUE(GetComboBoxInfo(GetDlgItem(dialog_, kCombo), &combo));
  gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  SendMessageW(GetDlgItem(dialog_, kCombo), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc.get()),
               reinterpret_cast<LPARAM>(combo.hwndList));
  EXPECT_EQ(std::pair(GetBkColor(dc.get()), GetTextColor(dc.get())), std::pair(kDarkWindow, kDarkText));

  const gui::TBitmap shot = controls_test::Snapshot(dialog_);
  EXPECT_EQ(Inside(shot, kEdit), kDarkWindow);
  EXPECT_EQ(Inside(shot, kReadOnly), kDarkFace);
  EXPECT_EQ(Inside(shot, kList), kDarkWindow);
  EXPECT_EQ(Inside(shot, kOwnColour), kOwnRed);
  // The combo box's edit field, left of its drop button.
  EXPECT_EQ(Inside(shot, kCombo, GetSystemMetrics(SM_CXVSCROLL) + 4), kDarkWindow);
  EXPECT_EQ(Inside(shot, kLabel, 1), kDarkFace);
  // Captions in the skin's text, none in the system's black; the disabled
  // one in the skin's grey, without the system's white relief.
  for (WORD id : {kLabel, kEdit, kList, kCheck, kGroup}) {
    SCOPED_TRACE(id);
    EXPECT_GT(Count(shot, id, kDarkText), 0);
    EXPECT_EQ(Count(shot, id, RGB(0, 0, 0)), 0);
  }
  EXPECT_GT(Count(shot, kDisabledCheck, kDarkGrayText), 0);
  EXPECT_EQ(Count(shot, kDisabledCheck, RGB(255, 255, 255)), 0);
  // The edit's flat border: the skin's shadow around a ring of its window colour.
  EXPECT_EQ(Count(shot, kEdit, RGB(255, 255, 255)), 0);
}

TEST_F(PlainDialogColours, TheDefaultSkinLooksAsBefore) {
  OpenDialog();
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(dialog_), nullptr);
  const gui::TBitmap shot = controls_test::Snapshot(dialog_);
  EXPECT_EQ(Inside(shot, kEdit), RGB(255, 255, 255));
  EXPECT_EQ(Inside(shot, kList), RGB(255, 255, 255));
  EXPECT_EQ(Inside(shot, kLabel, 1), RGB(243, 245, 249));
}

TEST_F(PlainDialogColours, SkinOffAndHighContrastGiveTheSystemsColoursBack) {
  skin_test::TFakeHighContrast contrast(false);
  WearDarkSkin();
  const long brushes = gui::BrushHandle::LiveCount();
  OpenDialog();
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(dialog_), nullptr);
  ASSERT_EQ(Answer(WM_CTLCOLOREDIT, kEdit), kDarkWindow);
  AddLateList();

  contrast.On = true;
  skin_test::AnnounceHighContrastChange();
  skin_test::WaitForPendingAction();
  {
    SCOPED_TRACE("high contrast");
    EXPECT_EQ(skin::ThreadSkinManager()->FindFormSkinner(dialog_), nullptr);
    ExpectSystemColours();
  }
  // The skin's colours are in force again (a window of no framework form is
  // skinned again when it is next activated).
  contrast.On = false;
  skin_test::AnnounceHighContrastChange();
  skin_test::WaitForPendingAction();
  EXPECT_EQ(gui::CurrentColorScheme(), &data_->Palette());

  data_->SetActive(false);
  skin_test::WaitForPendingAction();
  {
    SCOPED_TRACE("skin off");
    ExpectSystemColours();
  }
  // Only the brushes the palette made while it was worn stay, with it.
  EXPECT_EQ(gui::BrushHandle::LiveCount(), brushes + data_->Palette().BrushesMade());
}

}  // namespace
