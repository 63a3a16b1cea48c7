#include "skin/controls/skin_recolour.h"

#include <algorithm>
#include <cstdint>

#include "gui/color_scheme.h"
#include "gui/handles.h"
#include "skin/controls/skin_edits.h"
#include "skin/data/paint_guard.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_mirror.h"
#include "skin/data/skin_draw.h"

namespace skin {

namespace {

// A colour as a 32-bit picture holds it (0x00RRGGBB).
std::uint32_t PixelOf(COLORREF colour) {
  return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) | (static_cast<std::uint32_t>(GetGValue(colour)) << 8) |
         GetBValue(colour);
}

constexpr DWORD kEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;

}  // namespace

std::vector<TColourSwap> SkinSwapsFor(const TSkinData& data, std::span<const int> indexes) {
  std::vector<TColourSwap> swaps;
  const TSkinPalette& palette = data.Palette();
  for (int index : indexes) {
    if (!palette.Colours(index)) continue;
    const COLORREF from = GetSysColor(index), to = palette.SysColor(index);
    if (from == to || std::any_of(swaps.begin(), swaps.end(), [from](const TColourSwap& s) { return s.From == from; }))
      continue;
    swaps.push_back(TColourSwap{from, to});
  }
  return swaps;
}

void SwapColours(gui::TBitmap& picture, std::span<const TColourSwap> swaps) {
  if (swaps.empty() || picture.Empty()) return;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> pixels;
  for (const TColourSwap& s : swaps) pixels.emplace_back(PixelOf(s.From), PixelOf(s.To));
  std::uint32_t* bits = picture.Bits();
  const std::size_t count = static_cast<std::size_t>(picture.Width()) * static_cast<std::size_t>(picture.Height());
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t colour = bits[i] & 0x00FFFFFFu;
    for (const auto& [from, to] : pixels)
      if (colour == from) {
        bits[i] = to;
        break;
      }
  }
}

void SwapColours(HDC dc, const RECT& area, std::span<const TColourSwap> swaps) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (swaps.empty() || w <= 0 || h <= 0) return;
  gui::TBitmap copy(w, h);
  BitBlt(copy.DC(), 0, 0, w, h, dc, area.left, area.top, SRCCOPY);
  GdiFlush();
  SwapColours(copy, swaps);
  BitBlt(dc, area.left, area.top, w, h, copy.DC(), 0, 0, SRCCOPY);
}

void SwapNonClientColours(HWND wnd, HDC windowDc, std::span<const TColourSwap> swaps) {
  RECT window{}, client{};
  if (swaps.empty() || !GetWindowRect(wnd, &window) || !GetClientRect(wnd, &client)) return;
  MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  client = WindowDcRect(wnd, client);
  OffsetRect(&window, -window.left, -window.top);
  const RECT strips[] = {{window.left, window.top, window.right, client.top},
                         {window.left, client.bottom, window.right, window.bottom},
                         {window.left, client.top, client.left, client.bottom},
                         {client.right, client.top, window.right, client.bottom}};
  for (const RECT& strip : strips) SwapColours(windowDc, strip, swaps);
}

// ---------------------------------------------------------------------------
// TSkinColourRelay

bool TSkinColourRelay::Attach(const TSkinnerAttach& how) {
  if (!TSkinControl::Attach(how)) return false;
  RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return true;
}

bool TSkinColourRelay::BeforeMessage(gui::TMessage& m) {
  if (!HasSkin()) return TSkinControl::BeforeMessage(m);
  if (gui::IsCtlColorMessage(m.Msg)) {
    CallDefault(m);
    m.Result = SkinData->Palette().AnswerUnlessChosen(m.Result, m.Msg, m.WParam, reinterpret_cast<HWND>(m.LParam));
    return false;
  }
  if (m.Msg == WM_NOTIFY && Form) {
    LRESULT answer = 0;
    if (Form->RouteParentNotify(m.LParam, answer)) {
      m.Result = answer;
      return false;
    }
  }
  return TSkinControl::BeforeMessage(m);
}

// ---------------------------------------------------------------------------
// TSkinRecoloured

TSkinRecoloured::~TSkinRecoloured() {
  // The system draws the control again, edge included.
  if (Attached() && SkinnerState() != ksDead && IsWindow(Handle))
    RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

bool TSkinRecoloured::Attach(const TSkinnerAttach& how) {
  if (!TSkinColourRelay::Attach(how)) return false;
  RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  return true;
}

bool TSkinRecoloured::BeforeMessage(gui::TMessage& m) {
  if (HasSkin() && !DrawnIn().empty()) {
    if (m.Msg == WM_ERASEBKGND) {
      m.Result = 1;
      return false;
    }
    if (m.Msg == WM_PAINT) {
      PaintRecoloured(m);
      return false;
    }
  }
  return TSkinColourRelay::BeforeMessage(m);
}

void TSkinRecoloured::AfterMessage(gui::TMessage& m) {
  if (m.Msg == WM_NCPAINT) PaintSkin(nullptr);
}

void TSkinRecoloured::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasSkin()) return;
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_EXSTYLE));
  if ((exStyle & kEdges) || (style & WS_BORDER)) {
    DrawFlatBorder(dc, rect, Handle, *SkinData);
  } else {
    SwapNonClientColours(Handle, dc, SkinSwapsFor(*SkinData, DrawnIn()));
  }
}

// The control paints into a picture of its client area, as it would on
// the screen (its erase first), then the system's colours in it become the
// skin's and the picture goes to the screen in one blit: nothing of the
// system's colours ever shows.
void TSkinRecoloured::PaintRecoloured(gui::TMessage& m) {
  PAINTSTRUCT ps{};
  HDC target = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(Handle, &ps);
  RECT client{};
  GetClientRect(Handle, &client);
  PaintSwallowingFailures([&] {
    if (!target || client.right <= 0 || client.bottom <= 0) return;
    gui::TBitmap work(client.right, client.bottom);  // made for the paint, not kept
    HDC picture = work.DC();
    // The control draws in the layout its own context would have.
    const TMirrorLike mirror(picture, target);
    // What the control leaves undrawn shows what its parent puts behind a
    // static text, or else the face (which becomes the skin's).
    HBRUSH behind = GetSysColorBrush(COLOR_BTNFACE);
    if (ShowsParentBehind())
      if (auto answered = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(Handle), WM_CTLCOLORSTATIC,
                                                                reinterpret_cast<WPARAM>(picture),
                                                                reinterpret_cast<LPARAM>(Handle))))
        behind = answered;
    FillRect(picture, &client, behind);
    for (UINT step : {static_cast<UINT>(WM_ERASEBKGND), static_cast<UINT>(WM_PAINT)}) {
      gui::SavedDcState saved(picture);
      gui::TMessage drawn{step, reinterpret_cast<WPARAM>(picture), 0, 0};
      CallDefault(drawn);
    }
    GdiFlush();
    SwapColours(work, SkinSwapsFor(*SkinData, DrawnIn()));
    Finish(work);
    BitBlt(target, 0, 0, client.right, client.bottom, picture, 0, 0, SRCCOPY);
  });
  if (!m.WParam) EndPaint(Handle, &ps);
  m.Result = 0;
}

// ---------------------------------------------------------------------------
// The families

bool TSkinStaticFrame::DrawsFrame(DWORD style) {
  switch (style & SS_TYPEMASK) {
    case SS_BLACKRECT:
    case SS_GRAYRECT:
    case SS_WHITERECT:
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
    case SS_ETCHEDHORZ:
    case SS_ETCHEDVERT:
    case SS_ETCHEDFRAME:
      return true;
    default:
      return false;
  }
}

std::span<const int> TSkinStaticFrame::DrawnIn() const {
  static constexpr int kFrames[] = {COLOR_3DHILIGHT, COLOR_3DSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT,
                                    COLOR_WINDOW,    COLOR_BTNFACE};
  if (!DrawsFrame(static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE)))) return {};
  return kFrames;
}

std::span<const int> TSkinLink::DrawnIn() const {
  static constexpr int kLink[] = {COLOR_WINDOWTEXT, COLOR_HOTLIGHT, COLOR_HIGHLIGHT, COLOR_GRAYTEXT, COLOR_BTNFACE,
                                  COLOR_WINDOW};
  return kLink;
}

std::span<const int> TSkinField::DrawnIn() const {
  static constexpr int kField[] = {COLOR_WINDOW,     COLOR_WINDOWTEXT, COLOR_3DSHADOW,  COLOR_3DDKSHADOW,
                                   COLOR_3DLIGHT,    COLOR_GRAYTEXT,   COLOR_BTNFACE,   COLOR_HIGHLIGHT,
                                   COLOR_HIGHLIGHTTEXT};
  return kField;
}

void TSkinField::Finish(gui::TBitmap& picture) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_EXSTYLE));
  if ((exStyle & kEdges) || (style & WS_BORDER)) return;
  const RECT all{0, 0, picture.Width(), picture.Height()};
  gui::BrushHandle shadow(CreateSolidBrush(SkinColourToRGB(SkinData->Skin().Colours.ButtonShadow)));
  FrameRing(picture.DC(), all, shadow.get(), 1);
  RECT inner = all;
  InflateRect(&inner, -1, -1);
  FrameRing(picture.DC(), inner, SkinData->Palette().SysColorBrush(COLOR_WINDOW), 1);
}

std::span<const int> TSkinCalendar::DrawnIn() const {
  static constexpr int kButtons[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_3DSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT};
  return kButtons;
}

std::span<const int> TSkinRebar::DrawnIn() const {
  static constexpr int kBands[] = {COLOR_BTNFACE,    COLOR_BTNTEXT, COLOR_3DHILIGHT, COLOR_3DSHADOW,
                                   COLOR_3DDKSHADOW, COLOR_3DLIGHT};
  return kBands;
}

}  // namespace skin
