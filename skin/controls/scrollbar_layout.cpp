#include "skin/controls/scrollbar_layout.h"

#include <algorithm>

#include "skin/data/platform_version.h"
#include "skin/data/screen_scale.h"

namespace skin {

namespace {

// The shortest thumb a page gives, in the skin's pixels.
constexpr int kMinimumThumb = 8;

}  // namespace

TScrollPart PressedPartFor(WORD code, bool vertical) {
  switch (code) {
    case SB_LINEUP: return vertical ? spUpArrow : spLeftArrow;
    case SB_LINEDOWN: return vertical ? spDownArrow : spRightArrow;
    case SB_THUMBTRACK: return vertical ? spVertThumb : spHorzThumb;
    default: return spNone;
  }
}

TScrollBarsLayout LayoutScrollBars(const TScrollBarsInput& in) {
  TScrollBarsLayout l;
  l.HasHorz = (in.Style & WS_HSCROLL) != 0;
  l.HasVert = (in.Style & WS_VSCROLL) != 0;
  const int w = in.WindowWidth, h = in.WindowHeight, b = in.BarWidth;
  // The border is what the window has left over around its client area and
  // bars, the same on both sides.
  if (l.HasVert) {
    l.Edge = (w - in.ClientWidth - b) / 2;
  } else if (l.HasHorz) {
    l.Edge = (h - in.ClientHeight - b) / 2;
  } else {
    l.Edge = in.EdgeMetric;
  }
  const int e = l.Edge;
  l.Arrow = b;
  const bool left = (in.ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  if (l.HasVert) {
    const int bottom = l.HasHorz ? h - e - b : h - e;
    l.Vert = left ? RECT{e, e, e + b, bottom} : RECT{w - e - b, e, w - e, bottom};
  }
  if (l.HasHorz) {
    int from = e, to = w - e;
    // The corner square belongs to neither bar.
    if (l.HasVert && left) from += b;
    if (l.HasVert && !left) to -= b;
    l.Horz = RECT{from, h - e - b, to, h - e};
  }
  if (l.HasHorz && l.HasVert) l.Corner = RECT{l.Vert.left, l.Horz.top, l.Vert.right, l.Horz.bottom};
  return l;
}

int MinimumThumb(int arrow) { return IsWin9xPlatform() ? arrow / 2 : ScaleToScreen(kMinimumThumb); }

namespace {

// Thumb and offset as the system measures them (see the header).
void Measure(const TScrollRange& r, const TThumbSizes& s, TThumbMetrics& m) {
  const int positions = r.Max - r.Min + 1;
  const int track = s.BarLength - 2 * s.Arrow;
  int thumb = r.Page != 0 ? std::max(MulDiv(r.Page, track, positions), s.MinThumb) : s.SystemThumb;
  if (thumb >= track) thumb = track;
  int offset = 0;
  const int span = LastPosition(r) - r.Min;
  if (r.Page >= positions) {
    // One page is everything: the thumb a pixel short of the track, at its start.
    thumb -= 1;
  } else if (span > 0) {
    offset = std::clamp(MulDiv(r.Pos - r.Min, track - thumb, span), 0, std::max(track - thumb, 0));
  }
  m.Arrow = s.Arrow;
  m.Track = track;
  m.Thumb = thumb;
  m.Offset = offset;
}

}  // namespace

bool MeasureWindowThumb(const TScrollRange& r, const TThumbSizes& s, TThumbMetrics& m) {
  if (!CanScroll(r)) {
    m.Arrow = s.Arrow;
    m.Track = s.BarLength - 2 * s.Arrow;
    m.Thumb = 0;
    m.Offset = 0;
    return false;
  }
  Measure(r, s, m);
  return true;
}

bool MeasureControlThumb(const TScrollRange& r, const TThumbSizes& s, TThumbMetrics& m) {
  if (r.Max < r.Min) return false;
  Measure(r, s, m);
  return true;
}

int HitTestBar(int along, const TThumbMetrics& m) {
  if (along < m.Arrow) return SB_LINEUP;
  if (along < m.Arrow + m.Offset) return SB_PAGEUP;
  if (along < m.Arrow + m.Offset + m.Thumb) return SB_THUMBTRACK;
  if (along < m.Arrow + m.Track) return SB_PAGEDOWN;
  if (along < 2 * m.Arrow + m.Track) return SB_LINEDOWN;
  return kNoScrollHit;
}

int DragOffset(const TThumbMetrics& atPress, int delta) {
  return std::clamp(atPress.Offset + delta, 0, std::max(atPress.Track - atPress.Thumb, 0));
}

int DragPosition(const TScrollRange& r, const TThumbMetrics& m, int offset) {
  const int free = m.Track - m.Thumb;
  if (free <= 0) return r.Pos;
  const int last = std::max(LastPosition(r), r.Min);
  return std::clamp(r.Min + MulDiv(offset, last - r.Min, free), r.Min, last);
}

}  // namespace skin
