// Bitmaps turned in place: mirrored, flipped and rotated by a quarter turn.
// The transparency settings go with the pixels.
#pragma once
#include "gui/bitmap.h"

namespace skin {

// Left to right.
void MirrorBitmap(gui::TBitmap& bitmap);
// Top to bottom.
void FlipBitmap(gui::TBitmap& bitmap);
// A quarter turn counter-clockwise: the pixel at (x, y) goes to (y, W - 1 - x);
// width and height swap.
void RotateBitmapLeft(gui::TBitmap& bitmap);
// A quarter turn clockwise: the pixel at (x, y) goes to (H - 1 - y, x).
void RotateBitmapRight(gui::TBitmap& bitmap);

}  // namespace skin
