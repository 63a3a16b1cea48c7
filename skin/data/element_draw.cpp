#include "skin/data/element_draw.h"

#include <algorithm>
#include <cstdint>

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

namespace {

// The two looks each drawn over what the target holds, then mixed pixel by
// pixel and copied back. The work bitmaps share the target's layout, so a
// mirrored target is copied out and back the same way round (the system's
// blending refuses mirrored contexts).
void DrawBlended(HDC dc, const RECT& target, const TDataSkinObject& element, const TElementState& state) {
  const int w = target.right - target.left, h = target.bottom - target.top;
  if (w <= 0 || h <= 0) return;
  const RECT local{0, 0, w, h};
  auto drawn = [&](int frame) {
    gui::TBitmap look(w, h);
    SetLayout(look.DC(), GetLayout(dc));
    BitBlt(look.DC(), 0, 0, w, h, dc, target.left, target.top, SRCCOPY);
    TElementState one = state;
    one.Frame = frame;
    one.FromFrame = 0;
    DrawElement(look.DC(), local, element, one);
    return look;
  };
  gui::TBitmap earlier = drawn(state.FromFrame);
  const gui::TBitmap later = drawn(state.Frame);
  MixPictures(earlier, later, state.Progress);
  BitBlt(dc, target.left, target.top, w, h, earlier.DC(), 0, 0, SRCCOPY);
}

}  // namespace

void MixPictures(gui::TBitmap& earlier, const gui::TBitmap& later, int progress) {
  if (earlier.Width() != later.Width() || earlier.Height() != later.Height() || earlier.Empty()) return;
  GdiFlush();
  const std::uint32_t t = static_cast<std::uint32_t>(std::clamp(progress, 0, TElementState::kTransitionDone));
  std::uint32_t* mixed = earlier.Bits();
  const std::uint32_t* in = later.Bits();
  for (int i = 0; i < earlier.Width() * earlier.Height(); ++i) {
    std::uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
      const std::uint32_t a = (mixed[i] >> shift) & 0xFF, b = (in[i] >> shift) & 0xFF;
      out |= ((a * (255 - t) + b * t + 127) / 255) << shift;
    }
    mixed[i] = out;
  }
}

void DrawElement(HDC dc, const RECT& target, const TDataSkinObject& element, const TElementState& state) {
  gui::TBitmap& picture = PictureOf(element, state);
  if (IsInverted(target) || picture.Empty()) return;
  if (state.Blends() && state.Progress > 0) {
    DrawBlended(dc, target, element, state);
    return;
  }
  if (state.Blends()) {
    TElementState from = state;
    from.Frame = state.FromFrame;
    from.FromFrame = 0;
    DrawElement(dc, target, element, from);
    return;
  }
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
