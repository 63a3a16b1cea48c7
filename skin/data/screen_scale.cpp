#include "skin/data/screen_scale.h"

namespace skin {

namespace {
int g_forced = 0;

int ReadScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}
}  // namespace

int ScreenDpi() {
  if (g_forced) return g_forced;
  static const int dpi = ReadScreenDpi();
  return dpi;
}

void ForceScreenDpi(int dpi) { g_forced = dpi; }

}  // namespace skin
