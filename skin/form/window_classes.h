// The window classes of the system's standard and common controls, one line
// each, as discovery meets them in a window of no framework form (a plain
// program's dialog or main window, a system dialog, a message box): the
// skinner a window of the class gets for its style, how it takes the skin's
// colours, whether its children are discovered too, and what it is left,
// and why. A class not in the table is left as its program draws it; only
// its window scroll bars, which the system draws, are the skin's. Class names
// compare without regard to case; a superclass of a system control under a
// name of its own is known by the class the system says it is
// (RealGetWindowClass).
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "skin/form/skinner_registry.h"

namespace skin {

// How a class takes the skin's colours.
enum class TColourWay : std::uint8_t {
  // It asks its parent with WM_CTLCOLOR*: the skinned window, or the dialog
  // page it sits on, answers from the skin's palette.
  Asks,
  // Through messages of its own (Parts): given, and exactly what it had
  // given back when the skin comes off.
  Messages,
  // Its children ask it for theirs: its skinner answers them as the skinned
  // window answers its own.
  Relays,
  // It draws in the system's colours whatever it is told: its skinner draws
  // it, or recolours what it draws.
  Drawn,
  // Left as the system draws it (the line's Note says why).
  None,
};

// One colour a control takes through its own messages: how it is read and
// set, the part a message names, and the COLOR_ index the system gives it.
struct TColourPart {
  UINT Get, Set;
  WPARAM Which;
  int Index;
};
// No line has more parts (the build checks).
inline constexpr std::size_t kMostColourParts = 6;

struct TWindowClass {
  const wchar_t* Name = L"";  // as the system registers it
  // The skinner a window of the class and style gets; None for none.
  TSkinnerKind (*Skinner)(DWORD style, DWORD exStyle) = nullptr;
  TColourWay Colours = TColourWay::None;
  std::span<const TColourPart> Parts = {};  // for Messages
  // Its children are controls of their own, discovered as well (a dialog
  // page's, a tool bar's combo box); otherwise they are parts of the control,
  // which its skinner looks after.
  bool WalkChildren = false;
  // Drawn without visual styles while skinned: the theme's pictures for the
  // parts its skinner leaves to it take no colours.
  bool Classic = false;
  // What the system keeps drawing, and why; empty when nothing.
  const char* Note = "";
};

// Every line, in the order the architecture notes list them.
std::span<const TWindowClass> WindowClasses();
// The line of a class, by its name or, for a superclass, by the name of the
// system class it is (`realName`); nullptr for a class of no line.
const TWindowClass* FindWindowClass(std::wstring_view name, std::wstring_view realName = {});
const TWindowClass* FindWindowClass(HWND wnd);

// What discovery gives one child window of a window of no framework form.
struct TChildWindowDecision {
  TSkinnerKind Kind = TSkinnerKind::None;
  bool WalkChildren = false;
  bool Classic = false;
};
TChildWindowDecision DecideChildWindow(std::wstring_view className, DWORD style, DWORD exStyle = 0,
                                       std::wstring_view realName = {});

// The skinner a "button" window of the given style gets: by its type bits.
TSkinnerKind ButtonKindForStyle(DWORD style);

}  // namespace skin
