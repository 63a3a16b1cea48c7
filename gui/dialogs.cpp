#include "gui/dialogs.h"

#include <windows.h>

#include "gui/forms.h"

namespace gui {

void ShowMessage(const std::wstring& text) {
  const std::wstring title = Application ? Application->Title() : std::wstring();
  MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(), MB_OK);
}

}  // namespace gui
