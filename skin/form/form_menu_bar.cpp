#include "skin/form/form_menu_bar.h"

#include <algorithm>
#include <vector>

#include "gui/forms.h"
#include "gui/menus.h"
#include "skin/data/platform_version.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"
#include "skin/form/skin_form.h"

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
    if (sub->Visible() && !sub->Items().empty()) PrepareSubmenus(*sub);
}

bool OnlyAltDown() {
  auto down = [](int key) { return GetKeyState(key) < 0; };
  return down(VK_MENU) && !down(VK_SHIFT) && !down(VK_CONTROL) && !down(VK_LBUTTON) && !down(VK_RBUTTON) &&
         !down(VK_MBUTTON);
}

int WindowWidth(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return r.right - r.left;
}

using TOwnerDrawnItem = TFormMenuBar::TOwnerDrawnItem;

// Bar submenus are owner-drawn while they are open; what each item was.
// Items the window draws itself are left as they are.
std::vector<TOwnerDrawnItem> MakeOwnerDrawn(HMENU menu) {
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

void RestoreItemTypes(const std::vector<TOwnerDrawnItem>& items) {
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

}  // namespace

void TFormMenuBar::TakeWindowMenu() {
  // A child window's "menu" is its id.
  windowMenu_ = (skinner_.Facts().Style & WS_CHILD) ? nullptr : GetMenu(skinner_.Handle());
  if (windowMenu_) Create();
}

void TFormMenuBar::Create() {
  bar_ = std::make_unique<TWinSkinMenu>(&skinner_, skinner_.SkinData());
  owner_.SetMenuHeight(GetSystemMetrics(SM_CYMENU));
  if (skinner_.Form()) bar_->SetMainMenu(skinner_.Form()->Menu());
  bar_->LoadFromWindowMenu();
  FitHeight(WindowWidth(skinner_.Handle()));
}

void TFormMenuBar::Drop() {
  if (!bar_) return;
  if (dynamic_cast<TMenuBtn*>(skinner_.CurrentObject())) skinner_.SetCurrentObject(nullptr);
  bar_.reset();
  owner_.SetMenuHeight(0);
  windowMenu_ = nullptr;
}

void TFormMenuBar::GiveBack(TMenuReturn how) {
  HWND wnd = skinner_.Handle();
  gui::TCustomForm* form = skinner_.Form();
  if (bar_ && how != TMenuReturn::LetGo) {
    const HMENU taken = bar_->MenuHandle();
    if (how != TMenuReturn::WithWindow) {
      // The window gets its own menu back (the one it has now).
      HMENU back = taken;
      if (form) back = form->Menu() ? form->Menu()->Handle() : nullptr;
      if (back && how == TMenuReturn::ThroughMdiClient) {
        owner_.GiveFrameMenuBack(back);
      } else if (back && !GetMenu(wnd)) {
        SetMenu(wnd, back);
      }
    } else if (!form && IsMenu(taken) && GetMenu(wnd) != taken) {
      // A framework form's bar is its menu's and stays.
      DestroyMenu(taken);
    }
  }
  Drop();
  owner_.SetMenuHeight(0);
  mergingThroughClient_ = false;
}

void TFormMenuBar::FitHeight(int windowWidth) {
  if (!bar_) return;
  const TFrameThickness& frame = skinner_.Facts().Frame;
  owner_.SetMenuHeight(bar_->HeightFor(windowWidth - frame.Left - frame.Right));
}

void TFormMenuBar::Refit(int heightBefore) {
  FitHeight(WindowWidth(skinner_.Handle()));
  if (skinner_.MenuHeight() != heightBefore) skinner_.RefreshFrame();
}

void TFormMenuBar::FollowWindowMenu() {
  const TWindowFacts& facts = skinner_.Facts();
  if (skinner_.Form() || !skinner_.FrameSkinned() || facts.Mdi == mkChild || (facts.Style & WS_CHILD)) return;
  const int height = facts.MenuHeight;
  if (HMENU menu = GetMenu(skinner_.Handle())) {
    // Given a menu (again): the bar shows it, and the system's goes off.
    windowMenu_ = menu;
    if (bar_) {
      bar_->LoadFromWindowMenu();
    } else {
      Create();
    }
  } else if (bar_ && IsMenu(bar_->MenuHandle()) && !bar_->Shows(bar_->MenuHandle())) {
    bar_->LoadFromMenuHandle(bar_->MenuHandle());
  } else {
    return;
  }
  Refit(height);
  PostMessageW(skinner_.Handle(), SkinMsgRepaint, 0, 0);
}

void TFormMenuBar::FollowFrameChange() {
  if (bar_ && !skinner_.Form()) {
    HMENU menu = GetMenu(skinner_.Handle());
    if (menu && menu == bar_->MenuHandle() && bar_->Shows(menu)) return;
  }
  FollowWindowMenu();
}

bool TFormMenuBar::Accelerator(WPARAM ch) {
  TMenuBtn* item = FindAccelButton(static_cast<wchar_t>(ch));
  if (!item || !OnlyAltDown()) return false;
  Click(*item);
  return true;
}

TMenuBarRoom TFormMenuBar::Room() const {
  TMenuBarRoom room;
  const TSkinData* data = skinner_.SkinData();
  if (skinner_.Facts().Mdi != mkFrame || !data || !skinner_.MdiChildMaximized()) return room;
  const int margin = skinner_.SkinData()->Skin().MenuBar ? skinner_.SkinData()->Skin().MenuBar->LeftWidth : 0;
  const int gap = ScaleToScreen(2);
  // Where the layout puts them: counted from the band's far end.
  for (const auto& button : skinner_.SysButtons()) {
    const TDataSkinSysButton& e = *button->Element;
    if (e.Visibility != bvMdiChildMaximized || e.Align != alMenuBar || e.Image.Empty()) continue;
    const int width = e.Image.Width() / FramesOf(e);
    if (skinner_.Facts().LaysOutFromRight()) {
      room.Left = std::max(room.Left, e.XCoord + margin + width + gap);
    } else {
      room.Right = std::max(room.Right, e.XCoord + margin + gap);
    }
  }
  return room;
}

void TFormMenuBar::Click(const TMenuBtn& item) {
  const RECT shown = skinner_.WindowToScreen(bar_ ? bar_->ItemRect(item) : RECT{});
  const int x = shown.left + 1, y = shown.top + 1;
  PostMessageW(skinner_.Handle(), WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(x, y));
}

void TFormMenuBar::MenuChanged(gui::TMessage& message, bool viaWindowProcedure) {
  HWND wnd = skinner_.Handle();
  const bool passing = passingChangeOn_;
  passingChangeOn_ = true;
  try {
    if (viaWindowProcedure) {
      message.Result = owner_.CallWindowBehind(message.Msg, message.WParam, message.LParam);
    } else {
      owner_.CallFormBehind(message);
    }
  } catch (...) {
    passingChangeOn_ = passing;
    throw;
  }
  passingChangeOn_ = passing;
  if (skinner_.Facts().Mdi == mkChild || (skinner_.Facts().Style & WS_CHILD)) return;
  const int height = skinner_.MenuHeight();
  HMENU menu = GetMenu(wnd);
  if (!menu) {
    // The form let its menu go: so does the bar, and the band with it. (An
    // MDI frame's client took the menu off again and keeps the bar.)
    if (!bar_ || (skinner_.Form() && skinner_.Form()->Menu())) return;
    Drop();
  } else if (!bar_) {
    // A menu for a window that had none when it was skinned.
    windowMenu_ = menu;
    Create();
  } else {
    bar_->SetMenuHandle(menu);
    if (skinner_.Form()) bar_->SetMainMenu(skinner_.Form()->Menu());
    if (skinner_.SkinData()->MenuUpdate() && !mergingThroughClient_) {
      bar_->LoadFromWindowMenu();
    } else {
      // The bar keeps the items it shows; the system's stays off the window.
      SetMenu(wnd, nullptr);
    }
    FitHeight(WindowWidth(wnd));
  }
  if (skinner_.MenuHeight() != height) skinner_.RefreshFrame();
}

void TFormMenuBar::TrackKeys(int first) {
  HWND wnd = skinner_.Handle();
  if (GetActiveWindow() != wnd) return;
  std::size_t index = first < 0 ? 0 : static_cast<std::size_t>(first);
  if (first < 0)
    while (index < bar_->Items.size() && !TWinSkinMenu::Selectable(*bar_->Items[index])) ++index;
  if (index >= bar_->Items.size()) return;
  const std::shared_ptr<bool> alive = owner_.Alive();
  const bool rightToLeft = bar_->StartsAtRight();
  tracking_ = true;
  bar_->Items[index]->MouseEnter();
  TMenuBtn* chosen = nullptr;
  for (bool going = true; going;) {
    MSG msg{};
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TMenuBtn& selected = *bar_->Items[index];
    bool dispatch = false;
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: {
        WPARAM key = msg.wParam;
        if (rightToLeft && (key == VK_LEFT || key == VK_RIGHT)) key = key == VK_LEFT ? VK_RIGHT : VK_LEFT;
        if (key == VK_LEFT || key == VK_RIGHT) {
          if (TMenuBtn* next = bar_->NeighbourButton(selected.Index(), key == VK_RIGHT ? 1 : -1)) {
            next->MouseEnter();
            index = static_cast<std::size_t>(next->Index());
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
    if (!bar_ || GetActiveWindow() != wnd) break;
    // The mouse may have made another item hot; the items may have been read again.
    if (auto* hot = dynamic_cast<TMenuBtn*>(skinner_.CurrentObject())) index = static_cast<std::size_t>(hot->Index());
    if (index >= bar_->Items.size()) break;
  }
  tracking_ = false;
  if (dynamic_cast<TMenuBtn*>(skinner_.CurrentObject())) skinner_.CurrentObject()->MouseLeave();
  if (chosen) Click(*chosen);
}

bool TFormMenuBar::Open(TMenuBtn& item) {
  HWND wnd = skinner_.Handle();
  // What the item says is read now: a click handler run while the submenu
  // is open may reload the bar, or the skin may be switched off.
  const HMENU submenu = item.Submenu;
  const bool enabled = item.Enabled;
  const RECT bounds = bar_ ? bar_->ItemRect(item) : RECT{};
  const int index = item.Index();
  gui::TMenuItem* framework = bar_ ? bar_->FrameworkItem(index) : nullptr;
  const bool rightToLeft = bar_ && bar_->StartsAtRight();
  // The framework's click for every item it owns; a plain window hears of
  // an item only when it is a command of its own, and enabled.
  if (enabled && (framework || !submenu)) PostMessageW(wnd, WM_COMMAND, item.Command, 0);
  if (!submenu) return false;
  const RECT shown = skinner_.WindowToScreen(bounds);
  if (framework && enabled) PrepareSubmenus(*framework);
  ownerDrawn_.clear();
  if (!IsWindowsNt4()) ownerDrawn_ = MakeOwnerDrawn(submenu);
  const std::vector<TOwnerDrawnItem> changed = ownerDrawn_;
  tracking_ = true;
  trackedMenu_ = submenu;
  InstallMenuFilterHook(&skinner_, index);
  const std::shared_ptr<bool> alive = owner_.Alive();
  if (enabled) {
    // A framework form has its submenus prepared above; any other window
    // hears of the submenu opening as it would from the system's bar.
    UINT flags = (skinner_.Form() ? TPM_NONOTIFY : 0u) | TPM_RIGHTBUTTON;
    int x = shown.left;
    // Mirrored, right-aligned under the item: the system turns the
    // alignment round for a mirrored menu.
    if (rightToLeft) {
      flags |= TPM_LAYOUTRTL;
      x = shown.right;
    }
    TrackPopupMenu(submenu, flags, x, shown.bottom, 0, wnd, nullptr);
  }
  // A skinner freed meanwhile has removed the hook on its way out.
  const bool stillHere = *alive;
  const bool escapedToBar = stillHere && CurrentMenuTracking().EscapedToBar;
  DropPendingFirstKey();
  if (stillHere && CurrentMenuTracking().Form == &skinner_) RemoveMenuFilterHook();
  // The items go back also when the skinner went meanwhile: the menu is
  // the window's.
  RestoreItemTypes(changed);
  if (stillHere) {
    ownerDrawn_.clear();
    tracking_ = false;
  }
  // As the system's bar does: Escape closed the submenu and leaves its item
  // selected, the keys working the bar; a second Escape leaves the bar.
  if (escapedToBar && bar_ && static_cast<std::size_t>(index) < bar_->Items.size()) TrackKeys(index);
  return true;
}

bool TFormMenuBar::DrawsItem(UINT id) const {
  for (const TOwnerDrawnItem& item : ownerDrawn_) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID;
    if (GetMenuItemInfoW(item.Menu, item.Position, TRUE, &info) && info.wID == id) return true;
  }
  return false;
}

}  // namespace skin
