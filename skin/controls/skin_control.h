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

#include "gui/bitmap.h"
#include "gui/classes.h"
#include "gui/controls.h"
#include "gui/messages.h"
#include "gui/method_hook.h"
#include "gui/subclass.h"
#include "skin/controls/skin_control_host.h"

namespace skin {

class TSkinData;

class TSkinControl : public gui::TComponent, public TSkinControlBase {
  GUI_CLASS(TSkinControl, gui::TComponent)
 public:
  enum TMouseBit : std::uint8_t { msHot = 1, msPressed = 2 };

  // The owner is the control being skinned (or, for a bare window, the form
  // skinner).
  explicit TSkinControl(gui::TComponent* owner);
  ~TSkinControl() override;

  // Puts the skinner in front of the owner control's window method.
  virtual void AttachControl(TSkinControlHost* form, TSkinData* data, gui::TCanvas* canvas, bool recolor);
  // Puts the skinner in front of a window: of the window method when the
  // window is a framework control's, else of its window procedure. Either
  // attach may fail (the window gone, or it carries another layer already):
  // the skinner then stays unattached (SkinnerState ksCreated) and unlisted.
  virtual void AttachWindow(HWND wnd, TSkinData* data, TSkinControlHost* form, gui::TCanvas* canvas);
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
  RECT LastPaintedRect() const override { return WindowRect; }
  bool Attached() const { return attached_; }
  // The window procedure a window-level attach replaced.
  WNDPROC OldWndProc() const { return subclass_.SavedProc(); }
  bool Hot() const { return (MouseState & msHot) != 0; }
  bool Pressed() const { return (MouseState & msPressed) != 0; }

  std::uint8_t MouseState = 0;
  gui::TCanvas* Canvas = nullptr;
  bool Enabled = false;
  bool Focused = false;
  std::wstring Caption;
  TSkinData* SkinData = nullptr;
  HWND Handle = nullptr;
  // The control's window method before this skinner put itself in front
  // (empty for a window-level attach).
  gui::TWndMethod OldWindowMethod() const { return methodHook_.Previous(); }
  gui::TWinControl* Control = nullptr;
  RECT WindowRect{};
  gui::TControl* GraphicControl = nullptr;
  bool Recolor = false;
  gui::TColor SavedColor = 0;
  TSkinControlHost* Form = nullptr;

 protected:
  // The window text (at most 999 characters).
  std::wstring ReadWindowText() const;
  COLORREF FaceColour() const;
  bool HasSkin() const;
  void SetSkinnerState(TSkinnerState state) { skinnerState_ = state; }
  void SetAttached(bool attached) { attached_ = attached; }
  // Stores what an attach to a framework control stores, lists the skinner
  // with the form skinner and recolours the control (when asked), without
  // putting itself in front of the control.
  void BindToControl(gui::TWinControl* control, TSkinControlHost* form, TSkinData* data, gui::TCanvas* canvas,
                     bool recolor);
  // Answers WM_PAINT for a skinner that draws the whole control: into the
  // given DC, or between BeginPaint and EndPaint, recording WindowRect.
  void PaintWholeControl(gui::TMessage& message);
  // WM_PAINT as above and WM_ERASEBKGND swallowed (the paint covers every
  // pixel); true when `message` was one of the two and is answered.
  bool AnswerWholeControlPaint(gui::TMessage& message);
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

 private:
  gui::TWindowMethodHook methodHook_;
  gui::TWindowSubclass subclass_;
  bool attached_ = false;
  TSkinnerState skinnerState_ = ksCreated;
  bool savedDoubleBuffered_ = false;
  bool doubleBufferedSet_ = false;
};

// The colour of a skin colour value on this system (system colours resolved).
COLORREF SkinColourToRGB(std::uint32_t colour);

}  // namespace skin
