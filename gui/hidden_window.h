// A hidden window of the framework's or the engine's own, bound to its
// object: its class is registered once in the module this code is in, the
// window is made with the object's address as its creation parameter, which
// the first message (WM_NCCREATE) keeps in the window's extra bytes, and
// every message goes to the object's HandleMessage. Nothing but the object
// makes windows of such a class, so the binding needs no table.
#pragma once
#include <windows.h>

#include "gui/handles.h"

namespace gui {

class THiddenWindow {
 public:
  THiddenWindow(const THiddenWindow&) = delete;
  THiddenWindow& operator=(const THiddenWindow&) = delete;

  HWND Handle() const { return window_.get(); }

 protected:
  THiddenWindow() = default;
  // Frees the window, then its class (which fails while another object's
  // window of the class still lives, and the last one's destructor frees it).
  virtual ~THiddenWindow();

  // Registers `className` unless it is (with `icon`, the window's icon for
  // the task switcher) and makes the window. Called by the derived class's
  // constructor once its members are ready, since messages arrive at once.
  void CreateHandle(const wchar_t* className, DWORD exStyle, DWORD style, HICON icon = nullptr);
  // The window goes now; the object hears none of its last messages.
  void DestroyHandle();

  // A message to the window; the system's default unless overridden.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

  const wchar_t* className_ = nullptr;
  WindowHandle window_;
};

}  // namespace gui
