// The skin's four border pieces as the frame's painting and its region
// number them, and the state frame of a piece for the window's activation.
#pragma once

#include "skin/data/skin_data.h"
#include "skin/form/caption_buttons.h"

namespace skin {

enum TBorderPiece { bpLeft = 1, bpRight = 2, bpTop = 3, bpBottom = 4 };

inline TDataSkinBorder& BorderPiece(TSkinContent& skin, int index) {
  switch (index) {
    case bpLeft: return skin.BorderLeft;
    case bpRight: return skin.BorderRight;
    case bpTop: return skin.BorderTop;
    default: return skin.BorderBottom;
  }
}

// The first frame while active (or for a piece with one frame), else the second.
inline int PieceFrame(const TDataSkinBorder& piece, bool active) { return (active || FramesOf(piece) == 1) ? 1 : 2; }

// How a piece is drawn: the top and bottom pieces hold their frames one
// above the other.
inline TElementState PieceState(const TDataSkinBorder& piece, int index, bool active) {
  return {.Frame = PieceFrame(piece, active), .StackedFrames = index == bpTop || index == bpBottom};
}

}  // namespace skin
