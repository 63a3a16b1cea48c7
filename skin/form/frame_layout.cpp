#include "skin/form/frame_layout.h"

#include <algorithm>

namespace skin {

namespace {

bool SameSize(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

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
  return visible;
}

TFrameLayout LayoutFrame(const TFrameInput& in) {
  TFrameLayout out;
  out.Buttons.resize(in.Buttons.size());
  out.Skinned = in.Kind != fkNone && !(in.Mdi == mkChild && in.Show != shNormal);
  if (!out.Skinned) return out;
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

SIZE WindowSizeForClient(const TFrameThickness& frame, int menuHeight, SIZE client) {
  return SIZE{client.cx + frame.Left + frame.Right, client.cy + frame.Top + frame.Bottom + menuHeight};
}

SIZE ClientSizeForWindow(const TFrameThickness& frame, int menuHeight, SIZE window) {
  return SIZE{window.cx - frame.Left - frame.Right, window.cy - frame.Top - frame.Bottom - menuHeight};
}

bool operator==(const TFrameThickness& a, const TFrameThickness& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

bool operator==(const TCaptionButtonSpec& a, const TCaptionButtonSpec& b) {
  return a.Action == b.Action && a.Align == b.Align && a.XCoord == b.XCoord && a.YCoord == b.YCoord &&
         a.Visibility == b.Visibility && a.Visibility1 == b.Visibility1 && SameSize(a.Size, b.Size);
}

bool operator==(const TCaptionTextSpec& a, const TCaptionTextSpec& b) {
  return SameSize(a.Measured, b.Measured) && a.Alignment == b.Alignment && a.Shift == b.Shift &&
         a.ShiftVert == b.ShiftVert && a.RightClip == b.RightClip && a.BackLeft == b.BackLeft &&
         a.BackRight == b.BackRight && a.ButtonGap == b.ButtonGap;
}

bool operator==(const TFrameInput& a, const TFrameInput& b) {
  return SameSize(a.Window, b.Window) && a.Style == b.Style && a.Show == b.Show && a.Mdi == b.Mdi &&
         a.Kind == b.Kind && a.Active == b.Active && a.RightToLeft == b.RightToLeft &&
         a.MdiChildMaximized == b.MdiChildMaximized && a.WindowButtons == b.WindowButtons && a.Frame == b.Frame &&
         a.MenuHeight == b.MenuHeight && a.MenuRowHeight == b.MenuRowHeight && a.MenuBarMargin == b.MenuBarMargin && a.Caption == b.Caption &&
         a.Buttons == b.Buttons;
}

}  // namespace skin
