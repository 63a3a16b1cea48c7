#include "skin/controls/skin_ranges.h"

#include <algorithm>
#include <cstdint>

#include "gui/handles.h"
#include "skin/data/element_draw.h"
#include "skin/data/paint_guard.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_bitmap_ops.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_mirror.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_scratch.h"

namespace skin {

namespace {

DWORD StyleOf(HWND wnd) { return static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)); }

// ---------------------------------------------------------------------------
// The flat arrows drawn on up-down buttons when the skin has no picture for
// them, as offsets in design pixels from the button's centre.

struct TArrowSegment {
  POINT From, To;
};

constexpr TArrowSegment kUpArrow[] = {{{0, 0}, {0, -1}},  {{1, 1}, {4, 4}},  {{0, 1}, {3, 4}}, {{0, 2}, {2, 4}},
                                      {{-1, 1}, {-4, 4}}, {{0, 2}, {-3, 4}}, {{0, 1}, {-2, 4}}};
constexpr TArrowSegment kDownArrow[] = {{{0, 3}, {0, 4}},    {{1, 2}, {4, -1}},  {{0, 2}, {3, -1}}, {{0, 1}, {2, 0}},
                                        {{-1, 2}, {-4, -1}}, {{0, 2}, {-3, -1}}, {{0, 1}, {-2, 0}}};
constexpr POINT kLeftArrow[] = {{0, 0}, {1, 2}, {1, -2}, {-1, 0}, {1, 2}};
constexpr POINT kRightArrow[] = {{0, 0}, {-1, 2}, {-1, -2}, {1, 0}, {-1, 2}};

POINT ScaledFrom(POINT centre, POINT offset) {
  return POINT{centre.x + ScaleToScreen(offset.x), centre.y + ScaleToScreen(offset.y)};
}

}  // namespace

// ---------------------------------------------------------------------------
// TSkinTrackBar

bool TSkinTrackBar::BeforeMessage(gui::TMessage& m) {
  if (!HasSkin()) return TSkinControl::BeforeMessage(m);
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_NOTIFY:
    case gui::CN_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
      if (!header || header->code != static_cast<UINT>(NM_CUSTOMDRAW)) break;
      m.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(m.LParam));
      return false;
    }
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

bool TSkinTrackBar::ParentNotify(const NMHDR& header, LRESULT& result) {
  if (header.code != static_cast<UINT>(NM_CUSTOMDRAW)) return false;
  result = CustomDraw(reinterpret_cast<const NMCUSTOMDRAW&>(header));
  return true;
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& draw) {
  if (!HasSkin()) return CDRF_DODEFAULT;
  if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  switch (draw.dwItemSpec) {
    case TBCD_THUMB:
      PaintSwallowingFailures([&] { DrawThumb(draw.hdc); });
      return CDRF_SKIPDEFAULT;
    case TBCD_CHANNEL:
      PaintSwallowingFailures([&] { DrawChannel(draw.hdc, draw.rc); });
      return CDRF_SKIPDEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

// The channel as the system draws it (a sunken groove), in the skin's
// colours: its shadow around its window colour, a selection range in its
// selection colour.
void TSkinTrackBar::DrawChannel(HDC dc, const RECT& channel) {
  const TSkinPalette& palette = SkinData->Palette();
  FillRect(dc, &channel, palette.SysColorBrush(COLOR_WINDOW));
  FrameRect(dc, &channel, palette.SysColorBrush(COLOR_BTNSHADOW));
  if (!(StyleOf(Handle) & TBS_ENABLESELRANGE)) return;
  const auto start = SendMessageW(Handle, TBM_GETSELSTART, 0, 0), end = SendMessageW(Handle, TBM_GETSELEND, 0, 0);
  const auto min = SendMessageW(Handle, TBM_GETRANGEMIN, 0, 0), max = SendMessageW(Handle, TBM_GETRANGEMAX, 0, 0);
  if (end <= start || max <= min) return;
  RECT selection = channel;
  InflateRect(&selection, -1, -1);
  const bool vertical = (StyleOf(Handle) & TBS_VERT) != 0;
  const LONG from = vertical ? selection.top : selection.left, length = (vertical ? selection.bottom : selection.right) - from;
  const LONG a = from + static_cast<LONG>(MulDiv(static_cast<int>(start - min), length, static_cast<int>(max - min)));
  const LONG b = from + static_cast<LONG>(MulDiv(static_cast<int>(end - min), length, static_cast<int>(max - min)));
  if (vertical) {
    selection.top = a, selection.bottom = b;
  } else {
    selection.left = a, selection.right = b;
  }
  FillRect(dc, &selection, palette.SysColorBrush(COLOR_HIGHLIGHT));
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  RECT thumb{};
  SendMessageW(Handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  TSkinContent& skin = SkinData->Skin();
  TDataSkinObject* element = nullptr;
  if ((StyleOf(Handle) & TBS_VERT) && skin.TrackbarThumbVert) {
    element = skin.TrackbarThumbVert.get();
  } else if (skin.TrackbarThumbHorz) {
    element = skin.TrackbarThumbHorz.get();
  }
  if (element && !element->Image.Empty()) {
    DrawElement(dc, thumb, *element,
                {.Frame = kThumbFrame, .Fit = TElementFit::Stretch, .Keying = TElementKeying::Keyed});
    return;
  }
  // Without a thumb picture: a plain rectangle on whatever brush the
  // context holds.
  gui::PenHandle pen(CreatePen(PS_SOLID, 1, SkinColourToRGB(skin.Colours.ButtonShadow)));
  gui::SelectGuard usePen(dc, pen.get());
  Rectangle(dc, thumb.left, thumb.top, thumb.right, thumb.bottom);
}

// ---------------------------------------------------------------------------
// TSkinUpDown

TSkinUpDown* TSkinUpDown::SkinArrowsFor(TSkinControl& finder, const TSkinnerAttach& how) {
  auto* skinner = new TSkinUpDown(finder.Owner() ? finder.Owner() : &finder);
  skinner->Attach(how);
  skinner->FreeNotification(&finder);
  return skinner;
}

bool TSkinUpDown::BeforeMessage(gui::TMessage& m) {
  if (!HasSkin()) return TSkinControl::BeforeMessage(m);
  if (AnswerWholeControlPaint(m)) return false;
  switch (m.Msg) {
    // Pressed lasts while the press holds the mouse: a press the control
    // takes no capture for shows nothing, and losing the capture (Alt+Tab,
    // a menu) ends it.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseState |= msPressed;
      CallDefault(m);
      if (GetCapture() != Handle) MouseState &= static_cast<std::uint8_t>(~msPressed);
      PaintSkin(nullptr);
      return false;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (m.Msg == WM_CAPTURECHANGED && !Pressed()) break;
      MouseState &= static_cast<std::uint8_t>(~msPressed);
      CallDefault(m);
      PaintSkin(nullptr);
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinUpDown::DrawSkin(HDC dc, const RECT& rect) {
  RECT client{};
  GetClientRect(Handle, &client);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;
  gui::TBitmap bitmap(width, height);
  HDC bdc = bitmap.DC();
  const TMirrorLike mirror(bdc, dc);
  FillFace(bdc, client);
  RECT c = client;
  if (Inset) InflateRect(&c, -ScaleToScreen(1), -ScaleToScreen(1));

  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(Handle, &cursor);
  const DWORD style = StyleOf(Handle);
  Enabled = (style & WS_DISABLED) == 0;
  const bool horizontal = ForceHorizontal || (style & UDS_HORZ) != 0;
  const int half = horizontal ? (c.right - c.left) / 2 : (c.bottom - c.top) / 2;
  const int along = horizontal ? cursor.x : cursor.y;
  // The pressed look follows the half the cursor is over as it paints.
  const int untouched = Hot() ? alHot : alNormal;
  const int touched = Pressed() ? alPressed : untouched;
  int looks[2] = {along >= half ? alNormal : touched, along < half ? alNormal : touched};
  if (!Enabled) looks[0] = looks[1] = alDisabled;

  const RECT buttons[2] = {
      horizontal ? RECT{c.left, c.top, c.left + half, c.bottom} : RECT{c.left, c.top, c.right, c.top + half},
      horizontal ? RECT{c.left + half, c.top, c.right, c.bottom} : RECT{c.left, c.top + half, c.right, c.bottom}};
  TSkinContent& skin = SkinData->Skin();
  TDataSkinBorder* element = horizontal ? skin.UpDownHorz.get() : skin.UpDownVert.get();
  if (element && element->Image.Empty()) element = nullptr;
  for (int i = 0; i < 2; ++i) {
    const RECT& b = buttons[i];
    const int frame = looks[i] + (i == 1 ? kSecondButtonFrames : 0);
    lastFrames_[i] = frame;
    if (!element) {
      const char arrow = horizontal ? (i == 0 ? 'l' : 'r') : (i == 0 ? 'u' : 'd');
      DrawFlatButton(bdc, b, looks[i], arrow);
      continue;
    }
    const TElementState state{.Frame = frame, .Fit = TElementFit::Stretch, .Keying = TElementKeying::Keyed};
    DrawElement(bdc, b, *element, state);
    if (element->Image2.Empty()) continue;
    const int frames = std::max(element->FrameCount, 1);
    const int gw = element->Image2.Width() / frames, gh = element->Image2.Height();
    const int gx = b.left + (b.right - b.left - gw) / 2, gy = b.top + (b.bottom - b.top - gh) / 2;
    DrawElement(
        bdc, RECT{gx, gy, gx + gw, gy + gh}, *element,
        {.Frame = frame, .Fit = TElementFit::Stretch, .Keying = TElementKeying::Keyed, .Picture = &element->Image2.Bitmap()});
  }
  BitBlt(dc, rect.left, rect.top, width, height, bdc, 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawFlatButton(HDC dc, const RECT& r, int look, char arrow) {
  const core::SkinColours& colours = SkinData->Skin().Colours;
  const bool sunken = look == alPressed || look == alHot;
  gui::BrushHandle brush(CreateSolidBrush(SkinColourToRGB(sunken ? colours.ButtonShadow : colours.ButtonFace)));
  gui::PenHandle pen(CreatePen(PS_SOLID, 1, SkinColourToRGB(colours.ButtonDkShadow)));
  gui::SelectGuard useBrush(dc, brush.get());
  gui::SelectGuard usePen(dc, pen.get());
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  POINT centre{r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
  if (arrow == 'u' || arrow == 'd') {
    centre.y -= ScaleToScreen(2);
    for (const TArrowSegment& s : arrow == 'u' ? kUpArrow : kDownArrow) {
      const POINT from = ScaledFrom(centre, s.From), to = ScaledFrom(centre, s.To);
      MoveToEx(dc, from.x, from.y, nullptr);
      LineTo(dc, to.x, to.y);
    }
    return;
  }
  POINT points[std::size(kLeftArrow)];
  const POINT* shape = arrow == 'l' ? kLeftArrow : kRightArrow;
  for (std::size_t i = 0; i < std::size(points); ++i) points[i] = ScaledFrom(centre, shape[i]);
  Polyline(dc, points, static_cast<int>(std::size(points)));
}

// ---------------------------------------------------------------------------
// TSkinProgress

int TSkinProgress::FillExtent(int position, int low, int high, int extent) {
  const std::int64_t span = static_cast<std::int64_t>(high) - low;
  const std::int64_t done = static_cast<std::int64_t>(position) - low;
  if (span <= 0 || done <= 0 || extent <= 0) return 0;
  return static_cast<int>(std::min<std::int64_t>(extent, done * extent / span));
}

TSkinProgress::TBlock TSkinProgress::MarqueeBlock(int steps, int extent) {
  if (extent <= 0) return TBlock{};
  const int length = std::max(extent / kMarqueeShare, 1);
  // In from before the start, out past the end, and round again.
  const std::int64_t travel = static_cast<std::int64_t>(extent) + length;
  const int at = static_cast<int>(static_cast<std::int64_t>(std::max(steps, 0)) * ScaleToScreen(kMarqueeStep) % travel);
  return TBlock{at - length, length};
}

// The control animates a marquee bar by a timer of its own: each tick moves
// the block on.
bool TSkinProgress::BeforeMessage(gui::TMessage& m) {
  if (m.Msg == WM_TIMER && (StyleOf(Handle) & PBS_MARQUEE)) ++marqueeSteps_;
  return TSkinControl::BeforeMessage(m);
}

void TSkinProgress::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasSkin()) return;
  TDataSkinBorder* e = SkinData->Skin().Progress.get();
  if (!e || e->Image.Empty()) return;
  const bool chunks = e->Style == kChunkStyle;
  if (chunks && e->Image2.Empty()) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  const DWORD style = StyleOf(Handle);
  const bool vertical = (style & PBS_VERTICAL) != 0;
  // Chunks lie inside the trough's margins; a smooth fill covers the bar.
  const RECT inner = chunks ? RECT{e->LeftWidth, e->TopHeight, w - e->RightWidth, h - e->BottomHeight} : RECT{0, 0, w, h};
  const int extent = vertical ? inner.bottom - inner.top : inner.right - inner.left;
  TBlock block;
  if (style & PBS_MARQUEE) {
    block = MarqueeBlock(marqueeSteps_, extent);
  } else {
    PBRANGE range{};
    SendMessageW(Handle, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const int position = static_cast<int>(SendMessageW(Handle, PBM_GETPOS, 0, 0));
    block.Length = FillExtent(position, range.iLow, range.iHigh, extent);
  }

  gui::TBitmap bitmap = StretchingBitmap(w, h);
  HDC bdc = bitmap.DC();
  const TMirrorLike mirror(bdc, dc);
  const RECT whole{0, 0, w, h};
  FillFace(bdc, whole);
  // A chunked bar's picture is its trough alone; a smooth bar's holds the
  // trough and the fill side by side.
  DrawElement(bdc, whole, *e, {.Frame = pfTrough, .Frames = chunks ? 1 : 2, .Keying = TElementKeying::Keyed});
  if (block.Length > 0) {
    gui::SavedDcState saved(bdc);
    IntersectClipRect(bdc, inner.left, inner.top, inner.right, inner.bottom);
    if (chunks) {
      DrawChunks(bitmap, inner, block, vertical);
    } else {
      const RECT f = vertical ? RECT{0, h - block.Start - block.Length, w, h - block.Start}
                              : RECT{block.Start, 0, block.Start + block.Length, h};
      DrawElement(bdc, f, *e, {.Frame = pfFill, .Frames = 2, .Keying = TElementKeying::Keyed});
    }
  }
  BitBlt(dc, rect.left, rect.top, w, h, bdc, 0, 0, SRCCOPY);
}

// Copies of the chunk side by side along the block, one more than whole
// chunks fit, cut at the block's length; the row runs from the inner
// area's start (its left, or its bottom when vertical, where the chunk lies
// turned a quarter).
void TSkinProgress::DrawChunks(gui::TBitmap& target, const RECT& inner, const TBlock& block, bool vertical) {
  TDataSkinBorder& e = *SkinData->Skin().Progress;
  gui::TBitmap chunk;
  chunk.CopyFrom(e.Image2);
  if (vertical) RotateBitmapLeft(chunk);
  const int cw = chunk.Width(), ch = chunk.Height();
  if (cw <= 0 || ch <= 0) return;
  const int length = block.Length;
  gui::TBitmap strip(vertical ? cw : length, vertical ? length : ch);
  if (strip.Empty()) return;
  const int step = vertical ? ch : cw;
  for (int k = 0; k <= length / step; ++k) {
    if (vertical) {
      BitBlt(strip.DC(), 0, length - (k + 1) * ch, cw, ch, chunk.DC(), 0, 0, SRCCOPY);
    } else {
      BitBlt(strip.DC(), k * cw, 0, cw, ch, chunk.DC(), 0, 0, SRCCOPY);
    }
  }
  const int x = vertical ? (target.Width() - cw) / 2 : inner.left + block.Start;
  const int y = vertical ? inner.bottom - block.Start - length : (target.Height() - ch) / 2;
  DrawTransparent(target.DC(), RECT{x, y, x + strip.Width(), y + strip.Height()}, strip, TransparentColour);
}

}  // namespace skin
