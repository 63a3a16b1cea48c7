#include "skin/controls/system_theme.h"

namespace skin {

namespace {

// SetWindowTheme's names that match no visual style: the window draws
// without one (an empty name is taken as no name at all under Wine, and
// changes nothing).
constexpr wchar_t kNoStyle[] = L" ";
// uxtheme.h's ETDT_DISABLE and ETDT_ENABLETAB.
constexpr DWORD kTextureOff = 0x1, kTabTexture = 0x6;

using TSetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
using TEnableDialogTexture = HRESULT(WINAPI*)(HWND, DWORD);
using TDialogTextureEnabled = BOOL(WINAPI*)(HWND);

// Looked up rather than imported: systems without visual styles (before
// Windows XP) have no uxtheme.dll, and a program importing it would not start.
template <class F>
F UxThemeFunction(const char* name) {
  static const HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
  return uxtheme ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(uxtheme, name))) : nullptr;
}

struct TUxTheme {
  TSetWindowTheme SetTheme = UxThemeFunction<TSetWindowTheme>("SetWindowTheme");
  TDialogTextureEnabled TextureEnabled = UxThemeFunction<TDialogTextureEnabled>("IsThemeDialogTextureEnabled");
  TEnableDialogTexture EnableTexture = UxThemeFunction<TEnableDialogTexture>("EnableThemeDialogTexture");
};

const TUxTheme& UxTheme() {
  static const TUxTheme functions;
  return functions;
}

}  // namespace

void TSystemThemeOff::Apply(HWND wnd, bool off) {
  if (wnd != wnd_) Give();
  if (!off || !wnd || wnd_ == wnd) {
    if (!off) Give();
    return;
  }
  const TUxTheme& ux = UxTheme();
  if (!ux.SetTheme || !SUCCEEDED(ux.SetTheme(wnd, kNoStyle, kNoStyle))) return;
  wnd_ = wnd;
  // A property sheet's page is painted with the tab's texture, taken from
  // the theme whatever the window's own.
  texture_ = ux.TextureEnabled && ux.EnableTexture && ux.TextureEnabled(wnd);
  if (texture_) ux.EnableTexture(wnd, kTextureOff);
}

void TSystemThemeOff::Give() {
  const HWND wnd = wnd_;
  wnd_ = nullptr;
  if (!wnd || !IsWindow(wnd)) {
    texture_ = false;
    return;
  }
  // Null names give the window the style in force again.
  UxTheme().SetTheme(wnd, nullptr, nullptr);
  if (texture_) UxTheme().EnableTexture(wnd, kTabTexture);
  texture_ = false;
}

}  // namespace skin
