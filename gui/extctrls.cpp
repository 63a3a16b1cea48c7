#include "gui/extctrls.h"

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

void TCustomPanel::Paint(HDC dc) {
  RECT r;
  GetClientRect(handle_, &r);
  FillRect(dc, &r, BrushHandle());
  if (BevelOuter != TPanelBevel::bvNone)
    DrawEdge(dc, &r, BevelOuter == TPanelBevel::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
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
