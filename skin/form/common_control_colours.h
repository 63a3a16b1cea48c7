// TCommonControlColours: the skin's colours handed to the common controls of
// a window of no framework form (a system dialog's list view, tree view,
// date picker or month calendar), which take colours through messages of
// their own rather than WM_CTLCOLOR* (the class table's Messages lines and
// their parts), and exactly the colours each had given back. Framework
// controls are left out: they follow the colour scheme themselves.
#pragma once
#include <windows.h>

#include <vector>

#include "skin/form/window_classes.h"

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

 private:
  struct TGiven {
    HWND wnd;
    const TWindowClass* kind;
    COLORREF had[kMostColourParts];
  };
  std::vector<TGiven> controls_;
};

}  // namespace skin
