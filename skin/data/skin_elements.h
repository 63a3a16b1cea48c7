// Element objects: one per section of a skin definition, each a bitmap with
// the numbers that say how to cut and draw it (slice margins, state frames
// side by side, transparency, tiling) and a few colours. Every bitmap an
// element holds is its own; an element without a picture holds an empty one.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "core/skindef/skin_colour.h"
#include "gui/bitmap.h"

namespace skin {

class TDataSkinObject {
 public:
  explicit TDataSkinObject(std::string name) : ElementName(std::move(name)) {}
  TDataSkinObject(const TDataSkinObject&) = delete;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;
  virtual ~TDataSkinObject() = default;

  // The slice sizes as one rectangle (left, top, right, bottom), the form
  // the nine-slice drawing takes them in.
  RECT Margins() const { return RECT{LeftWidth, TopHeight, RightWidth, BottomHeight}; }
  // Width of one of the FrameCount state frames laid side by side in Image.
  int FrameWidth() const { return FrameCount > 0 ? Image.Width() / FrameCount : Image.Width(); }

  std::int32_t LeftWidth = 0;
  std::int32_t TopHeight = 0;
  std::int32_t RightWidth = 0;
  std::int32_t BottomHeight = 0;
  gui::TBitmap Image;
  // The definition's Trans key as it was read. Read it through
  // Transparent(), the one reading the format gives it.
  std::int32_t Trans = 0;
  // Trans is 1: magenta pixels are left undrawn (and cut out of a window's
  // region); any other value draws the picture opaque.
  bool Transparent() const { return Trans == 1; }
  // The definition's tiling key as it was read. Its meaning depends on the
  // section: for the four window-frame pieces it is their "Stretch" key,
  // where 1 stretches; everywhere else it is "Tile", where 1 tiles. Read it
  // through TilesCentre(), which knows which.
  std::int32_t TileKey = 0;
  // The key above is a frame piece's Stretch key (set for the four pieces).
  bool TileKeyIsStretch = false;
  // Whether the centre and edge slices are repeated (true) or stretched.
  bool TilesCentre() const { return TileKeyIsStretch ? TileKey != 1 : TileKey == 1; }
  std::string ElementName;
  std::int32_t FrameCount = 0;
  std::int32_t Style = 0;
  std::int32_t NormalColour = 0;  // -1 when the skin gives none
  std::int32_t MouseOverColour = 0;
  std::int32_t PressedColour = 0;
  core::SkinColour NormalColour2 = 0;
  core::SkinColour MouseOverColour2 = 0;
  core::SkinColour PressedColour2 = 0;
};

// Frame pieces and the sections with a second picture (progress chunk, tab
// border, up-down glyphs, the mirrored combo button).
class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  gui::TBitmap Image2;
  // A window-frame piece's Mirror key as it was read. Read it through
  // Reflected(): whether a mirrored window shows the piece reflected with
  // its frame (any value but 0) or as it is (0, a logo's choice).
  std::int32_t Mirror = 1;
  bool Reflected() const { return Mirror != 0; }
};

// The caption text. The base margins carry the text layout: LeftWidth is the
// text shift, TopHeight the vertical shift, RightWidth the right clip; Image
// is the text background.
class TDataSkinTitle : public TDataSkinObject {
 public:
  static constexpr core::SkinColour kNotGiven = 0x1FFFFFFF;
  using TDataSkinObject::TDataSkinObject;
  std::int32_t TextAlignment = 0;
  std::int32_t TextBackground = 0;
  std::int32_t FontHeight = 0;
  std::int32_t TextBackLeft = 0;
  std::int32_t TextBackRight = 0;
  core::SkinColour ActiveTextColour = 0;  // kNotGiven: use the system's caption colours
  core::SkinColour InactiveTextColour = 0;
};

// Push buttons, with the check-box and radio-button glyph strips.
class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  gui::TBitmap CheckImage;
  gui::TBitmap RadioImage;
  std::int32_t RadioFrameCount = 0;
  std::int32_t CheckFrameCount = 0;
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

// A caption button. Layout and behaviour of these numbers belong to the form
// skinner; here they are only stored.
class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t Action = 0;
  std::int32_t Align = 0;
  std::int32_t XCoord = 0;
  std::int32_t YCoord = 0;
  std::int32_t CombineOp = 0;
  std::int32_t Visibility = 0;
  std::int32_t Visibility1 = 0;
};

// The group box caption background.
class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t BackgroundLeftShift = 0;
  std::int32_t BackgroundRightShift = 0;
  std::int32_t BackgroundAlignment = 0;
};

}  // namespace skin
