// Scratch objects for the skinners: a paint buffer made for one paint, and a
// string list shared for the life of the program.
#pragma once
#include "gui/bitmap.h"
#include "gui/classes.h"

namespace skin {

// A width x height bitmap whose context stretches with COLORONCOLOR, made for
// one paint and gone with it: a buffer kept between paints would hold a
// bitmap and a DC for every thread that ever painted.
gui::TBitmap StretchingBitmap(int width, int height);
gui::TStringList& SharedStringList();

}  // namespace skin
