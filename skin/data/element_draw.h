// Drawing one state of a skin element: the one call every skinner makes,
// reading the element's margins, tiling, transparency and frame count once
// (as the system's themed drawing reads its part's properties). The
// primitives of skin_draw.h do the cutting and scaling underneath.
//
// A state says only what the skin cannot: which frame, how the picture is
// fitted to the target, and where the engine knows better than the skin (a
// strip whose frame count is the engine's, glyphs always keyed on magenta).
// Everything left at its default is read from the element.
#pragma once
#include <windows.h>

#include <optional>

#include "gui/bitmap.h"
#include "skin/data/skin_elements.h"

namespace skin {

// How the picture's frame is fitted to the target.
enum class TElementFit {
  NineSlice,   // corners true size, edges and centre stretched or tiled
  Border,      // the eight outer slices only; the centre is left as it is
  ThreeSlice,  // left and right true width, the middle repeated; all to the target's height
  Stretch,     // the whole frame stretched to the target
};

// Whether magenta pixels are left undrawn.
enum class TElementKeying { AsElement, Keyed, Opaque };

// Whether the centre and edge slices are repeated or stretched.
enum class TElementTiling { AsElement, Tiled, Stretched };

struct TElementState {
  // The state frame, from 1.
  int Frame = 1;
  TElementFit Fit = TElementFit::NineSlice;
  // The strip's frame count where the engine decides it; 0 reads the
  // element's (at least 1).
  int Frames = 0;
  // The frames stacked one above the other instead of side by side.
  bool StackedFrames = false;
  TElementKeying Keying = TElementKeying::AsElement;
  TElementTiling Tiling = TElementTiling::AsElement;
  // Slice sizes other than the element's own (a caption's text background).
  std::optional<RECT> Margins = std::nullopt;
  // Another picture of the element (its second image, a glyph strip, a
  // picture made from it); none: the element's Image.
  const gui::TBitmap* Picture = nullptr;
  // The middle of a change of look: the frame the part changes from (0:
  // none) and how far the change has come, 0 (all FromFrame) to
  // kTransitionDone (all Frame). Each pixel is drawn between the two
  // looks over what the target held, so a keyed or translucent picture
  // never lets the background flash through.
  int FromFrame = 0;
  int Progress = kTransitionDone;
  static constexpr int kTransitionDone = 255;
  bool Blends() const { return FromFrame > 0 && FromFrame != Frame && Progress < kTransitionDone; }
};

// The state drawn onto the context. An inverted target or an empty picture
// draws nothing.
void DrawElement(HDC dc, const RECT& target, const TDataSkinObject& element, const TElementState& state = {});

// Mixes `later` into `earlier` (two pictures of one size) pixel by pixel:
// 0 leaves `earlier`, TElementState::kTransitionDone gives `later`. For the
// middle of a change of look the engine composes itself.
void MixPictures(gui::TBitmap& earlier, const gui::TBitmap& later, int progress);

// The state's frame nine-sliced into a new bitmap of the target's size, for
// callers that keep or examine the picture (a cached frame, a window region);
// keying is theirs. Empty for an empty picture.
gui::TBitmap RenderElement(const RECT& target, const TDataSkinObject& element, const TElementState& state = {});

// What a state reads: its frame count, keying, tiling and margins.
int FramesOf(const TDataSkinObject& element, const TElementState& state = {});
bool IsKeyed(const TDataSkinObject& element, const TElementState& state = {});
bool IsTiled(const TDataSkinObject& element, const TElementState& state = {});

}  // namespace skin
