// Containing failures at the places where the system calls the engine
// (window procedures, hooks, timers), so that a failure inside the engine
// never ends the program it runs in. A C++ exception thrown out of a guarded
// call always ends that call; a hardware fault (an access violation and its
// kin) does too once ContainHardwareFaults has named the module whose code
// counts as the engine's: only an instruction of that module is the
// engine's fault, so a fault in the program's own code, or one the system
// expects and handles itself, takes its usual way.
//
// mingw-w64's GCC has no __try/__except; hardware faults are caught by a
// vectored exception handler that resumes the thread at the innermost
// guard, as a longjmp would (on i686 the thread's SEH chain is put back as
// it was at the guard). Destructors of the frames in between do not run:
// what they held is given up with the window the failure gave back.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <type_traits>

namespace gui {

// What a guarded call met; What is empty when nothing failed.
struct TFailure {
  std::wstring What;
  bool Failed() const { return !What.empty(); }
};

// Runs call(context) with its failures contained.
TFailure RunGuarded(void (*call)(void*), void* context);

template <class Call>
TFailure Guarded(Call&& call) {
  using TCall = std::remove_reference_t<Call>;
  return RunGuarded([](void* context) { (*static_cast<TCall*>(context))(); }, &call);
}

// From now on a hardware fault raised by an instruction of `module` inside a
// guarded call is contained. For a DLL of the engine: the code of a program
// linked with the engine statically is in the same module as the engine,
// and its faults are its own.
void ContainHardwareFaults(HMODULE module);
// The handler goes (before the module is unloaded).
void StopContainingHardwareFaults();

// Where a failure contained inside one of a window's layers goes: the skin
// manager gives the window back. Each thread has its own; without one the
// failure goes to the error report.
using TWindowFailureHandler = std::function<void(HWND wnd, const std::wstring& what)>;
void SetWindowFailureHandler(TWindowFailureHandler handler);
void WindowFailed(HWND wnd, const std::wstring& what);

// The message to the error report (HandleException's way), never throwing.
void ReportFailure(const std::wstring& message);

// A failure forced at a named place of the engine, for the tests that show
// containment: armed, the place's next passage on this thread throws (a C++
// exception) or writes through a null pointer (a hardware fault), once.
enum class TFaultSite { None, FramePaint, ControlPaint, CbtHook };
enum class TFaultKind { CxxException, AccessViolation };
void ArmFault(TFaultSite site, TFaultKind kind);
void FaultPoint(TFaultSite site);

}  // namespace gui
