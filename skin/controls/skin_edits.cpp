#include "skin/controls/skin_edits.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cwchar>

#include "gui/handles.h"
#include "gui/messages.h"
#include "skin/controls/skin_ranges.h"
#include "skin/controls/skin_recolour.h"
#include "skin/data/element_draw.h"
#include "skin/data/paint_guard.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_mirror.h"
#include "skin/data/skin_draw.h"

namespace skin {

namespace {

// The framework's spin edit holds its buttons under this window class.
constexpr wchar_t kSpinButtonClass[] = L"TSpinButton";

DWORD StyleOf(HWND wnd, int index) { return static_cast<DWORD>(GetWindowLongPtrW(wnd, index)); }

}  // namespace

HWND FindUpDownChild(HWND parent) {
  for (HWND child = GetTopWindow(parent); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (_wcsicmp(name, UPDOWN_CLASSW) == 0 || _wcsicmp(name, kSpinButtonClass) == 0) return child;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// TSkinEdit

void TSkinEdit::Notification(gui::TComponent* component, gui::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == gui::TOperation::opRemove && component == UpDown) UpDown = nullptr;
}

// WM_PRINT: the control prints itself, then the flat border goes into the
// same context when the frame was asked for. The edit's own printing leaves
// its clipping on the context, so the context is given back as the caller
// passed it first.
bool TSkinEdit::BeforeMessage(gui::TMessage& m) {
  if (m.Msg == WM_PAINT) framePaintsAtPaint_ = framePaints_;
  if (m.Msg != WM_PRINT || !m.WParam) return TSkinControl::BeforeMessage(m);
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  {
    gui::SavedDcState saved(dc);
    CallDefault(m);
  }
  if (m.LParam & PRF_NONCLIENT) PaintThrough(dc, [this](HDC target, const RECT&) { PrintBorder(target); });
  return false;
}

void TSkinEdit::AfterMessage(gui::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      // A paint into a context the caller gives is left as the control made
      // it; nor is the border drawn again after a paint that drew the frame.
      if (!m.WParam && framePaints_ == framePaintsAtPaint_) PaintSkin(nullptr);
      break;
    case WM_NCPAINT:
      // The system's sunken border was just drawn again (a frame change,
      // say) and no client paint need follow.
      PaintSkin(nullptr);
      ++framePaints_;
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

// The spin buttons are looked for until found; a skinner whose window went
// with the edit's old window is freed and the new buttons are looked for.
void TSkinEdit::FindSpinButtons() {
  if (UpDown && UpDown->SkinnerState() == ksDead) FreeInner(UpDown);
  if (UpDown || !Handle) return;
  HWND arrows = FindUpDownChild(Handle);
  if (!arrows) return;
  UpDown = TSkinUpDown::SkinArrowsFor(*this, InnerAttach(arrows));
  UpDown->Inset = true;
}

TSkinEdit::TRing TSkinEdit::RingOf(HWND wnd) {
  RECT window{};
  GetWindowRect(wnd, &window);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  const int edge = static_cast<int>(std::min(origin.x - window.left, origin.y - window.top));
  if (edge <= 0) return TRing{};
  return TRing{(edge + 1) / 2, edge / 2};
}

// The flat border takes exactly the place of the system's own (a sunken
// edge keeps its two pixels at every density), never the text's. The inner
// ring is the window colour, white unless the skin has one of its own: a
// white ring around a dark skin's field would frame it in the system's
// colour.
void DrawFlatBorder(HDC dc, const RECT& rect, HWND wnd, TSkinData& data) {
  const TSkinEdit::TRing ring = TSkinEdit::RingOf(wnd);
  if (ring.Outer <= 0) return;
  gui::BrushHandle shadow(CreateSolidBrush(SkinColourToRGB(data.Skin().Colours.ButtonShadow)));
  FrameRing(dc, rect, shadow.get(), ring.Outer);
  if (ring.Inner <= 0) return;
  RECT inner = rect;
  InflateRect(&inner, -ring.Outer, -ring.Outer);
  FrameRing(dc, inner, data.Palette().SysColorBrush(COLOR_WINDOW), ring.Inner);
}

void TSkinEdit::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasSkin()) return;
  FindSpinButtons();
  DrawFlatBorder(dc, rect, Handle, *SkinData);
}

// The printed border: the inner ring takes the brush the context holds
// (the control's background), the outer one the skin's shadow.
void TSkinEdit::PrintBorder(HDC dc) {
  if (!HasSkin()) return;
  const TRing ring = RingOf(Handle);
  if (ring.Outer <= 0) return;
  RECT window{};
  GetWindowRect(Handle, &window);
  OffsetRect(&window, -window.left, -window.top);
  if (ring.Inner > 0) {
    RECT inner = window;
    InflateRect(&inner, -ring.Outer, -ring.Outer);
    FrameRing(dc, inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)), ring.Inner);
  }
  gui::BrushHandle shadow(CreateSolidBrush(SkinColourToRGB(SkinData->Skin().Colours.ButtonShadow)));
  FrameRing(dc, window, shadow.get(), ring.Outer);
}

// ---------------------------------------------------------------------------
// TSkinComBox

bool TSkinComBox::Attach(const TSkinnerAttach& how) {
  if (!TSkinControl::Attach(how)) return false;
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!ListBars && GetComboBoxInfo(Handle, &info) && info.hwndList &&
      (GetWindowLongPtrW(info.hwndList, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL))) {
    // Owned as the combo box's skinner is; listed with the same host.
    ListBars = new TSkinScrollbar(Owner() ? Owner() : this);
    ListBars->FreeNotification(this);
    if (!ListBars->Attach(InnerAttach(info.hwndList))) FreeInner(ListBars);
  }
  return true;
}

void TSkinComBox::Notification(gui::TComponent* component, gui::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == gui::TOperation::opRemove && component == ListBars) ListBars = nullptr;
}

// Pressed lasts while the press holds the mouse: a press the combo box did
// not capture for (a click into its own edit box) shows nothing, and the
// look comes off when the capture goes, whether to the opened list (a
// press dragged into it and released there) or anywhere else.
void TSkinComBox::AfterMessage(gui::TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetCapture() == Handle) MouseState |= msPressed;
      PaintSkin(nullptr);
      break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (!Pressed() && m.Msg == WM_CAPTURECHANGED) break;
      MouseState &= static_cast<std::uint8_t>(~msPressed);
      PaintSkin(nullptr);
      break;
    case gui::CM_MOUSEENTER:
      if (Enabled) {
        MouseState |= msHot;
        PaintSkin(nullptr);
      }
      break;
    case gui::CM_MOUSELEAVE:
      if (Enabled) {
        MouseState &= static_cast<std::uint8_t>(~msHot);
        PaintSkin(nullptr);
      }
      break;
    case WM_COMMAND:
      // The focus moved into or out of the combo box's own edit box.
      if (HIWORD(m.WParam) == EN_SETFOCUS || HIWORD(m.WParam) == EN_KILLFOCUS) PaintSkin(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

// Pressed, then focused or hot, then normal or disabled. The focus may sit
// in the combo box's own edit box.
int TSkinComBox::CurrentLook() {
  HWND focus = GetFocus();
  Focused = focus && (focus == Handle || IsChild(Handle, focus));
  Enabled = (WindowStyle & WS_DISABLED) == 0;
  if (Pressed()) return clPressed;
  if (Focused || Hot()) return clHot;
  return Enabled ? clNormal : clDisabled;
}

bool TSkinComBox::IsDatePicker() const {
  if (Control) return Control->InheritsFrom("TDateTimePicker");
  wchar_t name[32]{};
  GetClassNameW(Handle, name, 32);
  return lstrcmpiW(name, DATETIMEPICK_CLASSW) == 0;
}

// A date picker prints its date in the system's window text whatever its
// parent answered for the colours (the field itself is erased in them); on
// the skin's window colour that is the skin's window text.
void TSkinComBox::RecolourPickerText(HDC dc, const RECT& text) {
  const TColourSwap textColour{GetSysColor(COLOR_WINDOWTEXT), SkinData->Palette().SysColor(COLOR_WINDOWTEXT)};
  if (textColour.From != textColour.To) SwapColours(dc, text, std::span(&textColour, 1));
}

// The system frames the edit box inside a drop-down combo box in its own
// window colour; the frame takes the colour the edit box is drawn on.
void TSkinComBox::FillAroundEdit(HDC dc, const RECT& text) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(Handle, &info) || !info.hwndItem || !IsWindowVisible(info.hwndItem)) return;
  RECT edit{};
  GetWindowRect(info.hwndItem, &edit);
  edit = WindowDcRect(Handle, edit);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(Handle), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(info.hwndItem)));
  if (!brush) brush = SkinData->Palette().SysColorBrush(COLOR_WINDOW);
  gui::SavedDcState saved(dc);
  ExcludeClipRect(dc, edit.left, edit.top, edit.right, edit.bottom);
  FillRect(dc, &text, brush);
}

// The sunken edge the system draws about a simple combo box's edit (its
// border and the pixel of padding inside it) becomes the flat border the
// edits wear.
void TSkinComBox::DrawSimpleComboEdge(HDC dc) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(Handle, &info) || !info.hwndItem) return;
  RECT edit{};
  GetWindowRect(info.hwndItem, &edit);
  edit = WindowDcRect(Handle, edit);
  const int border = GetSystemMetrics(SM_CXEDGE);
  InflateRect(&edit, border + 1, border + 1);
  gui::BrushHandle shadow(CreateSolidBrush(SkinColourToRGB(SkinData->Skin().Colours.ButtonShadow)));
  FrameRing(dc, edit, shadow.get(), 1);
  InflateRect(&edit, -1, -1);
  FrameRing(dc, edit, SkinData->Palette().SysColorBrush(COLOR_WINDOW), border);
}

void TSkinComBox::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasSkin()) return;
  TSkinContent& skin = SkinData->Skin();
  TDataSkinBorder* button = skin.ComboButton.get();
  if (!button || button->Image.Empty()) return;
  WindowStyle = StyleOf(Handle, GWL_STYLE);
  WindowExStyle = StyleOf(Handle, GWL_EXSTYLE);
  // A simple combo box has its list open below the edit and no drop button:
  // it keeps its own look but for the sunken edge about its edit.
  if ((WindowStyle & 3) == CBS_SIMPLE) {
    DrawSimpleComboEdge(dc);
    return;
  }
  if (button->Style == kSimpleStyle) {
    DrawSimple(dc, rect);
    return;
  }
  TDataSkinObject* edge = skin.SunkEdge.get();
  if (!edge || edge->Image.Empty()) return;
  const int look = CurrentLook();
  lastLook_ = look;
  const int e = GetSystemMetrics(SM_CXHSCROLL);
  // The control's own edge, which the system does not scale.
  const int two = GetSystemMetrics(SM_CXEDGE), four = 2 * two;
  const RECT& r = rect;
  RECT text, face, glyphArea;
  gui::TBitmap* picture;
  int frame = look;
  if (!(WindowExStyle & WS_EX_LEFTSCROLLBAR)) {
    text = RECT{r.left + two, r.top + two, r.right - e - four, r.bottom - two};
    face = RECT{r.right - e - two, r.top, r.right, r.bottom};
    glyphArea = RECT{r.right - e - two, r.top, r.right - two, r.bottom};
    picture = &button->Image.Bitmap();
  } else {
    text = RECT{r.left + e + four, r.top + two, r.right - two, r.bottom - two};
    face = RECT{r.left, r.top, r.left + e + two, r.bottom};
    glyphArea = RECT{two, r.top, e + two, r.bottom};
    picture = &button->Image2.Bitmap();
    // The mirrored strip holds the looks in the reverse order.
    frame = button->FrameCount + 1 - look;
  }
  if (IsDatePicker()) RecolourPickerText(dc, text);
  FillAroundEdit(dc, text);
  gui::SavedDcState saved(dc);
  ExcludeClipRect(dc, text.left, text.top, text.right, text.bottom);
  // A keyed ring's cut corners show the face behind the control, not the
  // system's border.
  if (edge->Transparent()) FillFace(dc, r);
  DrawElement(dc, r, *edge, {.Frame = look});
  DrawElement(dc, face, *button,
              {.Frame = frame, .Fit = TElementFit::Stretch, .Keying = TElementKeying::Keyed, .Picture = picture});
  TDataSkinObject* arrows = skin.ExtraImages.get();
  if (!arrows || arrows->Image.Empty()) return;
  const int gw = arrows->FrameWidth(), gh = arrows->Image.Height();
  const int gx = glyphArea.left + (glyphArea.right - glyphArea.left - gw) / 2;
  const int gy = glyphArea.top + (glyphArea.bottom - glyphArea.top - gh) / 2;
  DrawElement(dc, RECT{gx, gy, gx + gw, gy + gh}, *arrows,
              {.Frame = look, .Fit = TElementFit::Stretch, .Keying = TElementKeying::Keyed});
}

// The simple look: the button's picture in a box at the right edge, inside
// a ring of the context's brush and a shadow line.
void TSkinComBox::DrawSimple(HDC dc, const RECT& rect) {
  TDataSkinBorder& button = *SkinData->Skin().ComboButton;
  const int look = CurrentLook();
  lastLook_ = look;
  const int line = ScaleToScreen(1);
  HBRUSH brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  RECT q = rect;
  InflateRect(&q, -line, -line);
  FrameRing(dc, q, brush, line);
  InflateRect(&q, -line, -line);
  q.left = q.right - GetSystemMetrics(SM_CYVTHUMB);
  FillRect(dc, &q, brush);
  DrawElement(dc, q, button, {.Frame = look, .Fit = TElementFit::Stretch, .Keying = TElementKeying::Opaque});
  gui::BrushHandle shadow(CreateSolidBrush(SkinColourToRGB(SkinData->Skin().Colours.ButtonShadow)));
  FrameRing(dc, rect, shadow.get(), line);
}

// ---------------------------------------------------------------------------
// TSkinRichEdit

TSkinRichEdit::~TSkinRichEdit() {
  // Back to the system's window colour, as the control had it.
  if (backgroundGiven_ && SkinnerState() != ksDead && IsWindow(Handle)) SendMessageW(Handle, EM_SETBKGNDCOLOR, 1, 0);
}

bool TSkinRichEdit::Attach(const TSkinnerAttach& how) {
  if (!TSkinScrollbar::Attach(how)) return false;
  GiveBackground();
  return true;
}

void TSkinRichEdit::SkinChanged() {
  if (backgroundGiven_ && HasSkin())
    SendMessageW(Handle, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(SkinData->Palette().SysColor(COLOR_WINDOW)));
  TSkinScrollbar::SkinChanged();
}

// The answer tells the colour the control had: the system's window colour
// means the program left it to the system, so the skin's stands in; any
// other is the program's own and is put back at once.
void TSkinRichEdit::GiveBackground() {
  if (backgroundGiven_ || !HasSkin()) return;
  const auto had = static_cast<COLORREF>(
      SendMessageW(Handle, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(SkinData->Palette().SysColor(COLOR_WINDOW))));
  if (had == GetSysColor(COLOR_WINDOW)) {
    backgroundGiven_ = true;
  } else {
    SendMessageW(Handle, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(had));
  }
}

bool TSkinRichEdit::BeforeMessage(gui::TMessage& m) {
  if (m.Msg == WM_PAINT && !m.WParam && !GetUpdateRect(Handle, &painting_, FALSE)) painting_ = RECT{};
  return TSkinScrollbar::BeforeMessage(m);
}

void TSkinRichEdit::AfterMessage(gui::TMessage& m) {
  if (m.Msg == WM_PAINT && !m.WParam && backgroundGiven_ && HasSkin()) RecolourText(painting_);
  TSkinScrollbar::AfterMessage(m);
}

void TSkinRichEdit::RecolourText(const RECT& area) {
  const TColourSwap text{GetSysColor(COLOR_WINDOWTEXT), SkinData->Palette().SysColor(COLOR_WINDOWTEXT)};
  if (text.From == text.To || IsRectEmpty(&area)) return;
  gui::WindowDc dc(Handle, GetDC(Handle));
  if (dc) PaintSwallowingFailures([&] { SwapColours(dc.get(), area, std::span(&text, 1)); });
}

}  // namespace skin
