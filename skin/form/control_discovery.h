// Control discovery: which control skinner each control of a skinned window
// gets. A framework form is walked through its components; a window without
// one (a message box, a dialog box) through its child windows.
#pragma once
#include <windows.h>

#include "gui/classes.h"

namespace skin {

class TWinSkinForm;

// Gives every component the container owns the skinner it qualifies for.
void SkinComponents(TWinSkinForm& form, gui::TComponent* container);
// Gives every direct child window of the form skinner's window its skinner.
void SkinChildWindows(TWinSkinForm& form);

}  // namespace skin
