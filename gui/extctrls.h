// Panels: a container that fills itself with its colour, with an optional
// raised or lowered bevel and a centred caption.
#pragma once
#include "gui/controls.h"

namespace gui {

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

class TCustomPanel : public TCustomControl {
  GUI_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* owner);
  TPanelBevel BevelOuter = TPanelBevel::bvRaised;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint(HDC dc) override;
  void TextChanged() override;

 private:
  static void DrawBevel(HDC dc, const RECT& r, bool raised);
};

class TPanel : public TCustomPanel {
  GUI_CLASS(TPanel, TCustomPanel)
 public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

}  // namespace gui
