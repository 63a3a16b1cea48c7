#include "tools/skingen/modern_art.h"

#include <algorithm>
#include <cmath>

namespace skingen {

// The light greys stay off the system's own (Wine's light colours give the
// button face 245 and hot tracking 224), so that a screenshot tells what the
// skin left to the system apart from what it draws itself.
ModernPalette MeridianLight() {
  return ModernPalette{
      .face = 0xF3F3F3,
      .window = 0xFFFFFF,
      .surface = 0xFBFBFB,
      .surface_hot = 0xF6F6F6,
      .surface_pressed = 0xF0F0F0,
      .surface_disabled = 0xF7F7F7,
      .text = 0x1A1A1A,
      .text_secondary = 0x5C5C5C,
      .text_disabled = 0xA0A0A0,
      .stroke = 0xDADADA,
      .stroke_bottom = 0xBDBDBD,
      .strong_stroke = 0x868686,
      .frame_active = 0x9A9A9A,
      .frame_inactive = 0xC6C6C6,
      .caption_text = 0x1A1A1A,
      .caption_text_inactive = 0x8F8F8F,
      .caption_hot = 0xE3E3E3,
      .caption_pressed = 0xD6D6D6,
      .close_hot = 0xC42B1C,
      .close_pressed = 0x9E2216,
      .accent = 0x005FB8,
      .accent_hot = 0x1A6FC0,
      .on_accent = 0xFFFFFF,
      .selection = 0x005FB8,
      .menu = 0xF9F9F9,
      .divider = 0xE1E1E1,
      .scroll_thumb = 0x8A8A8A,
      .scroll_thumb_dragged = 0x5C5C5C,
      .scroll_bar_hot = 0xE9E9E9,
  };
}

ModernPalette MeridianDark() {
  return ModernPalette{
      .face = 0x202020,
      .window = 0x191919,
      .surface = 0x2D2D2D,
      .surface_hot = 0x333333,
      .surface_pressed = 0x282828,
      .surface_disabled = 0x262626,
      .text = 0xFFFFFF,
      .text_secondary = 0xC8C8C8,
      .text_disabled = 0x717171,
      .stroke = 0x3D3D3D,
      .stroke_bottom = 0x333333,
      .strong_stroke = 0x9A9A9A,
      .frame_active = 0x565656,
      .frame_inactive = 0x3A3A3A,
      .caption_text = 0xFFFFFF,
      .caption_text_inactive = 0x858585,
      .caption_hot = 0x333333,
      .caption_pressed = 0x2A2A2A,
      .close_hot = 0xC42B1C,
      .close_pressed = 0x9E2216,
      .accent = 0x60CDFF,
      .accent_hot = 0x5ABBE9,
      .on_accent = 0x000000,
      .selection = 0x0067C0,
      .menu = 0x2C2C2C,
      .divider = 0x3D3D3D,
      .scroll_thumb = 0x9F9F9F,
      .scroll_thumb_dragged = 0xCFCFCF,
      .scroll_bar_hot = 0x2C2C2C,
  };
}

namespace {

// Window frame geometry shared with the definition's [Personality] keys, in
// design pixels: a caption as tall as the system's with its buttons, thin
// borders whose outer pixel is the window's outline, and corners rounded
// all round.
constexpr int kCaption = 32, kBorder = 4, kCorner = 8;
constexpr int kMockWidth = 96, kMockHeight = 96;
// Caption buttons: as wide as the system's, as tall as the caption inside
// the outline.
constexpr int kCaptionButtonWidth = 46, kCaptionButtonHeight = 30;

// A start coordinate on whole pixels, halves up, so that lines stay crisp.
double Snap(double v) { return std::floor(v + 0.5); }

core::AlphaPicture Crop(const core::AlphaPicture& p, int x, int y, int w, int h) {
  core::AlphaPicture out{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * static_cast<std::size_t>(h))};
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      out.pixels[static_cast<std::size_t>(j * w + i)] = p.pixels[static_cast<std::size_t>((y + j) * p.width + x + i)];
  return out;
}

// Two pictures of one size as two frames, side by side or stacked.
core::AlphaPicture Join(const core::AlphaPicture& a, const core::AlphaPicture& b, bool stacked) {
  const int w = stacked ? a.width : 2 * a.width, h = stacked ? 2 * a.height : a.height;
  core::AlphaPicture out{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * static_cast<std::size_t>(h))};
  for (int k = 0; k < 2; ++k) {
    const core::AlphaPicture& part = k == 0 ? a : b;
    for (int j = 0; j < part.height; ++j)
      for (int i = 0; i < part.width; ++i) {
        const int x = stacked ? i : i + k * a.width, y = stacked ? j + k * a.height : j;
        out.pixels[static_cast<std::size_t>(y * w + x)] = part.pixels[static_cast<std::size_t>(j * part.width + i)];
      }
  }
  return out;
}

// A strip of frames of w × h design pixels side by side, each drawn by
// draw(frame, frame number from 1) at the density's size.
template <typename Draw>
SkinPicture Strip(const Density& d, int frames, int w, int h, Draw draw) {
  const int fw = d.Px(w), fh = d.Px(h);
  AlphaRaster out(fw * frames, fh);
  for (int f = 0; f < frames; ++f) {
    AlphaRaster frame(fw, fh);
    draw(frame, f + 1);
    out.Paint(frame, f * fw, 0);
  }
  return SkinPicture(out.Resolve());
}

// A whole window frame in one look; the four pieces are cut from it so that
// the corners line up across pieces.
core::AlphaPicture WindowMock(const ModernPalette& p, const Density& d, bool active) {
  const int border = d.Px(kBorder);
  const int w = 2 * border + d.Px(kMockWidth - 2 * kBorder), h = d.Px(kMockHeight), t = d.Stroke(1);
  const double corner = d.Radius(kCorner);
  AlphaRaster mock(w, h);
  mock.RoundBox(0, 0, w, h, corner, t, active ? p.frame_active : p.frame_inactive, p.face);
  return mock.Resolve();
}

// Caption glyphs of the system's kind: thin strokes in a 10-pixel box
// centred in the raster (the 46 × 30 caption cell, or a 16 × 14 cell of the
// maximised-child buttons at `size` 8).
void CaptionGlyph(AlphaRaster& r, const Density& d, char kind, Rgb ink, double size = 10) {
  const double s = d.Radius(size), t = d.Stroke(1);
  const double x = Snap(r.width() / 2.0 - s / 2), y = Snap(r.height() / 2.0 - s / 2);
  switch (kind) {
    case 'x':
      r.Line(x, y, x + s, y + s, 1.1 * std::max(1.0, d.Factor()), ink);
      r.Line(x, y + s, x + s, y, 1.1 * std::max(1.0, d.Factor()), ink);
      break;
    case 'M':
      r.RoundBox(x, y, s, s, 1.5 * d.Factor(), t, ink, kMagenta);
      break;
    case 'R': {
      // The window in front at the bottom left, the one behind showing its
      // top and right edges.
      const double front = Snap(s * 0.8), shift = s - front;
      AlphaRaster back(r.width(), r.height());
      back.RoundBox(x + shift, y, front, front, 1.5 * d.Factor(), t, ink, kMagenta);
      back.Fill(x, y + shift, front, front, kMagenta);
      r.Paint(back, 0, 0);
      r.RoundBox(x, y + shift, front, front, 1.5 * d.Factor(), t, ink, kMagenta);
      break;
    }
    case '_':
      r.Fill(x, Snap(r.height() / 2.0 - t / 2), s, t, ink);
      break;
    default:
      break;
  }
}

// Caption buttons: 1 normal, 2 pressed, 3 hot, 4 inactive window. The close
// button's fill follows the window's rounded corner, since it reaches the
// window's right edge.
SkinPicture CaptionButton(const ModernPalette& p, const Density& d, char kind) {
  return Strip(d, 4, kCaptionButtonWidth, kCaptionButtonHeight, [&](AlphaRaster& r, int frame) {
    const bool close = kind == 'x';
    Rgb ink = frame == 4 ? p.caption_text_inactive : p.caption_text;
    if (close && (frame == 2 || frame == 3)) ink = 0xFFFFFF;
    if (frame == 2 || frame == 3) {
      const Rgb fill = close ? (frame == 2 ? p.close_pressed : p.close_hot) : (frame == 2 ? p.caption_pressed : p.caption_hot);
      if (close) {
        const double radius = d.Radius(kCorner) - d.Stroke(1);
        r.RoundRect(-radius, 0, r.width() + radius, r.height() + radius, radius, fill);
      } else {
        r.Fill(0, 0, r.width(), r.height(), fill);
      }
    }
    AlphaRaster glyph(r.width(), r.height());
    CaptionGlyph(glyph, d, kind, ink);
    r.Paint(glyph, 0, 0);
  });
}

// The default window icon: an accent tile with a globe's meridian.
SkinPicture WindowIcon(const ModernPalette& p, const Density& d) {
  return Strip(d, 4, 16, 16, [&](AlphaRaster& r, int frame) {
    const Rgb tile = frame == 4 ? p.caption_text_inactive : (frame == 2 ? Mix(p.accent, 0x000000, 15) : p.accent);
    const double k = d.Factor(), c = r.width() / 2.0;
    r.RoundRect(k, k, r.width() - 2 * k, r.height() - 2 * k, 3.5 * k, tile);
    r.Disc(c, c, 4.5 * k, p.on_accent);
    r.Disc(c, c, 4.5 * k - 1.2 * k, tile);
    r.Line(c, c - 4.5 * k, c, c + 4.5 * k, 1.2 * k, p.on_accent);
    r.Line(c - 4.5 * k, c, c + 4.5 * k, c, 1.2 * k, p.on_accent);
  });
}

// A raised control's body: a rounded fill inside an outline whose bottom
// edge is darker, as light falls from above.
void RaisedBox(AlphaRaster& r, const Density& d, double radius, Rgb side, Rgb bottom, Rgb fill) {
  const double t = d.Stroke(1);
  r.RoundRect(0, 0, r.width(), r.height(), radius, bottom);
  r.RoundRect(0, 0, r.width(), r.height() - t, radius, side);
  r.RoundRect(t, t, r.width() - 2 * t, r.height() - 2 * t, std::max(radius - t, 0.0), fill);
}

// The focus ring inside a control's edge: the accent, then a softer accent.
void FocusRing(AlphaRaster& r, const Density& d, double radius, Rgb accent, Rgb fill) {
  const double t = d.Stroke(1);
  r.RoundRect(0, 0, r.width(), r.height(), radius, accent);
  r.RoundRect(t, t, r.width() - 2 * t, r.height() - 2 * t, std::max(radius - t, 0.0), Mix(accent, fill, 55));
  r.RoundRect(2 * t, 2 * t, r.width() - 4 * t, r.height() - 4 * t, std::max(radius - 2 * t, 0.0), fill);
}

SkinPicture PushButton(const ModernPalette& p, const Density& d) {
  // 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default.
  return Strip(d, 5, 24, 24, [&](AlphaRaster& r, int frame) {
    const double radius = d.Radius(4);
    switch (frame) {
      case 1: RaisedBox(r, d, radius, p.stroke, p.stroke_bottom, p.surface); break;
      case 2: RaisedBox(r, d, radius, p.stroke, p.stroke, p.surface_pressed); break;
      case 3: RaisedBox(r, d, radius, Mix(p.stroke, p.face, 40), Mix(p.stroke, p.face, 40), p.surface_disabled); break;
      case 4: FocusRing(r, d, radius, p.accent, p.surface_hot); break;
      default: RaisedBox(r, d, radius, p.accent, Mix(p.accent, 0x000000, 20), p.accent); break;
    }
  });
}

// Check glyphs: 1 unchecked, 2 checked, 3 unchecked disabled, 4 checked
// disabled; a tick on the accent.
SkinPicture CheckGlyphs(const ModernPalette& p, const Density& d) {
  return Strip(d, 4, 13, 13, [&](AlphaRaster& r, int frame) {
    const bool checked = frame == 2 || frame == 4, disabled = frame >= 3;
    const double k = r.width() / 13.0, radius = 3 * k, t = d.Stroke(1);
    if (checked) {
      r.RoundRect(0, 0, r.width(), r.height(), radius, disabled ? p.text_disabled : p.accent);
      const Rgb ink = disabled ? p.surface_disabled : p.on_accent;
      const double w = 1.5 * k;
      r.Line(3.2 * k, 6.6 * k, 5.5 * k, 8.9 * k, w, ink);
      r.Line(5.5 * k, 8.9 * k, 9.9 * k, 4.2 * k, w, ink);
    } else {
      r.RoundBox(0, 0, r.width(), r.height(), radius, t, disabled ? p.text_disabled : p.strong_stroke,
                 disabled ? p.surface_disabled : p.surface);
    }
  });
}

SkinPicture RadioGlyphs(const ModernPalette& p, const Density& d) {
  return Strip(d, 4, 13, 13, [&](AlphaRaster& r, int frame) {
    const bool checked = frame == 2 || frame == 4, disabled = frame >= 3;
    const double c = r.width() / 2.0, k = r.width() / 13.0;
    if (checked) {
      r.Disc(c, c, c, disabled ? p.text_disabled : p.accent);
      r.Disc(c, c, 3.0 * k, disabled ? p.surface_disabled : p.on_accent);
    } else {
      r.Disc(c, c, c, disabled ? p.text_disabled : p.strong_stroke);
      r.Disc(c, c, c - d.Stroke(1), disabled ? p.surface_disabled : p.surface);
    }
  });
}

// A thin chevron (the system's drop-down and spin glyph) of `size` design
// pixels across, centred on (cx, cy) in pixels.
void Chevron(AlphaRaster& r, const Density& d, double cx, double cy, double size, char direction, Rgb ink) {
  const double half = d.Radius(size) / 2, depth = half / 2, w = 1.1 * std::max(1.0, d.Factor());
  switch (direction) {
    case 'd': r.Line(cx - half, cy - depth, cx, cy + depth, w, ink), r.Line(cx, cy + depth, cx + half, cy - depth, w, ink); break;
    case 'u': r.Line(cx - half, cy + depth, cx, cy - depth, w, ink), r.Line(cx, cy - depth, cx + half, cy + depth, w, ink); break;
    case 'r': r.Line(cx - depth, cy - half, cx + depth, cy, w, ink), r.Line(cx + depth, cy, cx - depth, cy + half, w, ink); break;
    default: r.Line(cx + depth, cy - half, cx - depth, cy, w, ink), r.Line(cx - depth, cy, cx + depth, cy + half, w, ink); break;
  }
}

// A small solid arrow with softened corners, the scroll bars' glyph.
void SolidArrow(AlphaRaster& r, const Density& d, char direction, Rgb ink) {
  const double cx = r.width() / 2.0, cy = r.height() / 2.0, half = d.Radius(3.5), depth = d.Radius(3);
  switch (direction) {
    case 'u': r.Triangle(cx - half, cy + depth / 2, cx + half, cy + depth / 2, cx, cy - depth / 2, ink); break;
    case 'd': r.Triangle(cx - half, cy - depth / 2, cx + half, cy - depth / 2, cx, cy + depth / 2, ink); break;
    case 'l': r.Triangle(cx + depth / 2, cy - half, cx + depth / 2, cy + half, cx - depth / 2, cy, ink); break;
    default: r.Triangle(cx - depth / 2, cy - half, cx - depth / 2, cy + half, cx + depth / 2, cy, ink); break;
  }
}

// The widened scroll bar behind thumb and arrows while the pointer is over
// it: a band across the bar, `along` telling which way the bar runs.
void ScrollBand(AlphaRaster& r, const Density& d, bool vertical, Rgb colour) {
  const double inset = d.Px(2);
  if (vertical)
    r.Fill(inset, 0, r.width() - 2 * inset, r.height(), colour);
  else
    r.Fill(0, inset, r.width(), r.height() - 2 * inset, colour);
}

// Scroll-bar arrows: left, right, up, down, four looks each (normal,
// pressed, hot, disabled), then the size grip and blank cells to 23 frames.
// At rest an arrow is a muted glyph on the face; hot or pressed it sits on
// the widened bar.
SkinPicture ScrollArrows(const ModernPalette& p, const Density& d) {
  const char directions[] = {'l', 'r', 'u', 'd'};
  return Strip(d, 23, 17, 17, [&](AlphaRaster& r, int frame) {
    r.Fill(0, 0, r.width(), r.height(), p.face);
    if (frame <= 16) {
      const int look = (frame - 1) % 4 + 1;
      const char dir = directions[(frame - 1) / 4];
      const bool vertical = dir == 'u' || dir == 'd';
      if (look == 2 || look == 3) ScrollBand(r, d, vertical, look == 2 ? Mix(p.scroll_bar_hot, p.scroll_thumb, 15) : p.scroll_bar_hot);
      const Rgb ink = look == 4 ? Mix(p.face, p.scroll_thumb, 40) : (look == 1 ? p.scroll_thumb : p.scroll_thumb_dragged);
      SolidArrow(r, d, dir, ink);
    } else if (frame == 17) {
      const double dot = d.Px(2), pitch = d.Px(4), anchor = r.width() - d.Px(5);
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j) r.RoundRect(anchor - pitch * j, anchor - pitch * (i - j), dot, dot, dot / 2, p.scroll_thumb);
    }
  });
}

// Tracks: 1 at rest (a thin line), 2 pressed, 3 plain, 4 hot (the wide bar).
SkinPicture Track(const ModernPalette& p, const Density& d, bool horizontal) {
  return Strip(d, 4, horizontal ? 24 : 17, horizontal ? 17 : 24, [&](AlphaRaster& r, int frame) {
    r.Fill(0, 0, r.width(), r.height(), p.face);
    if (frame == 2 || frame == 4)
      ScrollBand(r, d, !horizontal, frame == 2 ? Mix(p.scroll_bar_hot, p.scroll_thumb, 15) : p.scroll_bar_hot);
    if (frame == 1) {
      const double thin = d.Px(2), across = Snap((horizontal ? r.height() : r.width()) / 2.0 - thin / 2);
      const Rgb line = Mix(p.face, p.scroll_thumb, 17);
      if (horizontal)
        r.Fill(0, across, r.width(), thin, line);
      else
        r.Fill(across, 0, thin, r.height(), line);
    }
  });
}

// Thumbs: 1 at rest, a thin line; 2 dragged and 3 hot, the wide pill.
SkinPicture Thumb(const ModernPalette& p, const Density& d, bool horizontal) {
  return Strip(d, 3, horizontal ? 24 : 17, horizontal ? 17 : 24, [&](AlphaRaster& r, int frame) {
    const double breadth = frame == 1 ? d.Px(2) : d.Px(6), inset = d.Px(2);
    const double across = Snap((horizontal ? r.height() : r.width()) / 2.0 - breadth / 2);
    const Rgb fill = frame == 2 ? p.scroll_thumb_dragged : p.scroll_thumb;
    if (horizontal)
      r.RoundRect(inset, across, r.width() - 2 * inset, breadth, breadth / 2, fill);
    else
      r.RoundRect(across, inset, breadth, r.height() - 2 * inset, breadth / 2, fill);
  });
}

// A track-bar thumb: a capsule with an outline and the accent inside, the
// same in all five frames.
SkinPicture SliderThumb(const ModernPalette& p, const Density& d, int w, int h) {
  return Strip(d, 5, w, h, [&](AlphaRaster& r, int) {
    const double t = d.Stroke(1), across = std::min(r.width(), r.height()), inner = d.Px(3);
    r.RoundBox(0, 0, r.width(), r.height(), across / 2, t, p.stroke_bottom, p.surface);
    r.RoundRect(inner, inner, r.width() - 2 * inner, r.height() - 2 * inner, across / 2 - inner, p.accent);
  });
}

// A field's box in one look of the push buttons' order; `open_left` runs it
// on past the raster's left edge (the combo box's drop button).
void FieldBox(AlphaRaster& r, const ModernPalette& p, const Density& d, int frame, bool open_left) {
  const bool active = frame == 2 || frame == 4, disabled = frame == 3;
  const double radius = d.Radius(4), t = d.Stroke(1), x = open_left ? -2 * radius : 0, w = r.width() - x;
  if (disabled) {
    r.RoundRect(x, 0, w, r.height(), radius, Mix(p.stroke, p.face, 40));
    r.RoundRect(x + t, t, w - 2 * t, r.height() - 2 * t, radius - t, p.surface_disabled);
    return;
  }
  r.RoundRect(x, 0, w, r.height(), radius, active ? p.accent : p.strong_stroke);
  r.RoundRect(x, 0, w, r.height() - t, radius, p.stroke);
  r.RoundRect(x + t, t, w - 2 * t, r.height() - 2 * t, radius - t, active ? p.surface_hot : p.surface);
  if (active) {
    // Two pixels of accent along the bottom, inside the rounding.
    AlphaRaster ring(r.width(), r.height());
    ring.RoundRect(x, 0, w, r.height(), radius, p.accent);
    ring.Fill(0, 0, r.width(), r.height() - 2 * t, kMagenta);
    r.Paint(ring, 0, 0);
  }
}

}  // namespace

std::map<std::string, SkinPicture> DrawModernArt(const ModernPalette& p, const Density& d) {
  std::map<std::string, SkinPicture> art;
  const double t = d.Stroke(1);

  {
    const core::AlphaPicture active = WindowMock(p, d, true), inactive = WindowMock(p, d, false);
    const int w = active.width, h = active.height, border = d.Px(kBorder);
    auto piece = [&](int x, int y, int pw, int ph, bool vertical) {
      return SkinPicture(Join(Crop(active, x, y, pw, ph), Crop(inactive, x, y, pw, ph), !vertical));
    };
    art.emplace("frame_left.bmp", piece(0, 0, border, h, true));
    art.emplace("frame_right.bmp", piece(w - border, 0, border, h, true));
    art.emplace("frame_top.bmp", piece(border, 0, w - 2 * border, d.Px(kCaption), false));
    art.emplace("frame_bottom.bmp", piece(border, h - border, w - 2 * border, border, false));
  }

  // Caption text background: clear, so the caption shows.
  art.emplace("caption_back.bmp", SkinPicture(AlphaRaster(d.Px(12), 2 * d.Px(kCaption)).Resolve()));

  art.emplace("caption_close.bmp", CaptionButton(p, d, 'x'));
  art.emplace("caption_maximize.bmp", CaptionButton(p, d, 'M'));
  art.emplace("caption_restore.bmp", CaptionButton(p, d, 'R'));
  art.emplace("caption_minimize.bmp", CaptionButton(p, d, '_'));
  art.emplace("caption_icon.bmp", WindowIcon(p, d));

  // Buttons of a maximised MDI child in the menu bar: minimise, restore,
  // close, each normal, pressed, hot, hot.
  {
    const char kinds[] = {'_', 'R', 'x'};
    art.emplace("mdi_controls.bmp", Strip(d, 12, 16, 14, [&](AlphaRaster& r, int frame) {
                  const int button = (frame - 1) / 4, look = std::min((frame - 1) % 4 + 1, 3);
                  const bool close = kinds[button] == 'x';
                  if (look > 1)
                    r.RoundRect(0, 0, r.width(), r.height(), d.Radius(3),
                                close ? (look == 2 ? p.close_pressed : p.close_hot) : (look == 2 ? p.caption_pressed : p.caption_hot));
                  CaptionGlyph(r, d, kinds[button], close && look > 1 ? 0xFFFFFF : p.text, 8);
                }));
  }

  art.emplace("button.bmp", PushButton(p, d));
  art.emplace("check.bmp", CheckGlyphs(p, d));
  art.emplace("radio.bmp", RadioGlyphs(p, d));

  // Menu bar: one with the caption, active and inactive alike.
  {
    AlphaRaster band(d.Px(32), d.Px(20));
    band.Fill(0, 0, band.width(), band.height(), p.face);
    const core::AlphaPicture one = band.Resolve();
    art.emplace("menubar.bmp", SkinPicture(Join(one, one, true)));
  }
  // Menu items: 1 normal (clear), 2 separator, 3 disabled, 4 selected, 5
  // checked; selections are inset pills.
  art.emplace("menu_item.bmp", Strip(d, 5, 40, 20, [&](AlphaRaster& r, int frame) {
                const double x = d.Px(3), y = d.Px(1), radius = d.Radius(4);
                if (frame == 2) r.Fill(d.Px(4), d.Px(14), r.width() - 2 * d.Px(4), t, p.divider);
                if (frame == 4) r.RoundRect(x, y, r.width() - 2 * x, r.height() - 2 * y, radius, p.selection);
                if (frame == 5) r.RoundRect(x, y, r.width() - 2 * x, r.height() - 2 * y, radius, Mix(p.menu, p.text, 8));
              }));
  // Copied opaque by the engine: square, with the menu's hairline.
  {
    AlphaRaster panel(d.Px(32), d.Px(32));
    panel.Fill(0, 0, panel.width(), panel.height(), p.divider);
    panel.Fill(t, t, panel.width() - 2 * t, panel.height() - 2 * t, p.menu);
    art.emplace("menu_background.bmp", SkinPicture(panel.Resolve()));
  }

  art.emplace("group_edge.bmp", Strip(d, 2, 24, 24, [&](AlphaRaster& r, int frame) {
                r.RoundBox(0, 0, r.width(), r.height(), d.Radius(6), t, frame == 1 ? p.stroke : Mix(p.stroke, p.face, 50), p.face);
              }));
  {
    AlphaRaster label(d.Px(24), d.Px(24));
    label.RoundRect(0, 0, label.width(), label.height(), d.Radius(6), p.face);
    art.emplace("group_label.bmp", SkinPicture(label.Resolve()));
  }
  art.emplace("toolbar.bmp", Strip(d, 5, 24, 24, [&](AlphaRaster& r, int frame) {
                const double radius = d.Radius(4);
                if (frame == 1 || frame == 3) r.Fill(0, 0, r.width(), r.height(), p.face);
                if (frame == 2) r.RoundRect(0, 0, r.width(), r.height(), radius, p.caption_pressed);
                if (frame == 4) r.RoundRect(0, 0, r.width(), r.height(), radius, p.caption_hot);
                if (frame == 5) r.RoundBox(0, 0, r.width(), r.height(), radius, t, p.stroke, p.surface_hot);
              }));

  // Tabs, in the push buttons' order: 1 normal, 2 selected, 3 disabled, 4
  // hot, 5 selected and focused. The selected tab is a card joined to the
  // page below, marked by an accent line; the others are text on a line.
  art.emplace("tab.bmp", Strip(d, 5, 60, 24, [&](AlphaRaster& r, int frame) {
                const bool selected = frame == 2 || frame == 5;
                const double w = r.width(), h = r.height(), radius = d.Radius(6), top = selected ? 0 : d.Px(2);
                if (selected || frame == 4) {
                  r.RoundBox(0, top, w, h - top + radius, radius, t, p.stroke, selected ? p.surface : p.surface_hot);
                  if (!selected) r.Fill(0, h - t, w, t, p.stroke);
                } else {
                  r.Fill(0, h - t, w, t, p.stroke);
                }
                if (selected) r.RoundRect(d.Px(6), h - d.Px(4), w - 2 * d.Px(6), d.Px(3), d.Radius(1.5), p.accent);
              }));
  art.emplace("tab_border.bmp", [&] {
    AlphaRaster r(d.Px(32), d.Px(32));
    r.RoundBox(0, 0, r.width(), r.height(), d.Radius(4), t, p.stroke, p.surface);
    return SkinPicture(r.Resolve());
  }());

  // Opaque slots from here on (status bar, header): drawn on the face.
  art.emplace("statusbar.bmp", Strip(d, 3, 24, 20, [&](AlphaRaster& r, int frame) {
                const double w = r.width(), h = r.height();
                r.Fill(0, 0, w, h, p.face);
                if (frame == 1) r.Fill(0, 0, w, t, p.divider);
                if (frame == 2) r.Fill(w - t, d.Px(4), t, h - 2 * d.Px(4), p.divider);
                if (frame == 3) r.Fill(0, 0, w, t, p.divider), r.Fill(0, h - t, w, t, p.divider);
              }));

  // The combo box: its drop button and the ring around it, in the push
  // buttons' order (1 normal, 2 pressed, 3 disabled, 4 hot or focused). The
  // button lies over the ring's right end and carries the field on to its
  // own rounded end, so that the two read as one field. A focused field
  // shows the accent along its bottom, as edit fields do.
  art.emplace("combo_button.bmp", Strip(d, 4, 18, 21, [&](AlphaRaster& r, int frame) {
                FieldBox(r, p, d, frame, true);
                Chevron(r, d, r.width() / 2.0, r.height() / 2.0, 8, 'd', frame == 3 ? p.text_disabled : p.text_secondary);
              }));
  art.emplace("sunk_edge.bmp", Strip(d, 4, 24, 24, [&](AlphaRaster& r, int frame) { FieldBox(r, p, d, frame, false); }));
  // Drop-down glyphs in the same four looks, and the size grip.
  art.emplace("extra.bmp", Strip(d, 5, 17, 17, [&](AlphaRaster& r, int frame) {
                if (frame <= 4) {
                  Chevron(r, d, r.width() / 2.0, r.height() / 2.0, 8, 'd', frame == 3 ? p.text_disabled : p.text_secondary);
                } else {
                  const double dot = d.Px(2), pitch = d.Px(4), anchor = r.width() - d.Px(5);
                  for (int i = 0; i < 3; ++i)
                    for (int j = 0; j <= i; ++j) r.RoundRect(anchor - pitch * j, anchor - pitch * (i - j), dot, dot, dot / 2, p.scroll_thumb);
                }
              }));
  // Column headers: normal, hot, pressed, disabled, sorted (opaque).
  art.emplace("header.bmp", Strip(d, 5, 40, 22, [&](AlphaRaster& r, int frame) {
                const double w = r.width(), h = r.height();
                r.Fill(0, 0, w, h, frame == 2 ? p.surface_hot : (frame == 3 ? p.surface_pressed : p.window));
                r.Fill(0, h - t, w, t, p.divider);
                r.Fill(w - t, d.Px(4), t, h - 2 * d.Px(4), p.divider);
              }));

  art.emplace("scroll_arrows.bmp", ScrollArrows(p, d));
  art.emplace("scroll_htrack.bmp", Track(p, d, true));
  art.emplace("scroll_vtrack.bmp", Track(p, d, false));
  art.emplace("scroll_hthumb.bmp", Thumb(p, d, true));
  art.emplace("scroll_vthumb.bmp", Thumb(p, d, false));

  art.emplace("track_thumb_h.bmp", SliderThumb(p, d, 12, 20));
  art.emplace("track_thumb_v.bmp", SliderThumb(p, d, 20, 12));
  art.emplace("track_thumb_down.bmp", SliderThumb(p, d, 12, 20));
  art.emplace("track_thumb_up.bmp", SliderThumb(p, d, 12, 20));
  art.emplace("track_thumb_right.bmp", SliderThumb(p, d, 20, 12));
  art.emplace("track_thumb_left.bmp", SliderThumb(p, d, 20, 12));

  // Up-down buttons: frames 1-4 the first button, 5-8 the second (normal,
  // pressed, disabled, hot), and their chevrons.
  const SkinPicture updown = Strip(d, 8, 16, 11, [&](AlphaRaster& r, int f) {
    const int look = (f - 1) % 4 + 1;
    const Rgb fill = look == 2 ? p.surface_pressed : (look == 4 ? p.surface_hot : (look == 3 ? p.surface_disabled : p.surface));
    r.RoundBox(0, 0, r.width(), r.height(), d.Radius(3), t, look == 3 ? Mix(p.stroke, p.face, 40) : p.stroke, fill);
  });
  auto updown_glyphs = [&](bool vertical) {
    return Strip(d, 8, 16, 11, [&](AlphaRaster& r, int f) {
      const int look = (f - 1) % 4 + 1;
      const char dir = vertical ? (f <= 4 ? 'u' : 'd') : (f <= 4 ? 'l' : 'r');
      Chevron(r, d, r.width() / 2.0, r.height() / 2.0, vertical ? 7 : 5, dir, look == 3 ? p.text_disabled : p.text_secondary);
    });
  };
  art.emplace("updown_v.bmp", updown);
  art.emplace("updown_v_glyphs.bmp", updown_glyphs(true));
  art.emplace("updown_h.bmp", updown);
  art.emplace("updown_h_glyphs.bmp", updown_glyphs(false));

  // Progress: frame 1 the trough, frame 2 the fill, both rounded; the chunk
  // for block bars (copied opaque).
  {
    const int w = d.Px(24), h = d.Px(14);
    const double radius = d.Radius(4);
    AlphaRaster trough(w, h), fill(w, h);
    trough.RoundBox(0, 0, w, h, radius, t, p.stroke, p.surface_disabled);
    fill.RoundRect(0, 0, w, h, radius, p.accent);
    art.emplace("progress.bmp", SkinPicture(Join(trough.Resolve(), fill.Resolve(), false)));
    AlphaRaster chunk(d.Px(8), h);
    chunk.Fill(0, 0, chunk.width(), h, p.surface_disabled);
    chunk.Fill(d.Px(1), d.Px(2), chunk.width() - 2 * d.Px(1), h - 2 * d.Px(2), p.accent);
    art.emplace("progress_chunk.bmp", SkinPicture(chunk.Resolve()));
  }
  return art;
}

}  // namespace skingen
