#include "skin/controls/skin_button.h"

#include "gui/buttons.h"
#include "gui/handles.h"
#include "skin/data/element_draw.h"
#include "skin/data/paint_guard.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_mirror.h"
#include "skin/data/skin_scratch.h"
#include "skin/data/skin_text.h"

namespace skin {

namespace {

constexpr int kButtonFrames = 5;
// Glyph image shown in each look (normal, pressed, disabled, hot), used
// when the strip holds all four images.
constexpr int kGlyphOfLook[5] = {1, 1, 3, 2, 1};

// A push button's caption is always drawn plain, whatever the style of the
// font selected into `dc`.
void DrawPlainCaption(HDC dc, const std::wstring& text, const RECT& rect) {
  gui::FontHandle plain = gui::CreatePlainFont(static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)));
  gui::SelectGuard selected(dc, plain ? plain.get() : GetCurrentObject(dc, OBJ_FONT));
  DrawCaption(dc, text, rect, DT_CENTER);
}

}  // namespace

void DrawCaption(HDC dc, const std::wstring& text, const RECT& rect, UINT format) {
  SetBkMode(dc, TRANSPARENT);
  RECT m = rect;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &m, format | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
  const int tw = m.right - m.left, th = m.bottom - m.top;
  const int rw = rect.right - rect.left, rh = rect.bottom - rect.top;
  OffsetRect(&m, 0, (rh - th) / 2 - 1);
  if (format & DT_CENTER) {
    OffsetRect(&m, (rw - tw) / 2, 0);
  } else {
    m.left = rect.left;
    m.right = rect.right;
  }
  DrawSkinText(dc, text, m, format | DT_EXPANDTABS);
}

// ---------------------------------------------------------------------------
// TSkinButton

TDataSkinButton* TSkinButton::ButtonElement() const {
  if (!HasSkin()) return nullptr;
  TDataSkinButton& element = SkinData->Skin().ButtonsElement;
  return element.Image.Empty() ? nullptr : &element;
}

void TSkinButton::RefreshState() {
  if (!Handle) return;
  ReadState();
  if (Caption.empty() && Control) Caption = Control->Caption();
}

COLORREF TSkinButton::LookTextColour(int look, bool onlyGiven, COLORREF fallback) const {
  const TDataSkinButton& e = SkinData->Skin().ButtonsElement;
  if (look == blNormal && e.HasNormalColour2) return SkinColourToRGB(e.NormalColour2);
  if (look == blHot && e.HasMouseOverColour2) return SkinColourToRGB(e.MouseOverColour2);
  if (look == blPressed && e.HasPressedColour2) return SkinColourToRGB(e.PressedColour2);
  return onlyGiven ? fallback : SkinColourToRGB(SkinData->Skin().Colours.ButtonText);
}

void TSkinButton::DrawFace(gui::TBitmap& target, int look, int frameCount) {
  TDataSkinButton& e = SkinData->Skin().ButtonsElement;
  const RECT r{0, 0, target.Width(), target.Height()};
  FillFace(target.DC(), r);
  const TLookKind kind = look == blPressed    ? TLookKind::Pressed
                         : look == blDisabled ? TLookKind::Other
                         : look != blHot      ? TLookKind::Normal
                         : Hot()              ? TLookKind::Hot
                                              : TLookKind::Focused;
  DrawAnimated(target.DC(), r, e, {.Frame = look, .Frames = frameCount}, 0, kind, core::AnimatedKind::PushButton);
}

void TSkinButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!ButtonElement()) return;
  RefreshState();
  int look = Pressed() ? blPressed : (Focused || Hot()) ? blHot : blNormal;
  if (!Enabled) look = blDisabled;
  lastLook_ = look;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  gui::TBitmap face(w, h);  // made for the paint: no bitmap or DC kept between paints
  const TMirrorLike mirror(face.DC(), dc);
  DrawFace(face, look, kButtonFrames);
  HDC bdc = face.DC();
  gui::SelectGuard font(bdc, reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)));
  SetTextColor(bdc, Enabled ? LookTextColour(look, false, 0) : GetSysColor(COLOR_BTNSHADOW));
  DrawPlainCaption(bdc, Caption, RECT{0, 0, w, h});
  BitBlt(dc, rect.left, rect.top, w, h, bdc, 0, 0, SRCCOPY);
}

void TSkinButton::Click() {
  if (Control) {
    Control->Click();
  } else if (Handle) {
    PostMessageW(GetParent(Handle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle), 0), reinterpret_cast<LPARAM>(Handle));
  }
}

bool TSkinButton::BeforeMessage(gui::TMessage& m) {
  // Without the skin's button picture the button keeps its own drawing and
  // its own mouse handling, as every other skinner leaves a control it has
  // nothing to draw for.
  if (!ButtonElement()) return TSkinControl::BeforeMessage(m);
  if (AnswerWholeControlPaint(m)) return false;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!Focused) SetFocus(Handle);
      MouseState |= msPressed;
      PaintSkin(nullptr);
      m.Result = 0;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinButton::AfterMessage(gui::TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) {
        MouseState |= msPressed;
        Redraw();
      }
      break;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        MouseState &= static_cast<std::uint8_t>(~msPressed);
        Redraw();
      }
      break;
    case WM_MOUSEMOVE:
      if (Hot()) break;
      MouseState |= msHot;
      if (Form && Form->HotButton() && Form->HotButton() != this) Form->HotButton()->SendMouseLeave();
      if (!Form || Form->HotButton() != this) {
        Redraw();
        if (Form) Form->SetHotButton(this);
      }
      break;
    case WM_LBUTTONUP:
      if (Pressed()) {
        MouseState &= static_cast<std::uint8_t>(~msPressed);
        Redraw();
        Click();
      }
      break;
    case gui::CM_MOUSEENTER:
      if (Enabled) {
        // The button that was hot loses its look before this one takes it.
        if (Form && Form->HotButton() && Form->HotButton() != this) Form->HotButton()->SendMouseLeave();
        MouseState |= msHot;
        Redraw();
        if (Form) Form->SetHotButton(this);
      }
      break;
    case gui::CM_MOUSELEAVE:
      if (Enabled) {
        MouseState &= static_cast<std::uint8_t>(~(msHot | msPressed));
        Redraw();
        if (Form && Form->HotButton() == this) Form->SetHotButton(nullptr);
      }
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

// ---------------------------------------------------------------------------
// TSkinBitButton

void TSkinBitButton::DrawSkin(HDC dc, const RECT& rect) {
  TDataSkinButton* e = ButtonElement();
  if (!e) return;
  RefreshState();
  int look = blNormal;
  if (Focused) look = blHot;
  if (Pressed())
    look = blPressed;
  else if (Hot())
    look = blHot;
  if (!Enabled) look = blDisabled;
  lastLook_ = look;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  gui::TBitmap face(w, h);  // made for the paint: no bitmap or DC kept between paints
  HDC bdc = face.DC();
  const TMirrorLike mirror(bdc, dc);
  gui::SelectGuard font(bdc, reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)));
  DrawFace(face, look, e->FrameCount > 0 ? e->FrameCount : kButtonFrames);
  RECT client{0, 0, w, h};
  if (Handle) GetClientRect(Handle, &client);
  gui::TButtonGlyph none;
  auto* glyph = dynamic_cast<gui::TButtonGlyph*>(Control);
  DrawGlyphAndText(bdc, glyph ? *glyph : none, client.right, client.bottom, look, false);
  BitBlt(dc, rect.left, rect.top, w, h, bdc, 0, 0, SRCCOPY);
}

void TSkinBitButton::DrawGlyphAndText(HDC dc, gui::TButtonGlyph& g, int w, int h, int look, bool nudgeCentred) {
  const SIZE glyph = g.GlyphSize();
  const SIZE text = gui::MeasureButtonCaption(dc, Caption, RECT{0, 0, w, h});
  const gui::TButtonPlacement at = gui::CalcButtonLayout(w, h, glyph, text, g.Layout(), g.Margin(), g.Spacing(), nudgeCentred);
  lastGlyph_ = 0;
  if (glyph.cx > 0) {
    lastGlyph_ = g.NumGlyphs() == 4 ? kGlyphOfLook[look] : 1;
    gui::DrawGlyphImage(dc, at.Glyph, g.Glyph(), g.NumGlyphs(), lastGlyph_);
  }
  if (Caption.empty()) return;
  // Without a skin colour for the look the caption keeps the control's own.
  gui::TControl* control = Control ? Control : GraphicControl();
  const COLORREF own = control ? gui::ColorToRGB(control->Font().Color()) : GetSysColor(COLOR_BTNTEXT);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Enabled ? LookTextColour(look, true, own) : GetSysColor(COLOR_BTNSHADOW));
  DrawSkinText(dc, Caption, RECT{at.Text.x, at.Text.y, at.Text.x + text.cx, at.Text.y + text.cy}, at.Format);
}

// ---------------------------------------------------------------------------
// TSkinSpeedButton

bool TSkinSpeedButton::Attach(const TSkinnerAttach& how) {
  if (WindowMethodHooked()) return true;
  return AttachToGraphicControl(how);
}

bool TSkinSpeedButton::BeforeMessage(gui::TMessage& m) {
  if (!ButtonElement()) return true;
  switch (m.Msg) {
    case WM_PAINT:
      if (m.WParam) PaintSwallowingFailures([&] { DrawSpeedButton(reinterpret_cast<HDC>(m.WParam)); });
      m.Result = 1;
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallDefault(m);
      MouseState |= msPressed;
      PaintSkin(nullptr);
      return false;
    default:
      return true;
  }
}

void TSkinSpeedButton::AfterMessage(gui::TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY:
    case gui::CM_BUTTONPRESSED:
      UnhookWindowMethod();
      break;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) {
        MouseState |= msPressed;
        PaintSkin(nullptr);
      }
      break;
    case WM_KEYUP:
    case WM_LBUTTONUP:
      if (m.Msg == WM_LBUTTONUP || m.WParam == VK_SPACE) {
        MouseState &= static_cast<std::uint8_t>(~msPressed);
        PaintSkin(nullptr);
      }
      break;
    case gui::CM_MOUSEENTER:
      MouseState |= msHot;
      PaintSkin(nullptr);
      break;
    case gui::CM_MOUSELEAVE:
      MouseState &= static_cast<std::uint8_t>(~(msHot | msPressed));
      if (GraphicControl() && GraphicControl()->Visible()) PaintSkin(nullptr);
      break;
    default:
      break;
  }
}

void TSkinSpeedButton::PaintSkin(HDC) {
  // Outside WM_PAINT the button is drawn through its parent's window.
  gui::TControl* button = GraphicControl();
  if (!button || !button->Parent() || !button->Parent()->HandleAllocated()) return;
  const RECT b = button->BoundsRect();
  HWND parent = button->Parent()->Handle();
  gui::WindowDc dc = gui::WindowDc::Client(parent);
  if (!dc) return;
  const POINT old = [&] {
    POINT p;
    SetViewportOrgEx(dc.get(), b.left, b.top, &p);
    return p;
  }();
  PaintSwallowingFailures([&] { DrawSpeedButton(dc.get()); });
  SetViewportOrgEx(dc.get(), old.x, old.y, nullptr);
}

void TSkinSpeedButton::DrawSpeedButton(HDC dc) {
  TDataSkinButton* e = ButtonElement();
  gui::TControl* button = GraphicControl();
  if (!e || !button) return;
  const int w = button->Width(), h = button->Height();
  if (w <= 0 || h <= 0) return;
  Enabled = button->Enabled();
  Caption = button->Caption();
  int look = Pressed() ? blPressed : Hot() ? blHot : blNormal;
  if (!Enabled) look = blDisabled;
  auto* speed = dynamic_cast<gui::TSpeedButton*>(button);
  if (speed && speed->Down()) look = blPressed;
  lastLook_ = look;
  gui::TBitmap canvas = StretchingBitmap(w, h);
  HDC bdc = canvas.DC();
  const TMirrorLike mirror(bdc, dc);
  gui::SelectGuard font(bdc, button->Font().Handle());
  DrawFace(canvas, look, e->FrameCount > 0 ? e->FrameCount : kButtonFrames);
  auto* glyph = dynamic_cast<gui::TButtonGlyph*>(button);
  if (glyph && !glyph->Glyph().Empty()) {
    DrawGlyphAndText(bdc, *glyph, w, h, look, true);
  } else {
    lastGlyph_ = 0;
    SetTextColor(bdc, Enabled ? LookTextColour(look, false, 0) : GetSysColor(COLOR_BTNSHADOW));
    DrawPlainCaption(bdc, Caption, RECT{0, 0, w, h});
  }
  BitBlt(dc, 0, 0, w, h, bdc, 0, 0, SRCCOPY);
}

}  // namespace skin
