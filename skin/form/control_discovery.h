// Control discovery: which control skinner each control of a skinned window
// gets. A framework form is walked through its components by an ordered chain
// of tests (class, switched-on control kinds, the user mapping table and the
// application's own event); a window without one (a message box, a dialog
// box, a plain program's window) through its child windows, and theirs where
// the class table says so, by window class and style. The rules and the
// class table decide (discovery_rules, window_classes), the registry makes
// the skinner, and its one Attach takes the component or the window.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "gui/classes.h"
#include "skin/form/discovery_rules.h"
#include "skin/form/window_classes.h"

namespace skin {

class TWinSkinForm;

// What discovery did for one component: the rule of the chain that matched
// (1 to 33), or the pre-check that stopped it (a TPreCheck), the skinner
// class the match called for and whether one now stands attached.
struct TSkinDecision {
  int Rule = pcNone;
  std::string Skinner;  // empty: none
  bool Mapped = false;  // decided by the Skin3rd table (rule 2)
  bool Created = false;
};

// Told about every decision (tests and tracing).
using TDiscoveryObserver = std::function<void(gui::TComponent* component, const TSkinDecision& decision)>;
void SetDiscoveryObserver(TDiscoveryObserver observer);

// Gives every component the container owns the skinner it qualifies for.
void SkinComponents(TWinSkinForm& form, gui::TComponent* container);
TSkinDecision SkinComponent(TWinSkinForm& form, gui::TComponent* component, gui::TComponent* container);
bool IsAlreadySkinned(const TWinSkinForm& form, gui::TComponent* component);
bool HasScrollBars(gui::TComponent* component);

// Gives every child window of the form skinner's window its skinner, and
// the children of those whose class keeps controls of their own (dialog
// pages, tool bars, windows of classes of no line), skipping windows that
// have one already: called again, it skins only the windows made since.
void SkinChildWindows(TWinSkinForm& form);
// The skinner class a child window was given (empty: none, or its attach
// failed).
std::string SkinChildWindow(TWinSkinForm& form, HWND wnd);
// The skinner class a "button" child window of the given style gets (empty: none).
std::string ButtonSkinnerForStyle(DWORD style);

}  // namespace skin
