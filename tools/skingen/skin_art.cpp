#include "tools/skingen/skin_art.h"

#include <algorithm>

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

namespace {

// Window frame geometry shared with the definition's [Personality] keys.
constexpr int kCaption = 30, kBorder = 4, kCorner = 7;
constexpr int kMockWidth = 96, kMockHeight = 96;

// A whole window frame in one look; the four pieces are cut from it so that
// the rounded corners line up across pieces.
Raster WindowMock(const Palette& p, bool active) {
  Raster mock(kMockWidth, kMockHeight);
  const Rgb caption = active ? p.accent : p.caption_inactive;
  const Rgb edge = active ? p.accent_strong : p.line;
  // Only the top corners are rounded; the bottom ones are square but sharp.
  mock.RoundRect(0, 0, kMockWidth, kMockHeight / 2, kCorner, edge);
  mock.Fill(0, kMockHeight / 2, kMockWidth, kMockHeight / 2, edge);
  mock.RoundRect(1, 1, kMockWidth - 2, kMockHeight / 2, kCorner - 1, caption);
  mock.Fill(1, kCaption, kMockWidth - 2, kMockHeight - kCaption - 1, active ? caption : p.face);
  // Inner edge between the frame and the client area.
  mock.Fill(kBorder - 1, kCaption - 1, kMockWidth - 2 * kBorder + 2, kMockHeight - kCaption - kBorder + 2, edge);
  mock.Fill(kBorder, kCaption, kMockWidth - 2 * kBorder, kMockHeight - kCaption - kBorder, p.face);
  // A faint highlight under the top edge of the caption.
  for (int x = kCorner; x < kMockWidth - kCorner; ++x) mock.Set(x, 1, Mix(caption, 0xFFFFFF, active ? 18 : 40));
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

template <typename Draw>
Raster Strip(int frames, int w, int h, Draw draw) {
  Raster out(w * frames, h);
  for (int f = 0; f < frames; ++f) {
    Raster frame(w, h);
    draw(frame, f + 1);
    out.Blit(frame, f * w, 0);
  }
  return out;
}

// Caption button glyphs, drawn in a 28 x 20 cell.
void CaptionGlyph(Raster& r, char kind, Rgb ink) {
  const double cx = r.width() / 2.0, cy = r.height() / 2.0;
  switch (kind) {
    case 'x':
      r.Line(cx - 4, cy - 4, cx + 4, cy + 4, 1.6, ink);
      r.Line(cx - 4, cy + 4, cx + 4, cy - 4, 1.6, ink);
      break;
    case 'M':
      r.Fill(static_cast<int>(cx) - 5, static_cast<int>(cy) - 5, 10, 10, ink);
      r.Fill(static_cast<int>(cx) - 4, static_cast<int>(cy) - 3, 8, 7, kMagenta);
      break;
    case 'R':
      r.Fill(static_cast<int>(cx) - 3, static_cast<int>(cy) - 6, 9, 8, ink);
      r.Fill(static_cast<int>(cx) - 2, static_cast<int>(cy) - 5, 7, 6, kMagenta);
      r.Fill(static_cast<int>(cx) - 6, static_cast<int>(cy) - 3, 9, 9, ink);
      r.Fill(static_cast<int>(cx) - 5, static_cast<int>(cy) - 1, 7, 6, kMagenta);
      break;
    case '_':
      r.Fill(static_cast<int>(cx) - 5, static_cast<int>(cy) + 3, 10, 2, ink);
      break;
    default:
      break;
  }
}

// Frames: 1 normal, 2 pressed, 3 hot, 4 inactive window.
Raster CaptionButton(const Palette& p, char kind) {
  return Strip(4, 28, 20, [&](Raster& r, int frame) {
    const bool close = kind == 'x';
    Rgb ink = frame == 4 ? p.caption_text_inactive : p.caption_text;
    if (frame == 2) r.RoundRect(0, 0, 28, 20, 4, close ? Mix(p.close_hot, 0x000000, 20) : p.accent_strong);
    if (frame == 3) r.RoundRect(0, 0, 28, 20, 4, close ? p.close_hot : Mix(p.accent, 0xFFFFFF, 22));
    // The glyph needs a backdrop where the button is otherwise transparent:
    // magenta inside the glyph would punch holes into the caption.
    Raster glyph(28, 20);
    CaptionGlyph(glyph, kind, ink);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 28; ++x)
        if (glyph.At(x, y) != kMagenta) r.Set(x, y, glyph.At(x, y));
  });
}

// The default window icon: a rounded tile with a gear-like mark.
Raster WindowIcon(const Palette& p) {
  return Strip(4, 16, 16, [&](Raster& r, int frame) {
    const Rgb tile = frame == 4 ? p.muted_text : (frame == 2 ? Mix(p.surface, 0x000000, 10) : p.surface);
    r.RoundBox(1, 1, 14, 14, 3, frame == 4 ? p.line : p.accent_strong, tile);
    r.Ring(8, 8, 4.5, 2, frame == 4 ? p.line : p.accent);
    r.Disc(8, 8, 1.3, frame == 4 ? p.line : p.accent);
  });
}

Raster PushButton(const Palette& p) {
  // 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default.
  return Strip(5, 24, 24, [&](Raster& r, int frame) {
    Rgb outline = p.line, fill = p.surface;
    if (frame == 2) outline = p.accent_strong, fill = p.accent_soft;
    if (frame == 3) outline = Mix(p.line, p.face, 50), fill = p.face;
    if (frame == 4) outline = p.accent, fill = Mix(p.surface, p.accent_soft, 50);
    if (frame == 5) outline = p.accent, fill = p.surface;
    r.RoundBox(0, 0, 24, 24, 4, outline, fill);
    if (frame == 5) r.RoundRect(1, 1, 22, 22, 3, p.accent), r.RoundRect(2, 2, 20, 20, 2, fill);
    if (frame == 1 || frame == 4) r.Fill(3, 22, 18, 1, Mix(outline, 0x000000, 12));
  });
}

// 1 unchecked, 2 checked, 3 unchecked disabled, 4 checked disabled.
Raster CheckGlyphs(const Palette& p) {
  return Strip(4, 13, 13, [&](Raster& r, int frame) {
    const bool checked = frame == 2 || frame == 4, disabled = frame >= 3;
    const Rgb mark = disabled ? p.muted_text : p.accent;
    if (checked) {
      r.RoundRect(0, 0, 13, 13, 3, mark);
      r.Line(2.8, 6.6, 5.4, 9.4, 2.1, p.surface);
      r.Line(5.4, 9.4, 10.4, 3.4, 2.1, p.surface);
    } else {
      r.RoundBox(0, 0, 13, 13, 3, disabled ? Mix(p.line, p.face, 50) : p.line, disabled ? p.face : p.surface);
    }
  });
}

Raster RadioGlyphs(const Palette& p) {
  return Strip(4, 13, 13, [&](Raster& r, int frame) {
    const bool checked = frame == 2 || frame == 4, disabled = frame >= 3;
    const Rgb ring = checked ? (disabled ? p.muted_text : p.accent) : (disabled ? Mix(p.line, p.face, 50) : p.line);
    r.Disc(6.5, 6.5, 6.5, ring);
    r.Disc(6.5, 6.5, 5.4, disabled && !checked ? p.face : p.surface);
    if (checked) r.Disc(6.5, 6.5, 3.1, ring);
  });
}

// Scroll-bar arrows: left, right, up, down, four looks each (normal, pressed,
// hot, disabled), then the size grip and blank cells to 23 frames.
Raster ScrollArrows(const Palette& p) {
  const char directions[] = {'l', 'r', 'u', 'd'};
  return Strip(23, 17, 17, [&](Raster& r, int frame) {
    r.Fill(0, 0, 17, 17, p.face);
    if (frame <= 16) {
      const int look = (frame - 1) % 4 + 1;
      const char dir = directions[(frame - 1) / 4];
      if (look == 2) r.RoundRect(1, 1, 15, 15, 3, p.accent_soft);
      if (look == 3) r.RoundRect(1, 1, 15, 15, 3, Mix(p.face, p.line, 35));
      r.Chevron(8.5, 8.5, 4, dir, look == 4 ? p.muted_text : (look == 2 ? p.accent : p.text));
    } else if (frame == 17) {
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j) r.Fill(12 - 4 * j, 12 - 4 * (i - j), 2, 2, p.line);
    }
  });
}

Raster Track(const Palette& p, bool horizontal) {
  const int w = horizontal ? 24 : 17, h = horizontal ? 17 : 24;
  return Strip(4, w, h, [&](Raster& r, int frame) {
    r.Fill(0, 0, w, h, frame == 2 ? Mix(p.face, p.line, 25) : p.face);
  });
}

// Thumbs: 1 normal, 2 dragged, 3 hot; a slim pill inside the bar.
Raster Thumb(const Palette& p, bool horizontal) {
  const int w = horizontal ? 24 : 17, h = horizontal ? 17 : 24;
  return Strip(3, w, h, [&](Raster& r, int frame) {
    const Rgb fill = frame == 2 ? p.accent : (frame == 3 ? Mix(p.line, p.text, 30) : p.line);
    if (horizontal)
      r.RoundRect(1, 4, w - 2, h - 8, 4, fill);
    else
      r.RoundRect(4, 1, w - 8, h - 2, 4, fill);
  });
}

}  // namespace

std::map<std::string, Raster> DrawSkinArt(const Palette& p) {
  std::map<std::string, Raster> art;

  const Raster active = WindowMock(p, true), inactive = WindowMock(p, false);
  auto piece = [&](int x, int y, int w, int h, bool vertical) {
    const Raster a = active.Crop(x, y, w, h), b = inactive.Crop(x, y, w, h);
    return vertical ? SideBySide(a, b) : Stacked(a, b);
  };
  art.emplace("frame_left.bmp", piece(0, 0, kBorder, kMockHeight, true));
  art.emplace("frame_right.bmp", piece(kMockWidth - kBorder, 0, kBorder, kMockHeight, true));
  art.emplace("frame_top.bmp", piece(kBorder, 0, kMockWidth - 2 * kBorder, kCaption, false));
  art.emplace("frame_bottom.bmp", piece(kBorder, kMockHeight - kBorder, kMockWidth - 2 * kBorder, kBorder, false));

  // Caption text background: transparent, so the caption colour shows.
  art.emplace("caption_back.bmp", Raster(12, 2 * kCaption));

  art.emplace("caption_close.bmp", CaptionButton(p, 'x'));
  art.emplace("caption_maximize.bmp", CaptionButton(p, 'M'));
  art.emplace("caption_restore.bmp", CaptionButton(p, 'R'));
  art.emplace("caption_minimize.bmp", CaptionButton(p, '_'));
  art.emplace("caption_icon.bmp", WindowIcon(p));

  // Buttons of a maximised MDI child in the menu bar: minimise, restore,
  // close, each normal, pressed, hot, inactive.
  {
    Raster strip(12 * 16, 14);
    const char kinds[] = {'_', 'R', 'x'};
    for (int b = 0; b < 3; ++b)
      for (int look = 1; look <= 4; ++look) {
        Raster cell(16, 14);
        const Rgb back = look == 2 ? p.accent_soft : (look == 3 ? Mix(p.face, p.line, 35) : p.face);
        cell.RoundBox(0, 0, 16, 14, 3, look == 1 || look == 4 ? p.line : p.accent, back);
        Raster glyph(28, 20);
        CaptionGlyph(glyph, kinds[b], look == 4 ? p.muted_text : p.text);
        for (int y = 0; y < 12; ++y)
          for (int x = 0; x < 14; ++x)
            if (glyph.At(x + 7, y + 4) != kMagenta) cell.Set(x + 1, y + 1, glyph.At(x + 7, y + 4));
        strip.Blit(cell, (b * 4 + look - 1) * 16, 0);
      }
    art.emplace("mdi_controls.bmp", strip);
  }

  art.emplace("button.bmp", PushButton(p));
  art.emplace("check.bmp", CheckGlyphs(p));
  art.emplace("radio.bmp", RadioGlyphs(p));

  // Menu bar: active and inactive stacked; a flat band with a hairline below.
  {
    auto band = [&](Rgb fill) {
      Raster r(32, 20, fill);
      r.Fill(0, 19, 32, 1, Mix(fill, p.line, 60));
      return r;
    };
    art.emplace("menubar.bmp", Stacked(band(p.face), band(Mix(p.face, p.caption_inactive, 30))));
  }
  // Menu items: 1 normal (transparent), 2 separator, 3 disabled, 4 selected, 5 checked.
  art.emplace("menu_item.bmp", Strip(5, 40, 20, [&](Raster& r, int frame) {
                if (frame == 2) r.Fill(4, 9, 32, 1, p.line);
                if (frame == 4) r.RoundRect(2, 1, 36, 18, 4, p.accent_soft);
                if (frame == 5) r.RoundRect(2, 1, 36, 18, 4, Mix(p.surface, p.accent_soft, 50));
              }));
  {
    Raster back(32, 32);
    back.Fill(0, 0, 32, 32, p.line);
    back.Fill(1, 1, 30, 30, p.surface);
    art.emplace("menu_background.bmp", back);
  }

  art.emplace("group_edge.bmp", Strip(2, 24, 24, [&](Raster& r, int frame) {
                r.RoundBox(0, 0, 24, 24, 5, frame == 1 ? p.line : Mix(p.line, p.face, 50), p.face);
              }));
  {
    Raster label(24, 24);
    label.RoundRect(0, 0, 24, 24, 5, p.face);
    art.emplace("group_label.bmp", label);
  }
  art.emplace("toolbar.bmp", Strip(5, 24, 24, [&](Raster& r, int frame) {
                if (frame == 1) r.Fill(0, 0, 24, 24, p.face), r.Fill(0, 23, 24, 1, p.line);
                if (frame == 2) r.RoundBox(0, 0, 24, 24, 4, p.accent_strong, p.accent_soft);
                if (frame == 3) r.Fill(0, 0, 24, 24, p.face);
                if (frame == 4) r.RoundBox(0, 0, 24, 24, 4, p.line, Mix(p.face, p.line, 20));
                if (frame == 5) r.RoundBox(0, 0, 24, 24, 4, p.accent, p.accent_soft);
              }));

  // Tabs: 1 normal, 2 hot, 3 selected, 4 disabled, 5 selected and focused.
  art.emplace("tab.bmp", Strip(5, 60, 24, [&](Raster& r, int frame) {
                const bool selected = frame == 3 || frame == 5;
                const int top = selected ? 0 : 2;
                Rgb fill = selected ? p.surface : (frame == 2 ? Mix(p.face, p.accent_soft, 60) : p.face);
                if (frame == 4) fill = p.face;
                r.RoundRect(0, top, 60, 24 - top + 4, 4, p.line);
                r.RoundRect(1, top + 1, 58, 24 - top + 4, 3, fill);
                if (selected) r.Fill(1, top + 1, 58, 2, p.accent);
                if (!selected) r.Fill(0, 23, 60, 1, p.line);
              }));
  {
    Raster border(32, 32);
    border.Fill(0, 0, 32, 32, p.line);
    border.Fill(1, 1, 30, 30, p.surface);
    art.emplace("tab_border.bmp", border);
  }

  art.emplace("statusbar.bmp", Strip(3, 24, 20, [&](Raster& r, int frame) {
                r.Fill(0, 0, 24, 20, p.face);
                if (frame == 1) r.Fill(0, 0, 24, 1, p.line);
                if (frame == 2) r.Fill(23, 3, 1, 14, p.line);
                if (frame == 3) r.Fill(0, 0, 24, 1, p.line), r.Fill(0, 19, 24, 1, p.line);
              }));

  // Combo drop button (right side): normal, hot, pressed, disabled.
  art.emplace("combo_button.bmp", Strip(4, 18, 21, [&](Raster& r, int frame) {
                const Rgb back = frame == 3 ? p.accent_soft : (frame == 2 ? Mix(p.surface, p.accent_soft, 50) : p.surface);
                r.Fill(0, 0, 18, 21, back);
                r.Fill(0, 2, 1, 17, Mix(p.line, p.surface, 40));
                r.Chevron(9.5, 11, 4, 'd', frame == 4 ? p.muted_text : p.text);
              }));
  // Edit and combo frame: normal, hot, focused, disabled.
  art.emplace("sunk_edge.bmp", Strip(4, 24, 24, [&](Raster& r, int frame) {
                const Rgb outline = frame == 2 ? Mix(p.line, p.accent, 50) : (frame == 3 ? p.accent : p.line);
                r.RoundBox(0, 0, 24, 24, 3, frame == 4 ? Mix(p.line, p.face, 50) : outline,
                           frame == 4 ? p.face : p.surface);
                if (frame == 3) r.Fill(3, 22, 18, 1, p.accent);
              }));
  // Drop-down arrow glyphs (normal, hot, pressed, disabled) and the size grip.
  art.emplace("extra.bmp", Strip(5, 17, 17, [&](Raster& r, int frame) {
                if (frame <= 4) {
                  r.Chevron(8.5, 9, 4, 'd', frame == 4 ? p.muted_text : (frame == 3 ? p.accent : p.text));
                } else {
                  for (int i = 0; i < 3; ++i)
                    for (int j = 0; j <= i; ++j) r.Fill(12 - 4 * j, 12 - 4 * (i - j), 2, 2, p.line);
                }
              }));
  // Column headers: normal, hot, pressed, disabled, sorted.
  art.emplace("header.bmp", Strip(5, 40, 22, [&](Raster& r, int frame) {
                const Rgb fill = frame == 2 ? Mix(p.face, p.accent_soft, 60) : (frame == 3 ? p.accent_soft : p.face);
                r.Fill(0, 0, 40, 22, fill);
                r.Fill(0, 21, 40, 1, p.line);
                r.Fill(39, 4, 1, 14, p.line);
                if (frame == 5) r.Fill(0, 20, 40, 2, p.accent);
              }));

  art.emplace("scroll_arrows.bmp", ScrollArrows(p));
  art.emplace("scroll_htrack.bmp", Track(p, true));
  art.emplace("scroll_vtrack.bmp", Track(p, false));
  art.emplace("scroll_hthumb.bmp", Thumb(p, true));
  art.emplace("scroll_vthumb.bmp", Thumb(p, false));

  // Track-bar thumbs: normal, pressed, hot, disabled, focused.
  auto thumb_fill = [&](int frame) {
    return frame == 2 ? p.accent_strong : (frame == 3 ? Mix(p.accent, 0xFFFFFF, 20) : (frame == 4 ? p.muted_text : p.accent));
  };
  art.emplace("track_thumb_h.bmp", Strip(5, 12, 20, [&](Raster& r, int f) { r.RoundBox(0, 0, 12, 20, 5, f == 5 ? p.text : thumb_fill(f), thumb_fill(f)); }));
  art.emplace("track_thumb_v.bmp", Strip(5, 20, 12, [&](Raster& r, int f) { r.RoundBox(0, 0, 20, 12, 5, f == 5 ? p.text : thumb_fill(f), thumb_fill(f)); }));
  auto pointed = [&](char dir, int w, int h) {
    return Strip(5, w, h, [&, dir, w, h](Raster& r, int f) {
      const Rgb fill = thumb_fill(f);
      if (dir == 'd' || dir == 'u') {
        const int body = h - 6;
        r.RoundRect(0, dir == 'd' ? 0 : 6, w, body, 3, fill);
        for (int k = 0; k < 6; ++k) {
          const int y = dir == 'd' ? body + k : 5 - k;
          r.Fill(k, y, w - 2 * k, 1, fill);
        }
      } else {
        const int body = w - 6;
        r.RoundRect(dir == 'r' ? 0 : 6, 0, body, h, 3, fill);
        for (int k = 0; k < 6; ++k) {
          const int x = dir == 'r' ? body + k : 5 - k;
          r.Fill(x, k, 1, h - 2 * k, fill);
        }
      }
    });
  };
  art.emplace("track_thumb_down.bmp", pointed('d', 12, 20));
  art.emplace("track_thumb_up.bmp", pointed('u', 12, 20));
  art.emplace("track_thumb_right.bmp", pointed('r', 20, 12));
  art.emplace("track_thumb_left.bmp", pointed('l', 20, 12));

  // Up-down buttons: frames 1-4 the first button, 5-8 the second (normal,
  // pressed, disabled, hot), with matching arrow glyphs.
  auto updown = [&](bool vertical) {
    return Strip(8, 16, 11, [&](Raster& r, int f) {
      const int look = (f - 1) % 4 + 1;
      const Rgb fill = look == 2 ? p.accent_soft : (look == 4 ? Mix(p.surface, p.accent_soft, 50) : (look == 3 ? p.face : p.surface));
      r.RoundBox(0, 0, 16, 11, 2, look == 2 ? p.accent : (look == 3 ? Mix(p.line, p.face, 50) : p.line), fill);
      (void)vertical;
    });
  };
  auto updown_glyphs = [&](bool vertical) {
    return Strip(8, 16, 11, [&](Raster& r, int f) {
      const int look = (f - 1) % 4 + 1;
      const char dir = vertical ? (f <= 4 ? 'u' : 'd') : (f <= 4 ? 'l' : 'r');
      r.Chevron(8, 5.5, 3, dir, look == 3 ? p.muted_text : (look == 2 ? p.accent : p.text));
    });
  };
  art.emplace("updown_v.bmp", updown(true));
  art.emplace("updown_v_glyphs.bmp", updown_glyphs(true));
  art.emplace("updown_h.bmp", updown(false));
  art.emplace("updown_h_glyphs.bmp", updown_glyphs(false));

  // Progress: frame 1 the trough, frame 2 the fill; the chunk for block bars.
  art.emplace("progress.bmp", SideBySide(
      [&] { Raster r(24, 14); r.RoundBox(0, 0, 24, 14, 4, p.line, p.surface); return r; }(),
      [&] { Raster r(24, 14); r.RoundRect(0, 0, 24, 14, 4, p.accent); r.Fill(4, 2, 16, 1, Mix(p.accent, 0xFFFFFF, 25)); return r; }()));
  {
    Raster chunk(8, 14);
    chunk.RoundRect(1, 2, 6, 10, 1, p.accent);
    art.emplace("progress_chunk.bmp", chunk);
  }
  return art;
}

}  // namespace skingen
