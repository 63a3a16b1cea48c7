#include "gui/subclass.h"

#include <memory>
#include <unordered_map>

#include "gui/controls.h"
#include "gui/fault_guard.h"

namespace gui {

struct TWindowSubclass::Record {
  WNDPROC saved = nullptr;
  TWindowSubclass* owner = nullptr;  // nullptr: a pass-through left in the chain
  THandler handler;
  void Orphan() {
    if (owner) owner->record_ = nullptr;
    owner = nullptr;
  }
};

namespace {

LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Each thread keeps its own: a window is only ever touched from the thread
// that owns it. Never destroyed: objects freed at program exit still detach
// through it.
std::unordered_map<HWND, std::unique_ptr<TWindowSubclass::Record>>& Records() {
  thread_local auto* records = new std::unordered_map<HWND, std::unique_ptr<TWindowSubclass::Record>>;
  return *records;
}

// A message being handled by one of our layers, innermost first: whether
// the layer has passed it on to the procedure below it yet.
struct TDispatch {
  HWND wnd;
  bool previousCalled;
  TDispatch* outer;
};
thread_local TDispatch* t_dispatch = nullptr;

// A layer failed: from this message on it only passes messages through,
// so that the window is the system's and the program's again; its owner
// still detaches it as usual when the window is given back.
void SilenceFailedLayer(HWND wnd) {
  auto it = Records().find(wnd);
  if (it != Records().end()) it->second->handler = nullptr;
}

LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto it = Records().find(wnd);
  if (it == Records().end()) return DefWindowProcW(wnd, msg, wParam, lParam);
  TWindowSubclass::Record* record = it->second.get();
  const WNDPROC saved = record->saved;
  LRESULT result = 0;
  if (record->owner && record->handler) {
    // The handler may detach (and so free the record) while it runs.
    const TWindowSubclass::THandler handler = record->handler;
    TDispatch dispatch{wnd, false, t_dispatch};
    t_dispatch = &dispatch;
    const TFailure failure = Guarded([&] { result = handler(msg, wParam, lParam); });
    t_dispatch = dispatch.outer;
    if (failure.Failed()) {
      // The message still gets the window's own handling, once; whoever
      // answers for the window hears of the failure, once, since the
      // window no longer passes through the layer that failed.
      SilenceFailedLayer(wnd);
      if (!dispatch.previousCalled) result = CallWindowProcW(saved, wnd, msg, wParam, lParam);
      WindowFailed(wnd, failure.What);
    }
  } else {
    result = CallWindowProcW(saved, wnd, msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY) {
    // The window is gone: whatever is left of ours goes with it.
    auto left = Records().find(wnd);
    if (left != Records().end()) {
      left->second->Orphan();
      if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)) == &SubclassProc)
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(left->second->saved));
      Records().erase(left);
    }
  }
  return result;
}

}  // namespace

bool TWindowSubclass::Attach(HWND wnd, THandler handler) {
  if (record_ || !IsWindow(wnd) || GetWindowThreadProcessId(wnd, nullptr) != GetCurrentThreadId()) return false;
  if (auto it = Records().find(wnd); it != Records().end()) {
    Record* left = it->second.get();
    if (left->owner) return false;  // one layer of ours per window
    // A pass-through an earlier layer left in the chain (another layer sat
    // on top when it detached) takes the new handler, in its place.
    left->owner = this;
    left->handler = std::move(handler);
    wnd_ = wnd;
    saved_ = left->saved;
    record_ = left;
    return true;
  }
  auto record = std::make_unique<Record>();
  record->owner = this;
  record->handler = std::move(handler);
  record->saved = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  if (!record->saved) return false;
  wnd_ = wnd;
  saved_ = record->saved;
  record_ = record.get();
  Records()[wnd] = std::move(record);
  return true;
}

void TWindowSubclass::Detach() {
  if (!record_) return;
  auto it = Records().find(wnd_);
  record_ = nullptr;
  if (it == Records().end()) return;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd_, GWLP_WNDPROC)) == &SubclassProc) {
    SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second->saved));
    Records().erase(it);
  } else {
    it->second->owner = nullptr;
    it->second->handler = nullptr;
  }
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
  for (TDispatch* d = t_dispatch; d; d = d->outer) {
    if (d->wnd == wnd_) {
      d->previousCalled = true;
      break;
    }
  }
  if (!saved_) return DefWindowProcW(wnd_, msg, wParam, lParam);
  return CallWindowProcW(saved_, wnd_, msg, wParam, lParam);
}

long TWindowSubclass::LiveCount() { return static_cast<long>(Records().size()); }

}  // namespace gui
