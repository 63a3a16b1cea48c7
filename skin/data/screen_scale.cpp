#include "skin/data/screen_scale.h"

#include "gui/screen.h"

namespace skin {

int ScreenDpi() { return gui::ScreenPixelsPerInch(); }

void ForceScreenDpi(int dpi) { gui::ForceScreenPixelsPerInch(dpi); }

}  // namespace skin
