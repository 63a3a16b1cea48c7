#include "skin/controls/system_theme.h"

namespace skin {

namespace {

// SetWindowTheme's names that match no visual style: the window draws
// without one (empty names are refused).
constexpr wchar_t kNoStyle[] = L" ";

using TSetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

// Looked up rather than imported: systems without visual styles (before
// Windows XP) have no uxtheme.dll, and a program importing it would not start.
TSetWindowTheme SetWindowThemeFunction() {
  static const TSetWindowTheme function = [] {
    HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
    return uxtheme ? reinterpret_cast<TSetWindowTheme>(
                         reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")))
                   : nullptr;
  }();
  return function;
}

}  // namespace

void TSystemThemeOff::Apply(HWND wnd, bool off) {
  if (wnd != wnd_) Give();
  if (!off || !wnd || wnd_ == wnd) {
    if (!off) Give();
    return;
  }
  const TSetWindowTheme setTheme = SetWindowThemeFunction();
  if (setTheme && SUCCEEDED(setTheme(wnd, kNoStyle, kNoStyle))) wnd_ = wnd;
}

void TSystemThemeOff::Give() {
  if (!wnd_) return;
  // Null names give the window the style in force again.
  if (IsWindow(wnd_)) SetWindowThemeFunction()(wnd_, nullptr, nullptr);
  wnd_ = nullptr;
}

}  // namespace skin
