// What accessibility clients learn about a framework control. A client such
// as a screen reader tells the system's controls apart by their window class,
// and ours carry their own class names over the system classes they extend;
// when a client cannot place a class by name it asks the window which system
// class it is (WM_GETOBJECT with OBJID_QUERYCLASSNAMEIDX), and the framework's
// controls answer with the class they extend, so they keep its role, name and
// states.
#pragma once
#include <windows.h>

#include <string_view>

namespace gui {

// The answer to the class-name query for a system window class: 65536 plus
// the class's place in the clients' list of known classes; 0 for a class
// the list does not know (the client then treats the window as a plain one).
LRESULT AccessibleClassIndex(std::wstring_view systemClass);

// Whether WM_GETOBJECT's object id asks for the class-name index. The id is
// a 32-bit value that reaches a 64-bit program sign-extended or not.
inline bool IsClassNameQuery(LPARAM objectId) { return static_cast<LONG>(objectId) == OBJID_QUERYCLASSNAMEIDX; }

}  // namespace gui
