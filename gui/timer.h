// A window timer as a component: while enabled it calls OnTimer every
// Interval milliseconds from the message loop. It uses a thread timer with a
// callback, so it needs no window of its own.
#pragma once
#include <windows.h>

#include "gui/classes.h"

namespace gui {

class TTimer : public TComponent {
  GUI_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  UINT Interval() const { return interval_; }
  // Changing the interval of a running timer starts its period anew.
  void SetInterval(UINT interval);
  TNotifyEvent OnTimer;

  // Timers running right now in the process (GUI thread only).
  static long LiveCount();

 private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  void Start();
  void Stop();
  UINT_PTR id_ = 0;
  UINT interval_ = 1000;
  bool enabled_ = true;
};

}  // namespace gui
