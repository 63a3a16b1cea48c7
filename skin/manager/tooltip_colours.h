// TTooltipColours: the system's tooltip windows ("tooltips_class32", top-level
// windows of their own, so no skinned window answers for them) in the colour
// scheme's InfoBk and InfoText while a skin's colours are in force, and each
// with exactly its own colours back when the system's scheme returns.
#pragma once
#include <windows.h>

#include <memory>
#include <string_view>
#include <vector>

#include "gui/subclass.h"

namespace skin {

class TTooltipColours {
 public:
  static bool IsTooltipClass(std::wstring_view className);
  // Takes a tooltip over as the hook sees it made; it is given the colours
  // once it has created itself.
  void Follow(HWND tooltip);
  // Every tooltip alive gets the scheme in force's colours, or its own back.
  void SchemeChanged();

 private:
  struct TTip {
    gui::TWindowSubclass subclass;
    COLORREF had[2]{};
    bool given = false;
  };
  static void Apply(TTip& tip);
  std::vector<std::unique_ptr<TTip>> tips_;
};

}  // namespace skin
