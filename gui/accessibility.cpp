#include "gui/accessibility.h"

#include <array>
#include <cwctype>

namespace gui {

namespace {

// The accessibility clients' list of system classes, in its order; the query
// is answered with 65536 + the position. Gaps hold classes of old systems.
constexpr std::array<std::wstring_view, 32> kKnownClasses = {
    L"ListBox",           L"#32768",           L"Button",           L"Static",
    L"Edit",              L"ComboBox",         L"#32770",           L"#32771",
    L"MDIClient",         L"#32769",           L"ScrollBar",        L"msctls_statusbar32",
    L"ToolbarWindow32",   L"msctls_progress32", L"SysAnimate32",    L"SysTabControl32",
    L"msctls_hotkey32",   L"SysHeader32",      L"msctls_trackbar32", L"SysListView32",
    L"OpenListView",      L"msctls_updown",    L"msctls_updown32",  L"tooltips_class",
    L"tooltips_class32",  L"SysTreeView32",    L"SysMonthCal32",    L"SysDateTimePick32",
    L"RICHEDIT",          L"RichEdit20A",      L"RichEdit20W",      L"SysIPAddress32",
};

constexpr LRESULT kFirstClassIndex = 65536;

// Window class names compare without regard to case.
bool SameClassName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

}  // namespace

LRESULT AccessibleClassIndex(std::wstring_view systemClass) {
  for (std::size_t i = 0; i < kKnownClasses.size(); ++i)
    if (SameClassName(kKnownClasses[i], systemClass)) return kFirstClassIndex + static_cast<LRESULT>(i);
  return 0;
}

}  // namespace gui
