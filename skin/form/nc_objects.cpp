#include "skin/form/nc_objects.h"

#include "skin/data/look_transitions.h"
#include "skin/form/skin_form.h"

namespace skin {

TNCObject::~TNCObject() { TLookTransitions::ForgetOnThread(this); }

// The object's own state changes only while it takes part in input; taking
// the current role from another object happens regardless.
void TNCObject::MouseDown() {
  if (TNCObject* current = Form->CurrentObject(); current && current != this) current->MouseLeave();
  Form->SetCurrentObject(this);
  State = stPressed;
  Paint();
}

void TNCObject::MouseUp() {
  State = stHot;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Form->CurrentObject() == this) return;  // a pressed button stays pressed under the pointer
  if (TNCObject* current = Form->CurrentObject()) current->MouseLeave();
  Form->SetCurrentObject(this);
  State = stHot;
  Paint();
}

void TNCObject::MouseLeave() {
  if (Form->CurrentObject() == this) Form->SetCurrentObject(nullptr);
  State = stNormal;
  Paint();
}

void TWinSysButton::Paint() { Form->PaintSysButton(*this, State); }

}  // namespace skin
