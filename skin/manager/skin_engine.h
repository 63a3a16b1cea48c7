// Wiring the skin engine into a program. Skin data components reach the one
// skin manager (which hooks the GUI thread's windows and skins them) only
// once the program has installed the engine; without it a component still
// reads its skin, but nothing is hooked and no window is skinned.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "skin/data/look_transitions.h"

namespace skin {

// Makes the skin manager the skin data components' coordinator. Call on the
// GUI thread before the first form with a skin data component is created.
// Installing twice changes nothing.
void InstallEngine();
// Frees the skin manager (every skinned window is given back first) and
// undoes InstallEngine.
void UninstallEngine();
bool EngineInstalled();

// Whether skinned parts of the calling thread fade between their looks as
// the skin's [Animation] says (on unless the program says no; off under
// high contrast and while the system's client-area animation is off,
// whatever is said here), and how much slower than the skin says.
void SetTransitionOptions(const TTransitionOptions& options);
TTransitionOptions TransitionOptions();

// For a program that is not built on the framework (the SDK), what it
// asks of the installed engine; each does nothing without it.
// The calling thread's visible top-level windows skinned now, each as its
// activation would skin it.
void SkinThreadWindows();
// Every window (or one) given back its own look, its skinner freed, as
// skin-off does.
void UnskinEveryWindow();
void UnskinWindow(HWND wnd);
// The windows skinned now.
std::vector<HWND> SkinnedWindows();
// A call of the thread's CBT hook handed to the engine by a hook of the
// program's own (a guest engine started inside one); true when the engine
// answered it (`answer`), false when it is to be passed on.
bool PassHookCall(int code, WPARAM wParam, LPARAM lParam, LRESULT& answer);

// What a program that watches its own resources (the gallery, benchmarks)
// reads of the engine: its skinners, and whether a request still waits for
// the action timer.
struct TSkinnerCounts {
  long long Forms = 0;     // skinned windows
  long long Controls = 0;  // control skinners of those windows
  long long Menus = 0;     // skinned popup menus open now
};
TSkinnerCounts SkinnerCounts();
// Each control skinner as "Class@WindowClass" ("-" for a windowless control).
std::vector<std::string> ControlSkinnerNames();
bool RequestPending();

// The engine installed for a scope: a program's start-up makes one before its
// application object, so that the manager outlives every form.
class TSkinEngine {
 public:
  TSkinEngine() { InstallEngine(); }
  ~TSkinEngine() { UninstallEngine(); }
  TSkinEngine(const TSkinEngine&) = delete;
  TSkinEngine& operator=(const TSkinEngine&) = delete;
};

}  // namespace skin
