// Scratch objects shared by the skinners for the life of the program: a
// bitmap whose canvas measures and composes text off screen, and a string
// list. Both live until the program exits.
#pragma once
#include "gui/bitmap.h"
#include "gui/classes.h"

namespace skin {

// Its context stretches with COLORONCOLOR. Users size it as they need.
gui::TBitmap& SharedStretchBitmap();
gui::TStringList& SharedStringList();

}  // namespace skin
