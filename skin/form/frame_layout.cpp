#include "skin/form/frame_layout.h"

#include <algorithm>

namespace skin {

namespace {

bool IsAlways(std::int32_t v) { return v >= bvAlwaysFirst && v <= bvAlwaysLast; }

bool RuleA(const TFrameInput& in, const TCaptionButtonSpec& b) {
  const bool maximised = in.Show == shMaximized;
  switch (b.Visibility) {
    case bvSizingFrame: return in.Kind != fkOther && (b.Action != caClose || (in.WindowButtons & wbSystemMenu));
    case bvMaximized: return maximised;
    case bvNotMaximized: return !maximised;
    case bvActive: return in.Active;
    case bvInactive: return !in.Active;
    case bvMaximizeBox: return (in.WindowButtons & wbMaximize) && (in.WindowButtons & wbSystemMenu);
    case bvNoMaximizeBox: return !(in.WindowButtons & wbMaximize);
    case bvMinimizeBox: return (in.WindowButtons & wbMinimize) && (in.WindowButtons & wbSystemMenu);
    case bvNoMinimizeBox: return !(in.WindowButtons & wbMinimize);
    case bvMdiChildMaximized: return in.Mdi == mkFrame && in.MdiChildMaximized && in.MenuHeight > 0;
    default: return IsAlways(b.Visibility);
  }
}

bool RuleB(const TFrameInput& in, const TCaptionButtonSpec& b, bool ruleA) {
  const bool maximised = in.Show == shMaximized;
  switch (b.Visibility1) {
    case bvAlways1: return true;
    case bvMaximized: return maximised;
    case bvNotMaximized: return !maximised;
    case bvActive: return in.Active;
    case bvInactive: return !in.Active;
    case bvMaximizeBox: return in.WindowButtons & wbMaximize;
    case bvNoMaximizeBox: return !(in.WindowButtons & wbMaximize);
    case bvMinimizeBox: return in.WindowButtons & wbMinimize;
    case bvNoMinimizeBox: return !(in.WindowButtons & wbMinimize);
    case bvMdiChildMaximized: return ruleA;
    default: return IsAlways(b.Visibility1);
  }
}

// The caption text's rectangle in the band: measured, widened by the text
// background's end pieces, placed by the alignment and limited on the
// right (a popup's reaches up to the buttons, any other stops at the
// right clip).
RECT PlaceCaption(const TFrameInput& in, const RECT& band, int rightButtonsLeft) {
  const TCaptionTextSpec& c = in.Caption;
  RECT text{band.left, band.top, band.left + c.Measured.cx + c.BackLeft + c.BackRight, band.top + c.Measured.cy};
  const int textWidth = text.right - text.left, textHeight = text.bottom - text.top;
  const int bandWidth = band.right - band.left, bandHeight = band.bottom - band.top;
  int dx = 0;
  switch (in.RightToLeft ? 2 : c.Alignment) {
    case 0: dx = c.Shift; break;
    case 1: dx = (bandWidth - textWidth) / 2; break;
    case 2: dx = bandWidth - c.RightClip - textWidth; break;
    default: break;
  }
  const int dy = (bandHeight - textHeight) / 2 + c.ShiftVert / 2;
  OffsetRect(&text, dx, dy);
  if (in.Style & WS_POPUP) {
    if (text.right < rightButtonsLeft - c.ButtonGap) text.right = rightButtonsLeft - c.ButtonGap;
  } else if (text.right > band.right - c.RightClip) {
    text.right = band.right - c.RightClip;
  }
  return text;
}

}  // namespace

bool CaptionButtonVisible(const TFrameInput& in, const TCaptionButtonSpec& button) {
  const bool a = RuleA(in, button);
  bool visible = a && RuleB(in, button, a);
  if ((button.Action == caMaximize && !(in.WindowButtons & wbMaximize)) ||
      (button.Action == caMinimize && !(in.WindowButtons & wbMinimize)))
    visible = false;
  // No icon where the system's caption shows none.
  if (ShowsWindowIcon(button.Action) && !in.ShowsIcon) visible = false;
  return visible;
}

TFrameLayout LayoutFrame(const TFrameInput& in) {
  TFrameLayout out;
  out.Buttons.resize(in.Buttons.size());
  out.Skinned = in.Kind != fkNone && !(in.Mdi == mkChild && in.Show != shNormal);
  if (!out.Skinned) return out;
  out.Sizing = (in.Style & WS_THICKFRAME) && in.Show == shNormal;
  const int w = in.Window.cx, h = in.Window.cy;
  const TFrameThickness& f = in.Frame;
  out.Left = RECT{0, 0, f.Left, h};
  out.Right = RECT{w - f.Right, 0, w, h};
  out.Bottom = RECT{f.Left, h - f.Bottom, w - f.Right, h};
  out.Title = RECT{0, 0, w, f.Top};
  out.TitleBand = RECT{f.Left, 0, w - f.Right, f.Top};
  out.MenuBand = RECT{f.Left, f.Top, w - f.Right, f.Top + in.MenuHeight};
  out.Client = RECT{f.Left, f.Top + in.MenuHeight, w - f.Right, h - f.Bottom};

  // Buttons counted from the right edge first: a popup's caption reaches
  // up to them.
  for (std::size_t i = 0; i < in.Buttons.size(); ++i) {
    const TCaptionButtonSpec& b = in.Buttons[i];
    out.Buttons[i].Visible = CaptionButtonVisible(in, b);
    if (out.Buttons[i].Visible && b.Size.cx > 0 && b.Align == alFromRight)
      out.RightButtonsLeft = std::max<int>(out.RightButtonsLeft, w - b.XCoord);
  }
  out.CaptionText = PlaceCaption(in, out.TitleBand, out.RightButtonsLeft);

  for (std::size_t i = 0; i < in.Buttons.size(); ++i) {
    const TCaptionButtonSpec& b = in.Buttons[i];
    TCaptionButtonPlace& place = out.Buttons[i];
    if (!place.Visible || b.Size.cx <= 0) continue;
    POINT at{0, 0};
    switch (b.Align) {
      case alFromLeft: at = POINT{b.XCoord, b.YCoord}; break;
      case alFromRight: at = POINT{w - b.XCoord, b.YCoord}; break;
      case alBeforeCaption:
      case alBeforeCaption2: at = POINT{out.CaptionText.left - b.Size.cx - b.XCoord, b.YCoord}; break;
      case alAfterCaption:
      case alAfterCaption2: at = POINT{out.CaptionText.right + b.XCoord, b.YCoord}; break;
      case alMenuBar: {
        // The first row of a bar that wraps.
        const int row = in.MenuRowHeight > 0 ? std::min(in.MenuRowHeight, in.MenuHeight) : in.MenuHeight;
        at.y = f.Top + (row - b.Size.cy) / 2;
        at.x = in.RightToLeft ? f.Left + b.XCoord + in.MenuBarMargin : w - b.XCoord - f.Right - in.MenuBarMargin;
        break;
      }
      default: break;
    }
    place.Bounds = RECT{at.x, at.y, at.x + b.Size.cx, at.y + b.Size.cy};
  }
  return out;
}

int FrameHitTest(const TFrameInput& in, const TFrameLayout& layout, POINT p, int topEdge, int corner) {
  if (!layout.Skinned) return HTNOWHERE;
  // The first button under the point; one without a code of its own (the
  // icon, a maximised MDI child's) is the band it stands in.
  for (std::size_t i = 0; i < layout.Buttons.size(); ++i) {
    const TCaptionButtonPlace& place = layout.Buttons[i];
    const std::int32_t action = in.Buttons[i].Action;
    if (!place.Visible || action < 0 || !PtInRect(&place.Bounds, p)) continue;
    if (action == caClose) return HTCLOSE;
    if (action == caMinimize) return HTMINBUTTON;
    if (action == caMaximize || action == caMaximize2) return HTMAXBUTTON;
    break;
  }
  if (PtInRect(&layout.Title, p)) return p.y > topEdge ? HTCAPTION : HTNOWHERE;
  if (PtInRect(&layout.MenuBand, p)) return HTMENU;
  if (PtInRect(&layout.Client, p)) return HTCLIENT;
  const bool bottom = PtInRect(&layout.Bottom, p);
  const bool left = PtInRect(&layout.Left, p), right = PtInRect(&layout.Right, p);
  if (!bottom && !left && !right) return HTNOWHERE;
  if (!layout.Sizing) return HTBORDER;
  const int w = in.Window.cx, h = in.Window.cy;
  const bool lowCorner = p.y >= h - std::max(corner, in.Frame.Bottom);
  if (left) return lowCorner ? HTBOTTOMLEFT : HTLEFT;
  if (right) return lowCorner ? HTBOTTOMRIGHT : HTRIGHT;
  if (p.x < std::max(corner, in.Frame.Left)) return HTBOTTOMLEFT;
  if (p.x >= w - std::max(corner, in.Frame.Right)) return HTBOTTOMRIGHT;
  return HTBOTTOM;
}

SIZE WindowSizeForClient(const TFrameThickness& frame, int menuHeight, SIZE client) {
  return SIZE{client.cx + frame.Left + frame.Right, client.cy + frame.Top + frame.Bottom + menuHeight};
}

SIZE ClientSizeForWindow(const TFrameThickness& frame, int menuHeight, SIZE window) {
  return SIZE{window.cx - frame.Left - frame.Right, window.cy - frame.Top - frame.Bottom - menuHeight};
}

}  // namespace skin
