#include "skin/controls/system_theme.h"

#include <uxtheme.h>

namespace skin {

namespace {

// SetWindowTheme's names that match no visual style: the window draws
// without one (empty names are refused).
constexpr wchar_t kNoStyle[] = L" ";

}  // namespace

void TSystemThemeOff::Apply(HWND wnd, bool off) {
  if (wnd != wnd_) Give();
  if (!off || !wnd || wnd_ == wnd) {
    if (!off) Give();
    return;
  }
  if (SUCCEEDED(SetWindowTheme(wnd, kNoStyle, kNoStyle))) wnd_ = wnd;
}

void TSystemThemeOff::Give() {
  if (!wnd_) return;
  // Null names give the window the style in force again.
  if (IsWindow(wnd_)) SetWindowTheme(wnd_, nullptr, nullptr);
  wnd_ = nullptr;
}

}  // namespace skin
