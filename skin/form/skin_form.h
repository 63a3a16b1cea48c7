// TWinSkinForm: the per-window skinner of a top-level window (a framework
// form, a message box or a dialog box). It puts itself in front of the form's
// window method and the window's procedure, takes the system caption away so
// the skin can paint the frame, keeps the client size inside the skin frame,
// builds the skinned system menu, holds the control skinners of the window,
// and gives all of it back when the skin is switched off or the window dies.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gui/bitmap.h"
#include "gui/classes.h"
#include "gui/handles.h"
#include "gui/menus.h"
#include "gui/messages.h"
#include "gui/method_hook.h"
#include "gui/subclass.h"
#include "skin/controls/skin_control_host.h"
#include "skin/form/skinner_host.h"
#include "skin/form/frame_cache.h"
#include "skin/form/frame_layout.h"
#include "skin/form/nc_objects.h"
#include "skin/form/skin_menu_bar.h"

namespace gui {
class TCustomForm;
class TPopupMenu;
class TTimer;
}  // namespace gui

namespace skin {

class TSkinData;

class TWinSkinForm : public gui::TComponent, public TSkinControlHost {
  GUI_CLASS(TWinSkinForm, gui::TComponent)
 public:
  // ssAwaitingWindow: the form's window was destroyed while the form lives
  // on (it is being made again); the skinner waits for the new window and
  // takes it over as soon as it is complete.
  enum TSkinState {
    ssAttached = 0,
    ssRunning = 1,
    ssReskinning = 3,
    ssDestroying = 4,
    ssFitting = 5,
    ssDestroyed = 6,
    ssAwaitingWindow = 7
  };
  using enum TWindowButton;
  static constexpr int kSystemPopupTag = 33333;
  // The skinned system menu's items, by tag.
  enum TSystemMenuTag { smRestore = 0, smMaximize = 1, smMinimize = 2, smClose = 3, smSeparator = 100 };

  explicit TWinSkinForm(gui::TComponent* owner);
  ~TWinSkinForm() override;

  // All or nothing: false (or the exception of a failing step) leaves the
  // window, its procedure, its styles and the form exactly as they were.
  bool AttachToForm(TSkinData* data, gui::TCustomForm* form);
  bool AttachToWindow(TSkinData* data);
  void RefreshSkin();
  // How the skin comes off a window: switched off (the window stays and
  // gets its system frame and size back), the window destroyed (nothing of
  // it is touched), or an attach given up half way (the window gets back
  // exactly the style it had).
  enum class TRestoreMode { SkinOff, WindowGone, AttachFailed };
  // The one way the skin comes off: every mode gives back the form's window
  // method, the window procedure, the MDI client, the control skinners, the
  // popup menus (with their handlers), the colour and the menu bar, in
  // this order; what touches the window itself depends on the mode.
  void Restore(TRestoreMode mode);
  void Detach() { Restore(TRestoreMode::SkinOff); }
  void DetachOnDestroy() { Restore(TRestoreMode::WindowGone); }
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
  // What the frame's geometry is computed from, for a window of the given
  // size (the window's own when none is given).
  TFrameInput FrameInput(SIZE window) const;
  TFrameInput FrameInput() const;
  // The frame laid out for the window as it is now; CaptionRect,
  // RightButtonsLeft and the caption buttons' Visible and BoundsRect follow it.
  TFrameLayout LayoutSysButtons();
  // Paints the frame from its composed picture, composing it first when
  // anything it was composed from has changed since.
  void PaintNonClient(HDC dc = nullptr);
  // How many times the frame's picture has been composed.
  int FrameComposeCount() const { return frameComposeCount_; }
  // Forgets the composed frame; the next paint composes it again.
  void DropFrameCache();
  void PaintTitleBar(HDC dc, const TFrameLayout& layout);
  void PaintCaption(HDC dc, const TFrameLayout& layout);
  void PaintSysButtons(HDC dc);
  void PaintSysButton(TWinSysButton& button, int state);
  // index 1 left, 2 right, 3 top, 4 bottom.
  void PaintBorderPiece(int index, const RECT& rect, HDC dc);
  bool IsButtonVisible(std::size_t index);
  void RenderIconBitmap();

  // Non-client input.
  POINT ScreenToWindow(int x, int y) const;
  TWinSysButton* FindSysButton(POINT p);
  // A caption button, else a bar item, under the point.
  TNCObject* FindNCObject(POINT p);
  void DoButtonAction(int x, int y);
  void ShowSystemMenu(int x, int y);
  void ToggleMaximize();
  void RestoreWindow();
  void ToggleMinimize();

  // The skinned menu bar (see skin_menu_bar.h).
  // Opens the item's submenu below it and tracks it; false for an item
  // without one. Returns when the submenu has closed.
  bool OpenMenuButton(TMenuBtn& item);
  // Posts a non-client click on the item, which opens it.
  void ClickMenuButton(const TMenuBtn& item);
  TMenuBtn* FindAccelButton(wchar_t ch) const;
  // Alt or F10 pressed alone: the bar's first item is selected and the keys
  // work the bar as they work the system's (Left and Right move, Down, Up
  // or Enter open, a letter opens its item, Escape or Alt leave) until an
  // item opens or the mouse or another window takes over. Runs its own
  // message loop, as the system's menu mode does.
  void TrackBarKeys();
  // The system's keyboard menu (SC_KEYMENU with the character, 0 for Alt or
  // F10 alone) never starts on a skinned frame: the skinned bar answers
  // instead, true when it did. The window itself hears of the key when it
  // had it; when a child window of no framework control had it, the system
  // goes to the menu without asking the window, and the skin manager's
  // hook asks here.
  bool AnswerKeyMenu(LPARAM ch);
  // Room the bar's first row leaves for a maximised MDI child's buttons.
  TMenuBarRoom MenuBarRoom() const;
  // The bar's band fits its rows for a window of this width.
  void FitMenuHeight(int windowWidth);

  // Multiple-document windows (skin_form_mdi.cpp). A frame is known by the
  // "MDIClient" window among its children; it watches that window to skin
  // each new child and to keep the skinned bar in step with menu merging.
  void FindMdiClient();
  // An MDI frame whose active child is maximised.
  bool MdiChildMaximized() const;
  // A system command for the frame's active child.
  void SendToMdiChild(WPARAM command);
  // The frame's client holds a child window.
  bool HasMdiChildren() const;
  // Puts the frame's menu back on it through its client, as the system's
  // bar would have it now.
  void GiveFrameMenuBack(HMENU menu);
  void SubclassMdiClient();
  void UnsubclassMdiClient();

  bool AddControlSkinner(TSkinControlBase* skinner) override;
  void RemoveControlSkinner(TSkinControlBase* skinner) override;
  void PurgeDestroyedControls();
  void FreeControlSkinners();
  TSkinControlBase* FindWindowSkinner(HWND wnd) const;
  const std::vector<TSkinControlBase*>& ControlSkinners() const { return controlSkinners_; }

  bool Attached() const { return subclass_.Attached(); }
  gui::TPopupMenu* SkinSystemMenu() const { return skinSystemMenu_; }
  gui::TTimer* HoverTimer() const { return hoverTimer_; }

  HWND Handle = nullptr;
  // The coordinator that made this skinner; none for one made on its own.
  ISkinnerHost* Host = nullptr;
  TSkinData* SkinData = nullptr;
  gui::TCustomForm* Form = nullptr;
  int DisableTag = 0;
  std::wstring CaptionPrefix = L"  ";
  std::wstring CaptionText;
  std::wstring WindowClass;
  bool SystemCaptionOn = true;
  // An MDI frame while it has children: the bar follows menu merging
  // through the client (WM_MDISETMENU) rather than through the form's
  // menu-changed notification.
  bool MergingThroughClient = false;
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
  // A child made through the client and not yet skinned, or none.
  HWND NewMdiChild = nullptr;
  HMENU WindowMenu = nullptr;
  HMENU SystemMenu = nullptr;
  HMENU TrackedMenu = nullptr;  // the bar submenu open now, or last
  gui::TColor SavedColor = 0;
  DWORD Style = 0;
  bool RegionSet = false;
  std::uint8_t Active = 1;
  TMdiKind MdiKind = mkNone;
  TFrameKind FrameKind = fkSizing;
  std::uint8_t WindowButtons = 0;
  TShowState ShowState = shNormal;
  int SkinState = ssAttached;
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
  std::unique_ptr<TWinSkinMenu> MenuBar;

 private:
  void FormWindowMethod(gui::TMessage& message);
  // In front of the form's window method while the form makes its window
  // again: learns the new window's handle from its first message, answers
  // the skin query for it (so nothing else skins it meanwhile), and takes
  // it over on the SkinMsgAttached it posts itself, once the framework has
  // finished making the window and its controls.
  void AwaitNewWindow();
  void AwaitingWindowMethod(gui::TMessage& message);
  LRESULT SkinWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) { return subclass_.CallPrevious(msg, wParam, lParam); }
  void LoadCaptionFont();
  void OnSkinMsgAttached();
  void CloseFromMenu();
  void CreateMenuBar();
  // The window's menu, or none once it has gone: the bar goes with it.
  void DropMenuBar();
  // A window that is not a framework form was given a menu (SetMenu), or
  // its menu's items changed: the bar follows.
  void FollowWindowMenu();
  // The dialog-character notification: Alt+letter opens a bar item.
  bool MenuAccelerator(WPARAM ch);
  // The menu-changed notification, which puts the bar back on the window:
  // passed on (through the window procedure, or else the form's method)
  // with no frame painted meanwhile; then the bar is read and taken off.
  void MenuChanged(gui::TMessage& message, bool viaWindowProcedure);
  // Bar submenus are owner-drawn while they are open; what each item was.
  struct TOwnerDrawnItem {
    HMENU Menu;
    UINT Position;
    UINT Type;
  };
  std::vector<TOwnerDrawnItem> MakeOwnerDrawn(HMENU menu);
  static void RestoreItemTypes(const std::vector<TOwnerDrawnItem>& items);
  // Gives the skin's handlers to an item of a taken-over popup menu that
  // has none of its own, and records it in skinHandled_.
  void InstallSkinHandlers(gui::TMenuItem& item);
  // An item added to a taken-over popup menu since it was taken over gets
  // the skin's handlers when it is first measured or drawn.
  void AdoptPopupItem(ULONG_PTR itemData);
  void AssignSkinHandlers(gui::TMenuItem& item);
  // The framework item of the skinned bar (its main menu, merged items
  // included) that a command names, or none.
  gui::TMenuItem* BarMenuItem(UINT command) const;
  void HoverTick();
  bool IsRunningMdiChildOutOfNormal() const { return MdiKind == mkChild && ShowState != shNormal; }
  bool MdiMaximized() const { return Host && Host->IsMdiMaximized(); }
  // The caption as the frame measures it: the text, a blank and the prefix.
  void SetCaptionText(std::wstring text);
  gui::RegionHandle BandRegion(int index, const RECT& band, bool fromCache);
  TFrameCacheKey FrameCacheKey(SIZE window) const;
  // Whether the frame is drawn by the skin now.
  bool FramePaintable() const;
  // Lays the frame out for the window as it is and composes its picture
  // unless the one composed last is still right.
  TFrameLayout ComposedFrame();
  // Whether the composed frame covers the band (and so can shape it).
  bool FrameComposedAt(const RECT& band) const;
  // Draws the border pieces, the title band, the caption and the buttons at
  // rest into frameCache_.
  void ComposeFrame(const TFrameLayout& layout);

  LRESULT MdiClientProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT WMNcCalcSize(WPARAM wParam, LPARAM lParam);
  void FollowMdiFrameTitle();
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

  // The style before the attach, given back when it is abandoned.
  DWORD styleBeforeAttach_ = 0;
  gui::TWindowMethodHook formHook_;
  gui::TWindowSubclass subclass_;
  gui::TWindowSubclass mdiClientSubclass_;
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
  // Items given the skin's handlers (they go again at detach), by address
  // and command.
  std::vector<std::pair<const gui::TMenuItem*, UINT>> skinHandled_;
  HMENU menuBeingDrawn_ = nullptr;  // the menu of the owner-drawn item being drawn
  // Cleared when this skinner goes: a modal menu loop may outlive it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  SIZE captionMeasured_{};
  // The whole window's frame as last composed (the client area unused) and
  // what it was composed from.
  gui::TBitmap frameCache_;
  std::optional<TFrameCacheKey> frameCacheKey_;
  int frameComposeCount_ = 0;
  std::uint32_t iconGeneration_ = 0;
  // What the region in force was made from.
  std::optional<TRegionKey> regionKey_;
};

}  // namespace skin
