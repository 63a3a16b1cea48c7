// The geometry of skinned scroll bars as pure functions: where a window's
// scroll bars lie for its size, client size and styles (vertical bar on
// either side), how long the thumb is and where it sits for a scroll range,
// what a point along a bar hits, and which position a dragged thumb stands
// for. Painting, the thumb drag and the tests all read these, so they never
// disagree. Also the scroll-bar parts the skinners name.
#pragma once
#include <windows.h>

#include <cstdint>

namespace skin {

// A part of a control's scroll bars that a press shows pressed.
enum TScrollPart : std::int32_t {
  spNone = 0,
  spLeftArrow = 1,
  spRightArrow = 2,
  spUpArrow = 3,
  spDownArrow = 4,
  spHorzThumb = 5,
  spVertThumb = 6,
};

// The part a scroll notification code shows pressed on a bar: the arrows
// and the thumb while it moves; anything else (normally SB_ENDSCROLL)
// clears it.
TScrollPart PressedPartFor(WORD code, bool vertical);

// What the window's bars are laid out from.
struct TScrollBarsInput {
  int WindowWidth = 0, WindowHeight = 0;
  int ClientWidth = 0, ClientHeight = 0;
  DWORD Style = 0;    // WS_HSCROLL and WS_VSCROLL say which bars there are
  DWORD ExStyle = 0;  // WS_EX_LEFTSCROLLBAR puts the vertical bar on the left
  int EdgeMetric = 0;  // SM_CXEDGE: the edge when no bar tells it
  int BarWidth = 0;    // SM_CXHSCROLL: bar thickness and arrow length
};

// Rectangles in window coordinates; a bar that is not there stays empty.
struct TScrollBarsLayout {
  bool HasHorz = false, HasVert = false;
  int Edge = 0;   // the window's border thickness on each side
  int Arrow = 0;  // the arrow length on both bars
  RECT Horz{}, Vert{};
  RECT Corner{};  // the square between two bars
};

TScrollBarsLayout LayoutScrollBars(const TScrollBarsInput& input);

// A bar's range as the system keeps it.
struct TScrollRange {
  int Min = 0, Max = 0, Page = 0, Pos = 0;
  bool operator==(const TScrollRange&) const = default;
};
inline TScrollRange RangeOf(const SCROLLINFO& info) {
  return TScrollRange{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
}
// The last position the system allows: a page ends at the maximum.
inline int LastPosition(const TScrollRange& r) { return r.Page != 0 ? r.Max - r.Page + 1 : r.Max; }
// Whether there is anything to scroll: the system hides or disables a
// window bar that has no position past its minimum.
inline bool CanScroll(const TScrollRange& r) { return LastPosition(r) > r.Min; }

// A bar's lengths along it, in pixels: arrow, track between the arrows,
// thumb, and the thumb's offset from the end of the first arrow.
struct TThumbMetrics {
  int Arrow = 0;
  int Track = 0;
  int Thumb = 0;
  int Offset = 0;
  DWORD StyleBit = 0;  // WS_HSCROLL or WS_VSCROLL: which bar
};

// The sizes a thumb is measured with.
struct TThumbSizes {
  int BarLength = 0;
  int Arrow = 0;        // SM_CXHSCROLL
  int MinThumb = 0;     // the shortest thumb a page gives (MinimumThumb)
  int SystemThumb = 0;  // SM_CXHTHUMB: the thumb of a bar without a page
};

// The shortest thumb a page gives on this platform: half an arrow on
// Windows 9x, 8 pixels elsewhere.
int MinimumThumb(int arrow);

// Both kinds of bar are measured as the system measures them: the page
// against max - min + 1, the count of positions, and the track the thumb
// leaves free spread over min .. LastPosition, so that the thumb stands
// where the system's hit testing and the skin's own drag expect it.
// Window scroll bars: a bar with nothing to scroll has no thumb (Thumb 0),
// and the answer is false.
bool MeasureWindowThumb(const TScrollRange& range, const TThumbSizes& sizes, TThumbMetrics& metrics);
// The stand-alone scroll-bar control: a page of everything is the whole
// track less a pixel. False, and the metrics untouched, when max is below min.
bool MeasureControlThumb(const TScrollRange& range, const TThumbSizes& sizes, TThumbMetrics& metrics);

// Each arrow's length on a bar `barLength` long: the arrow size, or half the
// bar when two arrows do not fit.
inline int ArrowLength(int barLength, int arrow) { return barLength < 2 * arrow ? barLength / 2 : arrow; }

// What a point `along` pixels from the bar's start hits: SB_LINEUP,
// SB_PAGEUP, SB_THUMBTRACK, SB_PAGEDOWN, SB_LINEDOWN, or kNoScrollHit
// past the bar's end.
constexpr int kNoScrollHit = -1;
int HitTestBar(int along, const TThumbMetrics& metrics);

// The thumb dragged `delta` pixels from where it stood at the press, kept
// on the track.
int DragOffset(const TThumbMetrics& atPress, int delta);
// The position a dragged thumb at `offset` stands for: the track's free
// length maps onto min .. LastPosition. A thumb that fills the track cannot
// move and keeps the position.
int DragPosition(const TScrollRange& range, const TThumbMetrics& metrics, int offset);

}  // namespace skin
