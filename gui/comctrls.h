// The common controls' shared registration, and the status bar: panels with
// text, width, alignment and bevel, or one simple text, and an optional size grip.
#pragma once
#include <string>
#include <vector>

#include "gui/controls.h"

namespace gui {

// Registers the common-control window classes that the ICC_* flags name,
// once per process, before a control extends one of them.
void NeedCommonControls(DWORD classes);

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

struct TStatusPanel {
  std::wstring Text;
  int Width = 50;
  TAlignment Alignment = TAlignment::taLeftJustify;
  TStatusPanelBevel Bevel = TStatusPanelBevel::pbLowered;
  bool RightToLeft = false;
};

class TStatusBar : public TWinControl {
  GUI_CLASS(TStatusBar, TWinControl)
 public:
  explicit TStatusBar(TComponent* owner);

  const std::vector<TStatusPanel>& Panels() const { return panels_; }
  void SetPanels(std::vector<TStatusPanel> panels);
  // Panel widths scale with the bar.
  void ChangeScale(int m, int d) override;
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  const std::wstring& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::wstring& text);
  bool SizeGrip() const { return sizeGrip_; }
  // Takes effect by recreating the window.
  void SetSizeGrip(bool value);

  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;

 private:
  void UpdatePanels();

  std::vector<TStatusPanel> panels_;
  bool simplePanel_ = false;
  std::wstring simpleText_;
  bool sizeGrip_ = true;
};

}  // namespace gui
