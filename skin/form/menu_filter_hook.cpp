// The thread's message-filter hook while a submenu of a skinned bar is open:
// Left and Right (turned round in a right-to-left menu) and the mouse move
// to the neighbouring item that has a submenu, closing the open one and
// opening the next; the first item of each submenu starts out selected.
#include "gui/fault_guard.h"
#include "gui/menus.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_menu_bar.h"

namespace skin {

namespace {

TMenuTracking& Tracking() {
  // Never destroyed: with mingw-w64 a thread-local object is destroyed at
  // thread exit after its storage has been freed.
  thread_local auto* state = new TMenuTracking;
  return *state;
}

bool IsLeftRightKey(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

}  // namespace

const TMenuTracking& CurrentMenuTracking() { return Tracking(); }

namespace {

LRESULT CALLBACK MenuFilterProc(int code, WPARAM wParam, LPARAM lParam) {
  TMenuTracking& t = Tracking();
  LRESULT next = 0;
  bool passedOn = false;
  const gui::TFailure failure = gui::Guarded([&] {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    // In a right-to-left menu the arrow keys point the other way.
    if (code >= 0 && msg && IsLeftRightKey(msg->message) && t.SelectedRightToLeft) {
      if (msg->wParam == VK_LEFT) {
        msg->wParam = VK_RIGHT;
      } else if (msg->wParam == VK_RIGHT) {
        msg->wParam = VK_LEFT;
      }
    }
    next = CallNextHookEx(t.Hook.get(), code, wParam, lParam);
    passedOn = true;
    if (next != 0 || code != MSGF_MENU || !msg) return;
    FilterMenuMessage(*msg);
  });
  if (!failure.Failed()) return next;
  // Nothing unwinds into the menu's loop: the menu goes on as the system's,
  // and the window whose bar opened it is given back.
  gui::WindowFailed(t.Form ? t.Form->Handle() : nullptr, failure.What);
  return passedOn ? next : CallNextHookEx(t.Hook.get(), code, wParam, lParam);
}

// The Down key the hook posts carries no key data, which no real key has.
bool IsFirstKey(const MSG& msg) { return msg.message == WM_KEYDOWN && msg.wParam == VK_DOWN && msg.lParam == 0; }

}  // namespace

void InstallMenuFilterHook(TWinSkinForm* form, int trackedIndex) {
  TMenuTracking& t = Tracking();
  t.Form = form;
  t.TrackedIndex = trackedIndex;
  t.FirstKeyDone = false;
  t.FirstKeyPending = false;
  t.FirstKeyWindow = nullptr;
  t.Switching = false;
  t.SelectedMenu = nullptr;
  t.SelectedHasSubmenu = false;
  t.SelectedRightToLeft = form && form->Facts().Mirrored;
  t.EscapedToBar = false;
  GetCursorPos(&t.LastMouse);
  if (!t.Hook) t.Hook.reset(SetWindowsHookExW(WH_MSGFILTER, &MenuFilterProc, nullptr, GetCurrentThreadId()));
}

void RemoveMenuFilterHook() {
  TMenuTracking& t = Tracking();
  t.Hook.reset();
  t.SelectedRightToLeft = false;
  t.TrackedIndex = -1;
  t.FirstKeyDone = false;
  t.Form = nullptr;
}

void DropPendingFirstKey() {
  TMenuTracking& t = Tracking();
  if (!t.FirstKeyPending) return;
  t.FirstKeyPending = false;
  MSG msg{};
  // Posted messages come before input: if ours is still queued it is the
  // first key message for its window.
  if (PeekMessageW(&msg, t.FirstKeyWindow, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && IsFirstKey(msg))
    PeekMessageW(&msg, t.FirstKeyWindow, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
}

void FilterMenuMessage(const MSG& msg) {
  TMenuTracking& t = Tracking();
  TWinSkinForm* form = t.Form;
  TWinSkinMenu* bar = form ? form->MenuBar() : nullptr;
  if (!bar) return;
  if (t.FirstKeyPending && msg.hwnd == t.FirstKeyWindow && IsFirstKey(msg)) t.FirstKeyPending = false;
  TMenuBtn* target = nullptr;
  // Escape in a deeper submenu closes only that one; anything after it but
  // the menu's closing means the menu went on.
  const bool closing = msg.message == WM_MENUSELECT && HIWORD(msg.wParam) == 0xFFFF && !msg.lParam;
  if (!closing && msg.message != WM_KEYUP && !IsFirstKey(msg))
    t.EscapedToBar = msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE &&
                     (!t.SelectedMenu || t.SelectedMenu == form->TrackedMenu());
  switch (msg.message) {
    case WM_KEYDOWN:
      if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) t.Switching = false;
      // Left leaves the bar's submenu for the previous item; in a deeper
      // submenu it is the system's (it closes that one).
      if (msg.wParam == VK_LEFT && (!t.SelectedMenu || t.SelectedMenu == form->TrackedMenu()))
        target = bar->NeighbourButton(t.TrackedIndex, -1, true);
      // Right on an item with a submenu opens that; elsewhere it moves on.
      if (msg.wParam == VK_RIGHT && !t.SelectedHasSubmenu) target = bar->NeighbourButton(t.TrackedIndex, +1, true);
      break;
    case WM_SYSKEYDOWN:
      if (msg.wParam == VK_MENU) form->EndMenuTracking();
      return;
    case WM_MENUSELECT: {
      const UINT flags = HIWORD(msg.wParam);
      auto* menu = reinterpret_cast<HMENU>(msg.lParam);
      if (flags == 0xFFFF && !menu) {
        if (!t.Switching) form->EndMenuTracking();
        return;
      }
      t.Switching = false;
      t.SelectedMenu = menu;
      t.SelectedHasSubmenu = (flags & MF_POPUP) != 0;
      if (bar->MainMenu()) {
        const gui::TMenuItem* item = (flags & MF_POPUP)
                                         ? gui::TMenuItem::FromMenuHandle(GetSubMenu(menu, LOWORD(msg.wParam)))
                                         : gui::TMenuItem::FromCommand(LOWORD(msg.wParam));
        const gui::TMenu* owner = item ? item->Menu() : nullptr;
        t.SelectedRightToLeft = owner && owner->IsRightToLeft();
      }
      // A mirrored window's menus open mirrored, whatever they read.
      if (form->Facts().Mirrored) t.SelectedRightToLeft = true;
      return;
    }
    case WM_MOUSEMOVE:
      if (msg.pt.x != t.LastMouse.x || msg.pt.y != t.LastMouse.y) {
        // Passing over an item opens its submenu; a command item runs only
        // when it is clicked.
        target = bar->FindMenuButton(form->ScreenToWindow(msg.pt.x, msg.pt.y));
        if (target && !(TWinSkinMenu::Selectable(*target) && target->Submenu)) target = nullptr;
        t.LastMouse = msg.pt;
      }
      break;
    default:
      break;
  }
  const bool switches = target && target->Index() != t.TrackedIndex;
  if (!t.FirstKeyDone && msg.message != WM_MENUSELECT) {
    t.FirstKeyDone = true;
    // The first item of the submenu starts out selected, unless this very
    // message leaves it for another.
    if (!switches) {
      PostMessageW(msg.hwnd, WM_KEYDOWN, VK_DOWN, 0);
      t.FirstKeyPending = true;
      t.FirstKeyWindow = msg.hwnd;
    }
  }
  if (!switches) return;
  // The open submenu ends first; the click posted after it then opens the
  // target's once the menu's loop has returned.
  t.Switching = true;
  t.TrackedIndex = target->Index();
  EndMenu();
  DropPendingFirstKey();
  form->ClickMenuButton(*target);
}

}  // namespace skin
