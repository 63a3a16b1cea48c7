// TWinSkinForm's menus: the skinned menu bar in the window's non-client
// area (creating it, opening its items, Alt+letter, menu changes) and the
// owner-drawn items of the bar's submenus and the form's popup menus.
#include <windowsx.h>

#include <memory>

#include "gui/forms.h"
#include "gui/menus.h"
#include "skin/data/platform_version.h"
#include "skin/data/skin_data.h"
#include "skin/form/menu_item_draw.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_popup_menu.h"

namespace skin {

namespace {

// Windows NT 4.0 draws owner-drawn menu items of its own accord wrongly;
// its bar submenus keep the system's look.
bool IsWindowsNt4() { return !IsWin9xPlatform() && LOBYTE(LOWORD(RawWindowsVersion())) == 4; }

// The submenus of a framework item are prepared as the framework prepares a
// submenu about to open (actions updated, items rebuilt): the bar tracks
// its submenus without the notifications that would do it.
void PrepareSubmenus(gui::TMenuItem& item) {
  item.InitiatePopup();
  for (gui::TMenuItem* sub : item.Items())
    if (sub->Visible && !sub->Items().empty()) PrepareSubmenus(*sub);
}

bool OnlyAltDown() {
  auto down = [](int key) { return GetKeyState(key) < 0; };
  return down(VK_MENU) && !down(VK_SHIFT) && !down(VK_CONTROL) && !down(VK_LBUTTON) && !down(VK_RBUTTON) &&
         !down(VK_MBUTTON);
}

}  // namespace

void TWinSkinForm::CreateMenuBar() {
  MenuBar = std::make_unique<TWinSkinMenu>(this, SkinData);
  MenuHeight = GetSystemMetrics(SM_CYMENU);
  if (Form) MenuBar->MainMenu = Form->Menu();
  MenuBar->LoadFromWindowMenu();
}

TMenuBtn* TWinSkinForm::FindAccelButton(wchar_t ch) const { return MenuBar ? MenuBar->FindAccelButton(ch) : nullptr; }

bool TWinSkinForm::MenuAccelerator(WPARAM ch) {
  TMenuBtn* item = FindAccelButton(static_cast<wchar_t>(ch));
  if (!item || !OnlyAltDown()) return false;
  ClickMenuButton(*item);
  return true;
}

void TWinSkinForm::ClickMenuButton(const TMenuBtn& item) {
  GetWindowRect(Handle, &WindowRect);
  const int x = item.BoundsRect.left + WindowRect.left + 1;
  const int y = item.BoundsRect.top + WindowRect.top + 1;
  PostMessageW(Handle, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(x, y));
}

void TWinSkinForm::MenuChanged(gui::TMessage& message, bool viaWindowProcedure) {
  // No skinned frame is painted while the bar is back on the window.
  const bool painting = SkinData->FramePainting;
  SkinData->FramePainting = false;
  try {
    if (viaWindowProcedure) {
      message.Result = CallDefault(message.Msg, message.WParam, message.LParam);
    } else {
      formHook_.CallPrevious(message);
    }
  } catch (...) {
    SkinData->FramePainting = painting;
    throw;
  }
  SkinData->FramePainting = painting;
  HMENU menu = GetMenu(Handle);
  if (!MenuBar || !menu) return;
  MenuBar->MenuHandle = menu;
  if (SkinData->MenuUpdate) {
    MenuBar->LoadFromWindowMenu();
  } else {
    // The bar keeps the items it shows; the system's stays off the window.
    SetMenu(Handle, nullptr);
  }
}

std::vector<TWinSkinForm::TOwnerDrawnItem> TWinSkinForm::MakeOwnerDrawn(HMENU menu) {
  std::vector<TOwnerDrawnItem> changed;
  std::vector<HMENU> pending{menu};
  while (!pending.empty()) {
    HMENU current = pending.back();
    pending.pop_back();
    const int count = GetMenuItemCount(current);
    for (int i = 0; i < count; ++i) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
      if (!GetMenuItemInfoW(current, static_cast<UINT>(i), TRUE, &info)) continue;
      if (info.hSubMenu) pending.push_back(info.hSubMenu);
      if (info.fType & MFT_OWNERDRAW) continue;
      changed.push_back(TOwnerDrawnItem{current, static_cast<UINT>(i), info.fType});
      info.fMask = MIIM_FTYPE;
      info.fType |= MFT_OWNERDRAW;
      SetMenuItemInfoW(current, static_cast<UINT>(i), TRUE, &info);
    }
  }
  return changed;
}

void TWinSkinForm::RestoreItemTypes(const std::vector<TOwnerDrawnItem>& items) {
  for (const TOwnerDrawnItem& item : items) {
    if (!IsMenu(item.Menu)) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    // Only an item still owner-drawn by us: the application may have
    // rebuilt the menu meanwhile.
    if (!GetMenuItemInfoW(item.Menu, item.Position, TRUE, &info) || !(info.fType & MFT_OWNERDRAW)) continue;
    info.fType = item.Type;
    SetMenuItemInfoW(item.Menu, item.Position, TRUE, &info);
  }
}

bool TWinSkinForm::OpenMenuButton(TMenuBtn& item) {
  // What the item says is read now: a click handler run while the submenu
  // is open may reload the bar, or the skin may be switched off.
  const HMENU submenu = item.Submenu;
  const bool enabled = item.Enabled;
  const RECT bounds = item.BoundsRect;
  const int index = item.Index;
  gui::TMenuItem* framework = MenuBar ? MenuBar->FrameworkItem(index) : nullptr;
  const bool rightToLeft = MenuBar && MenuBar->IsRightToLeft();
  // The framework's click for every item it owns; a plain window hears of
  // an item only when it is a command of its own.
  if (framework || !submenu) PostMessageW(Handle, WM_COMMAND, item.Command, 0);
  if (!submenu) return false;
  GetWindowRect(Handle, &WindowRect);
  if (framework && enabled) PrepareSubmenus(*framework);
  std::vector<TOwnerDrawnItem> ownerDrawn;
  if (!IsWindowsNt4()) ownerDrawn = MakeOwnerDrawn(submenu);
  MenuTracking = true;
  TrackedMenu = submenu;
  InstallMenuFilterHook(this, index);
  const std::shared_ptr<bool> alive = alive_;
  if (enabled) {
    UINT flags = TPM_NONOTIFY | TPM_RIGHTBUTTON;
    int x = bounds.left + WindowRect.left;
    if (rightToLeft) {
      flags |= TPM_RIGHTALIGN | TPM_LAYOUTRTL;
      x = bounds.right + WindowRect.left;
    }
    TrackPopupMenu(submenu, flags, x, bounds.bottom + WindowRect.top, 0, Handle, nullptr);
  }
  // A skinner freed meanwhile has removed the hook on its way out.
  const bool stillHere = *alive;
  if (stillHere && CurrentMenuTracking().Form == this) RemoveMenuFilterHook();
  RestoreItemTypes(ownerDrawn);
  if (stillHere) MenuTracking = false;
  return true;
}

// --- owner-drawn items -------------------------------------------------------

gui::TMenuItem* TWinSkinForm::BarMenuItem(UINT command) const {
  if (!Form || !MenuBar || !MenuBar->MainMenu) return nullptr;
  gui::TMenuItem* item = gui::TMenuItem::FromCommand(command);
  if (!item) return nullptr;
  const gui::TMenu* menu = item->Menu();
  const gui::TMainMenu* main = MenuBar->MainMenu;
  return menu == main || (main->Merged() && menu == main->Merged()) ? item : nullptr;
}

LRESULT TWinSkinForm::WMMeasureItem(WPARAM wParam, LPARAM lParam) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (!measure || measure->CtlType != ODT_MENU) return CallDefault(WM_MEASUREITEM, wParam, lParam);
  if (WindowMenu) {
    TWinSkinPopMenu::MarkAllFromMenuBar();
    if (gui::TMenuItem* item = BarMenuItem(measure->itemID)) {
      gui::WindowDc dc = gui::WindowDc::Whole(Handle);
      int width = static_cast<int>(measure->itemWidth), height = static_cast<int>(measure->itemHeight);
      MeasureBarMenuItem(*this, *item, dc.get(), width, height);
      measure->itemWidth = static_cast<UINT>(width);
      measure->itemHeight = static_cast<UINT>(height);
      return TRUE;
    }
    if (!gui::TMenuItem::FromItemData(measure->itemData)) {
      // An item of the window's own menu: measured from its text.
      const SIZE size = MeasureWindowMenuItem(*this, MenuItemText(TrackedMenu, measure->itemID),
                                              static_cast<int>(measure->itemHeight));
      measure->itemWidth = static_cast<UINT>(size.cx);
      measure->itemHeight = static_cast<UINT>(size.cy);
      return TRUE;
    }
  }
  // The framework's popup menus: the skin's handlers (or the application's).
  AdoptPopupItem(measure->itemData);
  if (gui::TPopupMenu::MeasureItem(*measure)) return TRUE;
  return CallDefault(WM_MEASUREITEM, wParam, lParam);
}

LRESULT TWinSkinForm::WMDrawItem(WPARAM wParam, LPARAM lParam) {
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (!draw || draw->CtlType != ODT_MENU) return CallDefault(WM_DRAWITEM, wParam, lParam);
  auto* menu = reinterpret_cast<HMENU>(draw->hwndItem);
  const bool selected = (draw->itemState & ODS_SELECTED) != 0;
  if (WindowMenu && !(IsWindowsNt4() && MdiKind == mkFrame)) {
    if (PendingMenuSkinner && menu) {
      PendingMenuSkinner->MenuHandle = menu;
      PendingMenuSkinner = nullptr;
    }
    TWinSkinPopMenu::MarkAllFromMenuBar();
    if (gui::TMenuItem* item = BarMenuItem(draw->itemID)) {
      SkinMenuItemDraw(*this, *item, draw->hDC, draw->rcItem, selected, menu);
      return TRUE;
    }
    if (!gui::TMenuItem::FromItemData(draw->itemData)) {
      std::unique_ptr<gui::TMenuItem> item = MenuItemFromHandle(menu, draw->itemID);
      DrawWindowMenuItem(*this, *item, draw->hDC, draw->rcItem, selected, menu);
      return TRUE;
    }
  }
  if (gui::TMenuItem::FromItemData(draw->itemData)) {
    AdoptPopupItem(draw->itemData);
    menuBeingDrawn_ = menu;
    const bool drawn = gui::TPopupMenu::DrawItem(*draw);
    menuBeingDrawn_ = nullptr;
    if (drawn) return TRUE;
  }
  return CallDefault(WM_DRAWITEM, wParam, lParam);
}

}  // namespace skin
