#include "skin/form/frame_layout.h"

#include <algorithm>

namespace skin {

namespace {

// Every length is kept within what a window can measure, so that no sum the
// layout makes of a skin's numbers can overflow.
constexpr int kMaxLength = 32767;
int Length(int v) { return std::clamp(v, -kMaxLength, kMaxLength); }
int Extent(int v) { return std::clamp(v, 0, kMaxLength); }
SIZE Extent(SIZE s) { return SIZE{Extent(s.cx), Extent(s.cy)}; }

TFrameInput Bounded(const TFrameInput& given) {
  TFrameInput in = given;
  in.Window = Extent(in.Window);
  in.Frame = TFrameThickness{Extent(in.Frame.Left), Extent(in.Frame.Top), Extent(in.Frame.Right),
                             Extent(in.Frame.Bottom)};
  in.MenuHeight = Extent(in.MenuHeight);
  in.MenuRowHeight = Extent(in.MenuRowHeight);
  in.MenuBarMargin = Length(in.MenuBarMargin);
  TCaptionTextSpec& c = in.Caption;
  c.Measured = Extent(c.Measured);
  for (int* v : {&c.Shift, &c.ShiftVert, &c.RightClip, &c.BackLeft, &c.BackRight, &c.ButtonGap}) *v = Length(*v);
  for (TCaptionButtonSpec& b : in.Buttons) {
    b.XCoord = Length(b.XCoord);
    b.YCoord = Length(b.YCoord);
    b.Size = Extent(b.Size);
  }
  return in;
}

// A caption narrower than this is no handle to move a window by.
constexpr int kMinCaptionGrip = 4;

struct TActionMeaning {
  std::int32_t Action;
  TCaptionRole Role;
};

// Every number the format gives a meaning (docs/skin-format.md, "Action").
constexpr TActionMeaning kActionMeanings[] = {
    {caClose, TCaptionRole::Close},
    {caMaximize, TCaptionRole::Maximize},         {caMaximize2, TCaptionRole::Maximize},
    {caMinimize, TCaptionRole::Minimize},         {caMinimize2, TCaptionRole::Minimize},
    {caSystemMenu, TCaptionRole::WindowIcon},     {caIcon, TCaptionRole::WindowIcon},
    {caSystemMenu2, TCaptionRole::SystemMenu},
    {caMdiMinimize, TCaptionRole::MdiMinimize},   {caMdiMinimize2, TCaptionRole::MdiMinimize},
    {caMdiRestore, TCaptionRole::MdiRestore},     {caMdiRestore2, TCaptionRole::MdiRestore},
    {caMdiClose, TCaptionRole::MdiClose},         {caMdiClose2, TCaptionRole::MdiClose},
};

constexpr TCaptionRole RoleFromTable(std::int32_t action) {
  if (action < 0) return TCaptionRole::Decoration;
  for (const TActionMeaning& m : kActionMeanings)
    if (m.Action == action) return m.Role;
  return TCaptionRole::Custom;
}
static_assert(RoleFromTable(caMinimize2) == TCaptionRole::Minimize && RoleFromTable(-1) == TCaptionRole::Decoration &&
              RoleFromTable(5) == TCaptionRole::Custom);

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
// right (a popup's reaches up to its buttons, or to the band's end without
// any, and never beyond; any other stops at the right clip).
RECT PlaceCaption(const TFrameInput& in, const RECT& band, int rightButtonsLeft) {
  const TCaptionTextSpec& c = in.Caption;
  RECT text{band.left, band.top, band.left + c.Measured.cx + c.BackLeft + c.BackRight, band.top + c.Measured.cy};
  const int textWidth = text.right - text.left, textHeight = text.bottom - text.top;
  const int bandWidth = band.right - band.left, bandHeight = band.bottom - band.top;
  int dx = 0;
  switch (in.LaysOutFromRight() ? 2 : c.Alignment) {
    case 0: dx = c.Shift; break;
    case 1: dx = (bandWidth - textWidth) / 2; break;
    case 2: dx = bandWidth - c.RightClip - textWidth; break;
    default: break;
  }
  const int dy = (bandHeight - textHeight) / 2 + c.ShiftVert / 2;
  OffsetRect(&text, dx, dy);
  if (in.Style & WS_POPUP) {
    text.right = rightButtonsLeft > 0 ? rightButtonsLeft - c.ButtonGap : std::min(text.right, band.right);
  } else if (text.right > band.right - c.RightClip) {
    text.right = band.right - c.RightClip;
  }
  return text;
}

}  // namespace

TCaptionRole CaptionRoleOf(std::int32_t action) { return RoleFromTable(action); }

int CaptionHitCode(TCaptionRole role) {
  switch (role) {
    case TCaptionRole::Close: return HTCLOSE;
    case TCaptionRole::Maximize: return HTMAXBUTTON;
    case TCaptionRole::Minimize: return HTMINBUTTON;
    default: return HTCAPTION;
  }
}

bool CaptionButtonVisible(const TFrameInput& in, const TCaptionButtonSpec& button) {
  const bool a = RuleA(in, button);
  bool visible = a && RuleB(in, button, a);
  const TCaptionRole role = CaptionRoleOf(button.Action);
  if ((role == TCaptionRole::Maximize && !(in.WindowButtons & wbMaximize)) ||
      (role == TCaptionRole::Minimize && !(in.WindowButtons & wbMinimize)))
    visible = false;
  // No icon where the system's caption shows none.
  if (ShowsWindowIcon(button.Action) && !in.ShowsIcon) visible = false;
  return visible;
}

TFrameLayout LayoutFrame(const TFrameInput& given) {
  const TFrameInput in = Bounded(given);
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
        at.x = in.LaysOutFromRight() ? f.Left + b.XCoord + in.MenuBarMargin : w - b.XCoord - f.Right - in.MenuBarMargin;
        break;
      }
      default: break;
    }
    place.Bounds = RECT{at.x, at.y, at.x + b.Size.cx, at.y + b.Size.cy};
  }
  return out;
}

RECT ShownRect(const TFrameInput& in, const RECT& r) {
  if (!in.Mirrored) return r;
  const int w = Extent(in.Window.cx);
  return RECT{w - r.right, r.top, w - r.left, r.bottom};
}

POINT LayoutPoint(const TFrameInput& in, POINT shown) {
  if (!in.Mirrored) return shown;
  return POINT{Extent(in.Window.cx) - 1 - shown.x, shown.y};
}

namespace {

// The code of the side a mirrored window shows a border of the layout's on.
int ShownSide(int code) {
  switch (code) {
    case HTLEFT: return HTRIGHT;
    case HTRIGHT: return HTLEFT;
    case HTBOTTOMLEFT: return HTBOTTOMRIGHT;
    case HTBOTTOMRIGHT: return HTBOTTOMLEFT;
    default: return code;
  }
}

int BandHitTest(const TFrameLayout& layout, POINT p, int topEdge, int corner) {
  if (PtInRect(&layout.Title, p)) return p.y > topEdge ? HTCAPTION : HTNOWHERE;
  if (PtInRect(&layout.MenuBand, p)) return HTMENU;
  if (PtInRect(&layout.Client, p)) return HTCLIENT;
  const bool bottom = PtInRect(&layout.Bottom, p);
  const bool left = PtInRect(&layout.Left, p), right = PtInRect(&layout.Right, p);
  if (!bottom && !left && !right) return HTNOWHERE;
  if (!layout.Sizing) return HTBORDER;
  // The layout's own rectangles hold the frame as it was bounded.
  const int w = layout.Right.right, h = layout.Left.bottom;
  const int frameLeft = layout.Left.right, frameRight = w - layout.Right.left, frameBottom = h - layout.Bottom.top;
  const bool lowCorner = p.y >= h - std::max(corner, frameBottom);
  if (left) return lowCorner ? HTBOTTOMLEFT : HTLEFT;
  if (right) return lowCorner ? HTBOTTOMRIGHT : HTRIGHT;
  if (p.x < std::max(corner, frameLeft)) return HTBOTTOMLEFT;
  if (p.x >= w - std::max(corner, frameRight)) return HTBOTTOMRIGHT;
  return HTBOTTOM;
}

TFrameHit LayoutHit(const TFrameInput& in, const TFrameLayout& layout, POINT p, int topEdge, int corner) {
  TFrameHit hit;
  if (!layout.Skinned) return hit;
  // The first button under the point; one without a code of its own (the
  // icon, a maximised MDI child's, a custom action) is the band it stands in.
  for (std::size_t i = 0; i < layout.Buttons.size() && i < in.Buttons.size(); ++i) {
    const TCaptionButtonPlace& place = layout.Buttons[i];
    const TCaptionRole role = CaptionRoleOf(in.Buttons[i].Action);
    if (!place.Visible || role == TCaptionRole::Decoration || !PtInRect(&place.Bounds, p)) continue;
    hit.Button = static_cast<int>(i);
    if (const int code = CaptionHitCode(role); code != HTCAPTION) {
      hit.Code = code;
      return hit;
    }
    break;
  }
  hit.Code = BandHitTest(layout, p, topEdge, corner);
  return hit;
}

int LayoutHitTest(const TFrameInput& in, const TFrameLayout& layout, POINT p, int topEdge, int corner) {
  return LayoutHit(in, layout, p, topEdge, corner).Code;
}

}  // namespace

TFrameHit FrameHit(const TFrameInput& in, const TFrameLayout& layout, POINT p, int topEdge, int corner) {
  TFrameHit hit = LayoutHit(in, layout, p, topEdge, corner);
  if (in.Mirrored) hit.Code = ShownSide(hit.Code);
  return hit;
}

SIZE OneFrame(SIZE picture, std::int32_t frames, bool stacked) {
  const LONG count = std::max<std::int32_t>(frames, 1);
  return stacked ? SIZE{picture.cx, picture.cy / count} : SIZE{picture.cx / count, picture.cy};
}

namespace {

// Whether some visible caption button answers hit tests with `code` at its
// middle, inside the window.
bool ShowsBox(const TFrameInput& in, const TFrameLayout& layout, int code, int topEdge) {
  for (std::size_t i = 0; i < layout.Buttons.size(); ++i) {
    const TCaptionButtonPlace& place = layout.Buttons[i];
    if (!place.Visible || in.Buttons[i].Size.cx <= 0 || in.Buttons[i].Size.cy <= 0) continue;
    const POINT middle{(place.Bounds.left + place.Bounds.right) / 2, (place.Bounds.top + place.Bounds.bottom) / 2};
    if (middle.x < 0 || middle.y < 0 || middle.x >= in.Window.cx || middle.y >= in.Window.cy) continue;
    if (LayoutHitTest(in, layout, middle, topEdge, 0) == code) return true;
  }
  return false;
}

// Whether a press there moves the window: the caption, where no button that
// takes clicks (the window icon among them) stands.
bool MovesWindow(const TFrameInput& in, const TFrameLayout& layout, POINT p, int topEdge) {
  if (LayoutHitTest(in, layout, p, topEdge, 0) != HTCAPTION) return false;
  for (std::size_t i = 0; i < layout.Buttons.size(); ++i)
    if (layout.Buttons[i].Visible && in.Buttons[i].Action >= 0 && PtInRect(&layout.Buttons[i].Bounds, p)) return false;
  return true;
}

TFrameShortfall StateShortfall(const TFrameInput& in, const TFrameLayout& layout, int topEdge) {
  // The caption: enough of the band's middle row that moves the window.
  const int row = (std::max(topEdge, 0) + in.Frame.Top) / 2;
  int grip = 0;
  if (row > topEdge)
    for (int x = layout.TitleBand.left; x < layout.TitleBand.right && grip < kMinCaptionGrip; ++x)
      grip += MovesWindow(in, layout, POINT{x, row}, topEdge);
  if (grip < kMinCaptionGrip) return fsNoCaption;
  if (layout.Sizing) {
    const int w = in.Window.cx, h = in.Window.cy, y = in.Frame.Top + (h - in.Frame.Top) / 2;
    const int left = LayoutHitTest(in, layout, POINT{0, y}, topEdge, 0);
    const int right = LayoutHitTest(in, layout, POINT{w - 1, y}, topEdge, 0);
    const int bottom = LayoutHitTest(in, layout, POINT{w / 2, h - 1}, topEdge, 0);
    if ((left != HTLEFT && left != HTBOTTOMLEFT) || (right != HTRIGHT && right != HTBOTTOMRIGHT) ||
        bottom != HTBOTTOM)
      return fsNoSizingBorder;
  }
  if ((in.WindowButtons & wbSystemMenu) && !ShowsBox(in, layout, HTCLOSE, topEdge)) return fsNoCloseBox;
  if ((in.WindowButtons & wbMinimize) && !ShowsBox(in, layout, HTMINBUTTON, topEdge)) return fsNoMinimizeBox;
  if ((in.WindowButtons & wbMaximize) && !ShowsBox(in, layout, HTMAXBUTTON, topEdge)) return fsNoMaximizeBox;
  return fsNone;
}

}  // namespace

TFrameShortfall FrameShortfall(const TFrameInput& given, int topEdge, SIZE screen) {
  const TFrameInput in = Bounded(given);
  if (!LayoutFrame(in).Skinned) return fsNone;
  const TFrameThickness& f = in.Frame;
  if (f.Left + f.Right > screen.cx / 2 || f.Top + f.Bottom + in.MenuHeight > screen.cy / 2) return fsTooLarge;
  for (const bool active : {true, false}) {
    for (const TShowState show : {shNormal, shMaximized}) {
      if (show == shMaximized && !(in.WindowButtons & wbMaximize)) continue;
      TFrameInput state = in;
      state.Active = active;
      state.Show = show;
      const TFrameLayout layout = LayoutFrame(state);
      if (!layout.Skinned) continue;
      if (const TFrameShortfall found = StateShortfall(state, layout, topEdge); found != fsNone) return found;
    }
  }
  return fsNone;
}

const char* FrameShortfallText(TFrameShortfall shortfall) {
  switch (shortfall) {
    case fsTooLarge: return "is larger than half the screen";
    case fsNoCaption: return "leaves no caption to move the window by";
    case fsNoSizingBorder: return "has no border to size the window by";
    case fsNoCloseBox: return "shows no close box";
    case fsNoMinimizeBox: return "shows no minimise box";
    case fsNoMaximizeBox: return "shows no maximise box";
    case fsNone: break;
  }
  return "";
}

SIZE WindowSizeForClient(const TFrameThickness& frame, int menuHeight, SIZE client) {
  return SIZE{client.cx + frame.Left + frame.Right, client.cy + frame.Top + frame.Bottom + menuHeight};
}

SIZE ClientSizeForWindow(const TFrameThickness& frame, int menuHeight, SIZE window) {
  return SIZE{window.cx - frame.Left - frame.Right, window.cy - frame.Top - frame.Bottom - menuHeight};
}

}  // namespace skin
