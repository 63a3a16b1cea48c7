#include "skin/data/screen_scale.h"

#include "gui/screen.h"

namespace skin {

int ScreenDpi() { return gui::ScreenPixelsPerInch(); }

}  // namespace skin
