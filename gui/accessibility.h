// What accessibility clients learn about a framework control. A client such
// as a screen reader tells the system's controls apart by their window class,
// and ours carry their own class names over the system classes they extend;
// when a client cannot place a class by name it asks the window which system
// class it is (WM_GETOBJECT with OBJID_QUERYCLASSNAMEIDX), and the framework's
// controls answer with the class they extend, so they keep its role, name and
// states. A window whose caption is drawn by another layer (the system's
// caption styles taken off) hands out a title-bar object of its own, with
// the system's roles and names for its buttons.
#pragma once
#include <windows.h>

#include <array>
#include <string>
#include <string_view>

namespace gui {

// The answer to the class-name query for a system window class: 65536 plus
// the class's place in the clients' list of known classes; 0 for a class
// the list does not know (the client then treats the window as a plain one).
LRESULT AccessibleClassIndex(std::wstring_view systemClass);

// Whether WM_GETOBJECT's object id asks for the class-name index. The id is
// a 32-bit value that reaches a 64-bit program sign-extended or not.
inline bool IsClassNameQuery(LPARAM objectId) { return static_cast<LONG>(objectId) == OBJID_QUERYCLASSNAMEIDX; }

// The title bar's parts by the system's child ids.
enum TTitleBarPart : int {
  tpTitleBar = 0,
  tpImeButton = 1,
  tpMinimizeButton = 2,
  tpMaximizeButton = 3,  // "Restore" while the window is maximised
  tpHelpButton = 4,
  tpCloseButton = 5,
};
constexpr int kTitleBarParts = 6;

// What the title bar shows at the moment it is asked for; screen coordinates.
struct TTitleBarFacts {
  HWND Window = nullptr;
  std::wstring Caption;
  RECT Bounds{};
  bool Maximized = false;
  struct TButton {
    bool Shown = false;
    bool Pressed = false;
    RECT Bounds{};
  };
  std::array<TButton, kTitleBarParts> Buttons{};  // index by TTitleBarPart; [0] unused
};

// The answer to WM_GETOBJECT for OBJID_TITLEBAR: an accessible object for
// the title bar as the facts describe it (roles, names and default actions
// as the system's own title bar gives them; pressing a button posts the
// window its system command).
LRESULT AnswerTitleBarObject(const TTitleBarFacts& facts, WPARAM wParam);

// How many title-bar objects are alive (clients still hold them).
int LiveTitleBarObjects();

}  // namespace gui
