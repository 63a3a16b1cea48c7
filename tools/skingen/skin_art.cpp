#include "tools/skingen/skin_art.h"

#include <algorithm>
#include <cmath>

namespace skingen {

Palette LightPalette() {
  return Palette{
      .face = 0xF3F5F9,
      .surface = 0xFFFFFF,
      .text = 0x1F2933,
      .muted_text = 0xA3ABB8,
      .line = 0xB4BDCB,
      .accent = 0x2F6FDE,
      .accent_strong = 0x2256B5,
      .accent_soft = 0xDCE7FA,
      .caption_inactive = 0xDDE2EA,
      .caption_text = 0xFFFFFF,
      .caption_text_inactive = 0x6B7482,
      .close_hot = 0xE0463A,
  };
}

Palette DarkPalette() {
  return Palette{
      .face = 0x2B2F36,
      .surface = 0x1E2126,
      .text = 0xE6E8EC,
      .muted_text = 0x6A717D,
      .line = 0x4A515C,
      .accent = 0x3D8BFD,
      .accent_strong = 0x2A6FD6,
      .accent_soft = 0x34435A,
      .caption_inactive = 0x3A3F47,
      .caption_text = 0xFFFFFF,
      .caption_text_inactive = 0x9AA1AC,
      .close_hot = 0xD9473B,
  };
}

Palette FlatPalette() {
  return Palette{
      .face = 0xF8F8F8,
      .surface = 0xFFFFFF,
      .text = 0x1C1C1C,
      .muted_text = 0xA6A6A6,
      .line = 0xC4C4C4,
      .accent = 0xD9480F,
      .accent_strong = 0xB23A0A,
      .accent_soft = 0xFBE3D6,
      .caption_inactive = 0xF8F8F8,
      .caption_text = 0x1C1C1C,
      .caption_text_inactive = 0x8C8C8C,
      .close_hot = 0xE81123,
      .corner_scale = 0.0,
      .reliefs = false,
      .caption_active = 0xFFFFFF,
      .caption_hot = 0xE5E5E5,
      .caption_pressed = 0xCCCCCC,
  };
}

namespace {

// A corner radius of the palette's shape, at the density.
double Round(const Palette& p, const Density& d, double design) { return d.Radius(design) * p.corner_scale; }

// Window frame geometry shared with the definition's [Personality] keys, in
// design pixels.
constexpr int kCaption = 30, kBorder = 4, kCorner = 7;
constexpr int kMockWidth = 96, kMockHeight = 96;

// A whole window frame in one look; the four pieces are cut from it so that
// the rounded corners line up across pieces. Its width is made of the scaled
// piece widths, so that every piece keeps its own scaled size.
Raster WindowMock(const Palette& p, const Density& d, bool active) {
  const int border = d.Px(kBorder), caption_height = d.Px(kCaption);
  const double corner = Round(p, d, kCorner);
  const int w = 2 * border + d.Px(kMockWidth - 2 * kBorder), h = d.Px(kMockHeight), t = d.Stroke(1);
  Raster mock(w, h);
  const Rgb caption = active ? p.caption_active.value_or(p.accent) : p.caption_inactive;
  const Rgb edge = active ? p.accent_strong : p.line;
  // Only the top corners are rounded; the bottom ones are square but sharp.
  // The rounded outline runs the whole height: ending halfway, its lower
  // corners left magenta on the outer edge of the side pieces' stretched
  // middle, which notched the window region there.
  mock.RoundRect(0, 0, w, h, corner, edge);
  mock.Fill(0, h / 2, w, h - h / 2, edge);
  mock.RoundRect(t, t, w - 2 * t, h / 2, std::max(corner - t, 0.0), caption);
  mock.Fill(t, caption_height, w - 2 * t, h - caption_height - t, active ? caption : p.face);
  // Inner edge between the frame and the client area.
  if (p.reliefs)
    mock.Fill(border - t, caption_height - t, w - 2 * border + 2 * t, h - caption_height - border + 2 * t, edge);
  mock.Fill(border, caption_height, w - 2 * border, h - caption_height - border, p.face);
  // A faint highlight under the top edge of the caption.
  const int straight = d.Px(kCorner);
  if (p.reliefs) mock.Fill(straight, t, w - 2 * straight, t, Mix(caption, 0xFFFFFF, active ? 18 : 40));
  return mock;
}

Raster SideBySide(const Raster& a, const Raster& b) {
  Raster out(a.width() + b.width(), std::max(a.height(), b.height()));
  out.Blit(a, 0, 0);
  out.Blit(b, a.width(), 0);
  return out;
}

Raster Stacked(const Raster& a, const Raster& b) {
  Raster out(std::max(a.width(), b.width()), a.height() + b.height());
  out.Blit(a, 0, 0);
  out.Blit(b, 0, a.height());
  return out;
}

// A strip of frames of w × h design pixels side by side, each drawn by
// draw(frame raster, frame number from 1) at the density's size.
template <typename Draw>
Raster Strip(const Density& d, int frames, int w, int h, Draw draw) {
  const int fw = d.Px(w), fh = d.Px(h);
  Raster out(fw * frames, fh);
  for (int f = 0; f < frames; ++f) {
    Raster frame(fw, fh);
    draw(frame, f + 1);
    out.Blit(frame, f * fw, 0);
  }
  return out;
}

// Arrow heads: `size` design rows centred on a point given in design pixels
// of a w × h frame. Our 1x arrows have one-pixel tips; at other densities the
// tip is one or two pixels, whichever keeps the arrow centred.
void Arrow(Raster& r, const Density& d, double x, double y, int w, int h, double size, char direction, Rgb colour) {
  const double cx = x * r.width() / w, cy = y * r.height() / h;
  const double across = direction == 'd' || direction == 'u' ? cx : cy;
  const bool single_tip = d.IsDesignSize() || std::abs(across - std::floor(across) - 0.5) < 0.25;
  r.Chevron(cx, cy, d.Px(size), direction, single_tip, colour);
}

// The size grip: six square dots in a triangle towards the bottom-right
// corner of a 17 × 17 design frame.
void SizeGrip(Raster& r, const Density& d, Rgb colour) {
  const int dot = d.Px(2), pitch = d.Px(4), anchor = r.width() - d.Px(5);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j <= i; ++j) r.Fill(anchor - pitch * j, anchor - pitch * (i - j), dot, dot, colour);
}

// Caption button glyphs, centred in the raster (a 28 × 20 design cell, or the
// 16 × 14 cell of the maximised-child buttons).
void CaptionGlyph(Raster& r, const Density& d, char kind, Rgb ink) {
  const double cx = r.width() / 2.0, cy = r.height() / 2.0;
  const int t = d.Stroke(1), top = d.Stroke(2);
  // A window outline: sides and bottom one stroke, the title bar `title` thick.
  auto window = [&](int x, int y, int w, int h, int title) {
    r.Fill(x, y, w, h, ink);
    r.Fill(x + t, y + title, w - 2 * t, h - title - t, kMagenta);
  };
  switch (kind) {
    case 'x': {
      const double arm = 4 * d.Factor();
      r.Line(cx - arm, cy - arm, cx + arm, cy + arm, 1.6 * d.Factor(), ink);
      r.Line(cx - arm, cy + arm, cx + arm, cy - arm, 1.6 * d.Factor(), ink);
      break;
    }
    case 'M': {
      const int size = d.Px(10);
      window((r.width() - size) / 2, (r.height() - size) / 2, size, size, top);
      break;
    }
    case 'R': {
      // The window behind at the top right, the one in front at the bottom left.
      const int area = d.Px(12), x = (r.width() - area) / 2, y = (r.height() - area) / 2;
      const int back_left = d.Px(3), back_height = d.Px(8), front = d.Px(9);
      window(x + back_left, y, area - back_left, back_height, t);
      window(x, y + area - front, front, front, top);
      break;
    }
    case '_': {
      const int size = d.Px(10), x = (r.width() - size) / 2, y = (r.height() - size) / 2;
      r.Fill(x, y + size - top, size, top, ink);
      break;
    }
    default:
      break;
  }
}

// Frames: 1 normal, 2 pressed, 3 hot, 4 inactive window.
Raster CaptionButton(const Palette& p, const Density& d, char kind) {
  return Strip(d, 4, 28, 20, [&](Raster& r, int frame) {
    const bool close = kind == 'x';
    Rgb ink = frame == 4 ? p.caption_text_inactive : p.caption_text;
    // The close button's red takes a white glyph.
    if (close && (frame == 2 || frame == 3)) ink = 0xFFFFFF;
    const double radius = Round(p, d, 4);
    if (frame == 2)
      r.RoundRect(0, 0, r.width(), r.height(), radius,
                  close ? Mix(p.close_hot, 0x000000, 20) : p.caption_pressed.value_or(p.accent_strong));
    if (frame == 3)
      r.RoundRect(0, 0, r.width(), r.height(), radius,
                  close ? p.close_hot : p.caption_hot.value_or(Mix(p.accent, 0xFFFFFF, 22)));
    // The glyph needs a backdrop where the button is otherwise transparent:
    // magenta inside the glyph would punch holes into the caption.
    Raster glyph(r.width(), r.height());
    CaptionGlyph(glyph, d, kind, ink);
    for (int y = 0; y < r.height(); ++y)
      for (int x = 0; x < r.width(); ++x)
        if (glyph.At(x, y) != kMagenta) r.Set(x, y, glyph.At(x, y));
  });
}

// The default window icon: a rounded tile with a gear-like mark.
Raster WindowIcon(const Palette& p, const Density& d) {
  return Strip(d, 4, 16, 16, [&](Raster& r, int frame) {
    const Rgb tile = frame == 4 ? p.muted_text : (frame == 2 ? Mix(p.surface, 0x000000, 10) : p.surface);
    const int inset = d.Px(1);
    r.RoundBox(inset, inset, r.width() - 2 * inset, r.height() - 2 * inset, Round(p, d, 3),
               frame == 4 ? p.line : p.accent_strong, tile, d.Stroke(1));
    const double c = r.width() / 2.0, k = d.Factor();
    r.Ring(c, c, 4.5 * k, 2 * k, frame == 4 ? p.line : p.accent);
    r.Disc(c, c, 1.3 * k, frame == 4 ? p.line : p.accent);
  });
}

Raster PushButton(const Palette& p, const Density& d) {
  // 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default.
  return Strip(d, 5, 24, 24, [&](Raster& r, int frame) {
    Rgb outline = p.line, fill = p.surface;
    if (frame == 2) outline = p.accent_strong, fill = p.accent_soft;
    if (frame == 3) outline = Mix(p.line, p.face, 50), fill = p.face;
    if (frame == 4) outline = p.accent, fill = Mix(p.surface, p.accent_soft, 50);
    if (frame == 5) outline = p.accent, fill = p.surface;
    const int w = r.width(), h = r.height(), t = d.Stroke(1);
    const double radius = Round(p, d, 4);
    r.RoundBox(0, 0, w, h, radius, outline, fill, t);
    if (frame == 5) {
      // The default button's outline is doubled inwards.
      r.RoundRect(t, t, w - 2 * t, h - 2 * t, std::max(radius - t, 0.0), p.accent);
      r.RoundRect(2 * t, 2 * t, w - 4 * t, h - 4 * t, std::max(radius - 2 * t, 0.0), fill);
    }
    // A shadow line just inside the bottom outline.
    if (p.reliefs && (frame == 1 || frame == 4)) r.Fill(d.Px(3), h - 2 * t, w - 2 * d.Px(3), t, Mix(outline, 0x000000, 12));
  });
}

// 1 unchecked, 2 checked, 3 unchecked disabled, 4 checked disabled.
Raster CheckGlyphs(const Palette& p, const Density& d) {
  return Strip(d, 4, 13, 13, [&](Raster& r, int frame) {
    const bool checked = frame == 2 || frame == 4, disabled = frame >= 3;
    const Rgb mark = disabled ? p.muted_text : p.accent;
    const int size = r.width();
    const double radius = Round(p, d, 3);
    if (checked) {
      r.RoundRect(0, 0, size, size, radius, mark);
      const double k = size / 13.0, width = 2.1 * d.Factor();
      r.Line(2.8 * k, 6.6 * k, 5.4 * k, 9.4 * k, width, p.surface);
      r.Line(5.4 * k, 9.4 * k, 10.4 * k, 3.4 * k, width, p.surface);
    } else {
      r.RoundBox(0, 0, size, size, radius, disabled ? Mix(p.line, p.face, 50) : p.line, disabled ? p.face : p.surface,
                 d.Stroke(1));
    }
  });
}

Raster RadioGlyphs(const Palette& p, const Density& d) {
  return Strip(d, 4, 13, 13, [&](Raster& r, int frame) {
    const bool checked = frame == 2 || frame == 4, disabled = frame >= 3;
    const Rgb ring = checked ? (disabled ? p.muted_text : p.accent) : (disabled ? Mix(p.line, p.face, 50) : p.line);
    // The ring is one stroke thick where it runs along the pixel grid.
    const double c = r.width() / 2.0, ring_width = d.Stroke(1) + 0.1;
    r.Disc(c, c, c, ring);
    r.Disc(c, c, c - ring_width, disabled && !checked ? p.face : p.surface);
    if (checked) r.Disc(c, c, 3.1 * r.width() / 13.0, ring);
  });
}

// Scroll-bar arrows: left, right, up, down, four looks each (normal, pressed,
// hot, disabled), then the size grip and blank cells to 23 frames.
Raster ScrollArrows(const Palette& p, const Density& d) {
  const char directions[] = {'l', 'r', 'u', 'd'};
  return Strip(d, 23, 17, 17, [&](Raster& r, int frame) {
    r.Fill(0, 0, r.width(), r.height(), p.face);
    if (frame <= 16) {
      const int look = (frame - 1) % 4 + 1;
      const char dir = directions[(frame - 1) / 4];
      const int inset = d.Px(1);
      const double radius = Round(p, d, 3);
      const int w = r.width() - 2 * inset, h = r.height() - 2 * inset;
      if (look == 2) r.RoundRect(inset, inset, w, h, radius, p.accent_soft);
      if (look == 3) r.RoundRect(inset, inset, w, h, radius, Mix(p.face, p.line, 35));
      Arrow(r, d, 8.5, 8.5, 17, 17, 4, dir, look == 4 ? p.muted_text : (look == 2 ? p.accent : p.text));
    } else if (frame == 17) {
      SizeGrip(r, d, p.line);
    }
  });
}

Raster Track(const Palette& p, const Density& d, bool horizontal) {
  return Strip(d, 4, horizontal ? 24 : 17, horizontal ? 17 : 24, [&](Raster& r, int frame) {
    r.Fill(0, 0, r.width(), r.height(), frame == 2 ? Mix(p.face, p.line, 25) : p.face);
  });
}

// Thumbs: 1 normal, 2 dragged, 3 hot; a slim pill inside the bar.
Raster Thumb(const Palette& p, const Density& d, bool horizontal) {
  return Strip(d, 3, horizontal ? 24 : 17, horizontal ? 17 : 24, [&](Raster& r, int frame) {
    const Rgb fill = frame == 2 ? p.accent : (frame == 3 ? Mix(p.line, p.text, 30) : p.line);
    const int along = d.Px(1), across = d.Px(4);
    const double radius = Round(p, d, 4);
    if (horizontal)
      r.RoundRect(along, across, r.width() - 2 * along, r.height() - 2 * across, radius, fill);
    else
      r.RoundRect(across, along, r.width() - 2 * across, r.height() - 2 * along, radius, fill);
  });
}

// A track-bar thumb with a point: a rounded body and a 45-degree point half
// as deep as the thumb is wide.
Raster PointedThumb(const Palette& p, const Density& d, char dir, int w, int h, const auto& fill_of) {
  return Strip(d, 5, w, h, [&](Raster& r, int frame) {
    const Rgb fill = fill_of(frame);
    const double radius = Round(p, d, 3);
    if (dir == 'd' || dir == 'u') {
      const int point = r.width() / 2, body = r.height() - point;
      r.RoundRect(0, dir == 'd' ? 0 : point, r.width(), body, radius, fill);
      for (int k = 0; k < point; ++k) r.Fill(k, dir == 'd' ? body + k : point - 1 - k, r.width() - 2 * k, 1, fill);
    } else {
      const int point = r.height() / 2, body = r.width() - point;
      r.RoundRect(dir == 'r' ? 0 : point, 0, body, r.height(), radius, fill);
      for (int k = 0; k < point; ++k) r.Fill(dir == 'r' ? body + k : point - 1 - k, k, 1, r.height() - 2 * k, fill);
    }
  });
}

// A frame with a hairline border and a surface inside.
Raster LinedPanel(const Palette& p, const Density& d, int w, int h) {
  Raster r(d.Px(w), d.Px(h));
  const int t = d.Stroke(1);
  r.Fill(0, 0, r.width(), r.height(), p.line);
  r.Fill(t, t, r.width() - 2 * t, r.height() - 2 * t, p.surface);
  return r;
}

}  // namespace

std::map<std::string, Raster> DrawSkinArt(const Palette& p, const Density& d) {
  std::map<std::string, Raster> art;
  const int t = d.Stroke(1);

  {
    const Raster active = WindowMock(p, d, true), inactive = WindowMock(p, d, false);
    const int w = active.width(), h = active.height(), border = d.Px(kBorder);
    auto piece = [&](int x, int y, int pw, int ph, bool vertical) {
      const Raster a = active.Crop(x, y, pw, ph), b = inactive.Crop(x, y, pw, ph);
      return vertical ? SideBySide(a, b) : Stacked(a, b);
    };
    art.emplace("frame_left.bmp", piece(0, 0, border, h, true));
    art.emplace("frame_right.bmp", piece(w - border, 0, border, h, true));
    art.emplace("frame_top.bmp", piece(border, 0, w - 2 * border, d.Px(kCaption), false));
    art.emplace("frame_bottom.bmp", piece(border, h - border, w - 2 * border, border, false));
  }

  // Caption text background: transparent, so the caption colour shows.
  art.emplace("caption_back.bmp", Raster(d.Px(12), 2 * d.Px(kCaption)));

  art.emplace("caption_close.bmp", CaptionButton(p, d, 'x'));
  art.emplace("caption_maximize.bmp", CaptionButton(p, d, 'M'));
  art.emplace("caption_restore.bmp", CaptionButton(p, d, 'R'));
  art.emplace("caption_minimize.bmp", CaptionButton(p, d, '_'));
  art.emplace("caption_icon.bmp", WindowIcon(p, d));

  // Buttons of a maximised MDI child in the menu bar: minimise, restore,
  // close, each normal, pressed, hot, hot. A hot button shows frame 4 (these
  // buttons have no inactive look); frame 3 matches it.
  {
    const int cw = d.Px(16), ch = d.Px(14);
    Raster strip(12 * cw, ch);
    const char kinds[] = {'_', 'R', 'x'};
    for (int b = 0; b < 3; ++b)
      for (int frame = 1; frame <= 4; ++frame) {
        const int look = std::min(frame, 3);
        Raster cell(cw, ch);
        const Rgb back = look == 2 ? p.accent_soft : (look == 3 ? Mix(p.face, p.line, 35) : p.face);
        cell.RoundBox(0, 0, cw, ch, Round(p, d, 3), look == 1 ? p.line : p.accent, back, t);
        Raster glyph(cw, ch);
        CaptionGlyph(glyph, d, kinds[b], p.text);
        // The glyph stays inside the outline.
        for (int y = t; y < ch - t; ++y)
          for (int x = t; x < cw - t; ++x)
            if (glyph.At(x, y) != kMagenta) cell.Set(x, y, glyph.At(x, y));
        strip.Blit(cell, (b * 4 + frame - 1) * cw, 0);
      }
    art.emplace("mdi_controls.bmp", strip);
  }

  art.emplace("button.bmp", PushButton(p, d));
  art.emplace("check.bmp", CheckGlyphs(p, d));
  art.emplace("radio.bmp", RadioGlyphs(p, d));

  // Menu bar: active and inactive stacked; a flat band with a hairline below.
  {
    auto band = [&](Rgb fill) {
      Raster r(d.Px(32), d.Px(20), fill);
      r.Fill(0, r.height() - t, r.width(), t, Mix(fill, p.line, 60));
      return r;
    };
    art.emplace("menubar.bmp", Stacked(band(p.face), band(Mix(p.face, p.caption_inactive, 30))));
  }
  // Menu items: 1 normal (transparent), 2 separator, 3 disabled, 4 selected, 5 checked.
  art.emplace("menu_item.bmp", Strip(d, 5, 40, 20, [&](Raster& r, int frame) {
                const int x = d.Px(2), y = d.Px(1);
                const double radius = Round(p, d, 4);
                // A separator item is about half a menu line high and shows the
                // strip's bottom rows, so its line sits in the lower half.
                if (frame == 2) r.Fill(d.Px(4), d.Px(14), r.width() - 2 * d.Px(4), t, p.line);
                // Selected items carry the HilightText colour: the full accent.
                if (frame == 4) r.RoundRect(x, y, r.width() - 2 * x, r.height() - 2 * y, radius, p.accent);
                if (frame == 5)
                  r.RoundRect(x, y, r.width() - 2 * x, r.height() - 2 * y, radius, Mix(p.surface, p.accent_soft, 50));
              }));
  art.emplace("menu_background.bmp", LinedPanel(p, d, 32, 32));

  art.emplace("group_edge.bmp", Strip(d, 2, 24, 24, [&](Raster& r, int frame) {
                r.RoundBox(0, 0, r.width(), r.height(), Round(p, d, 5), frame == 1 ? p.line : Mix(p.line, p.face, 50), p.face,
                           t);
              }));
  {
    Raster label(d.Px(24), d.Px(24));
    label.RoundRect(0, 0, label.width(), label.height(), Round(p, d, 5), p.face);
    art.emplace("group_label.bmp", label);
  }
  art.emplace("toolbar.bmp", Strip(d, 5, 24, 24, [&](Raster& r, int frame) {
                const int w = r.width(), h = r.height();
                const double radius = Round(p, d, 4);
                if (frame == 1) r.Fill(0, 0, w, h, p.face), r.Fill(0, h - t, w, t, p.line);
                if (frame == 2) r.RoundBox(0, 0, w, h, radius, p.accent_strong, p.accent_soft, t);
                if (frame == 3) r.Fill(0, 0, w, h, p.face);
                if (frame == 4) r.RoundBox(0, 0, w, h, radius, p.line, Mix(p.face, p.line, 20), t);
                if (frame == 5) r.RoundBox(0, 0, w, h, radius, p.accent, p.accent_soft, t);
              }));

  // Tabs, in the push buttons' order: 1 normal, 2 selected (the engine draws
  // these two), 3 disabled, 4 hot, 5 selected and focused. The tab runs on
  // below its frame, so its bottom corners are cut off.
  art.emplace("tab.bmp", Strip(d, 5, 60, 24, [&](Raster& r, int frame) {
                const bool selected = frame == 2 || frame == 5;
                const int w = r.width(), h = r.height(), top = selected ? 0 : d.Px(2), run_on = d.Px(4);
                const double radius = Round(p, d, 4);
                const Rgb fill = selected ? p.surface : (frame == 4 ? Mix(p.face, p.accent_soft, 60) : p.face);
                r.RoundRect(0, top, w, h - top + run_on, radius, p.line);
                r.RoundRect(t, top + t, w - 2 * t, h - top + run_on, std::max(radius - t, 0.0), fill);
                if (selected) r.Fill(t, top + t, w - 2 * t, d.Stroke(2), p.accent);
                if (!selected) r.Fill(0, h - t, w, t, p.line);
              }));
  art.emplace("tab_border.bmp", LinedPanel(p, d, 32, 32));

  art.emplace("statusbar.bmp", Strip(d, 3, 24, 20, [&](Raster& r, int frame) {
                const int w = r.width(), h = r.height();
                r.Fill(0, 0, w, h, p.face);
                if (frame == 1) r.Fill(0, 0, w, t, p.line);
                if (frame == 2) r.Fill(w - t, d.Px(3), t, h - 2 * d.Px(3), p.line);
                if (frame == 3) r.Fill(0, 0, w, t, p.line), r.Fill(0, h - t, w, t, p.line);
              }));

  // The combo box's strips share the push buttons' order: 1 normal,
  // 2 pressed, 3 disabled, 4 hot or focused.
  // Drop button (right side).
  art.emplace("combo_button.bmp", Strip(d, 4, 18, 21, [&](Raster& r, int frame) {
                const Rgb back = frame == 2 ? p.accent_soft
                                            : (frame == 4 ? Mix(p.surface, p.accent_soft, 50)
                                                          : (frame == 3 ? p.face : p.surface));
                r.Fill(0, 0, r.width(), r.height(), back);
                r.Fill(0, d.Px(2), t, r.height() - 2 * d.Px(2), Mix(p.line, p.surface, 40));
                Arrow(r, d, 9.5, 11, 18, 21, 4, 'd', frame == 3 ? p.muted_text : p.text);
              }));
  // The ring around the combo box: pressed, hot and focused in the accent.
  art.emplace("sunk_edge.bmp", Strip(d, 4, 24, 24, [&](Raster& r, int frame) {
                const bool active = frame == 2 || frame == 4, disabled = frame == 3;
                const int w = r.width(), h = r.height();
                r.RoundBox(0, 0, w, h, Round(p, d, 3), disabled ? Mix(p.line, p.face, 50) : (active ? p.accent : p.line),
                           disabled ? p.face : p.surface, t);
                if (active) r.Fill(d.Px(3), h - 2 * t, w - 2 * d.Px(3), t, p.accent);
              }));
  // Drop-down arrow glyphs in the same four looks, and the size grip.
  art.emplace("extra.bmp", Strip(d, 5, 17, 17, [&](Raster& r, int frame) {
                if (frame <= 4) {
                  Arrow(r, d, 8.5, 9, 17, 17, 4, 'd', frame == 3 ? p.muted_text : (frame == 2 ? p.accent : p.text));
                } else {
                  SizeGrip(r, d, p.line);
                }
              }));
  // Column headers: normal, hot, pressed, disabled, sorted.
  art.emplace("header.bmp", Strip(d, 5, 40, 22, [&](Raster& r, int frame) {
                const Rgb fill = frame == 2 ? Mix(p.face, p.accent_soft, 60) : (frame == 3 ? p.accent_soft : p.face);
                const int w = r.width(), h = r.height();
                r.Fill(0, 0, w, h, fill);
                r.Fill(0, h - t, w, t, p.line);
                r.Fill(w - t, d.Px(4), t, h - 2 * d.Px(4), p.line);
                if (frame == 5) r.Fill(0, h - d.Stroke(2), w, d.Stroke(2), p.accent);
              }));

  art.emplace("scroll_arrows.bmp", ScrollArrows(p, d));
  art.emplace("scroll_htrack.bmp", Track(p, d, true));
  art.emplace("scroll_vtrack.bmp", Track(p, d, false));
  art.emplace("scroll_hthumb.bmp", Thumb(p, d, true));
  art.emplace("scroll_vthumb.bmp", Thumb(p, d, false));

  // Track-bar thumbs: the engine draws frame 2 in every state, so all five
  // frames hold the same thumb.
  auto thumb_fill = [&](int) { return p.accent; };
  auto rounded_thumb = [&](int w, int h) {
    return Strip(d, 5, w, h, [&](Raster& r, int f) {
      r.RoundBox(0, 0, r.width(), r.height(), Round(p, d, 5), thumb_fill(f), thumb_fill(f), t);
    });
  };
  art.emplace("track_thumb_h.bmp", rounded_thumb(12, 20));
  art.emplace("track_thumb_v.bmp", rounded_thumb(20, 12));
  art.emplace("track_thumb_down.bmp", PointedThumb(p, d, 'd', 12, 20, thumb_fill));
  art.emplace("track_thumb_up.bmp", PointedThumb(p, d, 'u', 12, 20, thumb_fill));
  art.emplace("track_thumb_right.bmp", PointedThumb(p, d, 'r', 20, 12, thumb_fill));
  art.emplace("track_thumb_left.bmp", PointedThumb(p, d, 'l', 20, 12, thumb_fill));

  // Up-down buttons: frames 1-4 the first button, 5-8 the second (normal,
  // pressed, disabled, hot), with matching arrow glyphs.
  const Raster updown = Strip(d, 8, 16, 11, [&](Raster& r, int f) {
    const int look = (f - 1) % 4 + 1;
    const Rgb fill = look == 2 ? p.accent_soft : (look == 4 ? Mix(p.surface, p.accent_soft, 50) : (look == 3 ? p.face : p.surface));
    r.RoundBox(0, 0, r.width(), r.height(), Round(p, d, 2), look == 2 ? p.accent : (look == 3 ? Mix(p.line, p.face, 50) : p.line),
               fill, t);
  });
  auto updown_glyphs = [&](bool vertical) {
    return Strip(d, 8, 16, 11, [&](Raster& r, int f) {
      const int look = (f - 1) % 4 + 1;
      const char dir = vertical ? (f <= 4 ? 'u' : 'd') : (f <= 4 ? 'l' : 'r');
      Arrow(r, d, 8, 5.5, 16, 11, 3, dir, look == 3 ? p.muted_text : (look == 2 ? p.accent : p.text));
    });
  };
  art.emplace("updown_v.bmp", updown);
  art.emplace("updown_v_glyphs.bmp", updown_glyphs(true));
  art.emplace("updown_h.bmp", updown);
  art.emplace("updown_h_glyphs.bmp", updown_glyphs(false));

  // Progress: frame 1 the trough, frame 2 the fill; the chunk for block bars.
  {
    const int w = d.Px(24), h = d.Px(14);
    const double radius = Round(p, d, 4);
    Raster trough(w, h), fill(w, h);
    trough.RoundBox(0, 0, w, h, radius, p.line, p.surface, t);
    fill.RoundRect(0, 0, w, h, radius, p.accent);
    fill.Fill(d.Px(4), d.Px(2), w - 2 * d.Px(4), t, Mix(p.accent, 0xFFFFFF, 25));
    art.emplace("progress.bmp", SideBySide(trough, fill));
  }
  {
    Raster chunk(d.Px(8), d.Px(14));
    const int x = d.Px(1), y = d.Px(2);
    chunk.RoundRect(x, y, chunk.width() - 2 * x, chunk.height() - 2 * y, Round(p, d, 1), p.accent);
    art.emplace("progress_chunk.bmp", chunk);
  }
  return art;
}

}  // namespace skingen
