#include "skin/controls/skin_control.h"

#include "gui/fault_guard.h"
#include "gui/graphics.h"
#include "gui/handles.h"
#include "skin/data/paint_guard.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_mirror.h"

namespace skin {

// ---------------------------------------------------------------------------
// TSkinControl

COLORREF SkinColourToRGB(std::uint32_t colour) { return gui::ColorToRGB(colour); }

TSkinControl::TSkinControl(gui::TComponent* owner) : gui::TComponent(owner) {}

TSkinControl::~TSkinControl() {
  TLookTransitions::ForgetOnThread(this);
  // A control being destroyed has already lost its window and its chain of
  // window methods; the hook then has nothing to give back.
  if (doubleBufferedSet_ && methodHook_.Attached() && Control && !Control->IsDestroying())
    Control->DoubleBuffered = savedDoubleBuffered_;
  methodHook_.Detach();
  subclass_.Detach();
  // The control draws with the program's theme again, on its own.
  if (theme_.Applied()) {
    theme_.Give();
    RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  }
  if (Form) Form->RemoveControlSkinner(this);
}

void TSkinControl::BindToControl(gui::TWinControl* control, const TSkinnerAttach& how, bool recolor) {
  recolor_ = recolor;
  SkinData = how.Data;
  Form = how.Host;
  Canvas = how.Canvas;
  Control = control;
  Handle = control->Handle();
  if (Form) Form->AddControlSkinner(this);
  if (recolor_) {
    savedColor_ = control->Color();
    savedParentColor_ = control->ParentColor();
    control->SetColor(SkinData->Skin().Colours.ButtonFace);
  }
}

bool TSkinControl::Attach(const TSkinnerAttach& how) {
  if (attached_) return true;
  return how.Window ? AttachToWindow(how) : AttachToControl(how);
}

bool TSkinControl::AttachControl(TSkinControlHost* form, TSkinData* data, gui::TCanvas* canvas, bool recolor) {
  return Attach(TSkinnerAttach{.Control = dynamic_cast<gui::TControl*>(Owner()),
                               .Data = data,
                               .Host = form,
                               .Canvas = canvas,
                               .Recolor = recolor});
}

bool TSkinControl::AttachWindow(HWND wnd, TSkinData* data, TSkinControlHost* form, gui::TCanvas* canvas) {
  return Attach(TSkinnerAttach{.Window = wnd, .Data = data, .Host = form, .Canvas = canvas});
}

bool TSkinControl::RefuseAttach(const TSkinnerAttach& how) {
  if (how.Host) how.Host->RemoveControlSkinner(this);
  return false;
}

bool TSkinControl::AttachToControl(const TSkinnerAttach& how) {
  auto* control = dynamic_cast<gui::TWinControl*>(how.Control);
  if (!control || !HookWindowMethod(control)) return RefuseAttach(how);
  savedDoubleBuffered_ = control->DoubleBuffered;
  doubleBufferedSet_ = true;
  control->DoubleBuffered = true;
  BindToControl(control, how, how.Recolor);
  ReadState();
  InvalidateRect(Handle, nullptr, TRUE);
  attached_ = true;
  skinnerState_ = ksAttached;
  return true;
}

bool TSkinControl::AttachToGraphicControl(const TSkinnerAttach& how) {
  if (!how.Control || how.Window || !HookWindowMethod(how.Control)) return RefuseAttach(how);
  SkinData = how.Data;
  Canvas = how.Canvas;
  graphicControl_ = how.Control;
  Form = how.Host;
  if (Form) Form->AddControlSkinner(this);
  skinnerState_ = ksAttached;
  return true;
}

bool TSkinControl::AttachToWindow(const TSkinnerAttach& how) {
  // A window of a framework control is taken through the control's window
  // method, which outlives the window: when the control makes its window
  // again, the skinner follows it (FollowNewWindow). Other windows are
  // subclassed; that fails on a window that already carries another layer.
  const HWND wnd = how.Window;
  auto* control = gui::TWinControl::FindControl(wnd);
  bool taken = false;
  if (control && (!Control || Control == control)) {
    taken = HookWindowMethod(control);
    if (taken) Control = control;
  } else {
    taken = subclass_.Attach(wnd, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
      gui::TMessage m{msg, wParam, lParam, 0};
      const TBusy busy(*this);
      WndProc(m);
      return m.Result;
    });
  }
  // A failed attach leaves the skinner unattached, unlisted and without a
  // window, so that nothing counts the window as skinned.
  if (!taken) return RefuseAttach(how);
  SkinData = how.Data;
  Canvas = how.Canvas;
  Form = how.Host;
  Handle = wnd;
  Enabled = true;
  if (how.Classic) theme_.Apply(wnd);
  if (Form) Form->AddControlSkinner(this);
  Caption = ReadWindowText();
  attached_ = true;
  skinnerState_ = ksAttached;
  return true;
}

void TSkinControl::PaintWholeControl(gui::TMessage& m) {
  RECT r{};
  GetWindowRect(Handle, &r);
  windowRect_ = r;
  OffsetRect(&r, -r.left, -r.top);
  // The paint is validated whatever happens to the drawing.
  if (m.WParam) {
    PaintSwallowingFailures([&] {
      gui::FaultPoint(gui::TFaultSite::ControlPaint);
      DrawSkin(reinterpret_cast<HDC>(m.WParam), r);
    });
  } else {
    gui::PaintDc paint(Handle);
    PaintSwallowingFailures([&] {
      gui::FaultPoint(gui::TFaultSite::ControlPaint);
      DrawSkin(paint.get(), r);
    });
  }
  m.Result = 0;
}

bool TSkinControl::AnswerWholeControlPaint(gui::TMessage& m) {
  if (m.Msg == WM_PAINT) {
    PaintWholeControl(m);
    return true;
  }
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return true;
  }
  return false;
}

void TSkinControl::RestoreColor() {
  if (!recolor_ || !Control || Control->IsDestroying()) return;
  // A colour taken from the parent goes on following it.
  Control->SetColor(savedColor_);
  if (savedParentColor_) Control->SetParentColor(true);
}

void TSkinControl::SkinChanged() {
  if (recolor_ && Control) Control->SetColor(SkinData->Skin().Colours.ButtonFace);
  if (Handle) {
    InvalidateRect(Handle, nullptr, TRUE);
  } else if (graphicControl_ && graphicControl_->Parent() && graphicControl_->Parent()->HandleAllocated()) {
    const RECT r = graphicControl_->BoundsRect();
    InvalidateRect(graphicControl_->Parent()->Handle(), &r, TRUE);
  }
}

void TSkinControl::WndProc(gui::TMessage& message) {
  // A framework control re-creates its window when a style that only takes
  // effect at creation changes (a status bar's size grip, say): the first
  // message of the new window brings the skinner back to life on it.
  if (skinnerState_ == ksDead && Control && Control->HandleAllocated() && !Control->IsDestroying()) FollowNewWindow();
  if (BeforeMessage(message)) {
    CallDefault(message);
    AfterMessage(message);
  }
}

void TSkinControl::CallDefault(gui::TMessage& message) {
  if (methodHook_.Previous()) {
    methodHook_.CallPrevious(message);
  } else if (Handle) {
    message.Result = subclass_.CallPrevious(message.Msg, message.WParam, message.LParam);
  }
}

bool TSkinControl::BeforeMessage(gui::TMessage& message) {
  if (message.Msg == WM_NCDESTROY) {
    CallDefault(message);
    skinnerState_ = ksDead;
    RestoreColor();
    // A dead skinner is nobody's hot button.
    if (Form && Form->HotButton() == this) Form->SetHotButton(nullptr);
    return false;
  }
  return true;
}

void TSkinControl::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case gui::CM_ENABLEDCHANGED:
      Redraw();
      break;
    case WM_SETTEXT:
      if (message.LParam) Caption = reinterpret_cast<const wchar_t*>(message.LParam);
      Redraw();
      break;
    case WM_PAINT:
      PaintSkin(reinterpret_cast<HDC>(message.WParam));
      break;
    default:
      break;
  }
}

void TSkinControl::PaintSkin(HDC dc) {
  PaintThrough(dc, [this](HDC target, const RECT& r) { DrawSkin(target, r); });
}

void TSkinControl::PaintThrough(HDC dc, const std::function<void(HDC, const RECT&)>& draw) {
  if (skinnerState_ == ksDead) return;
  RECT r;
  if (!Handle || !GetWindowRect(Handle, &r)) return;
  windowRect_ = r;
  OffsetRect(&r, -r.left, -r.top);
  PaintSwallowingFailures([&] {
    gui::FaultPoint(gui::TFaultSite::ControlPaint);
    if (dc) {
      draw(dc, r);
    } else {
      gui::WindowDc windowDc = gui::WindowDc::Whole(Handle);
      if (windowDc) draw(windowDc.get(), r);
    }
  });
}

void TSkinControl::DrawSkin(HDC, const RECT&) {}

void TSkinControl::PaintPart(const RECT& part) {
  PaintThrough(nullptr, [&](HDC dc, const RECT& whole) {
    // A mirrored window's client corner is not its window corner's mirror
    // image in every frame: it is painted whole.
    if (!(GetWindowLongPtrW(Handle, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)) {
      POINT client{0, 0};
      ClientToScreen(Handle, &client);
      RECT clip = part;
      OffsetRect(&clip, client.x - windowRect_.left, client.y - windowRect_.top);
      IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    }
    DrawSkin(dc, whole);
  });
}

bool TSkinControl::LetGoOfHost() {
  gui::TComponent* owner = Owner();
  if (owner && owner != dynamic_cast<gui::TComponent*>(Form)) return false;
  if (owner) owner->RemoveComponent(this);
  Form = nullptr;
  return true;
}

void TSkinControl::FollowNewWindow() {
  Handle = Control->Handle();
  MouseState = 0;
  skinnerState_ = ksAttached;
  if (recolor_ && SkinData) {
    savedColor_ = Control->Color();
    savedParentColor_ = Control->ParentColor();
    Control->SetColor(SkinData->Skin().Colours.ButtonFace);
  }
}

void TSkinControl::Redraw() {
  RECT r;
  if (!Handle || !GetWindowRect(Handle, &r)) return;
  OffsetRect(&r, -r.left, -r.top);
  if (GetParent(Handle)) {
    InvalidateRect(Handle, &r, FALSE);
    UpdateWindow(Handle);
  }
}

void TSkinControl::DrawAnimated(HDC dc, const RECT& target, const TDataSkinObject& element, TElementState state,
                                int part, TLookKind look, core::AnimatedKind kind, std::function<void()> repaint) {
  if (HasSkin()) {
    if (!repaint) repaint = [this] { PaintSkin(nullptr); };
    TLookTransitions::OfThread().Follow(state, TAnimatedPart{this, part}, look, kind, SkinData->Skin().Animation,
                                        std::move(repaint));
  }
  DrawElement(dc, target, element, state);
}

void TSkinControl::ExcludeChildWindows(HDC dc) const {
  if (!Handle) return;
  for (HWND child = GetWindow(Handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r{};
    GetWindowRect(child, &r);
    r = WindowDcRect(Handle, r);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
}

void TSkinControl::FillFace(HDC dc, const RECT& rect) {
  gui::BrushHandle brush(CreateSolidBrush(FaceColour()));
  FillRect(dc, &rect, brush.get());
}

void TSkinControl::SendMouseLeave() {
  if (Handle) SendMessageW(Handle, gui::CM_MOUSELEAVE, 0, 0);
}

std::wstring TSkinControl::ReadWindowText() const {
  if (!Handle) return {};
  wchar_t buffer[1000];
  const auto n = SendMessageW(Handle, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(buffer));
  return std::wstring(buffer, n > 0 && n < 1000 ? static_cast<std::size_t>(n) : 0);
}

void TSkinControl::ReadState() {
  Focused = GetFocus() == Handle;
  Enabled = (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  Caption = ReadWindowText();
}

COLORREF TSkinControl::FaceColour() const {
  return SkinData ? SkinColourToRGB(SkinData->Skin().Colours.ButtonFace) : GetSysColor(COLOR_BTNFACE);
}

bool TSkinControl::HasSkin() const { return SkinData && !SkinData->SkinLoading(); }

}  // namespace skin
