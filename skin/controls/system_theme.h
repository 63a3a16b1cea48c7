// TSystemThemeOff: the system's visual style taken off one window while it
// is skinned, and given back. A themed control draws the theme's pictures,
// which no colour reaches (a dialog page its tab texture), and under Wine
// every common control wears the prefix's theme, whose drawing is by far the
// dearest part of a skinned paint (a page control 11.7 ms against 0.2 ms
// plain, a scroll-bar control 2.4 ms against 0.2) when the skin covers it
// anyway. The control still paints itself first, as it would unskinned; only
// what it paints with changes. Without visual styles (Windows without a
// common-controls 6 manifest, or without uxtheme.dll) it changes nothing.
#pragma once
#include <windows.h>

namespace skin {

class TSystemThemeOff {
 public:
  TSystemThemeOff() = default;
  ~TSystemThemeOff() { Give(); }
  TSystemThemeOff(const TSystemThemeOff&) = delete;
  TSystemThemeOff& operator=(const TSystemThemeOff&) = delete;

  // Takes the style off `wnd` when `off` (and a dialog page's tab texture),
  // else gives it back; a window other than the last one gives that one's
  // back first.
  void Apply(HWND wnd, bool off = true);
  // The style (and texture) back on the window it was taken from, if that
  // still lives.
  void Give();
  HWND Window() const { return wnd_; }
  bool Applied() const { return wnd_ != nullptr; }

 private:
  HWND wnd_ = nullptr;
  bool texture_ = false;
};

}  // namespace skin
