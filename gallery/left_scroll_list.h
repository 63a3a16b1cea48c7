// A list box whose vertical scroll bar sits at its left edge
// (WS_EX_LEFTSCROLLBAR) while it reads left to right, so the scroll bar's
// placement can be seen on its own.
#pragma once
#include "gui/lists.h"

class TLeftScrollListBox : public gui::TListBox {
  GUI_CLASS(TLeftScrollListBox, gui::TListBox)
 public:
  explicit TLeftScrollListBox(gui::TComponent* owner) : gui::TListBox(owner) {}

 protected:
  void CreateParams(gui::TCreateParams& params) override;
};

// Makes the class known to the form reader.
void RegisterLeftScrollListBox();
