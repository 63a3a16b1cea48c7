// Window regions cut from bitmaps: every pixel outside a colour range (the
// transparent magenta, with a small tolerance) belongs to the region.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "gui/bitmap.h"
#include "gui/handles.h"

namespace skin {

// 32-bit pixels (blue, green, red, unused) seen row by row from the top.
// Stride is the distance in bytes from one row to the row below it: negative
// for a bottom-up DIB, whose top row is stored last.
struct TScanLines {
  const std::uint8_t* TopRow = nullptr;
  std::ptrdiff_t Stride = 0;
  int Width = 0;
  int Height = 0;
};

// A new region holding, offset by (xOffset, yOffset), every pixel whose
// colour lies outside [c, min(255, c + tolerance)] on at least one channel.
// Empty when every pixel is in range. Never null unless the system is out of
// resources.
gui::RegionHandle CreateRegionFromScanLines(const TScanLines& pixels, int xOffset, int yOffset, int blueTolerance,
                                            int greenTolerance, int redTolerance, COLORREF colour);
// A bitmap with premultiplied alpha loses only the pixels it does not cover
// at all (alpha 0), whatever the colour range says.
gui::RegionHandle CreateRegionFromBitmap(const gui::TBitmap& bitmap, int xOffset, int yOffset, int blueTolerance,
                                         int greenTolerance, int redTolerance, COLORREF colour);
// Any bitmap, device-dependent or DIB section of either row order, read
// through a 32-bit copy.
gui::RegionHandle CreateRegionFromBitmap(HBITMAP bitmap, int xOffset, int yOffset, int blueTolerance,
                                         int greenTolerance, int redTolerance, COLORREF colour);

}  // namespace skin
