#include "skin/data/element_draw.h"

#include <algorithm>

#include "skin/data/skin_draw.h"

namespace skin {

namespace {

// Drawing only reads a picture; the bitmap makes its memory context on
// first use, which is why the primitives take it as mutable.
gui::TBitmap& PictureOf(const TDataSkinObject& element, const TElementState& state) {
  return const_cast<gui::TBitmap&>(state.Picture ? *state.Picture : element.Image);
}

RECT MarginsOf(const TDataSkinObject& element, const TElementState& state) {
  return state.Margins ? *state.Margins : element.Margins();
}

// What a state chose, or the element's own answer where it left it.
template <class TChoice>
bool Chosen(TChoice choice, TChoice yes, bool elements) {
  return choice == TChoice::AsElement ? elements : choice == yes;
}

}  // namespace

int FramesOf(const TDataSkinObject& element, const TElementState& state) {
  if (state.Frames > 0) return state.Frames;
  return std::max(element.FrameCount, 1);
}

bool IsKeyed(const TDataSkinObject& element, const TElementState& state) {
  return Chosen(state.Keying, TElementKeying::Keyed, element.Transparent());
}

bool IsTiled(const TDataSkinObject& element, const TElementState& state) {
  return Chosen(state.Tiling, TElementTiling::Tiled, element.TilesCentre());
}

void DrawElement(HDC dc, const RECT& target, const TDataSkinObject& element, const TElementState& state) {
  gui::TBitmap& picture = PictureOf(element, state);
  if (IsInverted(target) || picture.Empty()) return;
  const int frames = FramesOf(element, state);
  switch (state.Fit) {
    case TElementFit::NineSlice:
      DrawNineSlice(dc, target, picture, state.StackedFrames, IsTiled(element, state), IsKeyed(element, state), frames,
                    state.Frame, MarginsOf(element, state));
      return;
    case TElementFit::Border:
      DrawNineSliceFrame(dc, target, picture, state.StackedFrames, frames, state.Frame, MarginsOf(element, state));
      return;
    case TElementFit::ThreeSlice: {
      gui::TCanvas canvas(dc);
      DrawThreeSlice(canvas, target, picture, state.StackedFrames, IsKeyed(element, state), frames, state.Frame,
                     MarginsOf(element, state));
      return;
    }
    case TElementFit::Stretch:
      DrawFrame(dc, target, picture, IsKeyed(element, state), frames, state.Frame);
      return;
  }
}

gui::TBitmap RenderElement(const RECT& target, const TDataSkinObject& element, const TElementState& state) {
  return RenderNineSlice(target, PictureOf(element, state), MarginsOf(element, state), state.StackedFrames,
                         IsTiled(element, state), FramesOf(element, state), state.Frame);
}

}  // namespace skin
