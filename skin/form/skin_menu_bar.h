// The skinned menu bar of a form skinner. The window's own menu is taken off
// while it is skinned (so the system draws no bar) and its top-level items
// become non-client objects (TMenuBtn) drawn in the menu band below the
// title: they hover, press and open their submenus with TrackPopupMenu. While
// a submenu is open a thread message-filter hook moves between top-level
// items with the arrow keys and the mouse, wrapping round at either end.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "gui/handles.h"
#include "skin/form/nc_objects.h"

namespace gui {
class TMainMenu;
class TMenuItem;
}  // namespace gui

namespace skin {

class TSkinData;
class TWinSkinForm;
class TWinSkinMenu;

// Where the bar's items lie, in bar coordinates: each item is its caption's
// width plus a margin (nothing for a caption that measures 0), one after the
// other from `start` (from the right edge for a right-to-left bar), one pixel
// short of the bar's height.
std::vector<RECT> LayoutMenuBarItems(const std::vector<int>& textWidths, SIZE bar, int start, bool rightToLeft);

// The distance of the first item from the bar's leading edge.
struct TMenuBarStart {
  bool HasElement = false;  // the skin has a menu-bar picture
  int LeftWidth = 0, RightWidth = 0;
};
int MenuBarItemStart(const TMenuBarStart& skin, int barWidth, bool rightToLeft);

// One top-level item of the skinned bar.
class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TWinSkinMenu* bar, TWinSkinForm* form) : TNCObject(form), Bar(bar) {}
  void Paint() override;

  TWinSkinMenu* Bar;
  TSkinData* SkinData = nullptr;
  int Index = 0;
  std::wstring Caption;
  bool Enabled = true;
  HMENU Submenu = nullptr;
  UINT Command = 0;
};

class TWinSkinMenu {
 public:
  // Longest caption read from a menu item.
  static constexpr int kCaptionLength = 80;

  TWinSkinMenu(TWinSkinForm* form, TSkinData* skinData);
  TWinSkinMenu(const TWinSkinMenu&) = delete;
  TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

  // Each rebuilds Items; a load that finds items takes the menu off the
  // window, one that finds none leaves the window's menu where it is.
  void LoadFromWindowMenu();
  void LoadFromMainMenu();
  void LoadFromMenuHandle(HMENU menu);
  // The bar shows exactly the items of the menu, in order (the same
  // submenus; the same commands where there is no submenu).
  bool Shows(HMENU menu) const;

  // Draws the whole bar into `dc` at `bar` (window coordinates).
  void Paint(HDC dc, const RECT& bar);
  // One item in its present state, straight onto the window.
  void PaintItem(TMenuBtn& item);
  // What PaintItem puts there: the item's column of the bar as last painted.
  gui::TBitmap ItemPicture(const TMenuBtn& item);
  // The item under a point in window coordinates; never one without caption.
  TMenuBtn* FindMenuButton(POINT p) const;
  // The first enabled item whose accelerator ("&x") is the character.
  TMenuBtn* FindAccelButton(wchar_t ch) const;
  // The item `step` places away from `index`, wrapping round the bar.
  TMenuBtn* NeighbourButton(int index, int step) const;
  bool IsRightToLeft() const;
  // The framework item behind a top-level position, if any.
  gui::TMenuItem* FrameworkItem(int index) const;

  std::vector<std::unique_ptr<TMenuBtn>> Items;
  gui::TMainMenu* MainMenu = nullptr;
  RECT BarRect{};
  TSkinData* SkinData;
  TWinSkinForm* Form;
  gui::TBitmap Background;  // the bar as last painted, without items
  int Count = 0;
  bool Painting = false;
  HMENU MenuHandle = nullptr;

 private:
  // Reads the items of the menu; `fill` completes an item whose caption is
  // empty (owner-drawn items carry none) from the framework's item.
  template <class Fill>
  void LoadItems(const Fill& fill);
  void TakeMenuOffWindow();
  // Lays the items out in `bar` (window coordinates) with the menu font on `dc`.
  void Layout(HDC dc, const RECT& bar);
};

// Draws a bar caption centred in `rect`; a disabled one in the system's
// button-shadow colour.
void DrawMenuBarCaption(HDC dc, const RECT& rect, const std::wstring& text, bool enabled, COLORREF colour);

// The state of the one submenu of a skinned bar that can be open at a time.
struct TMenuTracking {
  TWinSkinForm* Form = nullptr;
  int TrackedIndex = -1;
  gui::TMenuItem* MenuTrackingItem = nullptr;
  gui::HookHandle Hook;
  bool FirstKeyDone = false;
  bool Switching = false;
  POINT LastMouse{};
  // The menu of the item selected last, and whether that item opens a
  // submenu of its own (none before the first selection).
  HMENU SelectedMenu = nullptr;
  bool SelectedHasSubmenu = false;
};
const TMenuTracking& CurrentMenuTracking();

// The WH_MSGFILTER hook that runs while a submenu of `form`'s bar is open.
void InstallMenuFilterHook(TWinSkinForm* form, int trackedIndex);
void RemoveMenuFilterHook();
// What the hook does with one message of the menu's loop; also fed the
// owner's WM_MENUSELECT, which the menu sends rather than posts.
void FilterMenuMessage(const MSG& msg);

}  // namespace skin
