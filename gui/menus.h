// Menus built from trees of item objects: the main menu a form shows as its
// menu bar and popup menus. Each item that has sub-items owns the system
// menu (HMENU) that shows them, and the menu's root item owns the bar or the
// popup itself; the system items carry the framework item as their item data
// and a command id unique in the process. Changing an item updates the
// system menu at once, and a main menu tells the window that shows it with
// CM_MENUCHANGED. Items may follow an action (actions.h). Owner-drawn menus
// call each item's draw and measure handlers on WM_DRAWITEM and
// WM_MEASUREITEM; without handlers the items draw themselves as the system
// does.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/actions.h"
#include "gui/classes.h"
#include "gui/controls.h"
#include "gui/handles.h"

namespace gui {

class TImageList;
class TMenu;
class TMenuItem;
class TMainMenu;

using TMenuDrawItemEvent = std::function<void(TMenuItem* item, HDC dc, const RECT& rect, UINT itemState)>;
using TMenuMeasureItemEvent = std::function<void(TMenuItem* item, HDC dc, int& width, int& height)>;

enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };

// What a menu item shows and how it behaves, as one value.
struct TMenuItemState {
  std::wstring Caption;  // "&" marks the accelerator, "-" is a separator line
  std::wstring ShortCutText;  // shown after a tab; SetShortCut fills it in
  int ImageIndex = -1;
  bool Enabled = true;
  bool Checked = false;
  bool Visible = true;      // hidden items are left out of the system menu
  bool Default = false;     // drawn bold; the action of a double click
  bool RadioItem = false;   // checked with a bullet, one per GroupIndex
  bool AutoCheck = false;   // a click toggles Checked (radio items: checks)
  int GroupIndex = 0;       // radio groups; in a main menu, the merge order
  TShortCut ShortCut = scNone;
  TMenuBreak Break = TMenuBreak::mbNone;
  std::wstring Hint;
  bool operator==(const TMenuItemState&) const = default;
};

class TMenuItem : public TComponent, private TActionClient {
  GUI_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  // What the item shows and how it behaves. Every change goes through the
  // setters or Assign, which update the system menu and tell the window
  // that shows it.
  const TMenuItemState& State() const { return state_; }
  // Takes every value of `state` at once and updates the system menu once
  // (a radio item checked here unchecks nothing: the state is taken as it
  // stands).
  void Assign(const TMenuItemState& state);
  const std::wstring& Caption() const { return state_.Caption; }
  const std::wstring& ShortCutText() const { return state_.ShortCutText; }
  int ImageIndex() const { return state_.ImageIndex; }
  bool Enabled() const { return state_.Enabled; }
  bool Checked() const { return state_.Checked; }
  bool Visible() const { return state_.Visible; }
  bool Default() const { return state_.Default; }
  bool RadioItem() const { return state_.RadioItem; }
  bool AutoCheck() const { return state_.AutoCheck; }
  int GroupIndex() const { return state_.GroupIndex; }
  TShortCut ShortCut() const { return state_.ShortCut; }
  TMenuBreak Break() const { return state_.Break; }
  const std::wstring& Hint() const { return state_.Hint; }

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  void SetCaption(const std::wstring& caption);
  void SetEnabled(bool enabled);
  // Checking a radio item unchecks the other radio items of its group
  // under the same parent.
  void SetChecked(bool checked);
  void SetVisible(bool visible);
  void SetDefault(bool value);
  void SetRadioItem(bool value);
  void SetGroupIndex(int index);
  void SetShortCut(TShortCut shortCut);
  void SetImageIndex(int index);
  void SetBreak(TMenuBreak value);
  void SetAutoCheck(bool value) { state_.AutoCheck = value; }
  void SetHint(const std::wstring& hint) { state_.Hint = hint; }
  // Text shown after a tab without a shortcut of the item's own (the
  // system's "Alt+F4").
  void SetShortCutText(const std::wstring& text);
  // Brings the system menus up to date (the item's place or its submenu
  // changed).
  void Changed();

  // A new item owned by and listed under this one.
  TMenuItem* Add(const std::wstring& caption);
  // Lists an existing item under this one (it keeps its owner).
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  const std::vector<TMenuItem*>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* ParentItem() const { return parent_; }
  // The menu whose tree holds the item, or nullptr.
  TMenu* Menu() const;
  bool IsLine() const { return state_.Caption == L"-"; }
  UINT Command() const { return command_; }
  // The system menu showing the sub-items (built on first use), or nullptr
  // for an item without sub-items.
  HMENU Handle();
  bool HasSubmenu() const { return !items_.empty() || forcePopup_ || menu_; }
  // Keeps a submenu even without sub-items (the MDI window menu).
  void SetForcePopup(bool value);

  TAction* Action() const { return action_; }
  void SetAction(TAction* action);

  // OnClick, or the action when the item has no handler of its own; after
  // AutoCheck. Nothing happens to a disabled item.
  void Click();
  // The submenu is about to open: the sub-items' actions update and the
  // system menu is brought up to date.
  void InitiatePopup();

  // The framework's own measuring and drawing of an owner-drawn item, as
  // the system draws menu items.
  void MeasureItem(HDC dc, int& width, int& height);
  void DrawItem(HDC dc, const RECT& rect, UINT itemState);

  // The live item a menu's item data or command id names, or nullptr.
  static TMenuItem* FromItemData(ULONG_PTR data);
  static TMenuItem* FromCommand(UINT command);
  // The item whose system menu this is (a menu's root item for its bar or popup).
  static TMenuItem* FromMenuHandle(HMENU menu);

  void SetParentComponent(TComponent* parent) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 private:
  friend class TMenu;
  friend class TMainMenu;
  friend class TPopupMenu;
  void ActionChanged(TAction& action) override;
  void ApplyAction(const TAction& action);
  TImageList* Images() const;
  bool ShowsImage() const;
  bool TopLevel() const;
  // Refills the system menu from `list`, keeping entries the system added
  // (the MDI window list, a maximised child's buttons).
  void RebuildHandle(const std::vector<TMenuItem*>& list);
  void RebuildHandle();
  void DestroyHandle();
  // `extraType`: MFT_ flags the whole menu adds (reading order).
  void InsertInto(HMENU menu, UINT position, bool ownerDraw, UINT extraType);
  // Whether the system menu showing the item draws it through its owner
  // now (the skin engine may have made it so).
  bool OwnerDrawnIn(HMENU menu) const;
  HMENU ContainerHandle() const;

  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on root items only
  UINT command_ = 0;
  MenuLevelHandle handle_;
  std::vector<const TMenuItem*> inserted_;  // what RebuildHandle put into handle_
  bool builtOwnerDraw_ = false;
  bool forcePopup_ = false;
  TAction* action_ = nullptr;
  TMenuItemState state_;
};

class TMenu : public TComponent {
  GUI_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  TMenuItem& Items() { return *root_; }
  bool OwnerDraw = false;
  TImageList* Images = nullptr;
  void SetOwnerDraw(bool value);
  void SetImages(TImageList* images);
  // With ParentBiDiMode the menu reads as the window it belongs to does.
  TBiDiMode BiDiMode() const;
  void SetBiDiMode(TBiDiMode mode);
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool value);
  bool IsRightToLeft() const;

  // The system menu built from the items (a bar for main menus).
  HMENU Handle();
  // Rebuilds every system menu of the tree from the items as they are now.
  void Rebuild();
  // The actions of the top-level items update (the bar or popup is about
  // to open).
  void InitiateActions();

  // Runs the item whose ShortCut this is (after its action has updated);
  // false when the item, or a submenu on its way, is disabled. Hidden items
  // answer too: an item may be kept out of sight for its shortcut alone. A
  // main menu's merged items count as its own.
  bool IsShortCut(TShortCut shortCut);
  TMenuItem* FindItem(UINT command) const;

  // Answers WM_MEASUREITEM / WM_DRAWITEM for items of our menus; false for
  // anything else.
  static bool MeasureItem(MEASUREITEMSTRUCT& measure);
  static bool DrawItem(const DRAWITEMSTRUCT& draw);

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  friend class TMenuItem;
  // Something in the tree changed; `parent` is the item whose system menu
  // lists what changed.
  virtual void ItemsChanged(TMenuItem* parent);
  // The control whose reading order the menu follows.
  virtual TControl* BiDiSource() const;
  virtual HMENU CreateRootHandle() const { return CreatePopupMenu(); }
  // The items the root's system menu lists.
  virtual std::vector<TMenuItem*> RootItems() const { return root_->items_; }
  // True while the menu is read, or goes away with its owner: system menus
  // are then left alone.
  bool Changing() const;
  bool Updating() const { return updating_ > 0; }

  // Collects changes while several items update at once (actions before a
  // menu opens), and applies them once at the end.
  class TUpdateBatch {
   public:
    explicit TUpdateBatch(TMenu* menu);
    ~TUpdateBatch();
    TUpdateBatch(const TUpdateBatch&) = delete;
    TUpdateBatch& operator=(const TUpdateBatch&) = delete;

   private:
    TMenu* menu_;
  };
  virtual void EndUpdate(const std::vector<TMenuItem*>& changed);

  TMenuItem* root_;

 private:
  TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
  bool parentBiDiMode_ = true;
  int updating_ = 0;
  std::vector<TMenuItem*> pending_;
};

class TMainMenu : public TMenu {
  GUI_CLASS(TMainMenu, TMenu)
 public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;

  // The window showing the menu (a form sets itself); it is sent
  // CM_MENUCHANGED whenever the bar's items change.
  TWinControl* Window() const { return window_; }
  void SetWindow(TWinControl* window);

  // Shows another main menu's top-level items in this bar: they replace
  // items of the same GroupIndex and go in GroupIndex order (an MDI child's
  // menu in its frame's bar). Merge(nullptr) unmerges.
  void Merge(TMainMenu* menu);
  void Unmerge(TMainMenu* menu);
  TMainMenu* Merged() const { return merged_; }
  // The top-level items as the bar shows them: own and merged.
  std::vector<TMenuItem*> BarItems() const;

  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void ItemsChanged(TMenuItem* parent) override;
  void EndUpdate(const std::vector<TMenuItem*>& changed) override;
  TControl* BiDiSource() const override;
  HMENU CreateRootHandle() const override { return CreateMenu(); }
  std::vector<TMenuItem*> RootItems() const override { return BarItems(); }

 private:
  void RebuildBar();
  void NotifyWindow();
  friend class TMenuItem;
  TWinControl* window_ = nullptr;
  TMainMenu* merged_ = nullptr;
  TMainMenu* mergedInto_ = nullptr;
};

class TPopupMenu : public TMenu {
  GUI_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* owner);

  // Called before the menu shows.
  TNotifyEvent OnPopup;
  bool AutoPopup = true;
  // The control whose context menu is being shown, or nullptr.
  TControl* PopupComponent = nullptr;

  // The system menu built from the items as they are now.
  HMENU Handle();
  // Shows the menu at a screen point for the owner window and runs the
  // chosen item's click handler.
  void Popup(int x, int y, HWND owner);

  static void DeclareProperties(std::vector<TPropInfo>& list);
};

}  // namespace gui
