#include "gui/comctrls.h"

#include <commctrl.h>

namespace gui {

void NeedCommonControls(DWORD classes) {
  static DWORD registered = 0;
  if ((registered & classes) == classes) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, classes};
  if (InitCommonControlsEx(&icc)) registered |= classes;
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
  width_ = 200;
  height_ = 19;
}

void TStatusBar::CreateParams(TCreateParams& params) {
  NeedCommonControls(ICC_BAR_CLASSES);
  TWinControl::CreateParams(params);
  CreateSubClass(params, STATUSCLASSNAMEW);
  // Placed by the framework, not by the control itself.
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (sizeGrip_) params.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::CreateWindowHandleDone() { UpdatePanels(); }

void TStatusBar::SetPanels(std::vector<TStatusPanel> panels) {
  panels_ = std::move(panels);
  UpdatePanels();
}

void TStatusBar::SetSimplePanel(bool value) {
  simplePanel_ = value;
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const std::wstring& text) {
  simpleText_ = text;
  UpdatePanels();
}

void TStatusBar::SetSizeGrip(bool value) {
  if (value == sizeGrip_) return;
  sizeGrip_ = value;
  if (handle_) RecreateWnd();
}

void TStatusBar::UpdatePanels() {
  if (!handle_) return;
  std::vector<int> edges;
  int x = 0;
  for (const TStatusPanel& p : panels_) {
    x += p.Width;
    edges.push_back(x);
  }
  // The last part runs to the right edge; without panels there is one part.
  if (edges.empty()) edges.push_back(0);
  edges.back() = -1;
  SendMessageW(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    const TStatusPanel& p = panels_[i];
    WPARAM flags = i;
    if (p.Bevel == TStatusPanelBevel::pbNone) flags |= SBT_NOBORDERS;
    if (p.Bevel == TStatusPanelBevel::pbRaised) flags |= SBT_POPOUT;
    if (p.RightToLeft) flags |= SBT_RTLREADING;
    SendMessageW(handle_, SB_SETTEXTW, flags, reinterpret_cast<LPARAM>(p.Text.c_str()));
  }
  SendMessageW(handle_, SB_SIMPLE, simplePanel_ || panels_.empty(), 0);
  SendMessageW(handle_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TStatusBar::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TStatusBar> b(list);
  b.Boolean("SimplePanel", [](TStatusBar& c) { return c.SimplePanel(); },
            [](TStatusBar& c, bool v) { c.SetSimplePanel(v); });
  b.String("SimpleText", [](TStatusBar& c) { return c.SimpleText(); },
           [](TStatusBar& c, const std::wstring& v) { c.SetSimpleText(v); });
  b.Boolean("SizeGrip", [](TStatusBar& c) { return c.SizeGrip(); }, [](TStatusBar& c, bool v) { c.SetSizeGrip(v); });
}

void TStatusBar::ChangeScale(int m, int d) {
  TWinControl::ChangeScale(m, d);
  std::vector<TStatusPanel> panels = panels_;
  for (TStatusPanel& panel : panels) panel.Width = MulDiv(panel.Width, m, d);
  SetPanels(std::move(panels));
}

}  // namespace gui
