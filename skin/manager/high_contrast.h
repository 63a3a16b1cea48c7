// High contrast: whether the system's high-contrast mode is on, asked
// through one replaceable query (tests put their own state in its place,
// since not every system lets a program switch the mode), and a hidden
// top-level window that hears the system's broadcasts saying the mode may
// have changed. The skin manager wears no skin while the mode is on.
#pragma once
#include <windows.h>

#include <functional>

#include "gui/hidden_window.h"

namespace skin {

using THighContrastQuery = std::function<bool()>;

// The system's answer: SPI_GETHIGHCONTRAST with HCF_HIGHCONTRASTON set.
bool SystemHighContrastOn();

// What the skin manager asks; SystemHighContrastOn until replaced.
bool HighContrastOn();
// Puts `query` in place and returns the one it replaces; an empty query
// puts the system's back.
THighContrastQuery SetHighContrastQuery(THighContrastQuery query);

// A hidden top-level window (broadcasts reach top-level windows only, never
// message-only ones) that calls `onChange` when the system announces a
// high-contrast change: WM_SETTINGCHANGE with SPI_SETHIGHCONTRAST, or
// WM_SYSCOLORCHANGE. It is called inside the broadcast, so it should only
// note the change. The window is made by Listen, not with the object, so
// that its owner can put off the cost until it has something to spare.
class THighContrastListener : public gui::THiddenWindow {
 public:
  explicit THighContrastListener(std::function<void()> onChange);
  // Makes the window unless it is made; true when it is made now.
  bool Listen();

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  std::function<void()> onChange_;
};

}  // namespace skin
