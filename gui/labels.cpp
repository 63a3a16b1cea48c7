#include "gui/labels.h"

#include "gui/color_scheme.h"

namespace gui {

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  width_ = 65;
  height_ = 13;
}

void TLabel::Paint(HDC dc) {
  RECT r{0, 0, width_, height_};
  SavedDcState saved(dc);
  SelectGuard font(dc, font_.Handle());
  SetBkMode(dc, TRANSPARENT);
  // "&" marks an accelerator, as on buttons.
  const UINT format = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EXPANDTABS;
  if (enabled_) {
    SetTextColor(dc, ColorToRGB(font_.Color()));
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, format);
    return;
  }
  // Disabled text is embossed, as the system draws disabled captions; a
  // scheme of another's (a skin) has a grey text colour of its own, drawn flat.
  if (CurrentColorScheme()) {
    SetTextColor(dc, SchemeColor(COLOR_GRAYTEXT));
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, format);
    return;
  }
  OffsetRect(&r, 1, 1);
  SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, format);
  OffsetRect(&r, -1, -1);
  SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, format);
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  Invalidate();
}

void TLabel::EnabledChanged() {
  TGraphicControl::EnabledChanged();
  Invalidate();
}

}  // namespace gui
