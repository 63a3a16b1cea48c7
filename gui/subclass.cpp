#include "gui/subclass.h"

#include <memory>
#include <unordered_map>

#include "gui/controls.h"

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

// Never destroyed: objects freed at program exit still detach through it.
std::unordered_map<HWND, std::unique_ptr<TWindowSubclass::Record>>& Records() {
  static auto* records = new std::unordered_map<HWND, std::unique_ptr<TWindowSubclass::Record>>;
  return *records;
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
    try {
      result = handler(msg, wParam, lParam);
    } catch (...) {
      HandleException(nullptr);
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
  if (record_ || !IsWindow(wnd) || Records().contains(wnd)) return false;
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
  if (!saved_) return DefWindowProcW(wnd_, msg, wParam, lParam);
  return CallWindowProcW(saved_, wnd_, msg, wParam, lParam);
}

long TWindowSubclass::LiveCount() { return static_cast<long>(Records().size()); }

}  // namespace gui
