#include "gui/timer.h"

#include <unordered_map>

#include "gui/controls.h"
#include "gui/fault_guard.h"

namespace gui {

namespace {
// A thread's timers tick on that thread. Never destroyed: timers owned by
// objects freed at program exit still look themselves up here.
std::unordered_map<UINT_PTR, TTimer*>& RunningTimers() {
  thread_local auto* timers = new std::unordered_map<UINT_PTR, TTimer*>;
  return *timers;
}
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) { Start(); }

TTimer::~TTimer() { Stop(); }

long TTimer::LiveCount() { return static_cast<long>(RunningTimers().size()); }

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled_) {
    Start();
  } else {
    Stop();
  }
}

void TTimer::SetInterval(UINT interval) {
  if (interval == interval_) return;
  interval_ = interval;
  if (id_) {
    Stop();
    Start();
  }
}

void TTimer::Start() {
  if (id_ || !enabled_ || interval_ == 0) return;
  id_ = SetTimer(nullptr, 0, interval_, &TTimer::TimerProc);
  if (id_) RunningTimers()[id_] = this;
}

void TTimer::Stop() {
  if (!id_) return;
  KillTimer(nullptr, id_);
  RunningTimers().erase(id_);
  id_ = 0;
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = RunningTimers().find(id);
  if (it == RunningTimers().end()) return;
  TTimer* timer = it->second;
  const TFailure failure = Guarded([timer] {
    if (timer->OnTimer) timer->OnTimer(timer);
  });
  if (failure.Failed()) ReportFailure(failure.What);
}

}  // namespace gui
