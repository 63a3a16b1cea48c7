// TSkinControl: the common base of the control skinners. A skinner sits in
// front of one standard control: a framework control through its replaceable
// window method, a bare window (a dialog box's child) through its window
// procedure. It sees every message before and after the control's own
// handling, keeps the little state the drawing needs, paints from the skin,
// and gives back exactly what it replaced when it is freed.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "gui/bitmap.h"
#include "gui/classes.h"
#include "gui/controls.h"
#include "gui/messages.h"
#include "gui/method_hook.h"
#include "gui/subclass.h"
#include "skin/controls/skin_control_host.h"
#include "skin/controls/system_theme.h"
#include "skin/data/element_draw.h"
#include "skin/data/look_transitions.h"

namespace skin {

class TSkinData;

// What an attach is given: the control to skin (a framework control, with
// a window of its own or, as a tool button, without) or, when Window is
// set, a window to take instead (a dialog box's child, or a framework
// control's window), and what the skinner works with.
struct TSkinnerAttach {
  gui::TControl* Control = nullptr;
  HWND Window = nullptr;
  TSkinData* Data = nullptr;
  // The list the skinner stands in while attached.
  TSkinControlHost* Host = nullptr;
  gui::TCanvas* Canvas = nullptr;
  // The control wears the skin's button face until the skinner gives it back.
  bool Recolor = false;
  // Scroll-bar skinners: a press on a thumb is dragged by the skinner.
  bool OwnThumbTracking = false;
  // A window taken without a framework control draws without visual styles
  // while it is skinned: the theme's pictures take no colours.
  bool Classic = false;
};

class TSkinControl : public gui::TComponent, public TSkinControlBase {
  GUI_CLASS(TSkinControl, gui::TComponent)
 public:
  enum TMouseBit : std::uint8_t { msHot = 1, msPressed = 2 };

  // The owner is the control being skinned (or, for a bare window, the form
  // skinner).
  explicit TSkinControl(gui::TComponent* owner);
  ~TSkinControl() override;

  // Puts the skinner in front of what `how` names: the window (of its
  // window method when it is a framework control's, else of its window
  // procedure), or else the windowed framework control (of its window
  // method, double buffered, its state read, recoloured when asked). True
  // when the skinner stands attached afterwards; a second attach changes
  // nothing. An attach that cannot take what it is given (nothing, a window
  // that is gone, a control of a kind the skinner does not draw, a window
  // that already carries another layer of ours) leaves the skinner
  // unattached (ksCreated) and unlisted.
  virtual bool Attach(const TSkinnerAttach& how);
  // Attach to the owner control, and to a window, with what the skinner
  // works with.
  bool AttachControl(TSkinControlHost* form, TSkinData* data, gui::TCanvas* canvas, bool recolor);
  bool AttachWindow(HWND wnd, TSkinData* data, TSkinControlHost* form, gui::TCanvas* canvas);

  void RestoreColor() override;
  // True lets the control's own handling run (then AfterMessage).
  virtual bool BeforeMessage(gui::TMessage& message);
  virtual void AfterMessage(gui::TMessage& message);
  // Window rectangle and device context (dc, or the window DC when 0), then
  // DrawSkin; failures are dropped.
  virtual void PaintSkin(HDC dc);
  // PaintSkin's frame around another drawing: the window rectangle recorded,
  // dc or the window DC, failures dropped.
  void PaintThrough(HDC dc, const std::function<void(HDC, const RECT&)>& draw);
  virtual void DrawSkin(HDC dc, const RECT& rect);
  // DrawSkin through the window DC with only `part` (client coordinates)
  // changed on the screen: one part's step of a fade.
  void PaintPart(const RECT& part);
  void SkinChanged() override;

  // The replacement window method.
  void WndProc(gui::TMessage& message);
  void CallDefault(gui::TMessage& message);
  // Repaints at once without erasing.
  void Redraw();
  void FillFace(HDC dc, const RECT& rect);
  void SendMouseLeave() override;

  HWND SkinnedWindow() const override { return Handle; }
  TSkinnerState SkinnerState() const override { return skinnerState_; }
  // The window rectangle (screen coordinates) the skinner last painted.
  RECT LastPaintedRect() const override { return windowRect_; }
  // A skinner of a bare window (the form skinner owns it) may be freed late;
  // one a framework control owns goes with its control.
  bool LetGoOfHost() override;
  bool Attached() const { return attached_; }
  // The window procedure a window-level attach replaced.
  WNDPROC OldWndProc() const { return subclass_.SavedProc(); }
  // The control's window method before this skinner put itself in front
  // (empty for a window-level attach).
  gui::TWndMethod OldWindowMethod() const { return methodHook_.Previous(); }
  bool Hot() const { return (MouseState & msHot) != 0; }
  bool Pressed() const { return (MouseState & msPressed) != 0; }
  // The control's text as the skinner last read it or saw it set.
  const std::wstring& CaptionText() const { return Caption; }
  // The windowless control a tool-button skinner is attached to.
  gui::TControl* GraphicControl() const { return graphicControl_; }
  // Whether the skinner gives the control the skin's button face; set
  // before the attach (an application's own skinner says so itself).
  bool Recolor() const { return recolor_; }
  void SetRecolor(bool recolor) { recolor_ = recolor; }

 protected:
  // The window text (at most 999 characters).
  std::wstring ReadWindowText() const;
  // Focused, Enabled and Caption read again from the window.
  void ReadState();
  COLORREF FaceColour() const;
  bool HasSkin() const;
  void SetSkinnerState(TSkinnerState state) { skinnerState_ = state; }
  void SetAttached(bool attached) { attached_ = attached; }
  // The base's attaches for an override to build on: to a windowed
  // framework control, to a window, and to a windowless control through
  // its window method. Each answers as Attach does.
  bool AttachToControl(const TSkinnerAttach& how);
  bool AttachToWindow(const TSkinnerAttach& how);
  bool AttachToGraphicControl(const TSkinnerAttach& how);
  // An attach that cannot go on: the skinner stays unattached and leaves
  // the list (the caller may have listed it first). Answers false.
  bool RefuseAttach(const TSkinnerAttach& how);
  // The attach of a skinner for a window inside this control (arrows, a
  // header): the same skin data, host and canvas.
  TSkinnerAttach InnerAttach(HWND window) const {
    return TSkinnerAttach{.Window = window, .Data = SkinData, .Host = Form, .Canvas = Canvas};
  }
  // Frees such an inner skinner and forgets it. It is owned as this skinner
  // is (its component owner is told), and leaves the host's list as it goes.
  template <class TInner>
  static void FreeInner(TInner*& inner) {
    if (TSkinControlBase* gone = std::exchange(inner, nullptr)) gone->Release();
  }
  // Stores what an attach to a framework control stores, lists the skinner
  // with the host and recolours the control (when `recolor`), without
  // putting itself in front of the control.
  void BindToControl(gui::TWinControl* control, const TSkinnerAttach& how, bool recolor);
  // Answers WM_PAINT for a skinner that draws the whole control: into the
  // given DC, or between BeginPaint and EndPaint, recording the window
  // rectangle.
  void PaintWholeControl(gui::TMessage& message);
  // WM_PAINT as above and WM_ERASEBKGND swallowed (the paint covers every
  // pixel); true when `message` was one of the two and is answered.
  bool AnswerWholeControlPaint(gui::TMessage& message);
  // Draws one part's element in `state` as DrawElement does, fading from
  // the part's previous look over the time the skin's [Animation] gives
  // `kind` for that change. `repaint` redraws the part at each step of the
  // fade; by default the whole control is painted again.
  void DrawAnimated(HDC dc, const RECT& target, const TDataSkinObject& element, TElementState state, int part,
                    TLookKind look, core::AnimatedKind kind, std::function<void()> repaint = {});
  // Leaves the visible child windows out of what is drawn on `dc` next (a
  // window DC draws over them otherwise); `dc` is in window coordinates.
  void ExcludeChildWindows(HDC dc) const;
  // Puts the skinner in front of a control's window method.
  bool HookWindowMethod(gui::TControl* control) {
    return methodHook_.Attach(control, [this](gui::TMessage& message) { WndProc(message); });
  }
  void UnhookWindowMethod() { methodHook_.Detach(); }
  bool WindowMethodHooked() const { return methodHook_.Attached(); }
  // The control's window was re-created: skin the new one as the old.
  virtual void FollowNewWindow();

  // What the skinner works with, set by the attach.
  TSkinData* SkinData = nullptr;
  TSkinControlHost* Form = nullptr;
  gui::TCanvas* Canvas = nullptr;
  // The skinned window; none for a windowless control.
  HWND Handle = nullptr;
  // The skinned framework control; none for a bare window.
  gui::TWinControl* Control = nullptr;
  // What the drawing reads of the control, kept up to date by the skinners.
  std::uint8_t MouseState = 0;
  bool Enabled = false;
  bool Focused = false;
  std::wstring Caption;

 private:
  gui::TWindowMethodHook methodHook_;
  gui::TWindowSubclass subclass_;
  TSystemThemeOff theme_;
  gui::TControl* graphicControl_ = nullptr;
  RECT windowRect_{};
  bool recolor_ = false;
  gui::TColor savedColor_ = 0;
  bool savedParentColor_ = false;
  bool attached_ = false;
  TSkinnerState skinnerState_ = ksCreated;
  bool savedDoubleBuffered_ = false;
  bool doubleBufferedSet_ = false;
};

// The colour of a skin colour value on this system (system colours resolved).
COLORREF SkinColourToRGB(std::uint32_t colour);

}  // namespace skin
