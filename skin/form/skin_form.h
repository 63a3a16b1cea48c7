// TWinSkinForm: the per-window skinner of a top-level window (a framework
// form, a message box or a dialog box). It puts itself in front of the form's
// window method and the window's procedure, takes the system caption away so
// the skin can paint the frame, keeps the client size inside the skin frame,
// builds the skinned system menu, holds the control skinners of the window,
// and gives all of it back when the skin is switched off or the window dies.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "gui/classes.h"
#include "gui/handles.h"
#include "gui/messages.h"
#include "gui/subclass.h"

namespace gui {
class TCustomForm;
class TPopupMenu;
class TTimer;
}  // namespace gui

namespace skin {

class TSkinData;

// What the form skinner needs of a control skinner; the skinner families
// derive from it.
class TSkinControlBase {
 public:
  virtual ~TSkinControlBase() = default;
  virtual HWND SkinnedWindow() const = 0;
  // 6: the control's window is gone.
  virtual int SkinnerState() const = 0;
  virtual void RestoreColor() = 0;
  virtual void SkinChanged() = 0;
  // The hot push button: the form skinner takes the hot look off it when the
  // pointer has left the rectangle it was last painted in (screen coordinates).
  virtual void SendMouseLeave() = 0;
  virtual RECT LastPaintedRect() const = 0;
};

class TWinSkinForm : public gui::TComponent {
  GUI_CLASS(TWinSkinForm, gui::TComponent)
 public:
  enum TSkinState { ssAttached = 0, ssRunning = 1, ssReskinning = 3, ssDestroying = 4, ssFitting = 5, ssDestroyed = 6 };
  enum TWindowButton : std::uint8_t { wbMaximize = 1, wbMinimize = 2, wbSystemMenu = 8, wbCaptionRemoved = 16 };
  static constexpr int kSystemPopupTag = 33333;

  explicit TWinSkinForm(gui::TComponent* owner);
  ~TWinSkinForm() override;

  void AttachToForm(TSkinData* data, gui::TCustomForm* form);
  void AttachToWindow(TSkinData* data);
  void RefreshSkin();
  void Detach();
  void DetachOnDestroy();
  void DetachUnframed();
  void SetSystemCaption(bool on);
  void AdjustFrameSize(bool keepClient);
  void RefreshFrame();
  void BuildSystemPopup();
  void SetPopupMenusOwnerDraw(gui::TCustomForm* form, bool on);
  void FreeSysButtons();
  void ComputeFrameMetrics();
  void ReadShowState();
  void UpdateRegion();
  void RemoveRegion();

  bool AddControlSkinner(TSkinControlBase* skinner);
  void RemoveControlSkinner(TSkinControlBase* skinner);
  void PurgeDestroyedControls();
  void FreeControlSkinners();
  TSkinControlBase* FindWindowSkinner(HWND wnd) const;
  const std::vector<TSkinControlBase*>& ControlSkinners() const { return controlSkinners_; }

  bool Attached() const { return subclass_.Attached(); }
  gui::TPopupMenu* SkinSystemMenu() const { return skinSystemMenu_; }
  gui::TTimer* HoverTimer() const { return hoverTimer_; }

  HWND Handle = nullptr;
  TSkinData* SkinData = nullptr;
  gui::TCustomForm* Form = nullptr;
  int DisableTag = 0;
  std::wstring CaptionPrefix = L"  ";
  std::wstring CaptionText;
  std::wstring WindowClass;
  bool SystemCaptionOn = true;
  bool SavedMenuUpdate = false;
  bool FrameSkinned = false;
  RECT ClientRect{};
  DWORD LastIconClick = 0;
  UINT DoubleClickTime = 0;
  int SpaceWidth = 0;
  HWND OwnerWindow = nullptr;
  int FrameLeft = 0, FrameTop = 0, FrameRight = 0, FrameBottom = 0;
  RECT NativeFrameSize{};
  int MenuHeight = 0;
  bool RightToLeft = false;
  HWND MdiClient = nullptr;
  HMENU WindowMenu = nullptr;
  HMENU SystemMenu = nullptr;
  gui::TColor SavedColor = 0;
  DWORD Style = 0;
  bool RegionSet = false;
  std::uint8_t Active = 1;
  std::uint8_t MdiKind = 0;
  std::uint8_t FrameKind = 0;
  std::uint8_t WindowButtons = 0;
  std::uint8_t ShowState = 0;
  int SkinState = ssAttached;
  // The push-button skinner that shows the hot look now, or none.
  TSkinControlBase* HotButton = nullptr;
  gui::FontHandle CaptionFont;
  gui::TBitmap IconBitmap;
  gui::TBitmap TitleCache;

 private:
  void FormWindowMethod(gui::TMessage& message);
  LRESULT SkinWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) { return subclass_.CallPrevious(msg, wParam, lParam); }
  void LoadCaptionFont();
  void OnSkinMsgAttached();
  void RestoreWindow();
  void ToggleMaximize();
  void ToggleMinimize();
  void CloseFromMenu();

  gui::TWndMethod savedWindowMethod_;
  gui::TWindowSubclass subclass_;
  gui::TTimer* hoverTimer_ = nullptr;
  gui::TPopupMenu* skinSystemMenu_ = nullptr;
  std::vector<TSkinControlBase*> controlSkinners_;
};

}  // namespace skin
