#include "skin/controls/skin_box.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "gui/comctrls.h"
#include "gui/handles.h"
#include "skin/controls/skin_button.h"
#include "skin/data/element_draw.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_mirror.h"
#include "skin/data/skin_text.h"

namespace skin {

namespace {

// ExtraImages: the combo box's four drop arrows, then the size grip.
constexpr int kExtraFrames = 5;
constexpr int kGripFrame = 5;

}  // namespace

bool HasSizeGripSkin(const TSkinContent& skin) { return skin.ExtraImages && !skin.ExtraImages->Image.Empty(); }

void DrawSizeGrip(HDC dc, POINT corner, TSkinContent& skin) {
  if (!HasSizeGripSkin(skin)) return;
  TDataSkinObject& extra = *skin.ExtraImages;
  const int count = extra.FrameCount > 0 ? extra.FrameCount : kExtraFrames;
  const int w = extra.Image.Width() / count, h = extra.Image.Height();
  DrawElement(dc, RECT{corner.x - w, corner.y - h, corner.x, corner.y}, extra,
              {.Frame = kGripFrame, .Fit = TElementFit::Stretch, .Frames = count, .Keying = TElementKeying::Keyed});
}

// ---------------------------------------------------------------------------
// TSkinGroupBox

void TSkinGroupBox::DrawSkin(HDC dc, const RECT& r) {
  if (!HasSkin()) return;
  Caption = ReadWindowText();
  if (Caption.empty() && Control) Caption = Control->Caption();
  HFONT font = Control ? Control->Font().Handle() : reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  // Declared before the saved state, so it is deleted after it is deselected.
  gui::PenHandle pen(CreatePen(PS_SOLID, 1, SkinColourToRGB(SkinData->Skin().Colours.ButtonShadow)));
  gui::SavedDcState saved(dc);
  SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE zero{};
  GetTextExtentPoint32W(dc, L"0", 1, &zero);
  RECT frame{0, zero.cy / 2 - 1, r.right, r.bottom};
  lastFrameTop_ = frame.top;
  HBRUSH face = SkinData->Skin().ButtonFaceBrush.get();
  gui::BrushHandle ownFace;
  if (!face) {
    ownFace.reset(CreateSolidBrush(FaceColour()));
    face = ownFace.get();
  }
  FrameRect(dc, &frame, face);
  RECT inner = frame;
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, face);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  SelectObject(dc, pen.get());
  const int corner = ScaleToScreen(5);
  RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, corner, corner);
  SetBkColor(dc, FaceColour());
  SetBkMode(dc, OPAQUE);
  // The skin's text colour for the state: the device context's default
  // black is unreadable on a dark skin's face. Disabled, the skin's GrayText,
  // or its button shadow when it gives none.
  const bool enabled = (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  const core::SkinColours& colours = SkinData->Skin().Colours;
  const bool grayGiven = (colours.GrayText & core::kSystemColourFlag) != core::kSystemColourFlag;
  SetTextColor(dc, SkinColourToRGB(enabled ? colours.ButtonText : grayGiven ? colours.GrayText : colours.ButtonShadow));
  // Over the system's own caption, whose inset does not grow with the screen.
  DrawSkinText(dc, Caption, RECT{r.left + 9, r.top, r.right, r.bottom}, DT_EXPANDTABS);
}

// ---------------------------------------------------------------------------
// TSkinBox

bool TSkinBox::Attach(const TSkinnerAttach& how) {
  auto* control = dynamic_cast<gui::TWinControl*>(how.Control);
  if (!control || how.Window) return RefuseAttach(how);
  BindToControl(control, how, how.Recolor);
  return true;
}

// ---------------------------------------------------------------------------
// TSkinStatusBar

bool TSkinStatusBar::BeforeMessage(gui::TMessage& m) {
  if (AnswerWholeControlPaint(m)) return false;
  return TSkinControl::BeforeMessage(m);
}

void TSkinStatusBar::DrawPanel(HDC dc, RECT p, UINT format, int frame, std::wstring text) {
  TDataSkinObject* edges = SkinData->Skin().StatusBarEdges.get();
  if (edges && !edges->Image.Empty() && p.right > p.left && p.bottom > p.top) {
    DrawElement(dc, p, *edges, {.Frame = frame, .Frames = 3, .Keying = TElementKeying::Opaque});
  }
  if (text.empty()) text = L" ";
  p.left += 2;
  p.right -= 2;
  DrawCaption(dc, text, p, format);
}

// A status bar of no framework control: its parts as the control holds
// them, a part's leading tabs centring (one) or right-aligning (two) its
// text as the system's drawing does; an owner-drawn part keeps no text.
void TSkinStatusBar::DrawWindowParts(HDC dc, const RECT& r) {
  const int parts = static_cast<int>(SendMessageW(Handle, SB_GETPARTS, 0, 0));
  for (int i = 0; i < parts; ++i) {
    RECT p{};
    if (!SendMessageW(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&p))) continue;
    if (i + 1 == parts) p.right = r.right;
    const LRESULT lengthAndType = SendMessageW(Handle, SB_GETTEXTLENGTHW, static_cast<WPARAM>(i), 0);
    const UINT type = HIWORD(lengthAndType);
    std::wstring text;
    if (!(type & SBT_OWNERDRAW)) {
      text.assign(LOWORD(lengthAndType) + 1u, L'\0');
      SendMessageW(Handle, SB_GETTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
      text.resize(std::wcslen(text.c_str()));
    }
    std::size_t tabs = 0;
    while (tabs < 2 && tabs < text.size() && text[tabs] == L'\t') ++tabs;
    const UINT format = tabs == 0 ? DT_LEFT : tabs == 1 ? DT_CENTER : DT_RIGHT;
    const int frame = (type & SBT_POPOUT) ? 2 : (type & SBT_NOBORDERS) ? 3 : 1;
    DrawPanel(dc, p, format, frame, text.substr(tabs));
    if (type & SBT_OWNERDRAW) DrawOwnerPart(dc, i, p);
  }
}

// An owner-drawn part is drawn by the program, inside the skin's panel, as
// the status bar would ask it: its own value (what the program gave for the
// part's text) in the item data.
void TSkinStatusBar::DrawOwnerPart(HDC dc, int part, RECT inside) {
  InflateRect(&inside, -1, -1);
  DRAWITEMSTRUCT item{};
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(Handle));
  item.itemID = static_cast<UINT>(part);
  item.hwndItem = Handle;
  item.hDC = dc;
  item.rcItem = inside;
  item.itemData = static_cast<ULONG_PTR>(SendMessageW(Handle, SB_GETTEXTW, static_cast<WPARAM>(part), 0));
  gui::SavedDcState saved(dc);
  SendMessageW(GetParent(Handle), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void TSkinStatusBar::DrawSkin(HDC dc, const RECT& r) {
  if (!HasSkin()) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TSkinContent& skin = SkinData->Skin();
  gui::TBitmap face(w, h);  // made for the paint: no bitmap or DC kept between paints
  HDC bdc = face.DC();
  const TMirrorLike mirror(bdc, dc);
  const RECT all{0, 0, w, h};
  FillFace(bdc, all);
  auto* bar = dynamic_cast<gui::TStatusBar*>(Control);
  gui::SelectGuard font(bdc, Control ? Control->Font().Handle()
                                     : reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)));
  COLORREF textColour = Control ? gui::ColorToRGB(Control->Font().Color()) : GetSysColor(COLOR_BTNTEXT);
  if (skin.StatusBarEdges) textColour = SkinColourToRGB(skin.StatusBarEdges->NormalColour2);
  SetTextColor(bdc, textColour);
  const bool simple = bar ? (bar->SimplePanel() || bar->Panels().empty()) : SendMessageW(Handle, SB_ISSIMPLE, 0, 0) != 0;
  if (simple) {
    DrawPanel(bdc, all, DT_LEFT, 1, bar ? bar->SimpleText() : ReadWindowText());
  } else if (!bar) {
    DrawWindowParts(bdc, r);
  } else {
    const auto& panels = bar->Panels();
    for (std::size_t i = 0; i < panels.size(); ++i) {
      const gui::TStatusPanel& panel = panels[i];
      UINT format = panel.Alignment == gui::TAlignment::taCenter          ? DT_CENTER
                    : panel.Alignment == gui::TAlignment::taRightJustify ? DT_RIGHT
                                                                          : DT_LEFT;
      if (panel.RightToLeft && format != DT_CENTER) format = format == DT_LEFT ? DT_RIGHT : DT_LEFT;
      RECT p{};
      if (!SendMessageW(Handle, SB_GETRECT, i, reinterpret_cast<LPARAM>(&p))) continue;
      if (i + 1 == panels.size()) p.right = r.right;
      const int frame = panel.Bevel == gui::TStatusPanelBevel::pbLowered  ? 1
                        : panel.Bevel == gui::TStatusPanelBevel::pbRaised ? 2
                                                                          : 3;
      DrawPanel(bdc, p, format, frame, panel.Text);
    }
  }
  // As the system's: no grip while the window it sizes is maximised.
  const HWND sized = GetParent(Handle);
  if ((GetWindowLongPtrW(Handle, GWL_STYLE) & SBARS_SIZEGRIP) && !(sized && IsZoomed(sized)))
    DrawSizeGrip(bdc, POINT{r.right - 1, r.bottom - 1}, skin);
  BitBlt(dc, r.left, r.top, w, h, bdc, 0, 0, SRCCOPY);
}

}  // namespace skin
