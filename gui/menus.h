// Popup menus built from item objects: captions, images from an image list,
// click handlers and, for owner-drawn menus, per-item draw and measure
// handlers that the window showing the menu calls on WM_DRAWITEM and
// WM_MEASUREITEM.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/classes.h"
#include "gui/handles.h"

namespace gui {

class TImageList;
class TMenuItem;

using TMenuDrawItemEvent = std::function<void(TMenuItem* item, HDC dc, const RECT& rect, UINT itemState)>;
using TMenuMeasureItemEvent = std::function<void(TMenuItem* item, HDC dc, int& width, int& height)>;

class TMenuItem : public TComponent {
  GUI_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  std::wstring Caption;  // "-" is a separator line
  std::wstring ShortCutText;
  int ImageIndex = -1;
  bool Enabled = true;
  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // A new item owned by and listed under this one.
  TMenuItem* Add(const std::wstring& caption);
  const std::vector<TMenuItem*>& Items() const { return items_; }
  TMenuItem* ParentItem() const { return parent_; }
  bool IsLine() const { return Caption == L"-"; }
  UINT Command() const { return command_; }
  void Click();

  // The live item a menu's item data or command id names, or nullptr.
  static TMenuItem* FromItemData(ULONG_PTR data);
  static TMenuItem* FromCommand(UINT command);

 private:
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  UINT command_ = 0;
};

class TPopupMenu : public TComponent {
  GUI_CLASS(TPopupMenu, TComponent)
 public:
  explicit TPopupMenu(TComponent* owner);

  TMenuItem& Items() { return *root_; }
  bool OwnerDraw = false;
  TImageList* Images = nullptr;

  // The system menu built from the items as they are now.
  HMENU Handle();
  // Shows the menu at a screen point for the owner window and runs the
  // chosen item's click handler.
  void Popup(int x, int y, HWND owner);

  // Answers WM_MEASUREITEM / WM_DRAWITEM for items of our menus; false for
  // anything else.
  static bool MeasureItem(MEASUREITEMSTRUCT& measure);
  static bool DrawItem(const DRAWITEMSTRUCT& draw);

 private:
  void Build(HMENU menu, const TMenuItem& parent);
  TMenuItem* root_;
  MenuHandle menu_;
};

}  // namespace gui
