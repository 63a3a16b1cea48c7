#include "skin/manager/tooltip_colours.h"

#include <commctrl.h>

#include "gui/color_scheme.h"

namespace skin {

// As every class test of the hook's, case-sensitive.
bool TTooltipColours::IsTooltipClass(std::wstring_view className) { return className == TOOLTIPS_CLASSW; }

void TTooltipColours::Follow(HWND tooltip) {
  // Tooltips that went with their windows are dropped first.
  std::erase_if(tips_, [](const std::unique_ptr<TTip>& tip) { return !tip->subclass.Attached(); });
  auto tip = std::make_unique<TTip>();
  TTip& self = *tip;
  const bool attached = tip->subclass.Attach(tooltip, [&self](UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    const LRESULT result = self.subclass.CallPrevious(msg, wParam, lParam);
    if (msg == WM_CREATE && result != -1) Apply(self);
    return result;
  });
  if (attached) tips_.push_back(std::move(tip));
}

void TTooltipColours::SchemeChanged() {
  for (const auto& tip : tips_)
    if (tip->subclass.Attached()) Apply(*tip);
}

void TTooltipColours::Apply(TTip& tip) {
  HWND wnd = tip.subclass.Window();
  if (gui::CurrentColorScheme()) {
    if (!tip.given) {
      tip.had[0] = static_cast<COLORREF>(SendMessageW(wnd, TTM_GETTIPBKCOLOR, 0, 0));
      tip.had[1] = static_cast<COLORREF>(SendMessageW(wnd, TTM_GETTIPTEXTCOLOR, 0, 0));
      tip.given = true;
    }
    SendMessageW(wnd, TTM_SETTIPBKCOLOR, gui::SchemeColor(COLOR_INFOBK), 0);
    SendMessageW(wnd, TTM_SETTIPTEXTCOLOR, gui::SchemeColor(COLOR_INFOTEXT), 0);
  } else if (tip.given) {
    SendMessageW(wnd, TTM_SETTIPBKCOLOR, tip.had[0], 0);
    SendMessageW(wnd, TTM_SETTIPTEXTCOLOR, tip.had[1], 0);
    tip.given = false;
  }
}

}  // namespace skin
