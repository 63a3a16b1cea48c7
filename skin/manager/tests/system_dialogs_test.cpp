// The system's own dialogs under the dark skin, as they are: open, save,
// find, replace, font, colour, print setup, the folder browser and message
// boxes each show exactly the caption buttons and icon their styles give
// them unskinned (found by their pictures on the screen), keep their client
// size, and answer their keyboard (Tab, Alt+letter, Enter, Escape) pressed
// as real keys. A dialog is driven from a thread timer, which runs inside
// its modal loop.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "gui/forms.h"
#include "gui/tests/form_fixture.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/frame_layout.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/program_fixture.h"
#include "skin/manager/tests/shot_file.h"

namespace {

// Whether the system's caption shows an icon for the window: it needs the
// system menu, and a window with the modal dialog frame shows its own or its
// class's icon but never the default one.
bool SystemShowsIcon(HWND wnd) {
  const auto style = GetWindowLongPtrW(wnd, GWL_STYLE), exStyle = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  if (!(style & WS_SYSMENU) || (exStyle & WS_EX_TOOLWINDOW)) return false;
  if (SendMessageW(wnd, WM_GETICON, ICON_SMALL, 0) || SendMessageW(wnd, WM_GETICON, ICON_BIG, 0)) return true;
  if (GetClassLongPtrW(wnd, GCLP_HICONSM) || GetClassLongPtrW(wnd, GCLP_HICON)) return true;
  return !(exStyle & WS_EX_DLGMODALFRAME);
}

// Where `picture` shows exactly (magenta pixels of it match anything) in the
// area of the shot; nullopt when it does not.
std::optional<POINT> FindPicture(const gui::TBitmap& shot, const RECT& area, const gui::TBitmap& picture,
                                 const RECT& part) {
  const int w = part.right - part.left, h = part.bottom - part.top;
  for (int y = area.top; y + h <= area.bottom; ++y)
    for (int x = area.left; x + w <= area.right; ++x) {
      bool same = true;
      for (int py = 0; py < h && same; ++py)
        for (int px = 0; px < w && same; ++px) {
          const COLORREF want = picture.Pixel(part.left + px, part.top + py);
          same = want == RGB(255, 0, 255) || shot.Pixel(x + px, y + py) == want;
        }
      if (same) return POINT{x, y};
    }
  return std::nullopt;
}

// What a dialog showed, skinned or not.
struct TShown {
  bool Found = false;
  bool Skinned = false;
  LONG_PTR Style = 0, ExStyle = 0;  // unskinned
  std::uint8_t WindowButtons = 0;   // skinned: the buttons the frame was laid out for
  SIZE Client{};
  std::vector<std::int32_t> Buttons;  // actions of the visible caption buttons
  bool IconShownByStyle = false;
  bool IconDrawn = false;      // the skin's default window icon on the screen
  bool MinimizeDrawn = false;  // the minimise button's picture on the screen
  bool CloseDrawn = false;
  std::vector<int> TabOrder;   // control ids the focus visited with Tab
  int FocusAfterKey = 0;       // the control that has the focus after an Alt+letter
  bool Closed = false;
  INT_PTR Answer = 0;          // what a modal call returned
};

class TDialogDriver;
TDialogDriver* g_driver = nullptr;

// What the owner window heard from a find or replace dialog.
UINT g_findMessage = 0;
DWORD g_findFlags = 0;

LRESULT CALLBACK OwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == g_findMessage && g_findMessage) {
    g_findFlags |= reinterpret_cast<const FINDREPLACEW*>(lParam)->Flags;
    return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

// Drives the first dialog of the thread that shows while `open` runs, one
// step per timer tick; each step answers true when it is done.
class TDialogDriver {
 public:
  using TStep = std::function<bool(HWND box)>;
  TDialogDriver(HWND owner, std::vector<TStep> steps) : owner_(owner), steps_(std::move(steps)) {
    g_driver = this;
    timer_ = SetTimer(nullptr, 0, 40, &TDialogDriver::Tick);
  }
  ~TDialogDriver() {
    KillTimer(nullptr, timer_);
    g_driver = nullptr;
  }
  bool Done() const { return step_ >= steps_.size(); }
  HWND Box() const { return box_; }
  // Every step ran and the dialog went by itself after the last one.
  bool ClosedByItself() const { return Done() && !forced_ && box_ && !IsWindow(box_); }
  // A modeless dialog: the test's own loop, which hands keys to the dialog.
  void RunModeless() {
    MSG msg;
    for (int i = 0; i < 500 && !(Done() && (!box_ || !IsWindow(box_))); ++i) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (box_ && IsWindow(box_) && IsDialogMessageW(box_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      Sleep(10);
    }
  }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TDialogDriver* self = g_driver;
    if (!self) return;
    if (self->Done()) {
      // The last step should have closed it; if not, it goes now.
      if (self->box_ && IsWindow(self->box_) && ++self->ticks_ > 250 && !self->forced_) {
        self->forced_ = true;
        PostMessageW(self->box_, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(self->box_, WM_CLOSE, 0, 0);
      }
      return;
    }
    if (!self->box_) {
      HWND active = GetActiveWindow();
      if (!active || active == self->owner_ || !IsWindowVisible(active)) return;
      self->box_ = active;
    }
    if (++self->ticks_ > 200) {
      // Stuck: the dialog goes, so that the test ends.
      ADD_FAILURE() << "the dialog did not answer step " << self->step_;
      self->step_ = self->steps_.size();
      self->forced_ = true;
      PostMessageW(self->box_, WM_COMMAND, IDCANCEL, 0);
      PostMessageW(self->box_, WM_CLOSE, 0, 0);
      return;
    }
    if (self->steps_[self->step_](self->box_)) ++self->step_;
  }

  HWND owner_;
  HWND box_ = nullptr;
  std::vector<TStep> steps_;
  std::size_t step_ = 0;
  int ticks_ = 0;
  bool forced_ = false;
  UINT_PTR timer_ = 0;
};

class SystemDialogs : public engine_test::TProgramTest {
 protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
  }
  static void TearDownTestSuite() { CoUninitialize(); }
  void SetUp() override {
    TProgramTest::SetUp();
    Wear(L"dark");
    // A default window icon the screen can be searched for.
    gui::TBitmap icon(16, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) icon.SetPixel(x, y, (x + y) % 2 ? RGB(200, 100, 0) : RGB(0, 100, 200));
    skin::ThreadSkinManager()->SetDefaultWindowIcon(data_, icon);
    g_findMessage = RegisterWindowMessageW(FINDMSGSTRINGW);
    owner_ = skin_test::CreateTestWindow(L"SystemDialogsOwner", OwnerProc, L"Owner",
                                         WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 300, 200);
    SetForegroundWindow(owner_);
    skin_test::DrainMessages();
  }
  void TearDown() override {
    DestroyWindow(owner_);
    TProgramTest::TearDown();
  }
  void Skinning(bool on) {
    data_->SetActive(on);
    skin_test::WaitForPendingAction();
  }

  // The steps that read what a dialog shows, once it is skinned (or, with
  // skinning off, at once).
  TDialogDriver::TStep Read(TShown& shown) {
    return [this, &shown](HWND box) {
      skin::TWinSkinForm* skinner = skin::ThreadSkinManager()->FindFormSkinner(box);
      if (skin::ThreadSkinManager()->SkinningWanted() && (!skinner || skinner->State() != skin::TWinSkinForm::ssRunning))
        return false;
      shown.Found = true;
      shown.Skinned = skinner != nullptr;
      RECT client{};
      GetClientRect(box, &client);
      shown.Client = SIZE{client.right, client.bottom};
      shown.IconShownByStyle = SystemShowsIcon(box);
      if (!skinner) {
          shown.Style = GetWindowLongPtrW(box, GWL_STYLE);
        shown.ExStyle = GetWindowLongPtrW(box, GWL_EXSTYLE);
        return true;
      }
      shown.WindowButtons = skinner->Facts().WindowButtons;
      shown.ExStyle = GetWindowLongPtrW(box, GWL_EXSTYLE);
      skinner->LayoutSysButtons();
      for (const auto& button : skinner->SysButtons())
        if (skinner->PlaceOf(*button).Visible && !button->Element->Image.Empty()) shown.Buttons.push_back(button->Element->Action);
      RedrawWindow(box, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
      gui::TBitmap shot = gui_test::WholeWindowShot(box);
      engine_test::KeepShot("dark-" + shotName_, shot);
      const RECT band{0, 0, shot.Width(), skinner->Frame().Top};
      skin::TSkinContent& skin = data_->Skin();
      for (const auto& element : skin.SysButtonElements) {
        if (element->Image.Empty()) continue;
        const int fw = element->Image.Width() / std::max(1, element->FrameCount);
        const RECT first{0, 0, fw, element->Image.Height()};
        const bool drawn = FindPicture(shot, band, element->Image, first).has_value();
        if (element->Action == skin::caMinimize) shown.MinimizeDrawn |= drawn;
        if (element->Action == skin::caClose) shown.CloseDrawn |= drawn;
      }
      if (gui::TBitmap* icon = skin::ThreadSkinManager()->DefaultWindowIcon(data_)) {
        const RECT whole{0, 0, icon->Width(), icon->Height()};
        shown.IconDrawn = FindPicture(shot, band, *icon, whole).has_value();
      }
      return true;
    };
  }
  // Tab `count` times from the first control, noting where the focus goes.
  void AddTabs(std::vector<TDialogDriver::TStep>& steps, TShown& shown, int count) {
    for (int i = 0; i < count; ++i) {
      steps.push_back(Keys({VK_TAB}));
      steps.push_back([&shown](HWND box) {
        HWND focus = GetFocus();
        while (focus && GetParent(focus) && GetParent(focus) != box) focus = GetParent(focus);
        shown.TabOrder.push_back(focus ? GetDlgCtrlID(focus) : -1);
        return true;
      });
    }
  }
  // Keys pressed at once.
  static TDialogDriver::TStep Keys(std::vector<WORD> keys) {
    return [keys](HWND) {
      std::vector<INPUT> inputs;
      for (WORD key : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        inputs.push_back(in);
      }
      for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
      }
      SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
      return true;
    };
  }
  static TDialogDriver::TStep PressEscape() { return Keys({VK_ESCAPE}); }
  // Notes the dialog's control that has the focus.
  static TDialogDriver::TStep NoteFocus(TShown& shown) {
    return [&shown](HWND box) {
      HWND focus = GetFocus();
      while (focus && GetParent(focus) && GetParent(focus) != box) focus = GetParent(focus);
      shown.FocusAfterKey = focus ? GetDlgCtrlID(focus) : -1;
      return true;
    };
  }

  // Opens a dialog with `open` while a driver reads it, presses Tab `tabs`
  // times noting the order, takes the steps `more` adds and presses Escape;
  // `open` answers what the dialog returned.
  using TMoreSteps = std::function<void(std::vector<TDialogDriver::TStep>&, TShown&)>;
  TShown ShowDriven(int tabs, const std::function<INT_PTR()>& open, const TMoreSteps& more = nullptr) {
    TShown shown;
    std::vector<TDialogDriver::TStep> steps{Read(shown)};
    AddTabs(steps, shown, tabs);
    if (more) more(steps, shown);
    steps.push_back(PressEscape());
    TDialogDriver driver(owner_, std::move(steps));
    shown.Answer = open();
    shown.Closed = driver.ClosedByItself();
    return shown;
  }

  // The same dialog unskinned and skinned: the same styles, client size and
  // Tab order; the skinned frame shows the buttons the styles give.
  // A dialog that remembers the window size it had last (Wine's file
  // dialogs) keeps its client width; its height follows what it remembered.
  void Compare(const char* name, const std::function<TShown(bool skinned)>& run, bool remembersSize = false) {
    SCOPED_TRACE(name);
    Skinning(false);
    const TShown plain = run(false);
    Skinning(true);
    shotName_ = name;
    for (char& ch : shotName_)
      if (ch == ' ' || ch == ',') ch = '-';
    const TShown skinned = run(true);
    ASSERT_TRUE(plain.Found);
    ASSERT_TRUE(skinned.Found);
    EXPECT_FALSE(plain.Skinned);
    EXPECT_TRUE(skinned.Skinned);
    EXPECT_EQ(skinned.Client.cx, plain.Client.cx);
    if (!remembersSize) {
      EXPECT_EQ(skinned.Client.cy, plain.Client.cy);
    }
    EXPECT_EQ((skinned.WindowButtons & skin::wbMinimize) != 0, (plain.Style & WS_MINIMIZEBOX) != 0);
    EXPECT_EQ((skinned.WindowButtons & skin::wbMaximize) != 0, (plain.Style & WS_MAXIMIZEBOX) != 0);
    EXPECT_EQ(skinned.ExStyle & WS_EX_DLGMODALFRAME, plain.ExStyle & WS_EX_DLGMODALFRAME);
    const auto has = [&](std::int32_t action) {
      return std::find(skinned.Buttons.begin(), skinned.Buttons.end(), action) != skinned.Buttons.end();
    };
    EXPECT_EQ(has(skin::caMinimize), (plain.Style & WS_MINIMIZEBOX) != 0);
    EXPECT_EQ(has(skin::caMaximize), (plain.Style & WS_MAXIMIZEBOX) != 0);
    EXPECT_EQ(has(skin::caClose), (plain.Style & WS_SYSMENU) != 0);
    EXPECT_EQ(has(skin::caSystemMenu) || has(skin::caIcon), plain.IconShownByStyle);
    // On the screen.
    EXPECT_EQ(skinned.MinimizeDrawn, (plain.Style & WS_MINIMIZEBOX) != 0);
    EXPECT_TRUE(skinned.CloseDrawn);
    if (!plain.IconShownByStyle) {
      EXPECT_FALSE(skinned.IconDrawn);
    }
    EXPECT_EQ(skinned.TabOrder, plain.TabOrder);
    EXPECT_TRUE(skinned.Closed);
    EXPECT_EQ(skinned.FocusAfterKey, plain.FocusAfterKey);
    EXPECT_EQ(skinned.Answer, plain.Answer);
  }

  HWND owner_ = nullptr;
  std::string shotName_;
};

TEST_F(SystemDialogs, OpenAndSave) {
  for (bool save : {false, true}) {
    Compare(
        save ? "save" : "open",
        [&](bool) {
          return ShowDriven(3, [&]() -> INT_PTR {
            wchar_t file[MAX_PATH] = L"";
            OPENFILENAMEW dialog{};
            dialog.lStructSize = sizeof dialog;
            dialog.hwndOwner = owner_;
            dialog.lpstrFilter = L"Text files (*.txt)\0*.txt\0";
            dialog.lpstrFile = file;
            dialog.nMaxFile = MAX_PATH;
            dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
            const BOOL answer = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
            EXPECT_FALSE(answer);
            EXPECT_EQ(CommDlgExtendedError(), 0u);
            return answer;
          });
        },
        true);
  }
}

// Find and replace are modeless: the owner's loop hands them their keys.
// Alt+C ticks "Match case", Enter asks the owner to find, Escape closes.
TEST_F(SystemDialogs, FindAndReplace) {
  for (bool replace : {false, true}) {
    Compare(replace ? "replace" : "find", [&](bool) {
      TShown shown;
      std::vector<TDialogDriver::TStep> steps{Read(shown)};
      AddTabs(steps, shown, 3);
      steps.push_back(Keys({VK_MENU, 'C'}));
      steps.push_back(NoteFocus(shown));
      steps.push_back([](HWND box) {
        SetFocus(GetDlgItem(box, edt1));
        return true;
      });
      steps.push_back(Keys({VK_RETURN}));
      steps.push_back(PressEscape());
      TDialogDriver driver(owner_, std::move(steps));
      wchar_t what[64] = L"virus", with[64] = L"";
      FINDREPLACEW request{};
      request.lStructSize = sizeof request;
      request.hwndOwner = owner_;
      request.lpstrFindWhat = what;
      request.wFindWhatLen = 64;
      request.lpstrReplaceWith = with;
      request.wReplaceWithLen = 64;
      request.Flags = FR_DOWN;
      g_findFlags = 0;
      EXPECT_NE(replace ? ReplaceTextW(&request) : FindTextW(&request), nullptr);
      driver.RunModeless();
      shown.Closed = driver.ClosedByItself();
      // Match case ticked, a search asked for, then the dialog closed.
      shown.Answer = static_cast<INT_PTR>(g_findFlags & (FR_MATCHCASE | FR_FINDNEXT | FR_DIALOGTERM));
      EXPECT_EQ(shown.Answer, static_cast<INT_PTR>(FR_MATCHCASE | FR_FINDNEXT | FR_DIALOGTERM));
      return shown;
    });
  }
}

// Alt+Y goes to the font style list.
TEST_F(SystemDialogs, Font) {
  Compare("font", [&](bool) {
    const TMoreSteps altY = [](std::vector<TDialogDriver::TStep>& steps, TShown& shown) {
      steps.push_back(Keys({VK_MENU, 'Y'}));
      steps.push_back(NoteFocus(shown));
    };
    return ShowDriven(
        3,
        [&]() -> INT_PTR {
          LOGFONTW font{};
          CHOOSEFONTW dialog{};
          dialog.lStructSize = sizeof dialog;
          dialog.hwndOwner = owner_;
          dialog.lpLogFont = &font;
          dialog.Flags = CF_SCREENFONTS;
          return ChooseFontW(&dialog);
        },
        altY);
  });
}

TEST_F(SystemDialogs, Colour) {
  Compare("colour", [&](bool) {
    return ShowDriven(2, [&]() -> INT_PTR {
      COLORREF custom[16]{};
      CHOOSECOLORW dialog{};
      dialog.lStructSize = sizeof dialog;
      dialog.hwndOwner = owner_;
      dialog.lpCustColors = custom;
      return ChooseColorW(&dialog);
    });
  });
}

// Print setup needs a printer; where the system has none it says so in a
// message box of its own, which is driven instead.
TEST_F(SystemDialogs, PrintSetup) {
  Compare("print setup", [&](bool) {
    return ShowDriven(2, [&]() -> INT_PTR {
      PRINTDLGW dialog{};
      dialog.lStructSize = sizeof dialog;
      dialog.hwndOwner = owner_;
      dialog.Flags = PD_PRINTSETUP;
      const BOOL answer = PrintDlgW(&dialog);
      if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
      if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
      return answer;
    });
  });
}

TEST_F(SystemDialogs, FolderBrowser) {
  Compare("folder browser", [&](bool) {
    return ShowDriven(2, [&]() -> INT_PTR {
      BROWSEINFOW browse{};
      browse.hwndOwner = owner_;
      browse.lpszTitle = L"Folder to scan";
      browse.ulFlags = BIF_RETURNONLYFSDIRS;
      LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
      if (chosen) CoTaskMemFree(chosen);
      return chosen != nullptr;
    });
  });
}

// Each kind of message box answers its keys: Enter, Escape, a button's
// letter with and without Alt.
TEST_F(SystemDialogs, MessageBoxes) {
  struct TCase {
    const char* name;
    UINT type;
    std::vector<WORD> keys;
    int answer;
  };
  const std::vector<TCase> cases = {
      {"information, Enter", MB_OK | MB_ICONINFORMATION, {VK_RETURN}, IDOK},
      {"warning, Escape", MB_OKCANCEL | MB_ICONWARNING, {VK_ESCAPE}, IDCANCEL},
      {"question, N", MB_YESNOCANCEL | MB_ICONQUESTION, {'N'}, IDNO},
      {"error, Alt+R", MB_ABORTRETRYIGNORE | MB_ICONERROR, {VK_MENU, 'R'}, IDRETRY},
  };
  for (const TCase& c : cases) {
    Compare(c.name, [&](bool) {
      TShown shown;
      std::vector<TDialogDriver::TStep> steps{Read(shown)};
      steps.push_back(Keys(c.keys));
      TDialogDriver driver(owner_, std::move(steps));
      shown.Answer = MessageBoxW(owner_, L"The scan has finished.", L"Scanner", c.type);
      EXPECT_EQ(shown.Answer, c.answer);
      shown.Closed = driver.ClosedByItself();
      return shown;
    });
  }
}

}  // namespace
