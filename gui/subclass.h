// Taking over the window procedure of a window we do not own, and giving it
// back. The engine's state lives in a lookup table keyed by window handle,
// never in the window's own slots. Detaching puts the saved procedure back
// only while ours is still the one installed; when another layer has put
// itself on top since, our procedure stays in the chain as a pass-through
// until the window is destroyed.
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

  // False when the window does not exist or already has a subclass of ours.
  bool Attach(HWND wnd, THandler handler);
  void Detach();
  bool Attached() const { return record_ != nullptr; }
  HWND Window() const { return wnd_; }
  // The procedure that was installed before the last Attach; kept after
  // Detach, so a message being handled while detaching still reaches it.
  WNDPROC SavedProc() const { return saved_; }
  // CallWindowProcW with the saved procedure.
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;

  // Windows subclassed by the engine right now, pass-throughs included.
  static long LiveCount();
  struct Record;

 private:
  friend struct Record;
  HWND wnd_ = nullptr;
  WNDPROC saved_ = nullptr;
  Record* record_ = nullptr;
};

}  // namespace gui
