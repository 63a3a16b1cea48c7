// Every bitmap a skin definition names, drawn from a palette. The light and
// the dark skin share all geometry; only the colours differ.
#pragma once
#include <map>
#include <optional>
#include <string>

#include "tools/skingen/density.h"
#include "tools/skingen/raster.h"

namespace skingen {

struct Palette {
  Rgb face;           // dialog and button face
  Rgb surface;        // edit fields, menus, tracks
  Rgb text;
  Rgb muted_text;     // disabled glyphs and text
  Rgb line;           // control outlines
  Rgb accent;         // active caption, checked glyphs, progress
  Rgb accent_strong;  // pressed accent
  Rgb accent_soft;    // hover and selection backgrounds
  Rgb caption_inactive;
  Rgb caption_text;
  Rgb caption_text_inactive;
  Rgb close_hot;      // the close button's hover red
  // The shape: every corner radius scaled by this (0: square corners), and
  // the small reliefs (a shadow line inside a button's bottom edge, a
  // highlight under the caption's top edge, a line between the frame and
  // the client area).
  double corner_scale = 1.0;
  bool reliefs = true;
  // The active caption band (the accent unless given), and the caption
  // buttons' hot and pressed fills (from the accent unless given).
  std::optional<Rgb> caption_active{}, caption_hot{}, caption_pressed{};
};

Palette LightPalette();
Palette DarkPalette();
// Flat and square: a light page, one-pixel lines, a single strong accent,
// a light caption whose buttons are glyphs on a fill while hot.
Palette FlatPalette();

// Bitmaps by their 1x archive entry name (lower case, ".bmp"), drawn at one
// density: every frame of w × h design pixels is density.Px(w) × Px(h).
std::map<std::string, Raster> DrawSkinArt(const Palette& palette, const Density& density = kDesignDensity);

}  // namespace skingen
