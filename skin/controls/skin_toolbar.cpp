#include "skin/controls/skin_toolbar.h"

#include "gui/handles.h"
#include "skin/controls/skin_recolour.h"
#include "skin/data/element_draw.h"
#include "skin/data/paint_guard.h"
#include "skin/data/skin_data.h"

namespace skin {

namespace {

// TBCDRF_USECDCOLORS: the colours the answer gives are used (version 6 of
// the common controls asks for it; older ones use them anyway).
constexpr LRESULT kUseAnsweredColours = 0x00800000;

TDataSkinObject* BarPicture(TSkinData& data) {
  TDataSkinObject* bar = data.Skin().Toolbars.get();
  return bar && !bar->Image.Empty() ? bar : nullptr;
}

void DrawStripFrame(HDC dc, const RECT& r, TDataSkinObject& strip, int frame) {
  DrawElement(dc, r, strip, {.Frame = frame, .Frames = TSkinToolBar::kFrames});
}

}  // namespace

bool TSkinToolBar::BeforeMessage(gui::TMessage& m) {
  if (m.Msg == WM_ERASEBKGND && HasSkin() && m.WParam) {
    RECT client{};
    GetClientRect(Handle, &client);
    PaintSwallowingFailures([&] { DrawBar(reinterpret_cast<HDC>(m.WParam), client); });
    m.Result = 1;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinToolBar::AfterMessage(gui::TMessage& m) {
  if (m.Msg == WM_NCPAINT && HasSkin()) {
    // The divider a tool bar draws above itself, in the system's 3D colours.
    static constexpr int kDivider[] = {COLOR_3DHILIGHT, COLOR_3DSHADOW, COLOR_BTNFACE};
    gui::WindowDc dc = gui::WindowDc::Whole(Handle);
    if (dc) PaintSwallowingFailures([&] { SwapNonClientColours(Handle, dc.get(), SkinSwapsFor(*SkinData, kDivider)); });
    return;
  }
  if (m.Msg != WM_PAINT || !HasSkin()) return;
  if (m.WParam) {
    PaintSwallowingFailures([&] { DrawSeparators(reinterpret_cast<HDC>(m.WParam)); });
    return;
  }
  gui::WindowDc dc(Handle, GetDC(Handle));
  if (dc) PaintSwallowingFailures([&] { DrawSeparators(dc.get()); });
}

bool TSkinToolBar::ParentNotify(const NMHDR& header, LRESULT& result) {
  if (header.code != static_cast<UINT>(NM_CUSTOMDRAW) || !HasSkin()) return false;
  // The notification is the tool bar's own structure, which the answer may
  // fill in (its colours).
  result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
  return true;
}

int TSkinToolBar::FrameFor(UINT itemState) {
  if (itemState & CDIS_DISABLED) return 0;
  if (itemState & CDIS_SELECTED) return tfPressed;
  if (itemState & CDIS_HOT) return tfHot;
  if (itemState & (CDIS_CHECKED | CDIS_INDETERMINATE)) return tfDown;
  return 0;
}

LRESULT TSkinToolBar::CustomDraw(NMTBCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_PREERASE: {
      RECT client{};
      GetClientRect(Handle, &client);
      PaintSwallowingFailures([&] { DrawBar(draw.nmcd.hdc, client); });
      return CDRF_SKIPDEFAULT;
    }
    case CDDS_ITEMPREPAINT:
      break;
    default:
      return CDRF_DODEFAULT;
  }
  const TSkinPalette& palette = SkinData->Palette();
  const UINT state = draw.nmcd.uItemState;
  const int frame = FrameFor(state);
  TDataSkinObject* strip = BarPicture(*SkinData);
  if (frame && strip) PaintSwallowingFailures([&] { DrawStripFrame(draw.nmcd.hdc, draw.nmcd.rc, *strip, frame); });
  draw.clrText = palette.SysColor((state & CDIS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  draw.clrTextHighlight = palette.SysColor(COLOR_BTNTEXT);
  draw.clrMark = palette.SysColor(COLOR_HIGHLIGHT);
  draw.clrHighlightHotTrack = palette.SysColor(COLOR_HIGHLIGHT);
  // A checked button's inside is filled with a dither of these two over the
  // picture (Wine leaves the brush to the context's white one): the state
  // the control draws from, which an answer may change, loses the check
  // once the picture shows it.
  draw.clrBtnFace = frame == tfDown ? DownColour() : palette.SysColor(COLOR_BTNFACE);
  draw.clrBtnHighlight = draw.clrBtnFace;
  if (frame == tfDown && strip) draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_CHECKED | CDIS_INDETERMINATE);
  draw.nStringBkMode = TRANSPARENT;
  draw.nHLStringBkMode = TRANSPARENT;
  return CDRF_DODEFAULT | TBCDRF_NOEDGES | kUseAnsweredColours;
}

COLORREF TSkinToolBar::DownColour() const {
  TDataSkinObject* strip = BarPicture(*SkinData);
  if (!strip) return SkinData->Palette().SysColor(COLOR_BTNFACE);
  const int w = strip->Image.Width() / kFrames;
  return strip->Image.Pixel(w * (tfDown - 1) + w / 2, strip->Image.Height() / 2);
}

void TSkinToolBar::DrawBar(HDC dc, const RECT& client) {
  FillRect(dc, &client, SkinData->Palette().SysColorBrush(COLOR_BTNFACE));
  if (TDataSkinObject* strip = BarPicture(*SkinData)) DrawStripFrame(dc, client, *strip, tfBar);
}

// Separators are drawn by the control in the system's shadow and highlight
// before any custom drawing is asked for: they are drawn again over it.
void TSkinToolBar::DrawSeparators(HDC dc) {
  const int count = static_cast<int>(SendMessageW(Handle, TB_BUTTONCOUNT, 0, 0));
  const bool vertical = (GetWindowLongPtrW(Handle, GWL_STYLE) & CCS_VERT) != 0;
  const TSkinPalette& palette = SkinData->Palette();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button{};
    if (!SendMessageW(Handle, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button))) continue;
    if (!(button.fsStyle & BTNS_SEP) || (button.fsState & TBSTATE_HIDDEN)) continue;
    RECT r{};
    if (!SendMessageW(Handle, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
    // The system's two lines (shadow and highlight) about the middle give
    // way to the face, and one line in the skin's shadow takes their place.
    RECT gap = r, line = r;
    if (vertical) {
      const int middle = (r.top + r.bottom) / 2;
      gap.top = middle - 1, gap.bottom = middle + 2;
      line.top = middle, line.bottom = middle + 1;
    } else {
      const int middle = (r.left + r.right) / 2;
      gap.left = middle - 1, gap.right = middle + 2;
      line.left = middle, line.right = middle + 1;
      InflateRect(&line, 0, -2);
    }
    FillRect(dc, &gap, palette.SysColorBrush(COLOR_BTNFACE));
    FillRect(dc, &line, palette.SysColorBrush(COLOR_BTNSHADOW));
  }
}

}  // namespace skin
