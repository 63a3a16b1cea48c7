// The pictures of the Meridian skins, in the look of today's desktop: a flat
// caption whose buttons are glyphs on a fill while hot (close turns red),
// window corners rounded with a soft edge, rounded controls with soft edges,
// one accent colour for what is chosen, focused or on, and slim scroll bars
// that widen while the pointer is over them. Every picture carries alpha
// where its edges are soft; the layout is the one of skins/meridian/skin.ini.
#pragma once
#include <map>
#include <string>

#include "tools/skingen/alpha_raster.h"
#include "tools/skingen/density.h"

namespace skingen {

struct ModernPalette {
  Rgb face;              // window, dialog and caption
  Rgb window;            // edit fields and lists
  Rgb surface;           // a control's fill at rest
  Rgb surface_hot;
  Rgb surface_pressed;
  Rgb surface_disabled;
  Rgb text;
  Rgb text_secondary;    // a pressed button's caption, unselected tabs
  Rgb text_disabled;
  Rgb stroke;            // control outlines
  Rgb stroke_bottom;     // the bottom edge of raised controls
  Rgb strong_stroke;     // check and radio boxes, which need to be found
  Rgb frame_active;      // the window's one-pixel outline
  Rgb frame_inactive;
  Rgb caption_text;
  Rgb caption_text_inactive;
  Rgb caption_hot;       // minimise and maximise under the pointer
  Rgb caption_pressed;
  Rgb close_hot;
  Rgb close_pressed;
  Rgb accent;
  Rgb accent_hot;
  Rgb on_accent;         // glyphs on the accent
  Rgb selection;         // chosen menu items and list rows, under white text
  Rgb menu;              // popup menus
  Rgb divider;
  Rgb scroll_thumb;
  Rgb scroll_thumb_dragged;
  Rgb scroll_bar_hot;    // the widened bar behind its thumb
};

ModernPalette MeridianLight();
ModernPalette MeridianDark();

// Pictures by their 1x archive entry name, drawn at one density.
std::map<std::string, SkinPicture> DrawModernArt(const ModernPalette& palette, const Density& density = kDesignDensity);

}  // namespace skingen
