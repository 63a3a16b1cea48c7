#include "skin/form/common_control_colours.h"

#include <algorithm>
#include <span>

#include "gui/controls.h"
#include "skin/data/skin_palette.h"
#include "skin/form/window_classes.h"

namespace skin {

namespace {

// The class-table line of a control that takes its colours through
// messages, or nullptr.
const TWindowClass* KindOf(HWND wnd) {
  const TWindowClass* line = FindWindowClass(wnd);
  return line && line->Colours == TColourWay::Messages && !line->Parts.empty() ? line : nullptr;
}

void SetColours(HWND wnd, std::span<const TColourPart> parts, auto colourOf) {
  for (std::size_t i = 0; i < parts.size(); ++i)
    SendMessageW(wnd, parts[i].Set, parts[i].Which, static_cast<LPARAM>(colourOf(i)));
  InvalidateRect(wnd, nullptr, TRUE);
}

// Runs inside EnumChildWindows: nothing may be thrown through it.
BOOL CALLBACK CollectWindow(HWND wnd, LPARAM list) {
  try {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

}  // namespace

void TCommonControlColours::Give(HWND window, const TSkinPalette& palette) {
  std::vector<HWND> descendants;
  EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&descendants));
  for (HWND wnd : descendants) {
    if (gui::TWinControl::FindControl(wnd)) continue;
    const TWindowClass* kind = KindOf(wnd);
    if (!kind) continue;
    const std::span<const TColourPart> parts = kind->Parts;
    if (std::none_of(controls_.begin(), controls_.end(), [wnd](const TGiven& g) { return g.wnd == wnd; })) {
      TGiven g{wnd, kind, {}};
      for (std::size_t i = 0; i < parts.size(); ++i)
        g.had[i] = static_cast<COLORREF>(SendMessageW(wnd, parts[i].Get, parts[i].Which, 0));
      controls_.push_back(g);
    }
    SetColours(wnd, parts, [&](std::size_t i) { return palette.SysColor(parts[i].Index); });
  }
}

void TCommonControlColours::GiveBack() {
  for (const TGiven& g : controls_) {
    if (!IsWindow(g.wnd) || KindOf(g.wnd) != g.kind) continue;
    SetColours(g.wnd, g.kind->Parts, [&](std::size_t i) { return g.had[i]; });
  }
  Forget();
}

void TCommonControlColours::Forget() { controls_.clear(); }

}  // namespace skin
