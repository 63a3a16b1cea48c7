// TCommonControlColours: the skin's colours handed to the common controls of
// a window of no framework form (a system dialog's list view, tree view or
// date picker), which take colours through messages of their own rather
// than WM_CTLCOLOR*, and exactly the colours each had given back. A
// ComboBoxEx32 answers its edit's and list's colour messages itself; it is
// subclassed to answer them from the skin, as the window does. Framework
// controls are left out: they follow the colour scheme themselves.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "gui/subclass.h"

namespace skin {

class TSkinPalette;

class TCommonControlColours {
 public:
  TCommonControlColours() = default;
  TCommonControlColours(const TCommonControlColours&) = delete;
  TCommonControlColours& operator=(const TCommonControlColours&) = delete;

  // Gives every such control among the window's descendants the palette's
  // colours, keeping what it had the first time it is given any.
  void Give(HWND window, const TSkinPalette& palette);
  // Every control still there gets back what it had; all are forgotten.
  void GiveBack();
  // Forgets them (they went with the window).
  void Forget();

  static constexpr int kMostParts = 6;

 private:
  struct TGiven {
    HWND wnd;
    int kind;
    COLORREF had[kMostParts];
  };
  std::vector<TGiven> controls_;
  std::vector<std::unique_ptr<gui::TWindowSubclass>> relays_;
  const TSkinPalette* palette_ = nullptr;
  void Relay(HWND wnd);
};

}  // namespace skin
