#include "skin/form/control_discovery.h"

#include "skin/form/skin_form.h"

namespace skin {

// The control skinners join here as they are written; until then every
// control keeps its own look.
void SkinComponents(TWinSkinForm& form, gui::TComponent*) { form.PurgeDestroyedControls(); }

void SkinChildWindows(TWinSkinForm&) {}

}  // namespace skin
