// TWinSkinForm: the per-window skinner of a top-level window (a framework
// form, a message box or a dialog box). It puts itself in front of the form's
// window method and the window's procedure, takes the system caption away so
// the skin can paint the frame, keeps the client size inside the skin frame,
// builds the skinned system menu, holds the control skinners of the window,
// and gives all of it back, in one place (Restore), when the skin is switched
// off or the window dies.
//
// Ownership: the skinner of a framework form's window is a component of that
// form, which frees it with itself; the skinner of any other window belongs
// to whoever made it (the manager's list). Freeing it early (skin off, the
// window gone) takes it from its owner first (Free).
//
// Its state is private and in parts with one job each: the window's facts
// (TWindowFacts, the first part of the frame layout's input), the caption
// buttons with the hot or pressed object (caption_buttons.h), the menu-bar
// takeover (form_menu_bar.h), the popup-menu takeover (popup_takeover.h) and
// the title bar's account for accessibility clients (title_bar_facts.h).
// Its member functions live in skin_form*.cpp by job: life and attach here,
// restore, frame painting, region, non-client input, window commands, menus
// and MDI.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "gui/classes.h"
#include "gui/handles.h"
#include "gui/messages.h"
#include "gui/method_hook.h"
#include "gui/subclass.h"
#include "skin/controls/skin_control_host.h"
#include "skin/form/caption_buttons.h"
#include "skin/form/common_control_colours.h"
#include "skin/form/form_menu_bar.h"
#include "skin/form/frame_cache.h"
#include "skin/form/frame_layout.h"
#include "skin/form/frame_scroll_bars.h"
#include "skin/form/popup_takeover.h"
#include "skin/form/skinner_host.h"

namespace gui {
class TCustomForm;
class TPopupMenu;
class TTimer;
}  // namespace gui

namespace skin {

class TSkinData;

// The windows of a program mostly show one icon: its picture is kept once
// for all of them (and for the manager's default icon), found by its
// pixels, while anyone holds it.
std::shared_ptr<gui::TBitmap> SharedIconPicture(gui::TBitmap picture);

class TWinSkinForm : public gui::TComponent, public TSkinControlHost, private IMenuBarOwner {
  GUI_CLASS(TWinSkinForm, gui::TComponent)
 public:
  // ssAwaitingWindow: the form's window was destroyed while the form lives
  // on (it is being made again); the skinner waits for the new window and
  // takes it over as soon as it is complete.
  enum TSkinState {
    ssAttached = 0, ssRunning = 1, ssReskinning = 3, ssDestroying = 4,
    ssFitting = 5, ssDestroyed = 6, ssAwaitingWindow = 7
  };
  using enum TWindowButton;
  static constexpr int kSystemPopupTag = 33333;
  // The skinned system menu's items, by tag.
  enum TSystemMenuTag { smRestore = 0, smMaximize = 1, smMinimize = 2, smClose = 3, smSeparator = 100 };

  // The skinner of `wnd`, drawn from `data`, for its coordinator `host`
  // (none: the skinner behaves as the only skinned window, skinning on) and
  // its framework form `form` (none for a plain window), which then owns it.
  TWinSkinForm(HWND wnd, ISkinnerHost* host, TSkinData* data, gui::TCustomForm* form);
  ~TWinSkinForm() override;

  // Takes the window over. All or nothing: false (or the exception of a
  // failing step) leaves the window, its procedure, its styles and the
  // form exactly as they were.
  bool Attach();
  void RefreshSkin();
  // How the skin comes off a window: switched off (the window stays and
  // gets its system frame and size back; the manager's skin-off and high
  // contrast), the window destroyed (nothing of it is touched), an attach
  // given up half way (the window gets back exactly the style it had), or
  // the skinner freed while the window stays (let go, nothing touched).
  enum class TRestoreMode { SkinOff, WindowGone, AttachFailed, SkinnerFreed };
  // The one way the skin comes off (skin_form_restore.cpp): one ordered list
  // of steps, each in one place; what touches the window depends on the mode.
  void Restore(TRestoreMode mode);

  // What the manager drives.
  void SetSystemCaption(bool on);
  void RefreshFrame();
  void FreeSysButtons();
  void ComputeFrameMetrics();
  // True when it handed the system a new region.
  bool UpdateRegion();
  void RemoveRegion();
  // The next UpdateRegion makes the region again, as a size change would.
  void InvalidateRegion() { regionKey_.reset(); }
  // An MDI child follows the mode all children share: maximised children
  // wear the system's caption, the others the skin's frame again.
  void FollowMdiMaximized(bool maximized);
  // The system's keyboard menu (SC_KEYMENU with the character, 0 for Alt or
  // F10 alone) never starts on a skinned frame: the skinned bar answers
  // instead, true when it did. The manager's hook asks here when a child
  // window of no framework control had the key.
  bool AnswerKeyMenu(LPARAM ch);

  // The frame, in window coordinates, laid out for the window as it is now.
  TFrameLayout LayoutSysButtons() const;
  // Where the caption button lies in that layout, and whether it shows.
  TCaptionButtonPlace PlaceOf(const TWinSysButton& button) const;
  // What the frame is laid out from, for a window of the given size (the
  // window's own when none is given).
  TFrameInput FrameInput(SIZE window) const;
  TFrameInput FrameInput() const;
  // Paints the frame from its composed picture, composing it first when
  // anything it was composed from has changed since.
  void PaintNonClient(HDC dc = nullptr);
  int FrameComposeCount() const { return frameComposeCount_; }
  void DropFrameCache();
  // One caption button in a state, straight onto the window.
  void PaintSysButton(const TWinSysButton& button, int state);
  // Window coordinates as the frame's layout has them (in a mirrored
  // window counted from its right edge), from screen coordinates and back.
  POINT ScreenToWindow(int x, int y) const;
  RECT WindowToScreen(const RECT& r) const;

  // The window's facts and state, read.
  TSkinState State() const { return state_; }
  // Frees the skinner, taken from its owner: the framework form hands it
  // over, any other owner passes it as `owned`. While the skinner is
  // handling a message of its window (a program that takes the skin off
  // from inside its own command, a window destroyed inside the drawing) it
  // keeps itself until that message is done, having forgotten its host.
  static void Free(TWinSkinForm* skinner, std::unique_ptr<TWinSkinForm> owned = nullptr);
  // The coordinator goes before the skinner: it is not told of it any more.
  void ForgetHost() { host_ = nullptr; }
  const TWindowFacts& Facts() const { return facts_; }
  const TFrameThickness& Frame() const { return facts_.Frame; }
  int MenuHeight() const { return facts_.MenuHeight; }
  TShowState ShowState() const { return facts_.Show; }
  TMdiKind MdiKind() const { return facts_.Mdi; }
  TFrameKind FrameKind() const { return facts_.Kind; }
  bool Active() const { return facts_.Active; }
  bool FrameSkinned() const { return frameSkinned_; }
  // Why the skin's frame was left to the system on this window (fsNone:
  // it was not, or no frame was wanted).
  TFrameShortfall FrameRefused() const { return frameShortfall_; }
  // After ComputeFrameMetrics for a new skin: whether that skin can frame
  // the window where the last one could not, or the other way round; the
  // window is then skinned afresh rather than refreshed.
  bool FrameFitChanged() const;
  bool RegionSet() const { return regionKey_.has_value(); }
  const std::wstring& CaptionText() const { return captionText_; }
  // The client size the skin frame holds.
  const RECT& ClientRect() const { return clientRect_; }
  // A blank in the caption font, as a message box widens to its caption.
  int SpaceWidth() const { return spaceWidth_; }
  HFONT CaptionFont() const { return captionFont_ ? captionFont_->get() : nullptr; }
  // Tests: the window's buttons as the frame shows them from now on.
  void ChangeWindowButtons(std::uint8_t buttons) { facts_.WindowButtons = buttons; }

  // The caption buttons and the hot or pressed non-client object.
  const TCaptionButtons::TButtons& SysButtons() const { return buttons_.Buttons(); }
  TNCObject* CurrentObject() const { return buttons_.Current(); }
  void SetCurrentObject(TNCObject* object) { buttons_.SetCurrent(object); }
  gui::TPopupMenu* SkinSystemMenu() const { return skinSystemMenu_; }
  gui::TTimer* HoverTimer() const { return hoverTimer_; }

  // The skinned menu bar (form_menu_bar.h, skin_menu_bar.h).
  TWinSkinMenu* MenuBar() const { return menuBar_.Bar(); }
  bool MenuTracking() const { return menuBar_.Tracking(); }
  void EndMenuTracking() { menuBar_.SetTracking(false); }
  HMENU TrackedMenu() const { return menuBar_.TrackedMenu(); }
  TMenuBtn* FindAccelButton(wchar_t ch) const { return menuBar_.FindAccelButton(ch); }
  void ClickMenuButton(const TMenuBtn& item) { menuBar_.Click(item); }
  TMenuBarRoom MenuBarRoom() const { return menuBar_.Room(); }

  // Multiple-document windows (skin_form_mdi.cpp). A frame is known by the
  // "MDIClient" window among its children; it watches that window to skin
  // each new child and to keep the skinned bar in step with menu merging.
  bool MdiChildMaximized() const;
  HWND MdiClient() const { return mdiClient_; }
  // A child made through the client and not yet skinned, or none.
  HWND NewMdiChild() const { return newMdiChild_; }
  // An MDI frame while it has children: the bar follows menu merging
  // through the client (WM_MDISETMENU) rather than through the form's
  // menu-changed notification.
  bool MergingThroughClient() const { return menuBar_.MergingThroughClient(); }

  bool Attached() const { return subclass_.Attached(); }

  // The window, its coordinator (none for a skinner made on its own), its
  // skin and its framework form (none for a plain window).
  HWND Handle() const { return wnd_; }
  ISkinnerHost* Host() const { return host_; }
  TSkinData* SkinData() const { return skinData_; }
  gui::TCustomForm* Form() const { return form_; }

 private:
  void Notification(gui::TComponent* component, gui::TOperation operation) override;
  LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) { return subclass_.CallPrevious(msg, wParam, lParam); }

  // What the menu-bar part asks of its skinner (IMenuBarOwner).
  void SetMenuHeight(int height) override { facts_.MenuHeight = height; }
  LRESULT CallWindowBehind(UINT msg, WPARAM wParam, LPARAM lParam) override { return CallDefault(msg, wParam, lParam); }
  void CallFormBehind(gui::TMessage& message) override { formHook_.CallPrevious(message); }
  void GiveFrameMenuBack(HMENU menu) override;
  std::shared_ptr<bool> Alive() const override { return alive_; }
  bool AttachToForm();
  bool AttachToWindow();

  // skin_form.cpp: life, attach and the window procedure.
  void LoadCaptionFont();
  void ReadWindowFacts();
  // The reading order and mirroring the extended style gives the frame.
  void FollowExStyle(DWORD exStyle);
  void FormWindowMethod(gui::TMessage& message);
  // In front of the form's window method while the form makes its window
  // again: learns the new window's handle from its first message, answers
  // the skin query for it (so nothing else skins it meanwhile), and takes
  // it over on the SkinMsgAttached it posts itself, once the framework has
  // finished making the window and its controls.
  void AwaitNewWindow();
  void AwaitingWindowMethod(gui::TMessage& message);
  LRESULT SkinWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT FrameWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT WMNcDestroy(WPARAM wParam, LPARAM lParam);
  LRESULT WMCtlColor(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT WMGetObject(WPARAM wParam, LPARAM lParam);
  LRESULT WMNotify(WPARAM wParam, LPARAM lParam);
  // Child windows made since the last walk get their skinners from the
  // message loop, once they are complete.
  void SkinNewChildrenSoon();
  void OnSkinMsgAttached();
  // What the skin's frame, as the metrics hold it now, cannot give this
  // window at its size (skinned, its client kept), or fsNone.
  TFrameShortfall FrameShortfallNow() const;
  // Once per skin, through the skin data's report: why this window keeps
  // the system's frame.
  void ReportFrameShortfall();
  void AdjustFrameSize(bool keepClient);
  // A maximised window, or an MDI child while the children are maximised:
  // its place is the system's, and a fit only refreshes its frame.
  bool FitKeepsSystemPlace() const;
  // A sizeable window of no framework form keeps the window size its
  // program gave it (and reads back, and saves), skinned or not: the skin's
  // frame takes its room from the client area, as a themed frame does, and
  // the program lays its client out again as for any resize.
  bool KeepsWindowSize() const;
  void ReadShowState();
  bool IsRunningMdiChildOutOfNormal() const { return facts_.Mdi == mkChild && facts_.Show != shNormal; }
  bool MdiMaximized() const { return Host() && Host()->IsMdiMaximized(); }

  // skin_form_restore.cpp: the steps of Restore.
  void RestoreMenuBar(TRestoreMode mode);
  void RestoreSize(int menuHeight);

  // skin_form_frame.cpp: geometry and painting.
  void RenderIconBitmap();
  // The window icon's picture as the frame shows it; empty while none.
  gui::TBitmap& IconPicture() const;
  // The caption as the frame measures it: the text, a blank and the prefix.
  void SetCaptionText(std::wstring text);
  TFrameCacheKey FrameCacheKey(SIZE window) const;
  bool FramePaintable() const;
  // Lays the frame out for the window as it is and composes its picture
  // unless the one composed last is still right.
  TFrameLayout ComposedFrame();
  // Draws the border pieces, the title band, the caption and the buttons at
  // rest into frameCache_.
  void ComposeFrame(const TFrameLayout& layout, SIZE window);
  // index 1 left, 2 right, 3 top, 4 bottom.
  // One border piece nine-sliced to the rectangle, as the frame lays it out.
  gui::TBitmap RenderedPiece(int index, const RECT& rect);
  void PaintBorderPiece(int index, const RECT& rect, HDC dc);
  void PaintTitleBar(HDC dc, const TFrameLayout& layout);
  void PaintCaption(HDC dc, const TFrameLayout& layout);
  LRESULT WMNcCalcSize(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcPaint(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcActivate(WPARAM wParam, LPARAM lParam);
  LRESULT WMEraseBkgnd(WPARAM wParam, LPARAM lParam);

  // skin_form_region.cpp.
  gui::RegionHandle BandRegion(int index, const RECT& band, bool fromCache);
  bool FrameComposedAt(const RECT& band) const;

  // skin_form_input.cpp: non-client input.
  // A caption button, else a bar item, under the point.
  TNCObject* FindNCObject(POINT p);
  LRESULT WMNcHitTest(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcMouseMove(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcLButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcLButtonUp(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcLButtonDblClk(WPARAM wParam, LPARAM lParam);
  LRESULT WMNcRButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT WMSize(WPARAM wParam, LPARAM lParam);
  LRESULT WMGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
  SIZE SystemFrameSize() const;
  // The room the window's own scroll bars take beside its client area.
  SIZE ScrollBarsSize() const;
  void HoverTick();

  // skin_form_commands.cpp: the system menu and the window's commands.
  void BuildSystemPopup();
  void ShowSystemMenu(int x, int y);
  void DoButtonAction(int x, int y);
  void ToggleMaximize();
  void RestoreWindow();
  void ToggleMinimize();
  void CloseFromMenu();
  LRESULT WMCommand(WPARAM wParam, LPARAM lParam);
  LRESULT WMSysCommand(WPARAM wParam, LPARAM lParam);

  // skin_form_menu.cpp: owner-drawn menu items.
  // The framework item of the skinned bar (its main menu, merged items
  // included) that a command names, or none.
  gui::TMenuItem* BarMenuItem(UINT command) const;
  LRESULT WMMeasureItem(WPARAM wParam, LPARAM lParam);
  LRESULT WMDrawItem(WPARAM wParam, LPARAM lParam);

  // skin_form_mdi.cpp.
  void FindMdiClient();
  // A system command for the frame's active child.
  void SendToMdiChild(WPARAM command);
  bool HasMdiChildren() const;
  void SubclassMdiClient();
  void UnsubclassMdiClient();
  LRESULT MdiClientProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void FollowMdiFrameTitle();

  HWND wnd_;
  ISkinnerHost* host_;
  TSkinData* skinData_;
  gui::TCustomForm* form_;

  // The window's facts: what the frame is laid out from.
  TWindowFacts facts_;
  // What else the attach read of the window.
  DWORD styleBeforeAttach_ = 0;  // given back when the attach is abandoned
  std::wstring windowClass_;
  HWND ownerWindow_ = nullptr;
  HMENU systemMenu_ = nullptr;
  RECT nativeFrameSize_{};  // the system frame's extra width and height
  RECT clientRect_{};
  gui::TColor savedColor_ = 0;

  TSkinState state_ = ssAttached;
  bool frameSkinned_ = false;
  TFrameShortfall frameShortfall_ = fsNone;
  bool systemCaptionOn_ = true;

  // The caption.
  std::wstring captionPrefix_ = L"  ";
  std::wstring captionText_;
  SIZE captionMeasured_{};
  // One font for every skinned window whose caption font is the same.
  std::shared_ptr<const gui::FontHandle> captionFont_;
  int spaceWidth_ = 0;

  // The parts.
  TCaptionButtons buttons_;
  TFormMenuBar menuBar_{*this, *this};
  TPopupTakeover popups_{*this};
  TCommonControlColours commonColours_;
  TFrameScrollBars scrollBars_;

  // The frame's pictures: the window icon, the whole frame (also what a hot
  // or pressed button is drawn over) and what it was composed from.
  std::shared_ptr<gui::TBitmap> iconBitmap_;
  bool ownIcon_ = false;  // the window's or its class's, not the default
  std::uint32_t iconGeneration_ = 0;
  gui::TBitmap frameCache_;
  std::optional<TFrameCacheKey> frameCacheKey_;
  int frameComposeCount_ = 0;
  // What the region in force was made from; none while no region is set.
  std::optional<TRegionKey> regionKey_;

  // The system menu: the skinned popup and the double click on the icon.
  gui::TPopupMenu* skinSystemMenu_ = nullptr;
  DWORD lastIconClick_ = 0;
  UINT doubleClickTime_ = 0;

  // Multiple-document windows.
  HWND mdiClient_ = nullptr;
  HWND newMdiChild_ = nullptr;
  gui::TWindowSubclass mdiClientSubclass_;

  gui::TWindowMethodHook formHook_;
  gui::TWindowSubclass subclass_;
  gui::TTimer* hoverTimer_ = nullptr;
  gui::TTimer* childWalk_ = nullptr;
  // Cleared when this skinner goes: a modal menu loop may outlive it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  // Messages of its window being handled now; a skinner freed meanwhile
  // holds itself here until the last of them is done (Free).
  int busy_ = 0;
  std::unique_ptr<TWinSkinForm> self_;
};

// A form skinner made and attached for a window, as the coordinator makes
// one, with SkinMsgAttached posted to finish the attach from the message
// loop; none when the attach was given up (the window is as it was). A
// framework form owns its skinner; the skinner of any other window comes
// back in `owned`, for the caller to keep.
TWinSkinForm* MakeFormSkinner(HWND wnd, ISkinnerHost* host, TSkinData& data, gui::TCustomForm* form,
                              std::unique_ptr<TWinSkinForm>& owned);

// The window's text, at most 1000 characters.
std::wstring WindowText(HWND wnd);

}  // namespace skin
