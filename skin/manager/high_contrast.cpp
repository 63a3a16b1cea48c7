#include "skin/manager/high_contrast.h"

#include <utility>

#include "gui/controls.h"
#include "gui/fault_guard.h"

namespace skin {

namespace {

constexpr const wchar_t* kListenerClass = L"TSkinContrastListener";

THighContrastQuery& CurrentQuery() {
  static THighContrastQuery query = &SystemHighContrastOn;
  return query;
}

}  // namespace

bool SystemHighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0)) return false;
  return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool HighContrastOn() { return CurrentQuery()(); }

THighContrastQuery SetHighContrastQuery(THighContrastQuery query) {
  if (!query) query = &SystemHighContrastOn;
  return std::exchange(CurrentQuery(), std::move(query));
}

namespace {
// The module this code is in (the engine's DLL, or the program linked with
// it): its window class goes with it.
HINSTANCE OwnModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&OwnModule), &module);
  return module;
}
}  // namespace

THighContrastListener::THighContrastListener(std::function<void()> onChange) : onChange_(std::move(onChange)) {
  HINSTANCE instance = OwnModule();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, kListenerClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &THighContrastListener::WindowProcedure;
    wc.hInstance = instance;
    wc.lpszClassName = kListenerClass;
    RegisterClassExW(&wc);
  }
  // Never shown: a tool window keeps it off the task bar should anyone show it.
  window_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kListenerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                instance, this));
}

THighContrastListener::~THighContrastListener() {
  window_.reset();
  // A class whose procedure is in a DLL must go before the DLL does; while
  // another thread's listener still lives this fails, and its own goes.
  UnregisterClassW(kListenerClass, OwnModule());
}

LRESULT CALLBACK THighContrastListener::WindowProcedure(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const gui::TFailure failure = gui::Guarded([&] {
    if (msg == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    }
    auto* self = reinterpret_cast<THighContrastListener*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    // The window must still be the listener's: a late message after the
    // object let go of it finds nobody.
    if (self && self->window_.get() == wnd && self->onChange_) {
      const bool announced = (msg == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST) || msg == WM_SYSCOLORCHANGE;
      if (announced) self->onChange_();
    }
  });
  if (failure.Failed()) gui::ReportFailure(failure.What);
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace skin
