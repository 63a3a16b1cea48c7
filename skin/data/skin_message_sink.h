// Reports the archive reader's messages (an archive of an older version)
// through the framework's simple message dialog.
#pragma once
#include "core/archive/skin_reader.h"

namespace skin {

class TDialogMessageSink : public core::ISkinMessageSink {
 public:
  void ShowMessage(std::string_view text) override;
};

}  // namespace skin
