// TWinSkinForm and multiple-document windows: a frame finds its "MDIClient"
// window at attach and puts a procedure of its own in front of it, which
// skins each child the client makes, keeps the skinned bar in step with the
// menus the children merge into the frame's, and keeps the shared
// maximised-child mode right when children go or are arranged. The
// maximised child's three buttons in the bar act on the active child.
#include <cstdio>
#include <string>
#include <utility>

#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

// The trace sink: lines about the client's traffic go nowhere.
void Trace(const std::wstring&) {}

std::wstring HexHandle(HWND wnd) {
  wchar_t text[32] = {};
  std::swprintf(text, 32, L"%llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(wnd)));
  return text;
}

}  // namespace

void TWinSkinForm::FindMdiClient() {
  MdiKind = mkNone;
  MdiClient = nullptr;
  for (HWND child = GetTopWindow(Handle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (std::wstring(name) != L"MDIClient") continue;
    MdiKind = mkFrame;
    MdiClient = child;
    if (Host) Host->SetMdiClientWindow(child);
    return;
  }
}

bool TWinSkinForm::MdiChildMaximized() const {
  if (MdiKind != mkFrame || !MdiClient) return false;
  BOOL maximized = FALSE;
  const LRESULT active = SendMessageW(MdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
  return active != 0 && maximized;
}

void TWinSkinForm::SendToMdiChild(WPARAM command) {
  if (MdiKind != mkFrame || !MdiClient) return;
  if (auto child = reinterpret_cast<HWND>(SendMessageW(MdiClient, WM_MDIGETACTIVE, 0, 0)))
    SendMessageW(child, WM_SYSCOMMAND, command, 0);
  if (MdiMaximized() && !MdiChildMaximized()) Host->ChangeMdiMaximized(false);
}

bool TWinSkinForm::HasMdiChildren() const {
  if (!MdiClient) return false;
  for (HWND child = GetWindow(MdiClient, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_MDICHILD) return true;
  return false;
}

void TWinSkinForm::GiveFrameMenuBack(HMENU menu) {
  // What the system put in for a child maximised while the skin held the
  // menu is stale; the client puts in what a child maximised now needs,
  // but only into a menu it has not been handed already: it is handed a
  // stand-in first.
  RemoveMdiChildItems(menu);
  SetMenu(Handle, menu);
  gui::MenuHandle standIn(CreateMenu());
  SendMessageW(MdiClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(standIn.get()), 0);
  SendMessageW(MdiClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), 0);
  DrawMenuBar(Handle);
}

void TWinSkinForm::SubclassMdiClient() {
  if (MdiKind != mkFrame || !MdiClient || mdiClientSubclass_.Attached()) return;
  mdiClientSubclass_.Attach(MdiClient, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    return MdiClientProc(msg, wParam, lParam);
  });
}

void TWinSkinForm::UnsubclassMdiClient() { mdiClientSubclass_.Detach(); }

LRESULT TWinSkinForm::MdiClientProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto passOn = [&] { return mdiClientSubclass_.CallPrevious(msg, wParam, lParam); };
  switch (msg) {
    case WM_NCDESTROY: {
      const LRESULT result = passOn();
      UnsubclassMdiClient();
      MdiClient = nullptr;
      MergingThroughClient = false;
      return result;
    }
    case WM_NCCALCSIZE:
      // The client never shows scroll bars under a skinned frame.
      if (FrameSkinned) {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(MdiClient, GWL_STYLE));
        if (style & (WS_VSCROLL | WS_HSCROLL))
          SetWindowLongPtrW(MdiClient, GWL_STYLE, static_cast<LONG_PTR>(style & ~(WS_VSCROLL | WS_HSCROLL)));
      }
      return passOn();
    case WM_MDICREATE: {
      // While this frame has children, its menu merging is followed here
      // rather than through the form's menu-changed notification.
      MergingThroughClient = true;
      const LRESULT result = passOn();
      NewMdiChild = reinterpret_cast<HWND>(result);
      return result;
    }
    case WM_MDIDESTROY: {
      Trace(L"**MDI: WM_MDIDESTROY " + HexHandle(reinterpret_cast<HWND>(wParam)));
      const LRESULT result = passOn();
      if (FrameSkinned && Host) {
        Host->ChangeMdiMaximized(MdiChildMaximized());
        if (MenuBar && !HasMdiChildren()) {
          MergingThroughClient = false;
          MenuBar->LoadFromMainMenu();
          PostMessageW(Handle, SkinMsgRepaint, 0, 0);
        }
      }
      return result;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (FrameSkinned && MdiMaximized()) Host->ChangeMdiMaximized(false);
      return passOn();
    case WM_MDISETMENU: {
      const LRESULT result = passOn();
      if (!FrameSkinned || !MenuBar) return result;
      // A merge refills the frame's menu in place: the handle stays and the
      // items change, so the items are compared as well as the handle.
      const auto menu = reinterpret_cast<HMENU>(wParam);
      if (menu && (menu != MenuBar->MenuHandle || NewMdiChild || !MenuBar->Shows(menu))) {
        MenuBar->LoadFromMenuHandle(GetMenu(Handle));
        PostMessageW(Handle, SkinMsgRepaint, 0, 0);
      }
      if (GetMenu(Handle)) SetMenu(Handle, nullptr);
      return result;
    }
    case WM_MDIREFRESHMENU: {
      const LRESULT result = passOn();
      // The system may send this while it is still making the child, before
      // the client has answered WM_MDICREATE; the framework sends it again
      // once the child is shown and active.
      if (HWND child = std::exchange(NewMdiChild, nullptr)) {
        if (Host) Host->SkinNewWindow(child);
        PostMessageW(Handle, SkinMsgRepaint, 0, 0);
      }
      return result;
    }
    default:
      return passOn();
  }
}

}  // namespace skin
