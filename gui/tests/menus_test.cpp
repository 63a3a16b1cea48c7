// Menus on live forms: the item tree read from a form description, clicks
// through WM_COMMAND, shortcuts through the message loop, the menu-changed
// notification, actions, popup and context menus, images and owner drawing,
// right-to-left bars.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gui/actions.h"
#include "gui/bitmap.h"
#include "gui/forms.h"
#include "gui/imagelist.h"
#include "gui/menus.h"
#include "gui/stdctrls.h"
#include "gui/tests/test_forms.h"
#include "gui/text.h"

using namespace gui;
using gui_test::HeldKeys;
using gui_test::MessageLog;

namespace {

const char* kMenuForm = R"(object MenuForm: TForm
  Caption = 'Menus'
  ClientWidth = 400
  ClientHeight = 200
  Menu = MainMenu1
  object Button1: TButton
    Left = 10
    Top = 10
    Caption = 'Button'
    PopupMenu = PopupMenu1
  end
  object Refresh: TAction
    Caption = '&Refresh'
    ShortCut = 'F5'
    OnExecute = RefreshExecute
    OnUpdate = RefreshUpdate
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open...'
        ShortCut = 16463
        OnClick = Open1Click
      end
      object Save1: TMenuItem
        Caption = '&Save'
        ShortCut = 'Ctrl+S'
        Enabled = False
        OnClick = Save1Click
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Secret1: TMenuItem
        Caption = 'Secret'
        Visible = False
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        Default = True
      end
    end
    object View1: TMenuItem
      Caption = '&View'
      object Toolbar1: TMenuItem
        Caption = '&Toolbar'
        Checked = True
        AutoCheck = True
      end
      object Small1: TMenuItem
        Caption = '&Small'
        RadioItem = True
        GroupIndex = 1
        Checked = True
        AutoCheck = True
      end
      object Large1: TMenuItem
        Caption = '&Large'
        RadioItem = True
        GroupIndex = 1
        AutoCheck = True
      end
      object Refresh1: TMenuItem
        Action = Refresh
      end
    end
  end
  object PopupMenu1: TPopupMenu
    OnPopup = PopupMenu1Popup
    object Alpha1: TMenuItem
      Caption = '&Alpha'
      OnClick = Open1Click
    end
    object More1: TMenuItem
      Caption = '&More'
      OnClick = More1Click
      object Beta1: TMenuItem
        Action = Refresh
      end
    end
  end
end
)";

class MenuForm : public TForm {
 public:
  using TForm::TForm;
  int opened = 0, saved = 0, refreshed = 0, updates = 0, popups = 0, more = 0;
  bool refreshEnabled = true;
  std::wstring refreshCaption = L"&Refresh";
  TControl* popupFor = nullptr;

  template <class T>
  T* Find(const char* name) {
    return dynamic_cast<T*>(FindComponent(name));
  }
  TMenuItem* Item(const char* name) { return Find<TMenuItem>(name); }

  TNotifyEvent MethodAddress(std::string_view name) override {
    if (name == "Open1Click") return [this](TObject*) { ++opened; };
    if (name == "Save1Click") return [this](TObject*) { ++saved; };
    if (name == "More1Click") return [this](TObject*) { ++more; };
    if (name == "RefreshExecute") return [this](TObject*) { ++refreshed; };
    if (name == "RefreshUpdate")
      return [this](TObject* sender) {
        ++updates;
        auto* action = dynamic_cast<TAction*>(sender);
        action->SetEnabled(refreshEnabled);
        action->SetCaption(refreshCaption);
      };
    if (name == "PopupMenu1Popup")
      return [this](TObject* sender) {
        ++popups;
        popupFor = dynamic_cast<TPopupMenu*>(sender)->PopupComponent;
      };
    return {};
  }
};

std::wstring ItemText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return text;
}

MENUITEMINFOW ItemInfo(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU | MIIM_BITMAP;
  GetMenuItemInfoW(menu, position, TRUE, &info);
  return info;
}

UINT StateOf(TMenuItem* item) {
  HMENU container = item->ParentItem()->Handle();
  return GetMenuState(container, item->Command(), MF_BYCOMMAND);
}

class Menus : public gui_test::ApplicationTest {
 protected:
  void TearDown() override {
    EXPECT_TRUE(errors_.empty()) << (errors_.empty() ? "" : WideToUtf8(errors_[0]));
    ApplicationTest::TearDown();
  }
  MenuForm* NewForm(const char* text = kMenuForm) {
    auto* form = new MenuForm(app_.get());
    form->InitFromText(text);
    form->HandleNeeded();
    return form;
  }
};

}  // namespace

TEST_F(Menus, TheFormDescriptionBuildsTheBarItemsAndTheirStates) {
  MenuForm* form = NewForm();
  auto* menu = form->Find<TMainMenu>("MainMenu1");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(form->Menu(), menu);
  EXPECT_EQ(form->Find<TButton>("Button1")->PopupMenu(), form->Find<TPopupMenu>("PopupMenu1"));
  HMENU bar = GetMenu(form->Handle());
  ASSERT_EQ(bar, menu->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(ItemText(bar, 0), L"&File");
  EXPECT_EQ(ItemText(bar, 1), L"&View");

  HMENU file = GetSubMenu(bar, 0);
  EXPECT_EQ(file, form->Item("File1")->Handle());
  ASSERT_EQ(GetMenuItemCount(file), 4);  // the hidden item is left out
  EXPECT_EQ(ItemText(file, 0), L"&Open...\tCtrl+O");
  EXPECT_EQ(ItemText(file, 1), L"&Save\tCtrl+S");
  EXPECT_NE(ItemInfo(file, 1).fState & MFS_GRAYED, 0u);
  EXPECT_NE(ItemInfo(file, 2).fType & MFT_SEPARATOR, 0u);
  EXPECT_EQ(ItemText(file, 3), L"E&xit");
  EXPECT_EQ(GetMenuDefaultItem(file, FALSE, 0), form->Item("Exit1")->Command());
  EXPECT_EQ(TMenuItem::FromItemData(ItemInfo(file, 0).dwItemData), form->Item("Open1"));
  EXPECT_EQ(TMenuItem::FromMenuHandle(file), form->Item("File1"));

  HMENU view = GetSubMenu(bar, 1);
  const MENUITEMINFOW toolbar = ItemInfo(view, 0), small = ItemInfo(view, 1), large = ItemInfo(view, 2);
  EXPECT_NE(toolbar.fState & MFS_CHECKED, 0u);
  EXPECT_EQ(toolbar.fType & MFT_RADIOCHECK, 0u);
  EXPECT_NE(small.fType & MFT_RADIOCHECK, 0u);
  EXPECT_NE(small.fState & MFS_CHECKED, 0u);
  EXPECT_NE(large.fType & MFT_RADIOCHECK, 0u);
  EXPECT_EQ(large.fState & MFS_CHECKED, 0u);
  // The item linked to an action shows the action's caption and shortcut.
  EXPECT_EQ(ItemText(view, 3), L"&Refresh\tF5");

  // Making the hidden item visible puts it back in its place.
  form->Item("Secret1")->SetVisible(true);
  ASSERT_EQ(GetMenuItemCount(file), 5);
  EXPECT_EQ(ItemText(file, 3), L"Secret");
  delete form;
}

TEST_F(Menus, ReferencesToComponentsThatAreMissingOrOfAnotherClassAreReported) {
  const auto error = [this](const char* text) {
    try {
      delete NewForm(text);
    } catch (const Exception& e) {
      return e.Message();
    }
    return std::wstring();
  };
  EXPECT_EQ(error("object F: TForm\n  Menu = NoMenu\nend\n"), L"Component NoMenu not found (F, line 2)");
  EXPECT_EQ(error("object F: TForm\n  Menu = Item\n  object P: TPopupMenu\n    object Item: TMenuItem\n    end\n  end\nend\n"),
            L"Invalid property value Item (F, line 2)");
}

TEST_F(Menus, AChosenItemArrivesAsWMCommandAndRunsItsHandler) {
  MenuForm* form = NewForm();
  const auto choose = [form](const char* name) {
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(form->Item(name)->Command(), 0), 0);
  };
  choose("Open1");
  EXPECT_EQ(form->opened, 1);
  choose("Save1");  // disabled
  EXPECT_EQ(form->saved, 0);

  // Radio items of one group: checking one unchecks the other, in the menu too.
  choose("Large1");
  EXPECT_TRUE(form->Item("Large1")->Checked);
  EXPECT_FALSE(form->Item("Small1")->Checked());
  EXPECT_NE(StateOf(form->Item("Large1")) & MF_CHECKED, 0u);
  EXPECT_EQ(StateOf(form->Item("Small1")) & MF_CHECKED, 0u);
  choose("Toolbar1");
  EXPECT_EQ(StateOf(form->Item("Toolbar1")) & MF_CHECKED, 0u);

  // An item linked to an action runs it.
  choose("Refresh1");
  EXPECT_EQ(form->refreshed, 1);
  delete form;
}

TEST_F(Menus, ShortcutsAreAnsweredFromTheMessageLoop) {
  MenuForm* form = NewForm();
  HWND button = form->Find<TButton>("Button1")->Handle();
  {
    HeldKeys ctrl{VK_CONTROL};
    gui_test::PostKey(button, 'O');
    gui_test::PostKey(button, 'S');  // the disabled item does not run
    app_->ProcessMessages();
  }
  EXPECT_EQ(form->opened, 1);
  EXPECT_EQ(form->saved, 0);
  gui_test::PostKey(button, 'O');  // without Ctrl it is just a letter
  app_->ProcessMessages();
  EXPECT_EQ(form->opened, 1);
  // An action's shortcut, through the item that follows it; and when the
  // action is disabled by its update, not at all.
  gui_test::PostKey(button, VK_F5);
  app_->ProcessMessages();
  EXPECT_EQ(form->refreshed, 1);
  form->refreshEnabled = false;
  gui_test::PostKey(button, VK_F5);
  app_->ProcessMessages();
  EXPECT_EQ(form->refreshed, 1);
  delete form;
}

TEST_F(Menus, ShortcutTextsReadAndWriteTheSameKeys) {
  struct Case {
    const wchar_t* text;
    TShortCut shortCut;
  };
  for (const Case& c : {Case{L"Ctrl+O", ShortCut('O', scCtrl)}, Case{L"Shift+Ctrl+F12", ShortCut(VK_F12, scShift | scCtrl)},
                        Case{L"Alt+Del", ShortCut(VK_DELETE, scAlt)}, Case{L"F5", ShortCut(VK_F5, scNone)},
                        Case{L"Shift+PgDn", ShortCut(VK_NEXT, scShift)}}) {
    EXPECT_EQ(TextToShortCut(c.text), c.shortCut) << WideToUtf8(c.text);
    EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
  }
  EXPECT_EQ(TextToShortCut(L"ctrl+o"), ShortCut('O', scCtrl));
  EXPECT_EQ(TextToShortCut(L"Ctrl+Banana"), scNone);
  EXPECT_EQ(TextToShortCut(L"Hyper+X"), scNone);
  EXPECT_EQ(ShortCutToText(ShortCut(VK_LWIN, scCtrl)), L"");  // no name: no text
}

TEST_F(Menus, ChangingTheMainMenuTellsTheFormThroughItsWindowMethod) {
  MenuForm* form = NewForm();
  HMENU bar = form->Menu()->Handle();
  HMENU file = form->Item("File1")->Handle();
  MessageLog log(form);
  form->Item("Open1")->SetCaption(L"&Open file");
  EXPECT_EQ(log.Count(CM_MENUCHANGED), 1);
  EXPECT_EQ(ItemText(file, 0), L"&Open file\tCtrl+O");

  log.Seen.clear();
  TMenuItem* close = form->Item("File1")->Add(L"&Close");
  EXPECT_EQ(log.Count(CM_MENUCHANGED), 1);
  EXPECT_EQ(GetMenuItemCount(file), 5);
  EXPECT_EQ(ItemText(file, 4), L"&Close");
  delete close;
  EXPECT_EQ(GetMenuItemCount(file), 4);

  // A layer that took the bar off the window (as a skinner does) gets it
  // back with the next change, and the handle stays the same.
  SetMenu(form->Handle(), nullptr);
  log.Seen.clear();
  form->Item("View1")->SetCaption(L"&Look");
  EXPECT_EQ(log.Count(CM_MENUCHANGED), 1);
  EXPECT_EQ(GetMenu(form->Handle()), bar);
  EXPECT_EQ(ItemText(bar, 1), L"&Look");

  // Popup menus are no business of the form's bar.
  log.Seen.clear();
  form->Item("Alpha1")->SetCaption(L"&First");
  EXPECT_EQ(log.Count(CM_MENUCHANGED), 0);

  // The form's menu taken away: off the window, and the form hears of it.
  TMainMenu* menu = form->Menu();
  form->SetMenu(nullptr);
  EXPECT_EQ(log.Count(CM_MENUCHANGED), 1);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  form->SetMenu(menu);
  delete form;
}

TEST_F(Menus, ActionsUpdateWhenTheApplicationIsIdleAndItemsFollow) {
  MenuForm* form = NewForm();
  app_->SetMainForm(form);
  form->refreshEnabled = false;
  form->refreshCaption = L"&Reload";
  int idles = 0;
  app_->OnIdle = [this, &idles](TObject*) {
    if (++idles == 1) app_->Terminate();
  };
  app_->Run();
  EXPECT_GE(form->updates, 1);
  TMenuItem* refresh = form->Item("Refresh1");
  EXPECT_FALSE(refresh->Enabled());
  EXPECT_EQ(refresh->Caption(), L"&Reload");
  EXPECT_NE(StateOf(refresh) & MF_GRAYED, 0u);
  EXPECT_EQ(ItemText(form->Item("View1")->Handle(), 3), L"&Reload\tF5");
  // The popup's item follows the same action.
  EXPECT_EQ(form->Item("Beta1")->Caption(), L"&Reload");
  // A freed action leaves its items as they are.
  delete form->Find<TAction>("Refresh");
  EXPECT_EQ(refresh->Action(), nullptr);
  EXPECT_EQ(refresh->Caption(), L"&Reload");
  delete form;
}

TEST_F(Menus, APopupMenuOpensItsSubmenuAfterTheActionsInsideHaveUpdated) {
  MenuForm* form = NewForm();
  auto* popup = form->Find<TPopupMenu>("PopupMenu1");
  HMENU more = form->Item("More1")->Handle();
  form->refreshCaption = L"&Again";
  std::vector<HMENU> opened;
  std::wstring betaWhenOpened;
  MessageLog log(form);
  log.OnMessage = [&](const TMessage& m) {
    if (m.Msg != WM_INITMENUPOPUP) return;
    opened.push_back(reinterpret_cast<HMENU>(m.WParam));
    if (reinterpret_cast<HMENU>(m.WParam) == popup->Handle()) {
      // Down to "More" and open it, as a user would with the keyboard.
      for (WORD key : {VK_DOWN, VK_DOWN, VK_RIGHT}) gui_test::PostKey(form->Handle(), key);
    } else {
      PostMessageW(form->Handle(), WM_CANCELMODE, 0, 0);
      EndMenu();
    }
  };
  const int updatesBefore = form->updates;
  popup->Popup(100, 100, form->Handle());
  EXPECT_EQ(form->popups, 1);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[1], more);
  EXPECT_GT(form->updates, updatesBefore);
  EXPECT_EQ(form->Item("Beta1")->Caption(), L"&Again");
  EXPECT_EQ(ItemText(more, 0), L"&Again\tF5");
  EXPECT_EQ(form->more, 1);    // the item whose submenu opened was clicked
  EXPECT_EQ(form->opened, 0);  // nothing was chosen
  EXPECT_EQ(popup->PopupComponent, nullptr);
  delete form;
}

TEST_F(Menus, ARightClickShowsTheControlsContextMenu) {
  MenuForm* form = NewForm();
  auto* button = form->Find<TButton>("Button1");
  auto* popup = form->Find<TPopupMenu>("PopupMenu1");
  int shown = 0;
  MessageLog log(form);
  log.OnMessage = [&](const TMessage& m) {
    if (m.Msg == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(m.WParam) == popup->Handle()) {
      ++shown;
      EndMenu();
    }
  };
  RECT r;
  GetWindowRect(button->Handle(), &r);
  SendMessageW(button->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(button->Handle()), MAKELPARAM(r.left + 2, r.top + 2));
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(form->popupFor, button);
  // The form has no context menu of its own: a click beside the button shows nothing.
  SendMessageW(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()), MAKELPARAM(r.right + 50, r.bottom + 50));
  EXPECT_EQ(shown, 1);
  form->SetPopupMenu(popup);
  SendMessageW(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()), MAKELPARAM(r.right + 50, r.bottom + 50));
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(form->popupFor, form);
  delete popup;  // the controls forget a freed menu
  EXPECT_EQ(button->PopupMenu(), nullptr);
  EXPECT_EQ(form->PopupMenu(), nullptr);
  delete form;
}

TEST_F(Menus, ImagesAreDrawnForPlainItemsAndOwnerDrawnItemsDrawThemselves) {
  MenuForm* form = NewForm();
  auto* images = new TImageList(form, 16, 16);
  TBitmap strip(32, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) strip.SetPixel(x, y, x < 16 ? RGB(255, 0, 0) : RGB(0, 0, 255));
  ASSERT_TRUE(images->AddMasked(strip.Handle(), RGB(255, 0, 255)));
  form->Menu()->SetImages(images);
  TMenuItem* open = form->Item("Open1");
  open->SetImageIndex(1);
  HMENU file = form->Item("File1")->Handle();
  EXPECT_EQ(ItemInfo(file, 0).hbmpItem, HBMMENU_CALLBACK);
  EXPECT_EQ(ItemInfo(file, 1).hbmpItem, nullptr);  // no image

  MEASUREITEMSTRUCT measure{ODT_MENU, 0, open->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(open)};
  EXPECT_EQ(SendMessageW(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
  EXPECT_EQ(measure.itemWidth, 16u);
  EXPECT_EQ(measure.itemHeight, 16u);
  TBitmap target(40, 20);
  TCanvas(target.DC()).FillRect(RECT{0, 0, 40, 20}, RGB(255, 255, 255));
  DRAWITEMSTRUCT draw{ODT_MENU, 0, open->Command(), ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(file), target.DC(),
                      RECT{0, 0, 20, 20}, reinterpret_cast<ULONG_PTR>(open)};
  EXPECT_EQ(SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), TRUE);
  EXPECT_EQ(target.Pixel(10, 10), RGB(0, 0, 255));  // image 1, centred
  EXPECT_EQ(target.Pixel(30, 10), RGB(255, 255, 255));

  // Owner-drawn: the item's own handler, else the framework's drawing.
  form->Menu()->SetOwnerDraw(true);
  EXPECT_NE(ItemInfo(file, 0).fType & MFT_OWNERDRAW, 0u);
  TMenuItem* exit = form->Item("Exit1");
  int handled = 0;
  exit->OnDrawItem = [&handled](TMenuItem*, HDC, const RECT&, UINT) { ++handled; };
  draw.itemID = exit->Command();
  draw.itemData = reinterpret_cast<ULONG_PTR>(exit);
  SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  EXPECT_EQ(handled, 1);
  draw.itemID = open->Command();
  draw.itemData = reinterpret_cast<ULONG_PTR>(open);
  draw.itemState = ODS_SELECTED;
  draw.rcItem = RECT{0, 0, 40, 20};
  SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  EXPECT_EQ(target.Pixel(39, 0), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(target.Pixel(10, 10), RGB(0, 0, 255));  // the image in the glyph column
  measure.itemWidth = measure.itemHeight = 0;
  measure.itemID = open->Command();
  SendMessageW(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  EXPECT_GT(measure.itemWidth, 16u + 40u);  // glyph, caption and shortcut
  EXPECT_GE(measure.itemHeight, 16u);
  delete form;
}

TEST_F(Menus, ARightToLeftFormLaysItsBarOutFromTheRight) {
  MenuForm* form = NewForm();
  form->SetBiDiMode(TBiDiMode::bdRightToLeft);
  HMENU bar = GetMenu(form->Handle());
  EXPECT_TRUE(form->Menu()->IsRightToLeft());
  EXPECT_NE(ItemInfo(bar, 0).fType & MFT_RIGHTJUSTIFY, 0u);
  EXPECT_NE(ItemInfo(form->Item("File1")->Handle(), 0).fType & MFT_RIGHTORDER, 0u);
  RECT window, item;
  GetWindowRect(form->Handle(), &window);
  ASSERT_TRUE(GetMenuItemRect(form->Handle(), bar, 0, &item));
  EXPECT_GT(item.left, (window.left + window.right) / 2);
  form->SetBiDiMode(TBiDiMode::bdLeftToRight);
  ASSERT_TRUE(GetMenuItemRect(form->Handle(), bar, 0, &item));
  EXPECT_LT(item.left, (window.left + window.right) / 2);
  delete form;
}

// A right-to-left popup menu, and any popup of a mirrored window, opens
// mirrored with its right edge at the point, as the system's own do.
TEST_F(Menus, RightToLeftPopupsOpenLeftwardsFromThePoint) {
  MenuForm* form = NewForm();
  auto* popup = form->Find<TPopupMenu>("PopupMenu1");
  RECT shown{};
  DWORD exStyle = 0;
  MessageLog log(form);
  log.OnMessage = [&](const TMessage& m) {
    if (m.Msg != WM_ENTERIDLE || m.WParam != MSGF_MENU) return;
    HWND menu = FindWindowW(L"#32768", nullptr);
    GetWindowRect(menu, &shown);
    exStyle = static_cast<DWORD>(GetWindowLongPtrW(menu, GWL_EXSTYLE));
    EndMenu();
  };
  const auto open = [&] {
    shown = RECT{};
    popup->Popup(300, 100, form->Handle());
  };
  open();
  EXPECT_EQ(shown.left, 300);
  popup->SetBiDiMode(TBiDiMode::bdRightToLeft);
  open();
  EXPECT_EQ(shown.right, 300);
  EXPECT_NE(exStyle & WS_EX_LAYOUTRTL, 0u);
  popup->SetBiDiMode(TBiDiMode::bdLeftToRight);
  SetWindowLongPtrW(form->Handle(), GWL_EXSTYLE, GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
  open();
  EXPECT_EQ(shown.right, 300);
  EXPECT_NE(exStyle & WS_EX_LAYOUTRTL, 0u);
  delete form;
}

TEST_F(Menus, FreedMenusDestroyEverySystemMenuTheyMade) {
  const long before = MenuLevelHandle::LiveCount();
  for (int i = 0; i < 20; ++i) {
    MenuForm* form = NewForm();
    const std::vector<HMENU> handles{form->Menu()->Handle(), form->Item("File1")->Handle(),
                                     form->Item("View1")->Handle(), form->Find<TPopupMenu>("PopupMenu1")->Handle(),
                                     form->Item("More1")->Handle()};
    // Items moved between menus keep their submenus.
    form->Find<TPopupMenu>("PopupMenu1")->Items().Add(form->Item("View1"));
    EXPECT_EQ(GetMenuItemCount(form->Menu()->Handle()), 1);
    delete form;
    for (HMENU handle : handles) EXPECT_FALSE(IsMenu(handle));
  }
  EXPECT_EQ(MenuLevelHandle::LiveCount(), before);
}

TEST_F(Menus, AltLetterReachesTheFormsWindowMethodAsADialogCharacter) {
  MenuForm* form = NewForm();
  auto* button = form->Find<TButton>("Button1");
  ASSERT_NE(button, nullptr);
  form->Show();
  button->SetFocus();
  MessageLog log(form);
  // From the form itself and from a control with the focus alike, once
  // each: a layer in front of the form's window method (a skinned menu
  // bar) can answer it before the controls see it.
  SendMessageW(form->Handle(), WM_SYSCHAR, 'q', 0x20000000);
  EXPECT_EQ(log.Count(CM_DIALOGCHAR), 1);
  SendMessageW(button->Handle(), WM_SYSCHAR, 'q', 0x20000000);
  EXPECT_EQ(log.Count(CM_DIALOGCHAR), 2);
  EXPECT_EQ(log.Count(WM_SYSCHAR), 1);  // the button's own stays the button's
  delete form;
}
