#include "gui/screen.h"

namespace gui {

namespace {
int g_forced = 0;

int ReadScreenPixelsPerInch() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignPixelsPerInch;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignPixelsPerInch;
}
}  // namespace

int ScreenPixelsPerInch() {
  if (g_forced) return g_forced;
  static const int dpi = ReadScreenPixelsPerInch();
  return dpi;
}

void ForceScreenPixelsPerInch(int dpi) { g_forced = dpi; }

}  // namespace gui
