// The menu-bar takeover of a form skinner: the window's menu comes off the
// window while it is skinned and its items become a bar (TWinSkinMenu) in
// the menu band below the title. This part makes and drops the bar, keeps
// its band's height (the window facts' MenuHeight) in step with the width,
// follows menu changes, opens the items' submenus (owner-drawn while they
// are open), works the bar from the keys, and puts the menu back on the
// window when the skin comes off.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "gui/messages.h"
#include "skin/form/skin_menu_bar.h"

namespace skin {

class TWinSkinForm;

// Where the window's menu goes when the skin comes off: back on the window,
// back through an MDI frame's client, away with the window (a plain
// window's menu, which would be lost otherwise), or nowhere (the window is
// not touched).
enum class TMenuReturn { OnWindow, ThroughMdiClient, WithWindow, LetGo };

// What the bar may do to its skinner beyond reading its public face: set
// the band's height in the window's facts and reach the procedures behind
// the skinner. The skinner implements it privately and hands it only to its
// bar.
class IMenuBarOwner {
 public:
  virtual void SetMenuHeight(int height) = 0;
  // The message passed on to the window's procedure behind the skinner.
  virtual LRESULT CallWindowBehind(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  // The message passed on to the framework form's window method behind it.
  virtual void CallFormBehind(gui::TMessage& message) = 0;
  // Puts an MDI frame's menu back on it through its client, as the
  // system's bar would have it now.
  virtual void GiveFrameMenuBack(HMENU menu) = 0;
  // Cleared when the skinner goes: a modal menu loop may outlive it.
  virtual std::shared_ptr<bool> Alive() const = 0;

 protected:
  ~IMenuBarOwner() = default;
};

class TFormMenuBar {
 public:
  // An item of a bar submenu made owner-drawn while it is open, and what it was.
  struct TOwnerDrawnItem {
    HMENU Menu;
    UINT Position;
    UINT Type;
  };

  TFormMenuBar(TWinSkinForm& skinner, IMenuBarOwner& owner) : skinner_(skinner), owner_(owner) {}
  TFormMenuBar(const TFormMenuBar&) = delete;
  TFormMenuBar& operator=(const TFormMenuBar&) = delete;

  TWinSkinMenu* Bar() const { return bar_.get(); }
  // The window's menu as the bar found it, or none.
  HMENU WindowMenu() const { return windowMenu_; }
  bool Tracking() const { return tracking_; }
  void SetTracking(bool on) { tracking_ = on; }
  // The bar submenu open now, or the one open last.
  HMENU TrackedMenu() const { return trackedMenu_; }
  // True for an item of the open submenu that the skin made owner-drawn to
  // draw it; an item the window owner-draws itself stays the window's.
  bool DrawsItem(UINT id) const;
  bool MergingThroughClient() const { return mergingThroughClient_; }
  void SetMergingThroughClient(bool on) { mergingThroughClient_ = on; }
  // A menu change is being passed on to the window: no skinned frame is
  // painted meanwhile.
  bool PassingChangeOn() const { return passingChangeOn_; }

  // At attach: the window's menu, if it has one, becomes the bar.
  void TakeWindowMenu();
  // The bar goes, and the menu where `how` says.
  void GiveBack(TMenuReturn how);
  // The bar's band fits its rows for a window of this width.
  void FitHeight(int windowWidth);
  // A window that is not a framework form was given a menu (SetMenu), or
  // its menu's items changed: the bar follows.
  void FollowWindowMenu();
  // The window's frame changed, as SetMenu and DrawMenuBar change it: the
  // bar follows the menu unless it shows it as it stands (a new window
  // region, say, changes the frame as well).
  void FollowFrameChange();
  // The menu-changed notification, which puts the bar back on the window:
  // passed on (through the window procedure, or else the form's method)
  // with no frame painted meanwhile; then the bar is read and taken off.
  void MenuChanged(gui::TMessage& message, bool viaWindowProcedure);
  // The item with this accelerator, or none.
  TMenuBtn* FindAccelButton(wchar_t ch) const { return bar_ ? bar_->FindAccelButton(ch) : nullptr; }
  // Alt+letter: opens the bar item (the dialog-character notification).
  bool Accelerator(WPARAM ch);
  // Room the bar's first row leaves for a maximised MDI child's buttons.
  TMenuBarRoom Room() const;
  // Posts a non-client click on the item, which opens it.
  void Click(const TMenuBtn& item);
  // Opens the item's submenu below it and tracks it; false for an item
  // without one. Returns when the submenu has closed.
  bool Open(TMenuBtn& item);
  // Alt or F10 pressed alone: the bar's first item is selected (or the
  // item `first`, whose submenu Escape closed) and the keys work the bar
  // as they work the system's (Left and Right move, Down, Up or Enter open,
  // a letter opens its item, Escape or Alt leave) until an item opens or
  // the mouse or another window takes over. Runs its own message loop, as
  // the system's menu mode does.
  void TrackKeys(int first = -1);

 private:
  void Create();
  // The window's menu, or none once it has gone: the bar goes with it.
  void Drop();
  // The band's height may have changed: the frame is recalculated.
  void Refit(int heightBefore);

  TWinSkinForm& skinner_;
  IMenuBarOwner& owner_;
  std::unique_ptr<TWinSkinMenu> bar_;
  std::vector<TOwnerDrawnItem> ownerDrawn_;
  HMENU windowMenu_ = nullptr;
  HMENU trackedMenu_ = nullptr;
  bool tracking_ = false;
  bool mergingThroughClient_ = false;
  bool passingChangeOn_ = false;
};

}  // namespace skin
