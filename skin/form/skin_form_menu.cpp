// The owner-drawn menu items a skinned window is asked to measure and draw:
// the items of the skinned bar's submenus (the framework's, or the window's
// own menu's) and the items of the form's popup menus.
#include <memory>

#include "gui/forms.h"
#include "gui/menus.h"
#include "skin/data/platform_version.h"
#include "skin/form/menu_item_draw.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_popup_menu.h"

namespace skin {

namespace {

// Windows NT 4.0 draws owner-drawn menu items of its own accord wrongly.
bool IsWindowsNt4() { return !IsWin9xPlatform() && LOBYTE(LOWORD(RawWindowsVersion())) == 4; }

}  // namespace

gui::TMenuItem* TWinSkinForm::BarMenuItem(UINT command) const {
  const TWinSkinMenu* bar = MenuBar();
  if (!form_ || !bar || !bar->MainMenu()) return nullptr;
  gui::TMenuItem* item = gui::TMenuItem::FromCommand(command);
  if (!item) return nullptr;
  const gui::TMenu* menu = item->Menu();
  const gui::TMainMenu* main = bar->MainMenu();
  return menu == main || (main->Merged() && menu == main->Merged()) ? item : nullptr;
}

LRESULT TWinSkinForm::WMMeasureItem(WPARAM wParam, LPARAM lParam) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (!measure || measure->CtlType != ODT_MENU) return CallDefault(WM_MEASUREITEM, wParam, lParam);
  if (menuBar_.WindowMenu()) {
    TWinSkinPopMenu::MarkAllFromMenuBar();
    if (gui::TMenuItem* item = BarMenuItem(measure->itemID)) {
      gui::WindowDc dc = gui::WindowDc::Whole(wnd_);
      int width = static_cast<int>(measure->itemWidth), height = static_cast<int>(measure->itemHeight);
      MeasureBarMenuItem(*this, *item, dc.get(), width, height);
      measure->itemWidth = static_cast<UINT>(width);
      measure->itemHeight = static_cast<UINT>(height);
      return TRUE;
    }
    if (!gui::TMenuItem::FromItemData(measure->itemData)) {
      // An item the window owner-draws itself is its own to measure.
      if (!menuBar_.DrawsItem(measure->itemID)) return CallDefault(WM_MEASUREITEM, wParam, lParam);
      // An item of the window's own menu: measured from its text.
      const SIZE size = MeasureWindowMenuItem(*this, MenuItemText(menuBar_.TrackedMenu(), measure->itemID),
                                              static_cast<int>(measure->itemHeight));
      measure->itemWidth = static_cast<UINT>(size.cx);
      measure->itemHeight = static_cast<UINT>(size.cy);
      return TRUE;
    }
  }
  // The framework's popup menus: the skin's handlers (or the application's).
  popups_.Adopt(measure->itemData);
  if (gui::TPopupMenu::MeasureItem(*measure)) return TRUE;
  return CallDefault(WM_MEASUREITEM, wParam, lParam);
}

LRESULT TWinSkinForm::WMDrawItem(WPARAM wParam, LPARAM lParam) {
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (!draw || draw->CtlType != ODT_MENU) return CallDefault(WM_DRAWITEM, wParam, lParam);
  auto* menu = reinterpret_cast<HMENU>(draw->hwndItem);
  const bool selected = (draw->itemState & ODS_SELECTED) != 0;
  if (menuBar_.WindowMenu() && !(IsWindowsNt4() && facts_.Mdi == mkFrame)) {
    TWinSkinPopMenu::BindPending(menu);
    TWinSkinPopMenu::MarkAllFromMenuBar();
    if (gui::TMenuItem* item = BarMenuItem(draw->itemID)) {
      SkinMenuItemDraw(*this, *item, draw->hDC, draw->rcItem, selected, menu);
      return TRUE;
    }
    if (!gui::TMenuItem::FromItemData(draw->itemData)) {
      if (!menuBar_.DrawsItem(draw->itemID)) return CallDefault(WM_DRAWITEM, wParam, lParam);
      std::unique_ptr<gui::TMenuItem> item = MenuItemFromHandle(menu, draw->itemID);
      DrawWindowMenuItem(*this, *item, draw->hDC, draw->rcItem, selected, menu);
      return TRUE;
    }
  }
  if (gui::TMenuItem::FromItemData(draw->itemData)) {
    popups_.Adopt(draw->itemData);
    popups_.SetMenuBeingDrawn(menu);
    const bool drawn = gui::TPopupMenu::DrawItem(*draw);
    popups_.SetMenuBeingDrawn(nullptr);
    if (drawn) return TRUE;
  }
  return CallDefault(WM_DRAWITEM, wParam, lParam);
}

}  // namespace skin
