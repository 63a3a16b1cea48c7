// The framework's message record, its replaceable window-method type and the
// numbers of its own notifications.
#pragma once
#include <windows.h>

namespace gui {

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A window method: code plus the object it runs on. Comparable, so that a
// layer that put itself in front of a control can tell whether it is still
// the one installed, and put back exactly what was there.
struct TWndMethod {
  using Code = void (*)(void* data, TMessage& message);
  void* Data = nullptr;
  Code Function = nullptr;

  explicit operator bool() const { return Function != nullptr; }
  void operator()(TMessage& message) const { Function(Data, message); }
  friend bool operator==(const TWndMethod&, const TWndMethod&) = default;

  template <class T, void (T::*Method)(TMessage&)>
  static TWndMethod Bind(T* object) {
    return TWndMethod{object, [](void* data, TMessage& m) { (static_cast<T*>(data)->*Method)(m); }};
  }
};

// Framework notifications (sent through a control's window method).
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
// A dialog key (Tab, Enter, Esc, the arrows, PgUp, PgDn) offered to the
// controls around the focus before the dialog manager sees it; WParam is
// the key, and a Result other than 0 takes it.
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FONTCHANGED = CM_BASE + 8;
constexpr UINT CM_COLORCHANGED = CM_BASE + 9;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 23;
// The colour scheme in force changed (gui/color_scheme.h): colours handed
// to a system control are to be handed again.
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 25;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 33;

// Notifications a parent reflects back to the child control that sent them.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;

}  // namespace gui
