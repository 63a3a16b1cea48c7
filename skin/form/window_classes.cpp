#include "skin/form/window_classes.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cwctype>

#include "skin/controls/skin_recolour.h"

namespace skin {

namespace {

constexpr DWORD kScrollBars = WS_HSCROLL | WS_VSCROLL;

using K = TSkinnerKind;

template <K Kind>
K Always(DWORD, DWORD) {
  return Kind;
}
K Nothing(DWORD, DWORD) { return K::None; }

K ButtonKind(DWORD style, DWORD) { return ButtonKindForStyle(style); }

// A static text, icon or picture takes the answered colours and is left
// as it draws; frames, rectangles, etched lines and edges are the skin's.
K StaticKind(DWORD style, DWORD exStyle) {
  if ((style & SS_TYPEMASK) == SS_OWNERDRAW) return K::None;
  if (TSkinStaticFrame::DrawsFrame(style) || (style & SS_SUNKEN) || (exStyle & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE)))
    return K::StaticFrame;
  return K::None;
}

// A multi-line edit with scroll bars is a scrolling control; a one-line
// field gets the flat border (and the spin buttons inside it).
K EditKind(DWORD style, DWORD) { return (style & kScrollBars) ? K::Scrollbar : K::Edit; }

// The bars and the sunken edge; the items, owner-drawn or not, are the
// list's own.
K ListBoxKind(DWORD style, DWORD exStyle) {
  return ((style & kScrollBars) || (exStyle & WS_EX_CLIENTEDGE)) ? K::Scrollbar : K::None;
}

// A size grip is drawn from the skin's grip; a real scroll bar as a
// skinned bar rather than blanked out.
K ScrollBarKind(DWORD style, DWORD) { return (style & (SBS_SIZEGRIP | SBS_SIZEBOX)) ? K::Sizer : K::ScControl; }

// An owner-drawn tab control draws its own tabs.
K TabKind(DWORD style, DWORD) { return (style & TCS_OWNERDRAWFIXED) ? K::None : K::Tab; }

// A picker showing a time has up-down buttons inside its field, one showing
// a date a drop-down button.
K DatePickerKind(DWORD style, DWORD) { return (style & DTS_UPDOWN) ? K::Edit : K::ComBox; }

constexpr TColourPart kListViewParts[] = {{LVM_GETBKCOLOR, LVM_SETBKCOLOR, 0, COLOR_WINDOW},
                                          {LVM_GETTEXTBKCOLOR, LVM_SETTEXTBKCOLOR, 0, COLOR_WINDOW},
                                          {LVM_GETTEXTCOLOR, LVM_SETTEXTCOLOR, 0, COLOR_WINDOWTEXT}};
// A tree view answers -1 (or CLR_DEFAULT for its lines) for the system's
// colours, and takes them back.
constexpr TColourPart kTreeViewParts[] = {{TVM_GETBKCOLOR, TVM_SETBKCOLOR, 0, COLOR_WINDOW},
                                          {TVM_GETTEXTCOLOR, TVM_SETTEXTCOLOR, 0, COLOR_WINDOWTEXT},
                                          {TVM_GETLINECOLOR, TVM_SETLINECOLOR, 0, COLOR_GRAYTEXT}};
// A calendar's colours, the picker's drop-down one's and a month calendar's,
// through the messages of either.
template <UINT Get, UINT Set>
constexpr std::array<TColourPart, 6> CalendarParts() {
  return {{{Get, Set, MCSC_BACKGROUND, COLOR_WINDOW},
           {Get, Set, MCSC_MONTHBK, COLOR_WINDOW},
           {Get, Set, MCSC_TEXT, COLOR_WINDOWTEXT},
           {Get, Set, MCSC_TITLEBK, COLOR_HIGHLIGHT},
           {Get, Set, MCSC_TITLETEXT, COLOR_HIGHLIGHTTEXT},
           {Get, Set, MCSC_TRAILINGTEXT, COLOR_GRAYTEXT}}};
}
constexpr auto kDatePickerParts = CalendarParts<DTM_GETMCCOLOR, DTM_SETMCCOLOR>();
constexpr auto kMonthCalendarParts = CalendarParts<MCM_GETCOLOR, MCM_SETCOLOR>();

constexpr TColourWay Asks = TColourWay::Asks, Messages = TColourWay::Messages, Relays = TColourWay::Relays,
                     Drawn = TColourWay::Drawn, NoColours = TColourWay::None;

// The table. Names as the system registers them.
constexpr TWindowClass kWindowClasses[] = {
    {.Name = L"Button", .Skinner = &ButtonKind, .Colours = Asks,
     .Note = "owner-drawn buttons, split buttons and command links draw themselves"},
    {.Name = L"Static", .Skinner = &StaticKind, .Colours = Asks,
     .Note = "texts, icons and pictures are drawn by the control in the answered colours; owner-drawn ones by the "
             "program"},
    {.Name = L"Edit", .Skinner = &EditKind, .Colours = Asks, .Classic = true},
    {.Name = L"ListBox", .Skinner = &ListBoxKind, .Colours = Asks, .Classic = true,
     .Note = "owner-drawn items are the program's to draw"},
    {.Name = L"ComboBox", .Skinner = &Always<K::ComBox>, .Colours = Asks, .Classic = true,
     .Note = "owner-drawn items are the program's to draw"},
    // A combo box's list: a drop-down list is a window of its own, reached
    // through its combo box's skinner; a simple combo box's is its child.
    {.Name = L"ComboLBox", .Skinner = &Always<K::Scrollbar>, .Colours = Asks, .Classic = true},
    {.Name = L"ScrollBar", .Skinner = &ScrollBarKind, .Colours = Asks},
    // A dialog inside a window: property-sheet and wizard pages, tab pages,
    // a common dialog's template.
    // Its background is the skin's face, not the tab texture a property
    // sheet's page is given under visual styles.
    {.Name = L"#32770", .Skinner = &Always<K::ColourRelay>, .Colours = Relays, .WalkChildren = true,
     .Classic = true},
    {.Name = L"MDIClient", .Skinner = &Nothing, .Colours = NoColours,
     .Note = "taken over by its frame's form skinner; its children are windows of their own"},
    {.Name = WC_LISTVIEWW, .Skinner = &Always<K::ListView>, .Colours = Messages, .Parts = kListViewParts,
     .Classic = true, .Note = "selected rows keep the system's selection colours"},
    {.Name = WC_TREEVIEWW, .Skinner = &Always<K::Scrollbar>, .Colours = Messages, .Parts = kTreeViewParts,
     .Classic = true},
    {.Name = WC_HEADERW, .Skinner = &Always<K::Header>, .Colours = Drawn,
     .Note = "owner-drawn items are drawn by the program, on the skin's piece"},
    {.Name = WC_TABCONTROLW, .Skinner = &TabKind, .Colours = Drawn, .WalkChildren = true,
     .Note = "owner-drawn tabs are the program's to draw"},
    {.Name = TRACKBAR_CLASSW, .Skinner = &Always<K::TrackBar>, .Colours = Drawn, .Classic = true,
     .Note = "tick marks keep the system's colour"},
    {.Name = UPDOWN_CLASSW, .Skinner = &Always<K::UpDown>, .Colours = Drawn},
    {.Name = PROGRESS_CLASSW, .Skinner = &Always<K::Progress>, .Colours = Drawn},
    {.Name = STATUSCLASSNAMEW, .Skinner = &Always<K::StatusBar>, .Colours = Drawn,
     .Note = "owner-drawn parts are the program's to draw"},
    {.Name = TOOLTIPS_CLASSW, .Skinner = &Nothing, .Colours = Messages,
     .Note = "top-level windows of their own, coloured by the manager as they are made"},
    {.Name = WC_LINK, .Skinner = &Always<K::Link>, .Colours = Drawn},
    {.Name = HOTKEY_CLASSW, .Skinner = &Always<K::Field>, .Colours = Drawn, .Classic = true},
    {.Name = WC_IPADDRESSW, .Skinner = &Always<K::Field>, .Colours = Drawn, .Classic = true},
    {.Name = MONTHCAL_CLASSW, .Skinner = &Always<K::Calendar>, .Colours = Messages, .Parts = kMonthCalendarParts,
     .Classic = true},
    {.Name = DATETIMEPICK_CLASSW, .Skinner = &DatePickerKind, .Colours = Messages, .Parts = kDatePickerParts,
     .Classic = true},
    {.Name = TOOLBARCLASSNAMEW, .Skinner = &Always<K::ToolBar>, .Colours = Drawn, .WalkChildren = true,
     .Classic = true, .Note = "button images are the program's"},
    {.Name = REBARCLASSNAMEW, .Skinner = &Always<K::Rebar>, .Colours = Drawn, .WalkChildren = true, .Classic = true,
     .Note = "band images are the program's"},
    {.Name = WC_COMBOBOXEXW, .Skinner = &Always<K::ColourRelay>, .Colours = Relays, .WalkChildren = true,
     .Note = "item images are the program's"},
    {.Name = L"RichEdit20W", .Skinner = &Always<K::RichEdit>, .Colours = Drawn, .Classic = true,
     .Note = "text of a colour of its own keeps it"},
    {.Name = L"RichEdit20A", .Skinner = &Always<K::RichEdit>, .Colours = Drawn, .Classic = true,
     .Note = "text of a colour of its own keeps it"},
    {.Name = L"RICHEDIT50W", .Skinner = &Always<K::RichEdit>, .Colours = Drawn, .Classic = true,
     .Note = "text of a colour of its own keeps it"},
    {.Name = L"SysPager", .Skinner = &Nothing, .Colours = NoColours, .WalkChildren = true,
     .Note = "its scroll buttons keep the system's look"},
    {.Name = ANIMATE_CLASSW, .Skinner = &Nothing, .Colours = NoColours, .Note = "plays the program's own pictures"},
    {.Name = L"NativeFontCtl", .Skinner = &Nothing, .Colours = NoColours, .Note = "never shown"},
};

constexpr bool PartsFit() {
  for (const TWindowClass& line : kWindowClasses)
    if (line.Parts.size() > kMostColourParts) return false;
  return true;
}
static_assert(PartsFit(), "a line has more colour parts than a control's record keeps");

bool SameName(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towlower(x) == std::towlower(y);
         });
}

const TWindowClass* FindByName(std::wstring_view name) {
  for (const TWindowClass& line : kWindowClasses)
    if (SameName(line.Name, name)) return &line;
  return nullptr;
}

}  // namespace

std::span<const TWindowClass> WindowClasses() { return kWindowClasses; }

const TWindowClass* FindWindowClass(std::wstring_view name, std::wstring_view realName) {
  if (const TWindowClass* line = FindByName(name)) return line;
  return realName.empty() ? nullptr : FindByName(realName);
}

const TWindowClass* FindWindowClass(HWND wnd) {
  wchar_t name[101]{}, real[101]{};
  if (!GetClassNameW(wnd, name, 101)) return nullptr;
  RealGetWindowClassW(wnd, real, 101);
  return FindWindowClass(name, real);
}

TSkinnerKind ButtonKindForStyle(DWORD style) {
  // The kind of a "button" window is its type bits alone; the other bits
  // (text alignment, multi-line, notify, push-like, ...) say nothing of it.
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return TSkinnerKind::Button;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return TSkinnerKind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return TSkinnerKind::RadioButton;
    case BS_GROUPBOX:
      return TSkinnerKind::GroupBox;
    default:
      // Buttons the skin has no look for: owner-drawn, split buttons and
      // command links keep their own drawing.
      return TSkinnerKind::None;
  }
}

TChildWindowDecision DecideChildWindow(std::wstring_view className, DWORD style, DWORD exStyle,
                                       std::wstring_view realName) {
  if (const TWindowClass* line = FindWindowClass(className, realName))
    return TChildWindowDecision{line->Skinner(style, exStyle), line->WalkChildren, line->Classic};
  // A class of no line is the program's to draw; the scroll bars the system
  // draws on it are the skin's, and controls inside it are found.
  return TChildWindowDecision{(style & kScrollBars) ? TSkinnerKind::Scrollbar : TSkinnerKind::None, true, false};
}

}  // namespace skin
