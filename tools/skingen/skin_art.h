// Every bitmap a skin definition names, drawn from a palette. The light and
// the dark skin share all geometry; only the colours differ.
#pragma once
#include <map>
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
};

Palette LightPalette();
Palette DarkPalette();

// Bitmaps by their 1x archive entry name (lower case, ".bmp"), drawn at one
// density: every frame of w × h design pixels is density.Px(w) × Px(h).
std::map<std::string, Raster> DrawSkinArt(const Palette& palette, const Density& density = kDesignDensity);

}  // namespace skingen
