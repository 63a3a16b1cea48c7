#include "skin/form/common_control_colours.h"

#include <commctrl.h>

#include <algorithm>
#include <span>
#include <string>

#include "gui/color_scheme.h"
#include "gui/controls.h"
#include "skin/data/skin_palette.h"

namespace skin {

namespace {

// One colour of a control: how it is read and set, and the COLOR_ index
// the system gives it.
struct TPart {
  UINT get, set;
  WPARAM which;  // the part, for messages that name one
  int index;
};

constexpr TPart kListViewParts[] = {{LVM_GETBKCOLOR, LVM_SETBKCOLOR, 0, COLOR_WINDOW},
                                    {LVM_GETTEXTBKCOLOR, LVM_SETTEXTBKCOLOR, 0, COLOR_WINDOW},
                                    {LVM_GETTEXTCOLOR, LVM_SETTEXTCOLOR, 0, COLOR_WINDOWTEXT}};
// A tree view answers -1 for the system's colours, and takes -1 back.
constexpr TPart kTreeViewParts[] = {{TVM_GETBKCOLOR, TVM_SETBKCOLOR, 0, COLOR_WINDOW},
                                    {TVM_GETTEXTCOLOR, TVM_SETTEXTCOLOR, 0, COLOR_WINDOWTEXT}};
constexpr TPart kDatePickerParts[] = {
    {DTM_GETMCCOLOR, DTM_SETMCCOLOR, MCSC_BACKGROUND, COLOR_WINDOW},
    {DTM_GETMCCOLOR, DTM_SETMCCOLOR, MCSC_MONTHBK, COLOR_WINDOW},
    {DTM_GETMCCOLOR, DTM_SETMCCOLOR, MCSC_TEXT, COLOR_WINDOWTEXT},
    {DTM_GETMCCOLOR, DTM_SETMCCOLOR, MCSC_TITLEBK, COLOR_HIGHLIGHT},
    {DTM_GETMCCOLOR, DTM_SETMCCOLOR, MCSC_TITLETEXT, COLOR_HIGHLIGHTTEXT},
    {DTM_GETMCCOLOR, DTM_SETMCCOLOR, MCSC_TRAILINGTEXT, COLOR_GRAYTEXT}};

struct TKind {
  const wchar_t* className;
  std::span<const TPart> parts;
};
const TKind kKinds[] = {{WC_LISTVIEWW, kListViewParts},
                        {WC_TREEVIEWW, kTreeViewParts},
                        {DATETIMEPICK_CLASSW, kDatePickerParts},
                        {WC_COMBOBOXEXW, {}}};
// The kind that is subclassed instead of given colours.
constexpr int kRelayKind = 3;
static_assert(std::size(kDatePickerParts) <= TCommonControlColours::kMostParts);

int KindOf(HWND wnd) {
  wchar_t name[64]{};
  GetClassNameW(wnd, name, static_cast<int>(std::size(name)));
  for (int k = 0; k < static_cast<int>(std::size(kKinds)); ++k)
    if (lstrcmpiW(name, kKinds[k].className) == 0) return k;
  return -1;
}

void SetColours(HWND wnd, std::span<const TPart> parts, auto colourOf) {
  for (std::size_t i = 0; i < parts.size(); ++i)
    SendMessageW(wnd, parts[i].set, parts[i].which, static_cast<LPARAM>(colourOf(i)));
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
  palette_ = &palette;
  std::vector<HWND> descendants;
  EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&descendants));
  for (HWND wnd : descendants) {
    if (gui::TWinControl::FindControl(wnd)) continue;
    const int kind = KindOf(wnd);
    if (kind == kRelayKind) Relay(wnd);
    if (kind < 0 || kind == kRelayKind) continue;
    const std::span<const TPart> parts = kKinds[kind].parts;
    if (std::none_of(controls_.begin(), controls_.end(), [wnd](const TGiven& g) { return g.wnd == wnd; })) {
      TGiven g{wnd, kind, {}};
      for (std::size_t i = 0; i < parts.size(); ++i)
        g.had[i] = static_cast<COLORREF>(SendMessageW(wnd, parts[i].get, parts[i].which, 0));
      controls_.push_back(g);
    }
    SetColours(wnd, parts, [&](std::size_t i) { return palette.SysColor(parts[i].index); });
  }
}

void TCommonControlColours::Relay(HWND wnd) {
  for (const auto& relay : relays_)
    if (relay->Window() == wnd && relay->Attached()) return;
  auto relay = std::make_unique<gui::TWindowSubclass>();
  gui::TWindowSubclass& self = *relay;
  const bool attached = relay->Attach(wnd, [this, &self](UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    const LRESULT result = self.CallPrevious(msg, wParam, lParam);
    if (msg < WM_CTLCOLORMSGBOX || msg > WM_CTLCOLORSTATIC || !palette_) return result;
    const auto brush = reinterpret_cast<HBRUSH>(result);
    if (brush && !gui::IsSystemColorBrush(brush)) return result;
    return palette_->CtlColors(msg, wParam, reinterpret_cast<HWND>(lParam));
  });
  if (attached) relays_.push_back(std::move(relay));
}

void TCommonControlColours::GiveBack() {
  for (const TGiven& g : controls_) {
    if (!IsWindow(g.wnd) || KindOf(g.wnd) != g.kind) continue;
    SetColours(g.wnd, kKinds[g.kind].parts, [&](std::size_t i) { return g.had[i]; });
  }
  Forget();
}

void TCommonControlColours::Forget() {
  controls_.clear();
  relays_.clear();
  palette_ = nullptr;
}

}  // namespace skin
