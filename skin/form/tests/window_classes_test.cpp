// The class table: the skinner a child window of a window of no framework
// form gets by class (any letter case) and style, superclasses known by the
// system class they are, classes of no line left to their program with
// their scroll bars skinned, and the table itself consistent.
#include "skin/form/window_classes.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gui/text.h"
#include "skin/form/skinner_registry.h"

namespace {

using skin::DecideChildWindow;
using K = skin::TSkinnerKind;

TEST(WindowClasses, EachClassAndStyleGetsItsSkinner) {
  // Each class with the styles (and extended styles) it is tried with, and
  // the skinner each gets; the class in any letter case.
  struct Case {
    const wchar_t* cls;
    DWORD style, exStyle;
    K kind;
  };
  const std::vector<Case> cases = {
      {L"Button", BS_PUSHBUTTON, 0, K::Button},
      {L"BUTTON", BS_AUTORADIOBUTTON, 0, K::RadioButton},
      {L"button", BS_GROUPBOX, 0, K::GroupBox},
      {L"Button", BS_OWNERDRAW, 0, K::None},
      {L"Static", SS_LEFT, 0, K::None},
      {L"Static", SS_ETCHEDHORZ, 0, K::StaticFrame},
      {L"static", SS_BLACKFRAME, 0, K::StaticFrame},
      {L"Static", SS_LEFT | SS_SUNKEN, 0, K::StaticFrame},
      {L"Static", SS_LEFT, WS_EX_STATICEDGE, K::StaticFrame},
      {L"Static", SS_OWNERDRAW | SS_SUNKEN, 0, K::None},
      {L"Static", SS_ICON, 0, K::None},
      {L"Edit", ES_AUTOHSCROLL, 0, K::Edit},
      {L"Edit", ES_MULTILINE | WS_VSCROLL, 0, K::Scrollbar},
      {L"ListBox", WS_VSCROLL | LBS_OWNERDRAWFIXED, 0, K::Scrollbar},
      {L"ListBox", 0, 0, K::None},
      {L"ComboBox", CBS_DROPDOWNLIST, 0, K::ComBox},
      {L"ComboBox", CBS_SIMPLE, 0, K::ComBox},
      {L"ComboLBox", WS_VSCROLL, 0, K::Scrollbar},
      {L"ScrollBar", SBS_SIZEGRIP, 0, K::Sizer},
      {L"ScrollBar", SBS_SIZEBOX, 0, K::Sizer},
      {L"ScrollBar", SBS_VERT, 0, K::ScControl},
      {L"#32770", WS_CHILD | DS_CONTROL, 0, K::ColourRelay},
      {L"SysListView32", LVS_REPORT, 0, K::ListView},
      {L"SysTreeView32", 0, 0, K::Scrollbar},
      {L"SysHeader32", 0, 0, K::Header},
      {L"SysTabControl32", 0, 0, K::Tab},
      {L"SysTabControl32", TCS_OWNERDRAWFIXED, 0, K::None},
      {L"msctls_trackbar32", TBS_VERT, 0, K::TrackBar},
      {L"msctls_updown32", UDS_HORZ, 0, K::UpDown},
      {L"msctls_progress32", PBS_SMOOTH, 0, K::Progress},
      {L"msctls_statusbar32", SBARS_SIZEGRIP, 0, K::StatusBar},
      {L"SysLink", 0, 0, K::Link},
      {L"msctls_hotkey32", 0, 0, K::Field},
      {L"SysIPAddress32", 0, 0, K::Field},
      {L"SysMonthCal32", 0, 0, K::Calendar},
      {L"SysDateTimePick32", DTS_UPDOWN, 0, K::Edit},
      {L"SysDateTimePick32", 0, 0, K::ComBox},
      {L"ToolbarWindow32", TBSTYLE_FLAT, 0, K::ToolBar},
      {L"ReBarWindow32", 0, 0, K::Rebar},
      {L"ComboBoxEx32", CBS_DROPDOWN, 0, K::ColourRelay},
      {L"richedit20w", WS_VSCROLL, 0, K::RichEdit},
      {L"MDIClient", WS_VSCROLL, 0, K::None},
      {L"tooltips_class32", 0, 0, K::None},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecideChildWindow(c.cls, c.style, c.exStyle).Kind, c.kind)
        << gui::WideToUtf8(c.cls) << " " << std::hex << c.style << " " << c.exStyle;
}

TEST(WindowClasses, ContainersAreWalkedAndControlsKeepTheirParts) {
  // Pages, tool bars, rebars, a ComboBoxEx32 and tab controls hold controls
  // of their own; a combo box's edit and list, a list view's header, an IP
  // address's fields are parts of the control.
  for (const wchar_t* container : {L"#32770", L"ToolbarWindow32", L"ReBarWindow32", L"ComboBoxEx32", L"SysTabControl32"})
    EXPECT_TRUE(DecideChildWindow(container, 0).WalkChildren) << gui::WideToUtf8(container);
  for (const wchar_t* control : {L"ComboBox", L"SysListView32", L"SysIPAddress32", L"SysDateTimePick32", L"Edit"})
    EXPECT_FALSE(DecideChildWindow(control, 0).WalkChildren) << gui::WideToUtf8(control);
}

TEST(WindowClasses, ASuperclassIsTheClassItSuperclasses) {
  // A program's "NotesEdit" made from the system's edit class: the system
  // names the class it is.
  EXPECT_EQ(DecideChildWindow(L"NotesEdit", ES_AUTOHSCROLL, 0, L"Edit").Kind, K::Edit);
  EXPECT_EQ(DecideChildWindow(L"NotesList", WS_VSCROLL, 0, L"ListBox").Kind, K::Scrollbar);
  // Its own name first: a line for the name itself decides.
  EXPECT_EQ(DecideChildWindow(L"Button", BS_PUSHBUTTON, 0, L"Edit").Kind, K::Button);
}

TEST(WindowClasses, AClassOfNoLineKeepsItsDrawingButNotTheSystemsScrollBars) {
  EXPECT_EQ(DecideChildWindow(L"NotesCanvas", 0).Kind, K::None);
  EXPECT_EQ(DecideChildWindow(L"NotesCanvas", WS_VSCROLL).Kind, K::Scrollbar);
  EXPECT_EQ(DecideChildWindow(L"NotesCanvas", WS_HSCROLL, 0, L"NotesCanvas").Kind, K::Scrollbar);
  // The controls a program's own panel holds are found.
  EXPECT_TRUE(DecideChildWindow(L"NotesPanel", 0).WalkChildren);
  EXPECT_EQ(skin::FindWindowClass(L"NotesPanel"), nullptr);
}

TEST(WindowClasses, TheTableListsEachClassOnceAndEveryMessageLineHasItsParts) {
  std::set<std::wstring> seen;
  for (const skin::TWindowClass& line : skin::WindowClasses()) {
    std::wstring lower = line.Name;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    EXPECT_TRUE(seen.insert(lower).second) << gui::WideToUtf8(line.Name);
    EXPECT_EQ(skin::FindWindowClass(line.Name), &line);
    // Every skinner a line can give is one the registry makes.
    for (DWORD style : {0ul, 0xFul, 0xFFFFul}) {
      if (const K kind = line.Skinner(style, 0); kind != K::None) {
        EXPECT_NE(skin::SkinnerEntry(kind).Create, nullptr) << gui::WideToUtf8(line.Name);
      }
    }
    // A line that leaves the class the system's says why.
    if (line.Colours == skin::TColourWay::None) {
      EXPECT_STRNE(line.Note, "") << gui::WideToUtf8(line.Name);
    }
  }
  for (const wchar_t* cls : {L"SysListView32", L"SysTreeView32", L"SysDateTimePick32", L"SysMonthCal32"}) {
    const skin::TWindowClass* line = skin::FindWindowClass(cls);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->Colours, skin::TColourWay::Messages);
    EXPECT_FALSE(line->Parts.empty()) << gui::WideToUtf8(cls);
  }
}

}  // namespace
