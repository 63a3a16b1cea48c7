// TWinSkinForm's menus: the skinned menu bar in the window's non-client
// area (creating it, opening its items, Alt+letter, menu changes) and the
// owner-drawn items of the bar's submenus and the form's popup menus.
#include <windowsx.h>

#include <algorithm>
#include <memory>

#include "gui/forms.h"
#include "gui/menus.h"
#include "skin/data/platform_version.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"
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
  RECT r{};
  GetWindowRect(Handle, &r);
  FitMenuHeight(r.right - r.left);
}

void TWinSkinForm::DropMenuBar() {
  if (!MenuBar) return;
  if (dynamic_cast<TMenuBtn*>(CurrentObject)) CurrentObject = nullptr;
  MenuBar.reset();
  MenuHeight = 0;
  WindowMenu = nullptr;
}

void TWinSkinForm::FitMenuHeight(int windowWidth) {
  if (!MenuBar) return;
  MenuHeight = MenuBar->HeightFor(windowWidth - FrameLeft - FrameRight);
}

void TWinSkinForm::FollowWindowMenu() {
  if (Form || !FrameSkinned || MdiKind == mkChild || (Style & WS_CHILD)) return;
  const int height = MenuHeight;
  if (HMENU menu = GetMenu(Handle)) {
    // Given a menu (again): the bar shows it, and the system's goes off.
    WindowMenu = menu;
    if (MenuBar) {
      MenuBar->LoadFromWindowMenu();
    } else {
      CreateMenuBar();
    }
  } else if (MenuBar && IsMenu(MenuBar->MenuHandle) && !MenuBar->Shows(MenuBar->MenuHandle)) {
    MenuBar->LoadFromMenuHandle(MenuBar->MenuHandle);
  } else {
    return;
  }
  RECT r{};
  GetWindowRect(Handle, &r);
  FitMenuHeight(r.right - r.left);
  if (MenuHeight != height) RefreshFrame();
  PostMessageW(Handle, SkinMsgRepaint, 0, 0);
}

TMenuBtn* TWinSkinForm::FindAccelButton(wchar_t ch) const { return MenuBar ? MenuBar->FindAccelButton(ch) : nullptr; }

bool TWinSkinForm::MenuAccelerator(WPARAM ch) {
  TMenuBtn* item = FindAccelButton(static_cast<wchar_t>(ch));
  if (!item || !OnlyAltDown()) return false;
  ClickMenuButton(*item);
  return true;
}

TMenuBarRoom TWinSkinForm::MenuBarRoom() const {
  TMenuBarRoom room;
  if (MdiKind != mkFrame || !SkinData || !MdiChildMaximized()) return room;
  const int margin = SkinData->Skin().MenuBar ? SkinData->Skin().MenuBar->LeftWidth : 0;
  const int gap = ScaleToScreen(2);
  // Where the layout puts them: counted from the band's far end.
  for (const auto& button : SysButtons) {
    const TDataSkinSysButton& e = *button->Element;
    if (e.Visibility != bvMdiChildMaximized || e.Align != alMenuBar || e.Image.Empty()) continue;
    const int width = e.Image.Width() / (e.FrameCount > 0 ? e.FrameCount : 1);
    if (RightToLeft) {
      room.Left = std::max(room.Left, e.XCoord + margin + width + gap);
    } else {
      room.Right = std::max(room.Right, e.XCoord + margin + gap);
    }
  }
  return room;
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
  if (MdiKind == mkChild || (Style & WS_CHILD)) return;
  const int height = MenuHeight;
  HMENU menu = GetMenu(Handle);
  if (!menu) {
    // The form let its menu go: so does the bar, and the band with it. (An
    // MDI frame's client took the menu off again and keeps the bar.)
    if (!MenuBar || (Form && Form->Menu())) return;
    DropMenuBar();
  } else if (!MenuBar) {
    // A menu for a window that had none when it was skinned.
    WindowMenu = menu;
    CreateMenuBar();
  } else {
    MenuBar->MenuHandle = menu;
    if (Form) MenuBar->MainMenu = Form->Menu();
    if (SkinData->MenuUpdate && !MergingThroughClient) {
      MenuBar->LoadFromWindowMenu();
    } else {
      // The bar keeps the items it shows; the system's stays off the window.
      SetMenu(Handle, nullptr);
    }
    RECT r{};
    GetWindowRect(Handle, &r);
    FitMenuHeight(r.right - r.left);
  }
  if (MenuHeight != height) RefreshFrame();
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

void TWinSkinForm::TrackBarKeys() {
  if (GetActiveWindow() != Handle) return;
  std::size_t index = 0;
  while (index < MenuBar->Items.size() && !TWinSkinMenu::Selectable(*MenuBar->Items[index])) ++index;
  if (index == MenuBar->Items.size()) return;
  const std::shared_ptr<bool> alive = alive_;
  const bool rightToLeft = MenuBar->IsRightToLeft();
  MenuTracking = true;
  MenuBar->Items[index]->MouseEnter();
  TMenuBtn* chosen = nullptr;
  for (bool going = true; going;) {
    MSG msg{};
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TMenuBtn& selected = *MenuBar->Items[index];
    bool dispatch = false;
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: {
        WPARAM key = msg.wParam;
        if (rightToLeft && (key == VK_LEFT || key == VK_RIGHT)) key = key == VK_LEFT ? VK_RIGHT : VK_LEFT;
        if (key == VK_LEFT || key == VK_RIGHT) {
          if (TMenuBtn* next = MenuBar->NeighbourButton(selected.Index, key == VK_RIGHT ? 1 : -1)) {
            next->MouseEnter();
            index = static_cast<std::size_t>(next->Index);
          }
        } else if (key == VK_DOWN || key == VK_UP || key == VK_RETURN) {
          chosen = &selected;
          going = false;
        } else if (key == VK_ESCAPE || key == VK_MENU || key == VK_F10) {
          going = false;
        } else {
          TranslateMessage(&msg);  // a letter comes back as a character
        }
        break;
      }
      case WM_CHAR:
      case WM_SYSCHAR:
        chosen = FindAccelButton(static_cast<wchar_t>(msg.wParam));
        if (chosen) {
          going = false;
        } else {
          MessageBeep(0);
        }
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
      case WM_DEADCHAR:
      case WM_SYSDEADCHAR:
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_NCLBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
      case WM_NCMBUTTONDOWN:
        // A click anywhere ends the keys' turn and does what it does.
        going = false;
        dispatch = true;
        break;
      default:
        dispatch = true;
        break;
    }
    if (!dispatch) continue;
    DispatchMessageW(&msg);
    if (!*alive) return;
    if (!MenuBar || GetActiveWindow() != Handle) break;
    // The mouse may have made another item hot; the items may have been read again.
    if (auto* hot = dynamic_cast<TMenuBtn*>(CurrentObject)) index = static_cast<std::size_t>(hot->Index);
    if (index >= MenuBar->Items.size()) break;
  }
  MenuTracking = false;
  if (dynamic_cast<TMenuBtn*>(CurrentObject)) CurrentObject->MouseLeave();
  if (chosen) ClickMenuButton(*chosen);
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
  // an item only when it is a command of its own, and enabled.
  if (enabled && (framework || !submenu)) PostMessageW(Handle, WM_COMMAND, item.Command, 0);
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
    // A framework form has its submenus prepared above; any other window
    // hears of the submenu opening as it would from the system's bar.
    UINT flags = (Form ? TPM_NONOTIFY : 0u) | TPM_RIGHTBUTTON;
    int x = bounds.left + WindowRect.left;
    if (rightToLeft) {
      flags |= TPM_RIGHTALIGN | TPM_LAYOUTRTL;
      x = bounds.right + WindowRect.left;
    }
    TrackPopupMenu(submenu, flags, x, bounds.bottom + WindowRect.top, 0, Handle, nullptr);
  }
  // A skinner freed meanwhile has removed the hook on its way out.
  const bool stillHere = *alive;
  DropPendingFirstKey();
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
