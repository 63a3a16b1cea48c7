// The geometry of a skinned frame, as one pure function of the window's
// size, style, state, the skin's frame thicknesses and its caption buttons:
// border pieces, title band, caption text, caption buttons with their
// visibility, menu band and client area. Calculating the client area,
// hit testing, painting, shaping the region, fitting the frame at attach and
// giving the size back at detach all read it, so they never disagree, and
// none of it depends on the last paint. Also the codes the frame works with,
// by name, and what a frame must give a window whatever the skin says.
// Portable (win32_geometry.h): its fuzz target runs on the host.
#pragma once
#include "skin/form/win32_geometry.h"

#include <cstdint>
#include <vector>

namespace skin {

// What kind of multiple-document window a skinned window is.
enum TMdiKind : std::uint8_t { mkNone = 0, mkFrame = 1, mkChild = 2 };

enum TShowState : std::uint8_t { shNormal = 0, shMaximized = 1, shMinimized = 2 };

// Which frame the skin draws: a sizing or edged frame, none at all (a popup
// without a full caption keeps the system's), or any other frame.
enum TFrameKind : std::uint8_t { fkSizing = 0, fkNone = 2, fkOther = 3 };

// The window's buttons, as a set.
enum TWindowButton : std::uint8_t { wbMaximize = 1, wbMinimize = 2, wbSystemMenu = 8, wbCaptionRemoved = 16 };

// A caption button's Action: what a click on it does. The second names of a
// kind are aliases the skin format allows.
enum TCaptionAction : std::int32_t {
  caClose = 0, caMaximize = 1, caMinimize = 2,
  caSystemMenu = 3,  // shows the window icon
  caMdiMinimize = 7, caMdiRestore = 8, caMdiClose = 9,  // a maximised MDI child's
  caIcon = 11,  // shows the window icon
  caSystemMenu2 = 12, caMaximize2 = 22, caMinimize2 = 23,
  caMdiMinimize2 = 60, caMdiRestore2 = 61, caMdiClose2 = 62,
};

// What a caption button is, whichever of the format's numbers the skin gave
// its Action: the one meaning that hit testing, the click, the title bar's
// accessible parts, the button's visibility and its picture all read.
enum class TCaptionRole : std::uint8_t {
  Decoration,   // a negative Action: drawn, never clicked
  Close,        // closes the window; hit-tests as the close box
  Maximize,     // maximises or restores; hit-tests as the maximise box
  Minimize,     // minimises or restores; hit-tests as the minimise box
  SystemMenu,   // opens the window menu, with its own picture
  WindowIcon,   // opens the window menu, showing the window's icon
  MdiMinimize,  // a maximised MDI child's three, acting on the active child
  MdiRestore,
  MdiClose,
  Custom,       // any other number: the window hears of the click
};
TCaptionRole CaptionRoleOf(std::int32_t action);
// The code WM_NCHITTEST answers over the button, or HTCAPTION for a button
// that has none of its own (the band it stands in).
int CaptionHitCode(TCaptionRole role);
inline bool ShowsWindowIcon(std::int32_t action) { return CaptionRoleOf(action) == TCaptionRole::WindowIcon; }

// A caption button's Align: where it stands.
enum TCaptionAlign : std::int32_t {
  alFromLeft = 0,        // at (XCoord, YCoord)
  alFromRight = 1,       // XCoord from the window's right edge
  alBeforeCaption = 2,   // left of the caption text
  alAfterCaption = 3,    // right of the caption text
  alBeforeCaption2 = 8,
  alAfterCaption2 = 9,
  alMenuBar = 100,       // in the menu band (a maximised MDI child's buttons)
};

// A caption button's Visibility (rule A) and Visibility1 (rule B) values.
// Both must hold. Value 0 differs between the two: in rule A the button
// shows on sizing frames only (a close button also needs the system menu),
// in rule B it always shows; 100 in rule B repeats rule A's answer.
enum TButtonVisibility : std::int32_t {
  bvSizingFrame = 0, bvAlways1 = 0,            // rule A's and rule B's reading of 0
  bvMaximized = 1, bvNotMaximized = 2,         // the window's show state
  bvActive = 3, bvInactive = 4,                // its activation
  bvMaximizeBox = 6, bvNoMaximizeBox = 7,      // its buttons
  bvMinimizeBox = 8, bvNoMinimizeBox = 9,
  bvMdiChildMaximized = 100,                   // rule A: the MDI buttons; rule B: as rule A
  bvAlwaysFirst = 200, bvAlwaysLast = 2000,    // shown always: the range
};

// SIZE compares by its two fields (what the defaulted comparisons below use).
inline bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }

struct TFrameThickness {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // Top: the whole title band
  bool operator==(const TFrameThickness&) const = default;
};

struct TCaptionButtonSpec {
  std::int32_t Action = 0, Align = 0, XCoord = 0, YCoord = 0, Visibility = 0, Visibility1 = 0;
  SIZE Size{};  // one frame of its picture; empty without a picture
  bool operator==(const TCaptionButtonSpec&) const = default;
};

// The caption text as the title element lays it out.
struct TCaptionTextSpec {
  SIZE Measured{};  // the caption, a blank and the prefix in the caption font
  int Alignment = 0;  // 0 after the shift, 1 centred, 2 before the right clip
  int Shift = 0, ShiftVert = 0, RightClip = 0;
  int BackLeft = 0, BackRight = 0;  // the text background's end pieces
  int ButtonGap = 5;  // a popup's caption stops this far before its buttons
  bool operator==(const TCaptionTextSpec&) const = default;
};

// What the form skinner knows of its window, kept there once: read at
// attach and followed as the window changes, and the first part of what the
// frame is laid out from.
struct TWindowFacts {
  DWORD Style = 0;
  TShowState Show = shNormal;
  TMdiKind Mdi = mkNone;
  TFrameKind Kind = fkSizing;
  bool Active = true;
  // Reads right to left (WS_EX_LEFTSCROLLBAR): the caption and the menu
  // bar's far-end buttons change sides.
  bool RightToLeft = false;
  // Mirrored (WS_EX_LAYOUTRTL): the whole frame is laid out as in any
  // window and shown reflected, as the system shows its own frame there.
  bool Mirrored = false;
  std::uint8_t WindowButtons = 0;
  // The system's caption shows an icon: the window has its system menu and
  // an icon (a dialog box with the modal frame shows none of its own).
  bool ShowsIcon = true;
  TFrameThickness Frame;
  int MenuHeight = 0;  // the whole band, every row of the bar
  // Whether the layout runs from its right end: a window that reads right
  // to left unmirrored (a mirrored one already starts at the right).
  bool LaysOutFromRight() const { return RightToLeft && !Mirrored; }
  bool operator==(const TWindowFacts&) const = default;
};

// The window's facts, its size and what the skin and the caption add.
struct TFrameInput : TWindowFacts {
  SIZE Window{};
  bool MdiChildMaximized = false;  // an MDI frame whose active child is maximised
  int MenuRowHeight = 0;  // one row of the menu band (0: one row)
  int MenuBarMargin = 0;  // the menu-bar element's left margin
  TCaptionTextSpec Caption;
  std::vector<TCaptionButtonSpec> Buttons;
  // Equal inputs give equal layouts (what the frame's caches are keyed on).
  bool operator==(const TFrameInput&) const = default;
};

struct TCaptionButtonPlace {
  bool Visible = false;
  RECT Bounds{};  // meaningful only when visible
};

// Everything in window coordinates (origin at the window's top-left
// corner), and in a mirrored window in the coordinates its window DC has:
// x counted from the window's right edge (ShownRect, LayoutPoint).
struct TFrameLayout {
  // False when the system's frame stays: a popup without a full caption,
  // or an MDI child out of the normal state.
  bool Skinned = false;
  // The borders size the window (a sizing frame, not maximised).
  bool Sizing = false;
  RECT Left{}, Right{}, Bottom{};  // the side pieces run the full height
  RECT Title{};                    // the whole title band, corners included
  RECT TitleBand{};                // the part of it the top piece covers
  RECT MenuBand{};
  RECT Client{};
  RECT CaptionText{};    // where the caption and its background go
  int RightButtonsLeft = 0;  // the largest left edge of the right-aligned buttons
  std::vector<TCaptionButtonPlace> Buttons;  // one per input button, in order
};

TFrameLayout LayoutFrame(const TFrameInput& in);

// A rectangle of a mirrored window's layout where the window shows it
// (reflected across the window's width), and a point of the window where
// its layout has it; unchanged in any other window. Rectangles reflect
// whole, points by pixel, as the window DC maps them.
RECT ShownRect(const TFrameInput& in, const RECT& r);
POINT LayoutPoint(const TFrameInput& in, POINT shown);

// What a point (window coordinates, as the layout has them) of a skinned
// frame is, as WM_NCHITTEST answers, for what the system's own answer left:
// HTNOWHERE. The sides are named as the screen shows them: in a mirrored
// window the layout's left border answers HTRIGHT. Early returns
// in the order the system's non-client code tests: a caption button that
// has a code of its own (close, minimise, maximise), the title band below
// its top edge (`topEdge` pixels, the system's sizing or border band), the
// menu band, the client, then the borders: sizing codes on a sizing frame
// (the corners `corner` pixels long), HTBORDER on any other. `Button` is
// the caption button under the point (its index in the layout), or -1, so
// that tracking a press finds the button the hit test found.
struct TFrameHit {
  int Code = HTNOWHERE;
  int Button = -1;
};
TFrameHit FrameHit(const TFrameInput& in, const TFrameLayout& layout, POINT p, int topEdge, int corner);
inline int FrameHitTest(const TFrameInput& in, const TFrameLayout& layout, POINT p, int topEdge, int corner) {
  return FrameHit(in, layout, p, topEdge, corner).Code;
}

// Rule A and rule B of one caption button.
bool CaptionButtonVisible(const TFrameInput& in, const TCaptionButtonSpec& button);

// One state frame of a picture of `frames` frames (fewer than 1 count as 1)
// side by side, or stacked: a caption button's size, or (its width for the
// side pieces, its height for the top and bottom ones) a border's thickness.
SIZE OneFrame(SIZE picture, std::int32_t frames, bool stacked = false);

// What a skinned frame must give its window, whatever the skin says: a size
// that leaves the screen room for the window, a caption to move it by,
// borders that size it where its style sizes it, and the caption buttons
// its style gives it (close with a window menu, minimise, maximise), in
// every state the window can be in (active or not, normal or maximised).
// The first of these the frame cannot give, or fsNone.
enum TFrameShortfall : std::uint8_t {
  fsNone,
  fsTooLarge,
  fsNoCaption,
  fsNoSizingBorder,
  fsNoCloseBox,
  fsNoMinimizeBox,
  fsNoMaximizeBox,
};
// `topEdge` as for FrameHitTest; `screen` the work area the window lives in.
TFrameShortfall FrameShortfall(const TFrameInput& in, int topEdge, SIZE screen);
// What the frame lacks, as a sentence's end: "has no close box".
const char* FrameShortfallText(TFrameShortfall shortfall);

// The window size that gives the client size inside the skin frame, and the
// other way round.
SIZE WindowSizeForClient(const TFrameThickness& frame, int menuHeight, SIZE client);
SIZE ClientSizeForWindow(const TFrameThickness& frame, int menuHeight, SIZE window);

}  // namespace skin
