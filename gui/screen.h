// The screen's density. Forms and skins are designed at 96 dots per inch;
// on a denser screen they are scaled by the screen's dots per inch over
// that, rounding as MulDiv does.
#pragma once
#include <windows.h>

namespace gui {

constexpr int kDesignPixelsPerInch = 96;

// The screen's dots per inch (LOGPIXELSY), read once unless a test forced
// another value.
int ScreenPixelsPerInch();
// Makes ScreenPixelsPerInch answer `dpi`; 0 reads the screen again.
void ForceScreenPixelsPerInch(int dpi);

}  // namespace gui
