// Drawing element bitmaps: one state frame cut out of a strip of equal
// frames, scaled to a target by nine-slice or three-slice rules, and put on a
// device context opaque or with one colour left undrawn.
//
// Frames are numbered from 1. Margins are a RECT holding the element's
// LeftWidth, TopHeight, RightWidth and BottomHeight, measured inside one frame;
// whatever a skin says, they are cut with each between 0 and the frame's
// size and with at least one column and row left between them.
// A target whose right edge is left of its left edge (or bottom above top) is
// inverted and draws nothing; a zero-size target is not inverted.
#pragma once
#include <windows.h>

#include "gui/bitmap.h"

namespace skin {

// Pixels of exactly this colour are never drawn by a transparent draw and are
// cut out of window regions.
constexpr COLORREF TransparentColour = RGB(255, 0, 255);

bool IsInverted(const RECT& r);

// Where one frame of a strip lies in its bitmap. Horizontal strips hold the
// frames side by side, vertical strips stack them; the frame count is kept
// between 1 and the pixels the strip has to cut, the index between 1 and
// the count.
struct TFrameRect {
  int X = 0, Y = 0, Width = 0, Height = 0;
};
TFrameRect SelectFrame(const gui::TBitmap& bitmap, bool verticalFrames, int frameCount, int frameIndex);

// A new bitmap of the target's size holding the frame nine-sliced: corners
// true size, edges stretched, the centre stretched or (tile) repeated. Side
// margins that do not fit the target's width are dropped, likewise top and
// bottom for its height.
gui::TBitmap RenderNineSlice(const RECT& target, gui::TBitmap& bitmap, const RECT& margins, bool verticalFrames,
                             bool tile, int frameCount, int frameIndex);

// RenderNineSlice, then one copy to the target (transparent: magenta left
// undrawn).
void DrawNineSlice(HDC dc, const RECT& target, gui::TBitmap& bitmap, bool verticalFrames, bool tile, bool transparent,
                   int frameCount, int frameIndex, const RECT& margins);

// Only the eight outer slices, stretched straight onto the context, with no
// work bitmap; the centre is left as it is.
void DrawNineSliceFrame(HDC dc, const RECT& target, gui::TBitmap& bitmap, bool verticalFrames, int frameCount,
                        int frameIndex, const RECT& margins);

// Left part, middle part repeated, right part over any middle copy that runs
// into it, each stretched to the target's height. Only the left and right
// margins count.
void DrawThreeSlice(gui::TCanvas& canvas, const RECT& target, gui::TBitmap& bitmap, bool verticalFrames,
                    bool transparent, int frameCount, int frameIndex, const RECT& margins);

// One frame of a horizontal strip stretched to the target.
void DrawFrame(HDC dc, const RECT& target, gui::TBitmap& bitmap, bool transparent, int frameCount, int frameIndex);

// Copies the bitmap's top-left part of the target's size (no scaling),
// leaving pixels of exactly the transparent colour undrawn.
void DrawTransparent(HDC dc, const RECT& target, gui::TBitmap& bitmap, COLORREF transparent);

// Repeats the source rectangle of the bitmap (the part of it inside the
// bitmap) over the target from its top-left corner; the last row and column
// of tiles may run past the target.
void TileDraw(gui::TCanvas& canvas, const RECT& target, gui::TBitmap& bitmap, const RECT& source);

// A frame `thickness` pixels wide along the inside of the rectangle.
void FrameRing(HDC dc, const RECT& rect, HBRUSH brush, int thickness);

}  // namespace skin
