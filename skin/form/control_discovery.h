// Control discovery: which control skinner each control of a skinned window
// gets. A framework form is walked through its components by an ordered chain
// of tests (class, switched-on control kinds, the user mapping table and the
// application's own event); a window without one (a message box, a dialog
// box) through its child windows by window class and style.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "gui/classes.h"

namespace skin {

class TWinSkinForm;

// What discovery decided for one component: the rule of the chain that
// matched (1 to 33), or why it stopped before the chain (negative), and the
// skinner class the match calls for. Kinds whose skinners do not exist yet
// are decided all the same; they just get no skinner.
struct TSkinDecision {
  enum TPreCheck { pcNone = 0, pcDisabledTag = -1, pcAlreadySkinned = -2, pcNoHandle = -3, pcEvent = -4,
                   pcExcluded = -5 };
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
// The Skin3rd table: true when a line maps the class (whatever follows).
bool SkinByMapping(TWinSkinForm& form, const std::string& upperClassName, gui::TComponent* component,
                   TSkinDecision& decision);
bool IsAlreadySkinned(const TWinSkinForm& form, gui::TComponent* component);
bool HasScrollBars(gui::TComponent* component);

// Gives every direct child window of the form skinner's window its skinner.
void SkinChildWindows(TWinSkinForm& form);
// The skinner class a child window was given (empty: none, or its attach
// failed).
std::string SkinChildWindow(TWinSkinForm& form, HWND wnd);
// The skinner class a "button" child window of the given style gets (empty: none).
std::string ButtonSkinnerForStyle(DWORD style);

// Tool-bar button custom drawing: the frame for a custom-draw state set
// (selected 1, grayed 2, disabled 4, checked 8, focused 16, default 32,
// hot 64), or 0 when nothing is drawn.
int ToolbarButtonFrame(unsigned state);
// Draws a tool button's face from the skin's button strip; the text colour
// of the canvas follows the frame. Answers the frame drawn (0: none).
int ToolbarDrawButton(TWinSkinForm& form, HDC dc, const RECT& bounds, unsigned state);

}  // namespace skin
