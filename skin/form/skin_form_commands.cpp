// The skinned system menu and what the caption buttons and the system menu
// do to the window: restore, maximise, minimise, close, and the maximised
// MDI child's buttons.
#include <utility>

#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/timer.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"
#include "skin/form/skin_form.h"

namespace skin {


void TWinSkinForm::BuildSystemPopup() {
  delete std::exchange(skinSystemMenu_, nullptr);
  skinSystemMenu_ = new gui::TPopupMenu(this);
  skinSystemMenu_->SetTag(kSystemPopupTag);
  skinSystemMenu_->OwnerDraw = true;
  skinSystemMenu_->Images = skinData_ ? &skinData_->MenuGlyphs() : nullptr;
  auto add = [this](const wchar_t* caption, int tag, gui::TNotifyEvent click) {
    gui::TMenuItem* item = skinSystemMenu_->Items().Add(caption);
    item->SetTag(tag);
    item->SetImageIndex(tag);
    item->OnClick = std::move(click);
    popups_.AssignSkinHandlers(*item);
    return item;
  };
  const std::uint8_t buttons = facts_.WindowButtons;
  add(L" Restore ", smRestore, [this](gui::TObject*) { RestoreWindow(); });
  if (buttons & wbMaximize) add(L" Maximize ", smMaximize, [this](gui::TObject*) { ToggleMaximize(); });
  if (buttons & wbMinimize) add(L" Minimize ", smMinimize, [this](gui::TObject*) { ToggleMinimize(); });
  add(L"-", smSeparator, nullptr);
  // The key that closes a window is Alt+F4.
  add(L" Close ", smClose, [this](gui::TObject*) { CloseFromMenu(); })->SetShortCutText(L"Alt+F4");
}

void TWinSkinForm::RestoreWindow() {
  facts_.Show = shNormal;
  PostMessageW(wnd_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::ToggleMaximize() {
  if (facts_.Show == shMaximized) return RestoreWindow();
  facts_.Show = shMaximized;
  PostMessageW(wnd_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  SetCurrentObject(nullptr);
}

void TWinSkinForm::ToggleMinimize() {
  if (facts_.Show == shMinimized) return RestoreWindow();
  facts_.Show = shMinimized;
  PostMessageW(wnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::CloseFromMenu() {
  if (hoverTimer_) hoverTimer_->SetEnabled(false);
  PostMessageW(wnd_, WM_CLOSE, 0, 0);
}

void TWinSkinForm::DoButtonAction(int x, int y) {
  auto* button = dynamic_cast<TWinSysButton*>(CurrentObject());
  if (!button) return;
  const std::int32_t action = button->Element->Action;
  switch (CaptionRoleOf(action)) {
    case TCaptionRole::Close:
      CloseFromMenu();
      break;
    case TCaptionRole::Maximize:
      ToggleMaximize();
      break;
    case TCaptionRole::Minimize:
      ToggleMinimize();
      break;
    case TCaptionRole::SystemMenu:
    case TCaptionRole::WindowIcon:
      ShowSystemMenu(x + 1, y + 1);
      break;
    case TCaptionRole::MdiMinimize:
      SendToMdiChild(SC_MINIMIZE);
      break;
    case TCaptionRole::MdiRestore:
      SendToMdiChild(SC_RESTORE);
      break;
    case TCaptionRole::MdiClose:
      SendToMdiChild(SC_CLOSE);
      break;
    case TCaptionRole::Custom:
      // The window's own procedure hears of it, with the skin's number.
      PostMessageW(wnd_, SkinMsgCaptionAction, static_cast<WPARAM>(action), 0);
      break;
    case TCaptionRole::Decoration:
      break;
  }
}

void TWinSkinForm::ShowSystemMenu(int x, int y) {
  if (skinSystemMenu_) {
    for (gui::TMenuItem* item : skinSystemMenu_->Items().Items()) {
      if (item->Tag() == smRestore) item->SetEnabled(facts_.Show != shNormal);
      if (item->Tag() == smMaximize) item->SetEnabled(facts_.Show != shMaximized);
      if (item->Tag() == smMinimize) item->SetEnabled(facts_.Show != shMinimized);
    }
  }
  const DWORD now = GetTickCount();
  if (static_cast<int>(doubleClickTime_) < 0 || now - lastIconClick_ > doubleClickTime_) {
    lastIconClick_ = now;
    if (skinSystemMenu_ && skinData_->HasControl(xcSystemMenu) && facts_.Mdi != mkChild) {
      skinSystemMenu_->Popup(x, y, wnd_);
    } else if (systemMenu_) {
      TrackPopupMenu(systemMenu_, TPM_RIGHTBUTTON, x, y, 0, wnd_, nullptr);
    }
    return;
  }
  // A second opening within the double-click time: double-clicking the icon
  // closes the window.
  CloseFromMenu();
}

LRESULT TWinSkinForm::WMCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam) & 0xFFF0) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
      // A choice made in the system menu tracked as a plain popup.
      if ((LOWORD(wParam) & 0xF) == 0) {
        PostMessageW(wnd_, WM_SYSCOMMAND, LOWORD(wParam), 0);
        return 0;
      }
      break;
    default:
      break;
  }
  return CallDefault(WM_COMMAND, wParam, lParam);
}

LRESULT TWinSkinForm::WMSysCommand(WPARAM wParam, LPARAM lParam) {
  const WPARAM command = wParam & 0xFFF0;
  if (command == SC_KEYMENU && AnswerKeyMenu(lParam)) return 1;
  const bool child = facts_.Mdi == mkChild;
  if (command == SC_MINIMIZE || command == SC_MAXIMIZE) {
    facts_.Show = command == SC_MINIMIZE ? shMinimized : shMaximized;
    if (child) SetSystemCaption(true);
  } else if (command == SC_RESTORE) {
    facts_.Show = shNormal;
    if (child) SetSystemCaption(false);
  }
  return CallDefault(WM_SYSCOMMAND, wParam, lParam);
}

}  // namespace skin
