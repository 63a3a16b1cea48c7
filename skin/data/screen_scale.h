// The screen's density as the skin engine scales by it: 96 dots per inch is
// the skin's own size (factor 1, nothing changes), 144 is 1.5 times it. Every
// pixel size the engine takes from the skin or uses as a fixed amount goes
// through ScaleToScreen, rounding as MulDiv does.
#pragma once
#include <windows.h>

namespace skin {

// The design density of skins and form descriptions.
constexpr int kDesignDpi = 96;

// The screen's dots per inch, as the framework reads it (gui/screen.h).
int ScreenDpi();

// A length in the skin's pixels, in the screen's pixels.
inline int ScaleToScreen(int pixels) { return MulDiv(pixels, ScreenDpi(), kDesignDpi); }

}  // namespace skin
