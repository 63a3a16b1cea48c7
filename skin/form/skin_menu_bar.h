// The skinned menu bar of a form skinner. The window's own menu is taken off
// while it is skinned (so the system draws no bar) and its top-level items
// become non-client objects (TMenuBtn) drawn in the menu band below the
// title, in as many rows as they need: they hover, press and open their
// submenus with TrackPopupMenu. While a submenu is open a thread
// message-filter hook moves between the top-level items that have one with
// the arrow keys and the mouse, wrapping round at either end.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "gui/handles.h"
#include "skin/form/frame_layout.h"
#include "skin/form/nc_objects.h"

namespace gui {
class TMainMenu;
class TMenuItem;
}  // namespace gui

namespace skin {

class TSkinData;
class TWinSkinForm;
class TWinSkinMenu;

// Room the first row keeps free at either end of the bar (a maximised MDI
// child's buttons).
struct TMenuBarRoom {
  int Left = 0, Right = 0;
};

// Where the bar's items lie, in bar coordinates: each item is its caption's
// width plus a margin (nothing for a caption that measures 0), one after the
// other from `start` (from the right edge for a right-to-left bar), one pixel
// short of a row's height (`bar.cy`). An item that would cross the bar's far
// end (or the room the first row keeps) starts the next row, as the system's
// bar wraps, unless it is the first of its row.
std::vector<RECT> LayoutMenuBarItems(const std::vector<int>& textWidths, SIZE bar, int start, bool rightToLeft,
                                     TMenuBarRoom room = {});
// How many rows such a layout takes (at least one).
int MenuBarRows(const std::vector<RECT>& items, int rowHeight);

// The distance of the first item from the bar's leading edge.
struct TMenuBarStart {
  bool HasElement = false;  // the skin has a menu-bar picture
  int LeftWidth = 0, RightWidth = 0;
};
int MenuBarItemStart(const TMenuBarStart& skin, int barWidth, bool rightToLeft);

// One top-level item of the skinned bar: what the menu's item says, and its
// position on the bar (where it lies is the bar's layout, ItemRect).
class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TWinSkinMenu* bar, TWinSkinForm* form, int index) : TNCObject(form), bar_(bar), index_(index) {}
  void Paint() override;
  int Index() const { return index_; }

  std::wstring Caption;
  bool Enabled = true;
  HMENU Submenu = nullptr;
  UINT Command = 0;

 private:
  TWinSkinMenu* bar_;
  int index_;
};

class TWinSkinMenu {
 public:
  // Longest caption read from a menu item.
  static constexpr int kCaptionLength = 80;

  TWinSkinMenu(TWinSkinForm* form, TSkinData* skinData);
  TWinSkinMenu(const TWinSkinMenu&) = delete;
  TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

  // Each rebuilds Items; a load that finds items takes the menu off the
  // window, one that finds none leaves the window's menu where it is. The
  // entries the system adds to a frame's menu for a maximised MDI child (its
  // icon and its three buttons) are not the bar's: the skin draws buttons of
  // its own.
  void LoadFromWindowMenu();
  void LoadFromMainMenu();  // the framework's visible bar items
  void LoadFromMenuHandle(HMENU menu);
  // The bar shows exactly what a load of the menu would give: the same
  // items in order, with the same captions, enabled states, submenus and
  // commands.
  bool Shows(HMENU menu) const;
  // The height of the band for a bar of this width: SM_CYMENU for each row.
  int HeightFor(int barWidth) const;

  // Draws the whole bar into `dc` at `bar` (window coordinates), with a
  // maximised MDI child's buttons where the frame's layout puts them.
  void Paint(HDC dc, const RECT& bar, const std::vector<TCaptionButtonPlace>& buttons);
  // One item in its present state, straight onto the window.
  void PaintItem(TMenuBtn& item);
  // What PaintItem puts there: the item's column of the bar as last laid out,
  // with the item in its present state or in `state`.
  gui::TBitmap ItemPicture(const TMenuBtn& item) { return ItemPicture(item, item.State); }
  gui::TBitmap ItemPicture(const TMenuBtn& item, int state);
  // Where the item lies (window coordinates), as the bar was last laid out.
  RECT ItemRect(const TMenuBtn& item) const;
  // The whole band, all its rows, as last painted.
  const RECT& BarRect() const { return barRect_; }
  // The item under a point in window coordinates; never one without caption.
  TMenuBtn* FindMenuButton(POINT p) const;
  // The first enabled item whose accelerator ("&x") is the character.
  TMenuBtn* FindAccelButton(wchar_t ch) const;
  // The next item from `index` in the direction of `step` that the keys can
  // stop on (a caption, enabled, and a submenu when `withSubmenu`), wrapping
  // round the bar; none when no other item qualifies.
  TMenuBtn* NeighbourButton(int index, int step, bool withSubmenu = false) const;
  // Whether the keys and the mouse stop on the item.
  static bool Selectable(const TMenuBtn& item) { return item.Enabled && !item.Caption.empty(); }
  // The framework menu reads right to left.
  bool IsRightToLeft() const;
  // The items start at the window's right edge as the screen shows it: the
  // menu reads right to left, or the window is mirrored. The arrow keys
  // then point the other way.
  bool StartsAtRight() const;
  // The items run from the layout's right end: the menu reads right to
  // left in a window that is not mirrored (a mirrored one shows its
  // layout's left end at the right).
  bool LaysOutFromRight() const;
  // The framework item behind a top-level position, if any.
  gui::TMenuItem* FrameworkItem(int index) const;

  // The framework's menu the bar's items come from, if any.
  gui::TMainMenu* MainMenu() const { return mainMenu_; }
  void SetMainMenu(gui::TMainMenu* menu) { mainMenu_ = menu; }
  // The menu the items were read from.
  HMENU MenuHandle() const { return menuHandle_; }
  void SetMenuHandle(HMENU menu) { menuHandle_ = menu; }

  std::vector<std::unique_ptr<TMenuBtn>> Items;

 private:
  TSkinData* skinData_;
  TWinSkinForm* form_;
  gui::TMainMenu* mainMenu_ = nullptr;
  HMENU menuHandle_ = nullptr;
  RECT barRect_{};
  std::vector<RECT> places_;  // each item's place, in Items' order

  // The bar's picture without items, all its rows, into a DC of the bar's
  // size laid out as the window's.
  void PaintBackground(HDC target, int w, int h);

  // What the bar would show for the menu's items; `fill` completes an item
  // whose caption is empty (owner-drawn items carry none) from the
  // framework's item.
  template <class Fill>
  std::vector<std::unique_ptr<TMenuBtn>> ReadItems(HMENU menu, const Fill& fill);
  template <class Fill>
  void LoadItems(const Fill& fill);
  void TakeMenuOffWindow();
  void FillFromCommand(TMenuBtn& button, HMENU menu, int position) const;
  std::vector<RECT> ItemPlaces(HDC dc, SIZE bar) const;
  // Lays the items out in `bar` (window coordinates) with the menu font on `dc`.
  void Layout(HDC dc, const RECT& bar);
};

// Takes out of a frame's menu what the system put in for a maximised MDI
// child (its icon first, its three buttons last). The system takes them out
// again only from the menu on the frame, which the skin holds off it.
void RemoveMdiChildItems(HMENU menu);

// Draws a bar caption centred in `rect`; a disabled one in the system's
// button-shadow colour.
void DrawMenuBarCaption(HDC dc, const RECT& rect, const std::wstring& text, bool enabled, COLORREF colour);

// The state of the one submenu of a skinned bar that can be open at a time.
struct TMenuTracking {
  TWinSkinForm* Form = nullptr;
  int TrackedIndex = -1;
  gui::HookHandle Hook;
  bool FirstKeyDone = false;
  // The Down key posted to select the first item, to `FirstKeyWindow`, has
  // not come through the menu's loop yet.
  bool FirstKeyPending = false;
  HWND FirstKeyWindow = nullptr;
  bool Switching = false;
  POINT LastMouse{};
  // The menu of the item selected last, whether that item opens a submenu
  // of its own, and whether its menu reads right to left (none, no and no
  // before the first selection).
  HMENU SelectedMenu = nullptr;
  bool SelectedHasSubmenu = false;
  bool SelectedRightToLeft = false;
  // The last thing the menu's loop saw was Escape in the bar's own
  // submenu, which ends the menu and leaves its item selected on the bar.
  bool EscapedToBar = false;
};
const TMenuTracking& CurrentMenuTracking();

// The WH_MSGFILTER hook that runs while a submenu of `form`'s bar is open.
void InstallMenuFilterHook(TWinSkinForm* form, int trackedIndex);
void RemoveMenuFilterHook();
// Takes the Down key the hook posted out of the queue when the menu has
// ended before it arrived: outside a menu it would reach the focused control.
void DropPendingFirstKey();
// What the hook does with one message of the menu's loop; also fed the
// owner's WM_MENUSELECT, which the menu sends rather than posts.
void FilterMenuMessage(const MSG& msg);

}  // namespace skin
