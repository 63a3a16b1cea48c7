#include "gui/extctrls.h"

#include "gui/color_scheme.h"

namespace gui {

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  width_ = 185;
  height_ = 41;
}

void TCustomPanel::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TCustomPanel::TextChanged() {
  TCustomControl::TextChanged();
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

// DrawEdge's BDR_RAISEDINNER and BDR_SUNKENOUTER, in the colour scheme's
// highlight and shadow (DrawEdge itself knows only the system's).
void TCustomPanel::DrawBevel(HDC dc, const RECT& r, bool raised) {
  if (!CurrentColorScheme()) {
    RECT edge = r;
    DrawEdge(dc, &edge, raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    return;
  }
  HBRUSH light = SchemeColorBrush(COLOR_BTNHIGHLIGHT), dark = SchemeColorBrush(COLOR_BTNSHADOW);
  HBRUSH topLeft = raised ? light : dark, bottomRight = raised ? dark : light;
  const RECT top{r.left, r.top, r.right - 1, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom - 1};
  const RECT bottom{r.left, r.bottom - 1, r.right, r.bottom}, right{r.right - 1, r.top, r.right, r.bottom};
  FillRect(dc, &top, topLeft);
  FillRect(dc, &left, topLeft);
  FillRect(dc, &bottom, bottomRight);
  FillRect(dc, &right, bottomRight);
}

void TCustomPanel::Paint(HDC dc) {
  RECT r;
  GetClientRect(handle_, &r);
  FillRect(dc, &r, BrushHandle());
  if (BevelOuter != TPanelBevel::bvNone) DrawBevel(dc, r, BevelOuter == TPanelBevel::bvRaised);
  if (caption_.empty()) return;
  SelectGuard font(dc, font_.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(font_.Color()));
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TCustomPanel::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TCustomPanel> b(list);
  b.Enumeration("BevelOuter", {"bvNone", "bvLowered", "bvRaised"},
                [](TCustomPanel& c) { return static_cast<int>(c.BevelOuter); },
                [](TCustomPanel& c, int v) { c.BevelOuter = static_cast<TPanelBevel>(v); });
}

}  // namespace gui
