// The framework's simple message dialog.
#pragma once
#include <string>

namespace gui {

// A message with an OK button, titled with the application title, owned by
// the active window.
void ShowMessage(const std::wstring& text);

}  // namespace gui
