// Labels: a caption drawn by the parent on its own background, with no
// window of its own (so nothing of the parent's look is covered).
#pragma once
#include "gui/buttons.h"

namespace gui {

class TLabel : public TGraphicControl {
  GUI_CLASS(TLabel, TGraphicControl)
 public:
  explicit TLabel(TComponent* owner);

 protected:
  void Paint(HDC dc) override;
  void TextChanged() override { Invalidate(); }
  void FontChanged() override;
  void EnabledChanged() override;
};

}  // namespace gui
