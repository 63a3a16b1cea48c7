#include "skin/data/skin_message_sink.h"

#include "gui/dialogs.h"
#include "gui/text.h"

namespace skin {

void TDialogMessageSink::ShowMessage(std::string_view text) { gui::ShowMessage(gui::AnsiToWide(text)); }

}  // namespace skin
