#include "gui/buttons.h"

namespace gui {

void TBitBtn::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TBitBtn> b(list);
  b.Integer("NumGlyphs", [](TBitBtn& c) { return c.NumGlyphs; }, [](TBitBtn& c, int v) { c.NumGlyphs = v < 1 ? 1 : v; });
  b.Enumeration("Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
                [](TBitBtn& c) { return static_cast<int>(c.Layout); },
                [](TBitBtn& c, int v) { c.Layout = static_cast<TButtonLayout>(v); });
  b.Integer("Margin", [](TBitBtn& c) { return c.Margin; }, [](TBitBtn& c, int v) { c.Margin = v; });
  b.Integer("Spacing", [](TBitBtn& c) { return c.Spacing; }, [](TBitBtn& c, int v) { c.Spacing = v; });
}

}  // namespace gui

namespace gui {

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
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &r, pressed_ || down_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  if (caption_.empty()) return;
  SelectGuard font(dc, font_.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(enabled_ ? font_.Color() : clGrayText));
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TSpeedButton::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TSpeedButton> b(list);
  b.Integer("GroupIndex", [](TSpeedButton& c) { return c.GroupIndex; }, [](TSpeedButton& c, int v) { c.GroupIndex = v; });
  b.Boolean("AllowAllUp", [](TSpeedButton& c) { return c.AllowAllUp; }, [](TSpeedButton& c, bool v) { c.AllowAllUp = v; });
  b.Boolean("Down", [](TSpeedButton& c) { return c.Down(); }, [](TSpeedButton& c, bool v) { c.SetDown(v); });
}

}  // namespace gui
