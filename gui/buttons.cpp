#include "gui/buttons.h"

namespace gui {

// ---------------------------------------------------------------------------
// Glyph, layout and the drawing both glyph buttons share

SIZE TButtonGlyph::GlyphSize() const {
  if (glyph_.Empty()) return SIZE{0, 0};
  return SIZE{glyph_.Width() / numGlyphs_, glyph_.Height()};
}

bool TButtonGlyph::ReadGlyphData(std::span<const std::uint8_t> data) {
  glyph_.LoadFromFormData(data);
  return true;
}

TButtonPlacement CalcButtonLayout(int W, int H, SIZE glyph, SIZE text, TButtonLayout layout, int margin, int spacing,
                                  bool nudgeCentred) {
  TButtonPlacement out;
  const bool across = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
  if (across) {
    out.Glyph.y = (H - glyph.cy + 1) / 2;
    out.Text.y = (H - text.cy + 1) / 2;
  } else {
    out.Glyph.x = (W - glyph.cx + 1) / 2;
    out.Text.x = (W - text.cx + 1) / 2;
  }
  if (text.cx == 0 || glyph.cx == 0) spacing = 0;
  if (margin == -1) {
    if (spacing == -1) {
      margin = across ? (W - glyph.cx - text.cx) / 3 : (H - glyph.cy - text.cy) / 3;
      spacing = margin;
    } else {
      margin = across ? (W - (glyph.cx + spacing + text.cx)) / 2 : (H - (glyph.cy + spacing + text.cy)) / 2;
      if (nudgeCentred) ++margin;
    }
  } else if (spacing == -1) {
    spacing = across ? ((W - margin - glyph.cx) - text.cx) / 2 : ((H - margin - glyph.cy) - text.cy) / 2;
  }
  switch (layout) {
    case TButtonLayout::blGlyphLeft:
      out.Glyph.x = margin;
      out.Text.x = margin + glyph.cx + spacing;
      out.Format = DT_LEFT;
      break;
    case TButtonLayout::blGlyphRight:
      out.Glyph.x = W - margin - glyph.cx;
      out.Text.x = out.Glyph.x - spacing - text.cx;
      out.Format = DT_RIGHT;
      break;
    case TButtonLayout::blGlyphTop:
      out.Glyph.y = margin;
      out.Text.y = margin + glyph.cy + spacing;
      out.Format = DT_CENTER;
      break;
    case TButtonLayout::blGlyphBottom:
      out.Glyph.y = H - margin - glyph.cy;
      out.Text.y = out.Glyph.y - spacing - text.cy;
      out.Format = DT_CENTER;
      break;
  }
  return out;
}

SIZE MeasureButtonCaption(HDC dc, const std::wstring& caption, const RECT& within) {
  if (caption.empty()) return SIZE{0, 0};
  RECT r = within;
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_EXPANDTABS);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void DrawGlyphImage(HDC dc, POINT at, TBitmap& glyph, int numGlyphs, int image) {
  if (glyph.Empty()) return;
  const int w = glyph.Width() / (numGlyphs > 0 ? numGlyphs : 1);
  const int h = glyph.Height();
  const int x = (image - 1) * w;
  if (w <= 0 || h <= 0 || x < 0 || x + w > glyph.Width()) return;
  TransparentBlt(dc, at.x, at.y, w, h, glyph.DC(), x, 0, w, h, glyph.Pixel(x, 0));
}

namespace {

// Glyph image of a button look without a skin: disabled and pressed have
// their own images when the strip holds them.
int PlainGlyphImage(const TButtonGlyph& g, bool enabled, bool pressed) {
  if (!enabled && g.NumGlyphs() >= 2) return 2;
  if (pressed && g.NumGlyphs() >= 3) return 3;
  return 1;
}

// Glyph and caption of an unskinned button, laid out in `face` and moved
// by `shift` (pressed buttons sink one pixel).
void DrawButtonContent(HDC dc, const RECT& face, TButtonGlyph& g, const std::wstring& caption, HFONT font,
                       bool enabled, int image, int shift) {
  SelectGuard selected(dc, font);
  const SIZE text = MeasureButtonCaption(dc, caption, face);
  const TButtonPlacement at = CalcButtonLayout(face.right - face.left, face.bottom - face.top, g.GlyphSize(), text,
                                               g.Layout(), g.Margin(), g.Spacing(), false);
  const POINT glyphAt{face.left + at.Glyph.x + shift, face.top + at.Glyph.y + shift};
  DrawGlyphImage(dc, glyphAt, g.Glyph(), g.NumGlyphs(), image);
  if (caption.empty()) return;
  RECT t{face.left + at.Text.x + shift, face.top + at.Text.y + shift, 0, 0};
  t.right = t.left + text.cx;
  t.bottom = t.top + text.cy;
  SetBkMode(dc, TRANSPARENT);
  if (!enabled) {
    // The system's engraved look: a highlight copy one pixel down-right.
    RECT lit = t;
    OffsetRect(&lit, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &lit, at.Format | DT_EXPANDTABS);
  }
  SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &t, at.Format | DT_EXPANDTABS);
}

}  // namespace

// ---------------------------------------------------------------------------
// TBitBtn

void TBitBtn::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.Style = (params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& m) {
  if (m.Msg == CN_DRAWITEM && m.LParam) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
    m.Result = TRUE;
    return;
  }
  TButton::WndProc(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT face = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
  if (focused) {
    // The focused push button carries the dark outline of the default one.
    FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&face, -1, -1);
  }
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  const RECT client = item.rcItem;
  DrawButtonContent(dc, client, *this, Caption(), font_.Handle(), enabled, PlainGlyphImage(*this, enabled, pressed),
                    pressed ? 1 : 0);
  if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = client;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

bool TBitBtn::ReadBinaryProperty(std::string_view name, std::span<const std::uint8_t> data) {
  if (name == "Glyph.Data") return ReadGlyphData(data);
  return TButton::ReadBinaryProperty(name, data);
}

void TBitBtn::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TBitBtn> b(list);
  DeclareGlyphProperties(b);
}

// ---------------------------------------------------------------------------
// TGraphicControl, TSpeedButton

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    Paint(reinterpret_cast<HDC>(m.WParam));
    m.Result = 0;
    return;
  }
  TControl::WndProc(m);
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  width_ = 23;
  height_ = 22;
}

void TSpeedButton::SetDown(bool down) {
  if (down == down_) return;
  if (!down && GroupIndex != 0 && !AllowAllUp) return;
  down_ = down;
  if (down && GroupIndex != 0 && Parent()) {
    for (TControl* sibling : std::vector<TControl*>(Parent()->Controls()))
      if (auto* other = dynamic_cast<TSpeedButton*>(sibling); other && other != this && other->GroupIndex == GroupIndex) {
        other->down_ = false;
        other->Invalidate();
      }
  }
  Invalidate();
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!enabled_) break;
      pressed_ = true;
      Invalidate();
      return;
    case WM_LBUTTONUP: {
      if (!pressed_) break;
      pressed_ = false;
      const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      const bool inside = p.x >= 0 && p.y >= 0 && p.x < width_ && p.y < height_;
      if (inside && GroupIndex != 0) SetDown(!down_ || !AllowAllUp);
      Invalidate();
      if (inside) Click();
      return;
    }
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint(HDC dc) {
  RECT r{0, 0, width_, height_};
  const bool sunk = pressed_ || down_;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &r, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  int image = PlainGlyphImage(*this, enabled_, pressed_);
  if (down_ && enabled_ && NumGlyphs() >= 4) image = 4;
  DrawButtonContent(dc, r, *this, caption_, font_.Handle(), enabled_, image, sunk ? 1 : 0);
}

bool TSpeedButton::ReadBinaryProperty(std::string_view name, std::span<const std::uint8_t> data) {
  if (name == "Glyph.Data") return ReadGlyphData(data);
  return TGraphicControl::ReadBinaryProperty(name, data);
}

void TSpeedButton::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TSpeedButton> b(list);
  b.Integer("GroupIndex", [](TSpeedButton& c) { return c.GroupIndex; }, [](TSpeedButton& c, int v) { c.GroupIndex = v; });
  b.Boolean("AllowAllUp", [](TSpeedButton& c) { return c.AllowAllUp; }, [](TSpeedButton& c, bool v) { c.AllowAllUp = v; });
  b.Boolean("Down", [](TSpeedButton& c) { return c.Down(); }, [](TSpeedButton& c, bool v) { c.SetDown(v); });
  DeclareGlyphProperties(b);
}

}  // namespace gui
