// Element objects: one per section of a skin definition, each a bitmap with
// the numbers that say how to cut and draw it (slice margins, state frames
// side by side, transparency, tiling) and a few colours. The numbers are the
// definition's own values (core/skindef/skin_definition.h), lengths scaled
// to the screen; what is added here is the pictures. Every picture an element
// holds is its own, decoded when first drawn; an element without a picture
// holds an empty one.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "core/skindef/skin_colour.h"
#include "core/skindef/skin_definition.h"
#include "skin/data/element_picture.h"

namespace skin {

class TDataSkinObject : public core::SkinObjectValues {
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

  TElementPicture Image;
  // The definition's Trans key as it was read: 1 leaves magenta pixels
  // undrawn (and cuts them out of a window's region); any other value draws
  // the picture opaque. Read it through Transparent().
  bool Transparent() const { return Trans == 1; }
  // The definition's Tile key's meaning depends on the section: for the four
  // window-frame pieces it is their "Stretch" key, where 1 stretches;
  // everywhere else it is "Tile", where 1 tiles. Read it through
  // TilesCentre(), which knows which.
  bool TileKeyIsStretch = false;  // set for the four pieces
  // Whether the centre and edge slices are repeated (true) or stretched.
  bool TilesCentre() const { return TileKeyIsStretch ? Tile != 1 : Tile == 1; }
  std::string ElementName;
};

// Frame pieces and the sections with a second picture (progress chunk, tab
// border, up-down glyphs, the mirrored combo button).
class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TElementPicture Image2;
  // A window-frame piece's Mirror key as it was read. Read it through
  // Reflected(): whether a mirrored window shows the piece reflected with
  // its frame (any value but 0) or as it is (0, a logo's choice).
  std::int32_t Mirror = 1;
  bool Reflected() const { return Mirror != 0; }
};

// The caption text. The base margins carry the text layout: LeftWidth is the
// text shift, TopHeight the vertical shift, RightWidth the right clip; Image
// is the text background.
// ActiveTextColour and InactiveTextColour kNotGiven: the system's caption
// colours.
class TDataSkinTitle : public TDataSkinObject, public core::SkinTitleValues {
 public:
  using TDataSkinObject::TDataSkinObject;
};

// Push buttons, with the check-box and radio-button glyph strips.
class TDataSkinButton : public TDataSkinObject, public core::SkinButtonValues {
 public:
  using TDataSkinObject::TDataSkinObject;
  TElementPicture CheckImage;
  TElementPicture RadioImage;
};

// A caption button. Layout and behaviour of these numbers belong to the form
// skinner; here they are only stored.
class TDataSkinSysButton : public TDataSkinObject, public core::SkinSysButtonValues {
 public:
  using TDataSkinObject::TDataSkinObject;
};

// The group box caption background.
class TDataSkinBoxLabel : public TDataSkinObject, public core::SkinBoxLabelValues {
 public:
  using TDataSkinObject::TDataSkinObject;
};

}  // namespace skin
