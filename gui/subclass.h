// Taking over the window procedure of a window we do not own, and giving it
// back. The engine's state lives in a lookup table keyed by window handle,
// never in the window's own slots. Detaching puts the saved procedure back
// only while ours is still the one installed; when another layer has put
// itself on top since, our procedure stays in the chain as a pass-through
// until the window is destroyed, and a later Attach takes it over again.
// A handler that fails (an exception, or a hardware fault where those are
// contained, gui/fault_guard.h) only passes messages on from then on: the
// message goes on to the window's own procedure (unless the handler had
// passed it on already) and gui::WindowFailed hears of it.
// Each thread keeps its own table: a window is subclassed and given back
// only on the thread that owns it.
#pragma once
#include <windows.h>

#include <functional>

namespace gui {

class TWindowSubclass {
 public:
  // Receives every message while attached; CallPrevious passes it on.
  using THandler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

  TWindowSubclass() = default;
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;
  ~TWindowSubclass() { Detach(); }

  // False when the window does not exist, belongs to another thread, or has
  // a layer of ours attached already.
  bool Attach(HWND wnd, THandler handler);
  void Detach();
  bool Attached() const { return record_ != nullptr; }
  HWND Window() const { return wnd_; }
  // The procedure that was installed before the last Attach; kept after
  // Detach, so a message being handled while detaching still reaches it.
  WNDPROC SavedProc() const { return saved_; }
  // CallWindowProcW with the saved procedure.
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;

  // Windows of this thread subclassed by the engine right now,
  // pass-throughs included.
  static long LiveCount();
  struct Record;

 private:
  friend struct Record;
  HWND wnd_ = nullptr;
  WNDPROC saved_ = nullptr;
  Record* record_ = nullptr;
};

}  // namespace gui
