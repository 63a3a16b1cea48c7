#include "gui/hidden_window.h"

#include "gui/fault_guard.h"

namespace gui {

namespace {

// The object's slot in the window's extra bytes.
constexpr int kObjectSlot = 0;

// The module this code is in (a DLL of the engine, or the program linked
// with it): a class whose procedure is in a DLL must be that DLL's.
HINSTANCE OwnModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&OwnModule), &module);
  return module;
}

}  // namespace

THiddenWindow::~THiddenWindow() {
  DestroyHandle();
  if (className_) UnregisterClassW(className_, OwnModule());
}

void THiddenWindow::CreateHandle(const wchar_t* className, DWORD exStyle, DWORD style, HICON icon) {
  HINSTANCE instance = OwnModule();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, className, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &THiddenWindow::WindowProcedure;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
  }
  className_ = className;
  window_.reset(CreateWindowExW(exStyle, className, L"", style, 0, 0, 0, 0, nullptr, nullptr, instance, this));
}

void THiddenWindow::DestroyHandle() {
  if (!window_) return;
  SetWindowLongPtrW(window_.get(), kObjectSlot, 0);
  window_.reset();
}

LRESULT THiddenWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefaultHandler(msg, wParam, lParam);
}

LRESULT THiddenWindow::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window_.get(), msg, wParam, lParam);
}

LRESULT CALLBACK THiddenWindow::WindowProcedure(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* object = static_cast<THiddenWindow*>(create->lpCreateParams);
    // The handle is the object's before CreateWindowEx returns, for the
    // messages that come first.
    object->window_.reset(wnd);
    SetWindowLongPtrW(wnd, kObjectSlot, reinterpret_cast<LONG_PTR>(object));
  }
  auto* self = reinterpret_cast<THiddenWindow*>(GetWindowLongPtrW(wnd, kObjectSlot));
  if (!self) return DefWindowProcW(wnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    // Destroyed by someone else: the object lets go of the handle.
    SetWindowLongPtrW(wnd, kObjectSlot, 0);
    self->window_.release();
    return DefWindowProcW(wnd, msg, wParam, lParam);
  }
  LRESULT result = 0;
  const TFailure failure = Guarded([&] { result = self->HandleMessage(msg, wParam, lParam); });
  if (!failure.Failed()) return result;
  ReportFailure(failure.What);
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace gui
