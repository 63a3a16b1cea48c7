// Controls: the windowless base with bounds, caption, font and colour, and
// windowed controls with a lazily created window handle. Every message to a
// control passes its replaceable window method (WindowProc), so that another
// layer can put itself in front of the control and later put back exactly
// what was there.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/classes.h"
#include "gui/graphics.h"
#include "gui/handles.h"
#include "gui/messages.h"
#include "gui/method_hook.h"

namespace gui {

class TWinControl;
class TPopupMenu;

// Reading order: right-to-left modes mirror alignment, reading order and the
// scroll bar's side as the system's WS_EX_RIGHT, WS_EX_RTLREADING and
// WS_EX_LEFTSCROLLBAR do.
enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  HMENU Menu = nullptr;  // the menu bar of a top-level window
  // The class the window is registered under (the object's class name), and
  // the system class it extends ("BUTTON"), or empty for a class of our own.
  std::wstring WinClassName;
  std::wstring BaseClassName;
  UINT ClassStyle = CS_DBLCLKS;
};

class TControl : public TComponent {
  GUI_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& text);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  TColor Color() const { return color_; }
  // Setting a colour ends ParentColor.
  void SetColor(TColor color);
  // With ParentColor the control takes its parent's Color, and follows it,
  // until given a colour of its own (as ParentFont does for the font and its
  // colour). On by default; off for controls with a colour of their kind
  // (edits, lists) and for forms.
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  HBRUSH BrushHandle();
  TFont& Font() { return font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  // Scales the control by m/d (rounding as MulDiv does): its bounds, its
  // own font when it has one, and whatever else of it is measured in pixels.
  // A windowed control scales its children too.
  virtual void ChangeScale(int m, int d);

  // Sends a message through the control's window method.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  // The replaceable window method; initially the control's own WndProc.
  // Layers put themselves in front of it through TWindowMethodHook.
  TWndMethod WindowProc;
  TWndMethod OwnWindowMethod() { return TWndMethod::Bind<TControl, &TControl::WndProc>(this); }

  virtual void WndProc(TMessage& message);
  // What happens to a message nobody handled.
  virtual void DefaultHandler(TMessage& message);

  TNotifyEvent OnClick;
  virtual void Click();

  // The context menu shown on a right click (WM_CONTEXTMENU).
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);

  // With ParentBiDiMode the control reads as its parent does.
  TBiDiMode BiDiMode() const;
  void SetBiDiMode(TBiDiMode mode);
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool value);
  bool UseRightToLeftReading() const { return BiDiMode() != TBiDiMode::bdLeftToRight; }
  bool UseRightToLeftAlignment() const { return BiDiMode() == TBiDiMode::bdRightToLeft; }
  // WS_EX_RTLREADING, WS_EX_LEFTSCROLLBAR and WS_EX_RIGHT as the mode says.
  DWORD RightToLeftExStyle() const;

  void Notification(TComponent* component, TOperation operation) override;

  bool MouseInControl() const { return mouseInControl_; }
  virtual bool IsWindowed() const { return false; }

  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  virtual void TextChanged() {}
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void VisibleChanged() {}
  virtual void EnabledChanged();
  virtual void BoundsChanged() {}
  virtual void BiDiModeChanged() {}
  void Invalidate();
  void InheritParentFont();
  void InheritParentColor();

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::wstring caption_;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clBtnFace;
  TFont font_;
  bool parentFont_ = true;
  bool parentColor_ = true;
  bool mouseInControl_ = false;

 private:
  friend class TWindowMethodHook;
  // Frees the links of every hook put in front of this control.
  void ForgetMethodLinks();
  std::vector<std::unique_ptr<TWindowMethodLink>> methodLinks_;

  TWinControl* parent_ = nullptr;
  // The brush of a colour of the control's own, shared with every control
  // of the same colour.
  std::shared_ptr<const ::gui::BrushHandle> brush_;
  bool fontFromParent_ = false;
  bool colorFromParent_ = false;
  TPopupMenu* popupMenu_ = nullptr;
  TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
  bool parentBiDiMode_ = true;
};

class TWinControl : public TControl {
  GUI_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window handle, created on first use together with the parent's.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();
  void RecreateWnd();

  const std::vector<TControl*>& Controls() const { return controls_; }
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  // Windowed children in tab order.
  const std::vector<TWinControl*>& TabList() const { return tabList_; }

  bool Focused() const;
  bool CanFocus() const;
  void SetFocus();

  bool DoubleBuffered = false;

  void SetBounds(int left, int top, int width, int height) override;
  void ChangeScale(int m, int d) override;
  RECT ClientRect();
  bool IsWindowed() const override { return true; }
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  // The framework object of a window of ours, or nullptr.
  static TWinControl* FindControl(HWND wnd);

  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  virtual void CreateParams(TCreateParams& params);
  // Extends a system window class under the object's own class name.
  void CreateSubClass(TCreateParams& params, const wchar_t* systemClass);
  // Sets a field that the window's style is made from; an existing window
  // is made again.
  template <class T>
  void SetStyleField(T& field, T value) {
    if (field == value) return;
    field = value;
    RecreateWnd();
  }
  virtual void CreateWnd();
  // Makes the window itself (CreateWindowEx); the object is bound to it by
  // its first message.
  virtual HWND CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWindowHandle();
  // Runs right after the window exists, before the children's windows.
  virtual void CreateWindowHandleDone() {}
  void CreateChildHandles();
  virtual void UpdateBoundsFromWindow();
  void FontChanged() override;
  void ColorChanged() override;
  void TextChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void BiDiModeChanged() override;
  // WM_CONTEXTMENU: shows the popup menu of this control, or of the
  // windowless child under the point; false when there is none.
  bool DoContextPopup(TMessage& message);
  // Whether the framework erases the background with Color (own classes).
  bool OwnClass() const { return ownClass_; }
  // The answer to a reflected WM_CTLCOLOR*: Font.Color on Color.
  LRESULT ControlColors(WPARAM dc);
  // The system's own answer to a reflected WM_CTLCOLOR*, as if nobody handled it.
  LRESULT SystemColors(const TMessage& reflected);
  // Runs before the window is destroyed while the control lives on (a new
  // window follows): keep what only the window knows.
  virtual void WindowHandleDestroying() {}
  // Windowless children draw through the parent's paint DC, moved to their
  // own origin and clipped to their bounds.
  void PaintGraphicChildren(HDC dc);

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;

 private:
  static LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  bool ReflectToChild(TMessage& message);
  // Mouse messages over a windowless child go to it, in its coordinates;
  // the child pressed keeps them until the button is released.
  bool MouseToGraphicChild(TMessage& message);
  TControl* GraphicChildAt(POINT p) const;

  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  bool tabStop_ = false;
  bool ownClass_ = false;
  TControl* mouseCapture_ = nullptr;
  TControl* mouseOver_ = nullptr;
};

// A windowed control that paints itself.
class TCustomControl : public TWinControl {
  GUI_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
  void WndProc(TMessage& message) override;

 protected:
  virtual void Paint(HDC dc) { (void)dc; }
};

// Reports an exception caught at a system callback (window procedure, hook,
// timer) through the application's standard error report; without an
// application object (a program that only uses the skin engine), through
// the report set with SetErrorReport, else in a message box.
void HandleException(TObject* sender);
using TErrorReport = std::function<void(const std::wstring& message)>;
// Answers the report that was set before.
TErrorReport SetErrorReport(TErrorReport report);

}  // namespace gui
