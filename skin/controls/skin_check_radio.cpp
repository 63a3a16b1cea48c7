#include "skin/controls/skin_check_radio.h"

#include <algorithm>
#include <cctype>

#include "gui/bitmap.h"
#include "gui/messages.h"
#include "skin/data/element_draw.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"

namespace skin {

namespace {

constexpr UINT kRepaintNotification = 0xB0D0;

// The "Checked" property, when the control has one, decides over the
// button state.
int CheckedByProperty(gui::TWinControl* control, int fromState) {
  if (!control || !gui::HasProperty(*control, "Checked")) return fromState;
  std::string value = gui::GetPropValue(*control, "Checked");
  std::transform(value.begin(), value.end(), value.begin(), [](unsigned char c) { return std::tolower(c); });
  return value == "true" ? 2 : 1;
}

}  // namespace

void TSkinCheckBox::AfterMessage(gui::TMessage& m) {
  switch (m.Msg) {
    case gui::CN_CTLCOLORSTATIC:
    case gui::CN_CTLCOLORBTN:
      if (HasSkin()) AnswerCaptionColours(reinterpret_cast<HDC>(m.WParam), m.Result);
      break;
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case gui::CM_EXIT:
    case kRepaintNotification:
      Redraw();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

int TSkinCheckBox::StateFrame() {
  const auto s = SendMessageW(Handle, BM_GETSTATE, 0, 0);
  int index = CheckedByProperty(Control, (s & BST_CHECKED) ? 2 : 1);
  if (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED) index += 2;
  if (s & BST_INDETERMINATE) index = 4;
  return index;
}

int TSkinRadioButton::StateFrame() {
  const auto s = SendMessageW(Handle, BM_GETCHECK, 0, 0);
  int index = CheckedByProperty(Control, (s & BST_CHECKED) ? 2 : 1);
  if (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED) index += 2;
  return index;
}

// The caption sits on the skin's face, as the glyph column does; the
// system's text colours become the skin's button text, a colour the program
// chose stays. (The system greys a disabled caption itself.)
void TSkinCheckBox::AnswerCaptionColours(HDC dc, LRESULT& brush) {
  const COLORREF text = GetTextColor(dc);
  if (text == GetSysColor(COLOR_WINDOWTEXT) || text == GetSysColor(COLOR_BTNTEXT))
    SetTextColor(dc, SkinColourToRGB(SkinData->Skin().Colours.ButtonText));
  SetBkColor(dc, FaceColour());
  if (HBRUSH face = SkinData->Skin().ButtonFaceBrush.get()) brush = reinterpret_cast<LRESULT>(face);
}

void TSkinCheckBox::DrawGlyph(HDC dc, const RECT& r, gui::TBitmap& strip, int frameCount, core::AnimatedKind kind) {
  lastFrame_ = 0;
  if (strip.Empty()) return;
  const int n = frameCount > 0 ? frameCount : 1;
  const int w = strip.Width() / n, h = strip.Height();
  // The face hides the system's own glyph and stops before its text. At
  // 96 dpi that is the menu check width and three pixels; on a denser screen
  // the system draws its glyph 12 dpi-scaled pixels and one wide and starts
  // the text half a digit after it, which the menu check width overshoots.
  const int m = GetSystemMetrics(SM_CXMENUCHECK);
  const int faceWidth = ScreenDpi() == kDesignDpi ? m + 3 : MulDiv(12, ScreenDpi(), kDesignDpi) + 2;
  // The glyph is centred in a box as wide as the system's check box.
  const int box = ScaleToScreen(14);
  const int index = StateFrame();
  RECT glyph{};
  glyph.top = r.top + (r.bottom - r.top - h) / 2;
  glyph.bottom = glyph.top + h;
  RECT face{};
  if ((GetWindowLongPtrW(Handle, GWL_STYLE) & BS_LEFTTEXT) == 0) {
    glyph.left = w > box ? r.left : r.left + (box - w) / 2;
    glyph.right = glyph.left + w;
    face = RECT{r.left, r.top, r.left + faceWidth, r.bottom};
  } else {
    glyph.right = w > box ? r.right - 1 : r.right - (box - w) / 2;
    glyph.left = glyph.right - w;
    face = RECT{r.right - faceWidth, r.top, r.right, r.bottom};
  }
  FillFace(dc, face);
  // Checking and clearing fade as a press does; a disabled glyph changes at once.
  const TLookKind look = index == 1 ? TLookKind::Normal : index == 3 ? TLookKind::Other : TLookKind::Selected;
  DrawAnimated(
      dc, glyph, SkinData->Skin().ButtonsElement,
      {.Frame = index, .Fit = TElementFit::Stretch, .Frames = n, .Keying = TElementKeying::Keyed, .Picture = &strip},
      0, (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED) ? TLookKind::Other : look, kind);
  lastFrame_ = index;
  if (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED) {
    RECT caption = r;
    if (face.left == r.left)
      caption.left = face.right;
    else
      caption.right = face.left;
    RecolourDisabledCaption(dc, caption);
  }
}

// The system embosses a disabled caption in its own highlight and shadow
// colours, whatever the face: a white relief on a dark skin. The relief
// becomes the face, the shadow the skin's GrayText or, when the skin gives
// none, a colour halfway from the skin's face to its text, so the caption
// reads as dimmed on any skin.
void TSkinCheckBox::RecolourDisabledCaption(HDC dc, const RECT& caption) {
  const int w = caption.right - caption.left, h = caption.bottom - caption.top;
  if (w <= 0 || h <= 0) return;
  const COLORREF face = FaceColour();
  const COLORREF text = SkinColourToRGB(SkinData->Skin().Colours.ButtonText);
  const COLORREF relief = GetSysColor(COLOR_3DHILIGHT), shadow = GetSysColor(COLOR_3DSHADOW),
                 grey = GetSysColor(COLOR_GRAYTEXT);
  // On a face of the system's own colours the system's look stands.
  if (face == shadow || face == grey || face == GetSysColor(COLOR_BTNFACE)) return;
  const core::SkinColour grayText = SkinData->Skin().Colours.GrayText;
  const COLORREF dimmed =
      (grayText & core::kSystemColourFlag) != core::kSystemColourFlag
          ? SkinColourToRGB(grayText)
          : RGB((GetRValue(face) + GetRValue(text)) / 2, (GetGValue(face) + GetGValue(text)) / 2,
                (GetBValue(face) + GetBValue(text)) / 2);
  gui::TBitmap copy(w, h);
  BitBlt(copy.DC(), 0, 0, w, h, dc, caption.left, caption.top, SRCCOPY);
  bool changed = false;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const COLORREF pixel = copy.Pixel(x, y);
      const COLORREF to = pixel == relief ? face : (pixel == shadow || pixel == grey) ? dimmed : pixel;
      if (to == pixel) continue;
      copy.SetPixel(x, y, to);
      changed = true;
    }
  }
  if (changed) BitBlt(dc, caption.left, caption.top, w, h, copy.DC(), 0, 0, SRCCOPY);
}

void TSkinCheckBox::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasSkin()) return;
  TDataSkinButton& e = SkinData->Skin().ButtonsElement;
  DrawGlyph(dc, rect, e.CheckImage, e.CheckFrameCount, core::AnimatedKind::CheckBox);
}

void TSkinRadioButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasSkin()) return;
  TDataSkinButton& e = SkinData->Skin().ButtonsElement;
  DrawGlyph(dc, rect, e.RadioImage, e.RadioFrameCount, core::AnimatedKind::RadioButton);
}

}  // namespace skin
