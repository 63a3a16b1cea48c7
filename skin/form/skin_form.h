// TWinSkinForm: the per-window skinner of a top-level window (a framework
// form, a message box or a dialog box). It puts itself in front of the form's
// window method and the window's procedure, takes the system caption away so
// the skin can paint the frame, keeps the client size inside the skin frame,
// builds the skinned system menu, holds the control skinners of the window,
// and gives all of it back when the skin is switched off or the window dies.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "gui/classes.h"
#include "gui/handles.h"
#include "gui/menus.h"
#include "gui/messages.h"
#include "gui/subclass.h"
#include "skin/form/nc_objects.h"

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

  // All or nothing: false (or the exception of a failing step) leaves the
  // window, its procedure, its styles and the form exactly as they were.
  bool AttachToForm(TSkinData* data, gui::TCustomForm* form);
  bool AttachToWindow(TSkinData* data);
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

  // The skinned frame. Points and rectangles are window coordinates.
  void PaintNonClient(HDC dc = nullptr);
  void PaintTitleBar(HDC dc);
  void PaintCaption(HDC dc, const RECT& band);
  void LayoutSysButtons();
  void PaintSysButtons(HDC dc);
  void PaintSysButton(TWinSysButton& button, int state);
  // index 1 left, 2 right, 3 top, 4 bottom.
  void PaintBorderPiece(int index, const RECT& rect, HDC dc);
  bool IsButtonVisible(std::size_t index);
  void RenderIconBitmap();

  // Non-client input.
  POINT ScreenToWindow(int x, int y) const;
  TWinSysButton* FindSysButton(POINT p) const;
  void DoButtonAction(int x, int y);
  void ShowSystemMenu(int x, int y);
  void ToggleMaximize();
  void RestoreWindow();
  void ToggleMinimize();

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
  bool MenuTracking = false;
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
  RECT WindowRect{};
  int WindowWidth = 0, WindowHeight = 0;
  RECT CaptionRect{};
  int RightButtonsLeft = 0;
  std::vector<std::unique_ptr<TWinSysButton>> SysButtons;
  TNCObject* CurrentObject = nullptr;
  HRGN RegionHandle = nullptr;  // a record only: the window owns the region
  SIZE RegionSize{};

 private:
  void FormWindowMethod(gui::TMessage& message);
  LRESULT SkinWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) { return subclass_.CallPrevious(msg, wParam, lParam); }
  void LoadCaptionFont();
  void AbandonAttach(DWORD styleBefore);
  void OnSkinMsgAttached();
  void CloseFromMenu();
  void HoverTick();
  bool IsRunningMdiChildOutOfNormal() const { return MdiKind == 2 && ShowState != 0; }
  gui::RegionHandle BandRegion(int index, const RECT& band, bool fromCache);

  LRESULT WMNcCalcSize(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcPaint(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcActivate(WPARAM wParam, LPARAM lParam);
  LRESULT WMEraseBkgnd(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcHitTest(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcMouseMove(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcLButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcLButtonUp(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcLButtonDblClk(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcRButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT WMCommand(WPARAM wParam, LPARAM lParam);
  LRESULT WMSysCommand(WPARAM wParam, LPARAM lParam);
  LRESULT WMSize(WPARAM wParam, LPARAM lParam);
  LRESULT WMGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
  LRESULT WMMeasureItem(WPARAM wParam, LPARAM lParam);
  LRESULT WMDrawItem(WPARAM wParam, LPARAM lParam);

  gui::TWndMethod savedWindowMethod_;
  gui::TWindowSubclass subclass_;
  gui::TTimer* hoverTimer_ = nullptr;
  gui::TPopupMenu* skinSystemMenu_ = nullptr;
  std::vector<TSkinControlBase*> controlSkinners_;
  // The owner-draw switch and item handlers the application's popup menus
  // had before the skin took them over.
  struct TSavedMenuDraw {
    const gui::TPopupMenu* Menu;
    bool OwnerDraw;
    struct Item {
      const gui::TMenuItem* Item;
      UINT Command;
      gui::TMenuDrawItemEvent Draw;
      gui::TMenuMeasureItemEvent Measure;
    };
    std::vector<Item> Items;
  };
  std::vector<TSavedMenuDraw> savedMenus_;
  HMENU menuBeingDrawn_ = nullptr;  // the menu of the owner-drawn item being drawn
};

}  // namespace skin
