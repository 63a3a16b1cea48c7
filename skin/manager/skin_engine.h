// Wiring the skin engine into a program. Skin data components reach the one
// skin manager (which hooks the GUI thread's windows and skins them) only
// once the program has installed the engine; without it a component still
// reads its skin, but nothing is hooked and no window is skinned.
#pragma once
#include <windows.h>

#include <vector>

namespace skin {

// Makes the skin manager the skin data components' coordinator. Call on the
// GUI thread before the first form with a skin data component is created.
// Installing twice changes nothing.
void InstallEngine();
// Frees the skin manager (every skinned window is given back first) and
// undoes InstallEngine.
void UninstallEngine();
bool EngineInstalled();

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
