// TWinSkinForm and multiple-document windows: a frame finds its "MDIClient"
// window at attach and puts a procedure of its own in front of it, which
// skins each child the client makes, keeps the skinned bar in step with the
// menus the children merge into the frame's, and keeps the shared
// maximised-child mode right when children go or are arranged. The
// maximised child's three buttons in the bar act on the active child.
#include <string>
#include <utility>

#include "gui/color_scheme.h"
#include "gui/controls.h"
#include "gui/graphics.h"
#include "gui/handles.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

// A window class's background: the brush, or the system colour's brush for
// the COLOR_ index + 1 a class may give instead.
HBRUSH ClientClassBrush(HWND wnd) {
  const auto value = static_cast<LONG_PTR>(GetClassLongPtrW(wnd, GCLP_HBRBACKGROUND));
  if (value > 0 && value <= COLOR_MENUBAR + 1) return GetSysColorBrush(static_cast<int>(value - 1));
  return reinterpret_cast<HBRUSH>(value);
}

}  // namespace

void TWinSkinForm::FindMdiClient() {
  facts_.Mdi = mkNone;
  mdiClient_ = nullptr;
  for (HWND child = GetTopWindow(wnd_); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (std::wstring(name) != L"MDIClient") continue;
    facts_.Mdi = mkFrame;
    mdiClient_ = child;
    if (host_) host_->SetMdiClientWindow(child);
    return;
  }
}

bool TWinSkinForm::MdiChildMaximized() const {
  if (facts_.Mdi != mkFrame || !mdiClient_) return false;
  BOOL maximized = FALSE;
  const LRESULT active = SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
  return active != 0 && maximized;
}

void TWinSkinForm::SendToMdiChild(WPARAM command) {
  if (facts_.Mdi != mkFrame || !mdiClient_) return;
  if (auto child = reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, 0)))
    SendMessageW(child, WM_SYSCOMMAND, command, 0);
  if (MdiMaximized() && !MdiChildMaximized()) host_->ChangeMdiMaximized(false);
}

bool TWinSkinForm::HasMdiChildren() const {
  if (!mdiClient_) return false;
  for (HWND child = GetWindow(mdiClient_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_MDICHILD) return true;
  return false;
}

void TWinSkinForm::GiveFrameMenuBack(HMENU menu) {
  // What the system put in for a child maximised while the skin held the
  // menu is stale; the client puts in what a child maximised now needs,
  // but only into a menu it has not been handed already: it is handed a
  // stand-in first.
  RemoveMdiChildItems(menu);
  SetMenu(wnd_, menu);
  gui::MenuHandle standIn(CreateMenu());
  SendMessageW(mdiClient_, WM_MDISETMENU, reinterpret_cast<WPARAM>(standIn.get()), 0);
  SendMessageW(mdiClient_, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), 0);
  DrawMenuBar(wnd_);
}

void TWinSkinForm::SubclassMdiClient() {
  if (facts_.Mdi != mkFrame || !mdiClient_ || mdiClientSubclass_.Attached()) return;
  mdiClientSubclass_.Attach(mdiClient_, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    return MdiClientProc(msg, wParam, lParam);
  });
  // Children a plain program made before the skin came are skinned with
  // their frame (a framework form's children are skinned as forms).
  if (!host_) return;
  for (HWND child = GetWindow(mdiClient_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if ((GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_MDICHILD) && !gui::TWinControl::FindControl(child))
      host_->SkinNewWindow(child);
}

void TWinSkinForm::UnsubclassMdiClient() { mdiClientSubclass_.Detach(); }

LRESULT TWinSkinForm::MdiClientProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto passOn = [&] { return mdiClientSubclass_.CallPrevious(msg, wParam, lParam); };
  switch (msg) {
    case WM_NCDESTROY: {
      const LRESULT result = passOn();
      UnsubclassMdiClient();
      mdiClient_ = nullptr;
      menuBar_.SetMergingThroughClient(false);
      return result;
    }
    case WM_NCCALCSIZE:
      // The client never shows scroll bars under a skinned frame.
      if (frameSkinned_) {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(mdiClient_, GWL_STYLE));
        if (style & (WS_VSCROLL | WS_HSCROLL))
          SetWindowLongPtrW(mdiClient_, GWL_STYLE, static_cast<LONG_PTR>(style & ~(WS_VSCROLL | WS_HSCROLL)));
      }
      return passOn();
    case WM_ERASEBKGND:
      // The workspace the system paints in its own colour is the skin's
      // shadow; a brush the program gave the client stays.
      if (skinData_ && !skinData_->SkinLoading() && gui::IsSystemColorBrush(ClientClassBrush(mdiClient_))) {
        RECT client{};
        GetClientRect(mdiClient_, &client);
        gui::BrushHandle shadow(CreateSolidBrush(gui::ColorToRGB(skinData_->Skin().Colours.ButtonShadow)));
        FillRect(reinterpret_cast<HDC>(wParam), &client, shadow.get());
        return 1;
      }
      return passOn();
    case WM_PARENTNOTIFY:
      // A child made with CreateMDIWindow or CreateWindowEx never passes
      // WM_MDICREATE: it is heard of here, complete.
      if (LOWORD(wParam) == WM_CREATE && host_) {
        const auto child = reinterpret_cast<HWND>(lParam);
        if ((GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_MDICHILD) && !gui::TWinControl::FindControl(child)) {
          const LRESULT result = passOn();
          host_->SkinNewWindow(child);
          return result;
        }
      }
      return passOn();
    case WM_MDICREATE: {
      // While this frame has children, its menu merging is followed here
      // rather than through the form's menu-changed notification.
      menuBar_.SetMergingThroughClient(true);
      const LRESULT result = passOn();
      newMdiChild_ = reinterpret_cast<HWND>(result);
      // A child of no framework form is complete once the client answered;
      // a framework form finishes its child afterwards and says so with
      // WM_MDIREFRESHMENU.
      if (newMdiChild_ && host_ && !gui::TWinControl::FindControl(newMdiChild_)) host_->SkinNewWindow(newMdiChild_);
      return result;
    }
    case WM_MDIDESTROY: {
      const LRESULT result = passOn();
      if (frameSkinned_ && host_) {
        host_->ChangeMdiMaximized(MdiChildMaximized());
        if (MenuBar() && !HasMdiChildren()) {
          menuBar_.SetMergingThroughClient(false);
          MenuBar()->LoadFromMainMenu();
          PostMessageW(wnd_, SkinMsgRepaint, 0, 0);
        }
      }
      return result;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (frameSkinned_ && MdiMaximized()) host_->ChangeMdiMaximized(false);
      return passOn();
    case WM_MDISETMENU: {
      const LRESULT result = passOn();
      TWinSkinMenu* bar = MenuBar();
      if (!frameSkinned_ || !bar) return result;
      // A merge refills the frame's menu in place: the handle stays and the
      // items change, so the items are compared as well as the handle.
      const auto menu = reinterpret_cast<HMENU>(wParam);
      if (menu && (menu != bar->MenuHandle() || newMdiChild_ || !bar->Shows(menu))) {
        bar->LoadFromMenuHandle(GetMenu(wnd_));
        PostMessageW(wnd_, SkinMsgRepaint, 0, 0);
      }
      if (GetMenu(wnd_)) SetMenu(wnd_, nullptr);
      return result;
    }
    case WM_MDIREFRESHMENU: {
      const LRESULT result = passOn();
      // The system may send this while it is still making the child, before
      // the client has answered WM_MDICREATE; the framework sends it again
      // once the child is shown and active.
      if (HWND child = std::exchange(newMdiChild_, nullptr)) {
        // Making a child may have ended the maximised state (Wine restores
        // the maximised child): the mode follows the client before the new
        // child is skinned, so it gets the frame its state gives.
        if (frameSkinned_ && host_) host_->ChangeMdiMaximized(MdiChildMaximized());
        if (host_) host_->SkinNewWindow(child);
        PostMessageW(wnd_, SkinMsgRepaint, 0, 0);
      }
      return result;
    }
    default:
      return passOn();
  }
}

}  // namespace skin
