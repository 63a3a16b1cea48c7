#include "gallery/left_scroll_list.h"

#include "gui/formreader.h"

void TLeftScrollListBox::CreateParams(gui::TCreateParams& params) {
  gui::TListBox::CreateParams(params);
  params.ExStyle |= WS_EX_LEFTSCROLLBAR;
}

void RegisterLeftScrollListBox() { gui::RegisterComponentClass<TLeftScrollListBox>(); }
