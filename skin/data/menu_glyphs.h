// The four 16 x 16 menu marks the menu skinners draw beside the window
// commands: restore, maximise, minimise and close, black on a white mask.
#pragma once
#include <windows.h>

#include "gui/handles.h"

namespace skin {

constexpr int kMenuGlyphSize = 16;
enum TMenuGlyph { mgRestore = 0, mgMaximize = 1, mgMinimize = 2, mgClose = 3 };

// The 64 x 16 monochrome strip, drawn here rather than stored as a resource.
gui::BitmapHandle CreateMenuGlyphStrip();

}  // namespace skin
