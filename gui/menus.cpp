#include "gui/menus.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "gui/imagelist.h"

namespace gui {

namespace {

// Per thread, as the windows the menus belong to. Never destroyed: menus
// freed at program exit still unregister here.
std::unordered_set<const TMenuItem*>& LiveItems() {
  thread_local auto* items = new std::unordered_set<const TMenuItem*>;
  return *items;
}
std::unordered_map<UINT, TMenuItem*>& Commands() {
  thread_local auto* commands = new std::unordered_map<UINT, TMenuItem*>;
  return *commands;
}
std::unordered_map<HMENU, TMenuItem*>& Handles() {
  thread_local auto* handles = new std::unordered_map<HMENU, TMenuItem*>;
  return *handles;
}

// Command ids stay below the system's commands (0xF000 and up) and the MDI
// window list; an id still in use after a wrap-around is skipped.
UINT NextCommand() {
  thread_local UINT next = 0x7000;
  do {
    if (++next >= 0xF000) next = 0x7001;
  } while (Commands().contains(next));
  return next;
}

FontHandle MenuFont(bool bold) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
  return FontHandle(CreateFontIndirectW(&metrics.lfMenuFont));
}

// The check mark or radio bullet the system draws, in the given colours.
void DrawMenuMark(HDC dc, const RECT& box, bool radio, COLORREF fore, COLORREF back) {
  const int w = box.right - box.left, h = box.bottom - box.top;
  MemoryDcHandle mask(CreateCompatibleDC(dc));
  BitmapHandle bits(CreateBitmap(w, h, 1, 1, nullptr));
  SelectGuard select(mask.get(), bits.get());
  RECT local{0, 0, w, h};
  DrawFrameControl(mask.get(), &local, DFC_MENU, radio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  // A one-bit source takes the text colour for black and the background for white.
  const COLORREF oldText = SetTextColor(dc, fore);
  const COLORREF oldBack = SetBkColor(dc, back);
  BitBlt(dc, box.left, box.top, w, h, mask.get(), 0, 0, SRCCOPY);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
}

constexpr int kTextGap = 6;       // between the glyph column and the caption
constexpr int kShortCutGap = 16;  // between the caption and the shortcut

}  // namespace

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {
  LiveItems().insert(this);
  Commands()[command_] = this;
}

TMenuItem::~TMenuItem() {
  BeginDestroy();
  if (action_) action_->UnregisterClient(this);
  // Sub-items go with their item, whoever owns them.
  while (!items_.empty()) {
    TMenuItem* last = items_.back();
    items_.pop_back();
    last->parent_ = nullptr;
    delete last;
  }
  if (parent_) parent_->Remove(this);
  DestroyHandle();
  LiveItems().erase(this);
  Commands().erase(command_);
}

TMenu* TMenuItem::Menu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

bool TMenuItem::TopLevel() const {
  return parent_ && parent_->menu_ && dynamic_cast<TMainMenu*>(parent_->menu_) != nullptr;
}

TImageList* TMenuItem::Images() const {
  TMenu* menu = Menu();
  return menu ? menu->Images : nullptr;
}

bool TMenuItem::ShowsImage() const {
  TImageList* images = Images();
  return images && state_.ImageIndex >= 0 && state_.ImageIndex < images->Count();
}

TMenuItem* TMenuItem::Add(const std::wstring& caption) {
  auto* item = new TMenuItem(this);
  item->state_.Caption = caption;
  Add(item);
  return item;
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  for (const TMenuItem* p = this; p; p = p->parent_)
    if (p == item) throw Exception(L"A menu item cannot be placed inside itself");
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  item->Changed();
  // An item that gains its first sub-item now needs a submenu of its own.
  if (items_.size() == 1) Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  if (IsDestroying()) return;
  if (TMenu* menu = Menu()) {
    menu->ItemsChanged(this);
  } else {
    RebuildHandle();
  }
  if (items_.empty()) Changed();  // no submenu any more
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent)) {
    menu->Items().Add(this);
  } else if (auto* item = dynamic_cast<TMenuItem*>(parent)) {
    item->Add(this);
  }
}

void TMenuItem::Changed() {
  if (!parent_) return;
  if (TMenu* menu = Menu()) {
    menu->ItemsChanged(parent_);
  } else {
    parent_->RebuildHandle();
  }
}

void TMenuItem::SetCaption(const std::wstring& caption) {
  if (AssignChanged(state_.Caption, caption)) Changed();
}

void TMenuItem::SetEnabled(bool enabled) {
  if (AssignChanged(state_.Enabled, enabled)) Changed();
}

void TMenuItem::SetChecked(bool checked) {
  if (checked == state_.Checked) return;
  state_.Checked = checked;
  if (checked && state_.RadioItem && parent_)
    for (TMenuItem* sibling : parent_->items_)
      if (sibling != this && sibling->state_.RadioItem && sibling->state_.GroupIndex == state_.GroupIndex)
        sibling->state_.Checked = false;
  Changed();
}

void TMenuItem::SetVisible(bool visible) {
  if (AssignChanged(state_.Visible, visible)) Changed();
}

void TMenuItem::SetDefault(bool value) {
  if (AssignChanged(state_.Default, value)) Changed();
}

void TMenuItem::SetRadioItem(bool value) {
  if (AssignChanged(state_.RadioItem, value)) Changed();
}

void TMenuItem::SetGroupIndex(int index) {
  if (AssignChanged(state_.GroupIndex, index)) Changed();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
  if (shortCut == state_.ShortCut && state_.ShortCutText == ShortCutToText(shortCut)) return;
  state_.ShortCut = shortCut;
  state_.ShortCutText = ShortCutToText(shortCut);
  Changed();
}

void TMenuItem::SetImageIndex(int index) {
  if (AssignChanged(state_.ImageIndex, index)) Changed();
}

void TMenuItem::SetBreak(TMenuBreak value) {
  if (AssignChanged(state_.Break, value)) Changed();
}

void TMenuItem::SetShortCutText(const std::wstring& text) {
  if (AssignChanged(state_.ShortCutText, text)) Changed();
}

void TMenuItem::Assign(const TMenuItemState& state) {
  if (state == state_) return;
  state_ = state;
  Changed();
}

void TMenuItem::SetForcePopup(bool value) {
  if (AssignChanged(forcePopup_, value)) Changed();
}

// --- actions ---------------------------------------------------------------

void TMenuItem::SetAction(TAction* action) {
  if (action == action_) return;
  if (action_) action_->UnregisterClient(this);
  action_ = action;
  if (action) {
    action->RegisterClient(this);
    ApplyAction(*action);
  }
}

void TMenuItem::ActionChanged(TAction& action) {
  if (&action != action_) return;
  if (action.IsDestroying()) {
    action_ = nullptr;  // the item keeps the state it has
    return;
  }
  ApplyAction(action);
}

void TMenuItem::ApplyAction(const TAction& action) {
  const std::wstring shortCutText = ShortCutToText(action.ShortCut());
  if (state_.Caption == action.Caption() && state_.Enabled == action.Enabled() &&
      state_.Checked == action.Checked() && state_.Visible == action.Visible() &&
      state_.ShortCut == action.ShortCut() && state_.ShortCutText == shortCutText &&
      state_.ImageIndex == action.ImageIndex())
    return;
  state_.Caption = action.Caption();
  state_.Enabled = action.Enabled();
  state_.Visible = action.Visible();
  state_.ShortCut = action.ShortCut();
  state_.ShortCutText = shortCutText;
  state_.ImageIndex = action.ImageIndex();
  if (state_.Checked != action.Checked()) {
    state_.Checked = !action.Checked();  // SetChecked keeps a radio group consistent
    SetChecked(action.Checked());
  } else {
    Changed();
  }
}

void TMenuItem::Click() {
  if (!state_.Enabled) return;
  if (state_.AutoCheck) {
    SetChecked(state_.RadioItem ? true : !state_.Checked);
    if (action_) action_->SetChecked(state_.Checked);
  }
  if (OnClick) {
    OnClick(this);
  } else if (action_) {
    action_->Execute();
  }
}

void TMenuItem::InitiatePopup() {
  TMenu* menu = Menu();
  {
    TMenu::TUpdateBatch batch(menu);
    for (TMenuItem* item : std::vector<TMenuItem*>(items_))
      if (item->action_) item->action_->Update();
  }
  RebuildHandle();
}

// --- system menus ------------------------------------------------------------

HMENU TMenuItem::Handle() {
  if (!HasSubmenu()) return nullptr;
  if (!handle_) {
    handle_.reset(menu_ ? menu_->CreateRootHandle() : CreatePopupMenu());
    if (!handle_) throw Exception(L"Error creating menu");
    Handles()[handle_.get()] = this;
    if (menu_) {
      RebuildHandle(menu_->RootItems());
    } else {
      RebuildHandle();
    }
  }
  return handle_.get();
}

void TMenuItem::DestroyHandle() {
  if (!handle_) return;
  // Every submenu belongs to an item of its own and stays (MenuLevelHandle).
  Handles().erase(handle_.get());
  handle_.reset();
  inserted_.clear();
}

void TMenuItem::RebuildHandle() {
  if (!handle_) return;
  if (menu_) {
    RebuildHandle(menu_->RootItems());  // a bar may show merged items too
  } else {
    RebuildHandle(items_);
  }
}

void TMenuItem::RebuildHandle(const std::vector<TMenuItem*>& list) {
  if (!handle_) return;
  // Take out what we put in last time; entries the system added stay where
  // they are. Ours start where the first of them was.
  int start = -1;
  for (int i = GetMenuItemCount(handle_.get()) - 1; i >= 0; --i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoW(handle_.get(), static_cast<UINT>(i), TRUE, &info)) continue;
    const auto* item = reinterpret_cast<const TMenuItem*>(info.dwItemData);
    if (std::find(inserted_.begin(), inserted_.end(), item) == inserted_.end()) continue;
    RemoveMenu(handle_.get(), static_cast<UINT>(i), MF_BYPOSITION);
    start = i;
  }
  if (start < 0) {
    // First build: after any leading picture item (a maximised MDI child's icon).
    start = 0;
    for (int count = GetMenuItemCount(handle_.get()); start < count; ++start) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_FTYPE | MIIM_BITMAP;
      if (!GetMenuItemInfoW(handle_.get(), static_cast<UINT>(start), TRUE, &info)) break;
      if (!(info.fType & MFT_BITMAP) && !info.hbmpItem) break;
    }
  }
  inserted_.clear();
  TMenu* menu = Menu();
  const bool ownerDraw = menu && menu->OwnerDraw;
  const bool rightToLeft = menu && menu->IsRightToLeft();
  const bool bar = menu_ && dynamic_cast<TMainMenu*>(menu_);
  UINT position = static_cast<UINT>(start);
  UINT defaultCommand = static_cast<UINT>(-1);
  for (TMenuItem* item : list) {
    if (!item->Visible()) continue;
    // Right to left, bar items also line up from the right edge.
    const UINT readingOrder = rightToLeft ? MFT_RIGHTORDER | (bar ? MFT_RIGHTJUSTIFY : 0u) : 0u;
    item->InsertInto(handle_.get(), position++, ownerDraw, readingOrder);
    inserted_.push_back(item);
    if (item->Default()) defaultCommand = item->Command();
  }
  SetMenuDefaultItem(handle_.get(), defaultCommand, FALSE);
}

void TMenuItem::InsertInto(HMENU menu, UINT position, bool ownerDraw, UINT extraType) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
  info.wID = command_;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  info.fState = (state_.Enabled ? MFS_ENABLED : MFS_GRAYED) | (state_.Checked ? MFS_CHECKED : 0u) |
                (state_.Default ? MFS_DEFAULT : 0u);
  std::wstring text = state_.Caption;
  if (!state_.ShortCutText.empty()) text += L"\t" + state_.ShortCutText;
  builtOwnerDraw_ = ownerDraw;
  if (ownerDraw) {
    info.fType = MFT_OWNERDRAW | (IsLine() ? MFT_SEPARATOR : 0u);
  } else if (IsLine()) {
    info.fType = MFT_SEPARATOR;
  } else {
    info.fType = MFT_STRING;
    info.fMask |= MIIM_STRING;
    info.dwTypeData = text.data();
    if (ShowsImage()) {
      // The image is drawn by the menu's owner on WM_DRAWITEM (DrawItem below).
      info.fMask |= MIIM_BITMAP;
      info.hbmpItem = HBMMENU_CALLBACK;
    }
  }
  if (state_.RadioItem) info.fType |= MFT_RADIOCHECK;
  if (state_.Break == TMenuBreak::mbBreak) info.fType |= MFT_MENUBREAK;
  if (state_.Break == TMenuBreak::mbBarBreak) info.fType |= MFT_MENUBARBREAK;
  info.fType |= extraType;
  if (HasSubmenu()) {
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = Handle();
  }
  InsertMenuItemW(menu, position, TRUE, &info);
}

// --- owner drawing -------------------------------------------------------------

void TMenuItem::MeasureItem(HDC dc, int& width, int& height) {
  FontHandle font = MenuFont(state_.Default);
  SelectGuard select(dc, font.get());
  const int menuHeight = GetSystemMetrics(SM_CYMENU);
  RECT caption{};
  DrawTextW(dc, state_.Caption.c_str(), -1, &caption, DT_CALCRECT | DT_SINGLELINE);
  if (TopLevel()) {
    width = caption.right;
    height = menuHeight;
    return;
  }
  TImageList* images = Images();
  const int glyph = images ? images->Width() : GetSystemMetrics(SM_CXMENUCHECK);
  if (IsLine()) {
    width = glyph;
    height = menuHeight / 2;
    return;
  }
  RECT shortCut{};
  if (!state_.ShortCutText.empty())
    DrawTextW(dc, state_.ShortCutText.c_str(), -1, &shortCut, DT_CALCRECT | DT_SINGLELINE);
  width = glyph + kTextGap + caption.right + (shortCut.right ? kShortCutGap + shortCut.right : 0) + kTextGap;
  height = std::max({static_cast<int>(caption.bottom) + 4, (images ? images->Height() : glyph) + 4, menuHeight});
}

void TMenuItem::DrawItem(HDC dc, const RECT& rect, UINT itemState) {
  const bool selected = (itemState & ODS_SELECTED) != 0;
  const bool disabled = !state_.Enabled || (itemState & (ODS_GRAYED | ODS_DISABLED));
  const TMenu* menu = Menu();
  const bool rightToLeft = menu && menu->IsRightToLeft();
  const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
  const COLORREF fore = GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  BrushHandle brush(CreateSolidBrush(back));
  FillRect(dc, &rect, brush.get());
  if (IsLine()) {
    RECT line = rect;
    line.top += (rect.bottom - rect.top) / 2 - 1;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  FontHandle font = MenuFont(state_.Default);
  SelectGuard select(dc, font.get());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldText = SetTextColor(dc, fore);
  const UINT prefix = (itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0u;
  const UINT reading = rightToLeft ? DT_RTLREADING : 0u;
  RECT text = rect;
  if (TopLevel()) {
    DrawTextW(dc, state_.Caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | prefix | reading);
  } else {
    TImageList* images = Images();
    const int glyph = images ? images->Width() : GetSystemMetrics(SM_CXMENUCHECK);
    const int glyphHeight = images ? images->Height() : glyph;
    RECT box;
    box.left = rightToLeft ? rect.right - 2 - glyph : rect.left + 2;
    box.top = rect.top + (rect.bottom - rect.top - glyphHeight) / 2;
    box.right = box.left + glyph;
    box.bottom = box.top + glyphHeight;
    if (ShowsImage()) {
      if (state_.Checked) {
        RECT edge = box;
        InflateRect(&edge, 1, 1);
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
      }
      ImageList_DrawEx(images->Handle(), state_.ImageIndex, dc, box.left, box.top, 0, 0, CLR_NONE, CLR_NONE,
                       disabled ? ILD_TRANSPARENT | ILD_BLEND50 : ILD_TRANSPARENT);
    } else if (state_.Checked) {
      DrawMenuMark(dc, box, state_.RadioItem, fore, back);
    }
    if (rightToLeft) {
      text.right = box.left - kTextGap;
      text.left += kTextGap;
    } else {
      text.left = box.right + kTextGap;
      text.right -= kTextGap;
    }
    const UINT align = rightToLeft ? DT_RIGHT : DT_LEFT;
    DrawTextW(dc, state_.Caption.c_str(), -1, &text,
              align | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | prefix | reading);
    if (!state_.ShortCutText.empty()) {
      const UINT opposite = rightToLeft ? DT_LEFT : DT_RIGHT;
      DrawTextW(dc, state_.ShortCutText.c_str(), -1, &text,
                opposite | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | reading);
    }
  }
  SetTextColor(dc, oldText);
  SetBkMode(dc, oldMode);
}

// --- lookups -------------------------------------------------------------------

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data) {
  auto* item = reinterpret_cast<TMenuItem*>(data);
  return LiveItems().contains(item) ? item : nullptr;
}

TMenuItem* TMenuItem::FromCommand(UINT command) {
  auto it = Commands().find(command);
  return it == Commands().end() ? nullptr : it->second;
}

TMenuItem* TMenuItem::FromMenuHandle(HMENU menu) {
  auto it = Handles().find(menu);
  return it == Handles().end() ? nullptr : it->second;
}

HMENU TMenuItem::ContainerHandle() const {
  if (!parent_) return nullptr;
  if (parent_->handle_) return parent_->handle_.get();
  // A top-level item of a menu merged into another bar is shown there.
  auto* main = dynamic_cast<TMainMenu*>(parent_->menu_);
  return main && main->mergedInto_ ? main->mergedInto_->root_->handle_.get() : nullptr;
}

bool TMenuItem::OwnerDrawnIn(HMENU menu) const {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  if (!menu || !GetMenuItemInfoW(menu, command_, FALSE, &info)) return builtOwnerDraw_;
  return (info.fType & MFT_OWNERDRAW) != 0;
}

void TMenuItem::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TMenuItem> b(list);
  b.String("Caption", [](TMenuItem& i) { return i.Caption(); },
           [](TMenuItem& i, const std::wstring& v) { i.SetCaption(v); });
  b.Boolean("Enabled", [](TMenuItem& i) { return i.Enabled(); }, [](TMenuItem& i, bool v) { i.SetEnabled(v); });
  b.Boolean("Checked", [](TMenuItem& i) { return i.Checked(); }, [](TMenuItem& i, bool v) { i.SetChecked(v); });
  b.Boolean("Visible", [](TMenuItem& i) { return i.Visible(); }, [](TMenuItem& i, bool v) { i.SetVisible(v); });
  b.Boolean("Default", [](TMenuItem& i) { return i.Default(); }, [](TMenuItem& i, bool v) { i.SetDefault(v); });
  b.Boolean("RadioItem", [](TMenuItem& i) { return i.RadioItem(); }, [](TMenuItem& i, bool v) { i.SetRadioItem(v); });
  b.Boolean("AutoCheck", [](TMenuItem& i) { return i.AutoCheck(); }, [](TMenuItem& i, bool v) { i.SetAutoCheck(v); });
  b.Integer("GroupIndex", [](TMenuItem& i) { return i.GroupIndex(); }, [](TMenuItem& i, int v) { i.SetGroupIndex(v); });
  b.Integer("ImageIndex", [](TMenuItem& i) { return i.ImageIndex(); }, [](TMenuItem& i, int v) { i.SetImageIndex(v); });
  b.Enumeration("Break", {"mbNone", "mbBreak", "mbBarBreak"}, [](TMenuItem& i) { return static_cast<int>(i.Break()); },
                [](TMenuItem& i, int v) { i.SetBreak(static_cast<TMenuBreak>(v)); });
  b.String("Hint", [](TMenuItem& i) { return i.Hint(); }, [](TMenuItem& i, const std::wstring& v) { i.SetHint(v); });
  TPropInfo shortCut{"ShortCut", TPropKind::Integer, {}, {}, {}, {}, {}, {}};
  shortCut.Get = [](TObject& o) { return prop::IntValue(static_cast<TMenuItem&>(o).ShortCut()); };
  shortCut.Set = [](TObject& o, const TPropValue& v) { static_cast<TMenuItem&>(o).SetShortCut(ShortCutFromValue(v)); };
  list.push_back(std::move(shortCut));
  b.Component<TAction>("Action", [](TMenuItem& i) { return i.Action(); }, [](TMenuItem& i, TAction* a) { i.SetAction(a); });
  b.Event("OnClick", &TMenuItem::OnClick);
}

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), root_(new TMenuItem(this)) { root_->menu_ = this; }

TMenu::~TMenu() {
  BeginDestroy();
  // The items go while the menu still is one: they ask it what they belong to.
  delete std::exchange(root_, nullptr);
}

bool TMenu::Changing() const {
  return IsDestroying() || IsLoading() || (Owner() && Owner()->IsDestroying());
}

TMenu::TUpdateBatch::TUpdateBatch(TMenu* menu) : menu_(menu) {
  if (menu_) ++menu_->updating_;
}

TMenu::TUpdateBatch::~TUpdateBatch() {
  if (!menu_ || --menu_->updating_ > 0) return;
  std::vector<TMenuItem*> changed;
  changed.swap(menu_->pending_);
  if (changed.empty()) return;
  try {
    menu_->EndUpdate(changed);
  } catch (...) {
    HandleException(menu_);
  }
}

void TMenu::EndUpdate(const std::vector<TMenuItem*>& changed) {
  for (TMenuItem* parent : changed)
    if (LiveItems().contains(parent)) ItemsChanged(parent);
}

void TMenu::ItemsChanged(TMenuItem* parent) {
  if (Changing() || !parent) return;
  if (updating_ > 0) {
    if (std::find(pending_.begin(), pending_.end(), parent) == pending_.end()) pending_.push_back(parent);
    return;
  }
  parent->RebuildHandle();
}

HMENU TMenu::Handle() { return root_->Handle(); }

void TMenu::Rebuild() {
  if (Changing()) return;
  std::vector<TMenuItem*> pending{root_};
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    item->RebuildHandle();
    pending.insert(pending.end(), item->items_.begin(), item->items_.end());
  }
}

void TMenu::InitiateActions() {
  TUpdateBatch batch(this);
  for (TMenuItem* item : RootItems())
    if (item->action_) item->action_->Update();
}

void TMenu::Loaded() {
  TComponent::Loaded();
  Rebuild();
}

void TMenu::SetOwnerDraw(bool value) {
  if (value == OwnerDraw) return;
  OwnerDraw = value;
  Rebuild();
}

void TMenu::SetImages(TImageList* images) {
  if (images == Images) return;
  if (Images) RemoveFreeNotification(Images);
  Images = images;
  if (images) FreeNotification(images);
  Rebuild();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == Images) {
    Images = nullptr;
    Rebuild();
  }
}

TControl* TMenu::BiDiSource() const { return dynamic_cast<TControl*>(Owner()); }

TBiDiMode TMenu::BiDiMode() const {
  if (parentBiDiMode_)
    if (const TControl* source = BiDiSource()) return source->BiDiMode();
  return biDiMode_;
}

void TMenu::SetBiDiMode(TBiDiMode mode) {
  biDiMode_ = mode;
  parentBiDiMode_ = false;
  Rebuild();
}

void TMenu::SetParentBiDiMode(bool value) {
  if (value == parentBiDiMode_) return;
  parentBiDiMode_ = value;
  Rebuild();
}

bool TMenu::IsRightToLeft() const { return BiDiMode() != TBiDiMode::bdLeftToRight; }

TMenuItem* TMenu::FindItem(UINT command) const {
  TMenuItem* item = TMenuItem::FromCommand(command);
  return item && item->Menu() == this ? item : nullptr;
}

bool TMenu::IsShortCut(TShortCut shortCut) {
  if (shortCut == scNone || Changing()) return false;
  std::vector<TMenuItem*> pending = RootItems();
  std::reverse(pending.begin(), pending.end());
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    if (item->ShortCut() == shortCut) {
      if (item->action_) item->action_->Update();
      // An item inside a disabled submenu cannot be reached either.
      for (const TMenuItem* p = item; p && p->parent_; p = p->parent_)
        if (!p->Enabled()) return false;
      item->Click();
      return true;
    }
    pending.insert(pending.end(), item->items_.rbegin(), item->items_.rend());
  }
  return false;
}

bool TMenu::MeasureItem(MEASUREITEMSTRUCT& measure) {
  if (measure.CtlType != ODT_MENU) return false;
  TMenuItem* item = TMenuItem::FromItemData(measure.itemData);
  if (!item) return false;
  if (!item->OwnerDrawnIn(item->ContainerHandle())) {
    // A plain item's picture (HBMMENU_CALLBACK): the size of its image.
    TImageList* images = item->Images();
    measure.itemWidth = images ? static_cast<UINT>(images->Width()) : 0u;
    measure.itemHeight = images ? static_cast<UINT>(images->Height()) : 0u;
    return true;
  }
  WindowDc dc = WindowDc::Client(nullptr);
  int width = static_cast<int>(measure.itemWidth), height = static_cast<int>(measure.itemHeight);
  if (item->OnMeasureItem) {
    item->OnMeasureItem(item, dc.get(), width, height);
  } else {
    item->MeasureItem(dc.get(), width, height);
  }
  measure.itemWidth = static_cast<UINT>(width);
  measure.itemHeight = static_cast<UINT>(height);
  return true;
}

bool TMenu::DrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.CtlType != ODT_MENU) return false;
  TMenuItem* item = TMenuItem::FromItemData(draw.itemData);
  if (!item) return false;
  if (!item->OwnerDrawnIn(reinterpret_cast<HMENU>(draw.hwndItem))) {
    if (item->ShowsImage()) {
      TImageList* images = item->Images();
      const int x = draw.rcItem.left + (draw.rcItem.right - draw.rcItem.left - images->Width()) / 2;
      const int y = draw.rcItem.top + (draw.rcItem.bottom - draw.rcItem.top - images->Height()) / 2;
      const bool disabled = !item->Enabled() || (draw.itemState & (ODS_GRAYED | ODS_DISABLED));
      ImageList_DrawEx(images->Handle(), item->ImageIndex(), draw.hDC, x, y, 0, 0, CLR_NONE, CLR_NONE,
                       disabled ? ILD_TRANSPARENT | ILD_BLEND50 : ILD_TRANSPARENT);
    }
    return true;
  }
  if (item->OnDrawItem) {
    item->OnDrawItem(item, draw.hDC, draw.rcItem, draw.itemState);
  } else {
    item->DrawItem(draw.hDC, draw.rcItem, draw.itemState);
  }
  return true;
}

void TMenu::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TMenu> b(list);
  b.Boolean("OwnerDraw", [](TMenu& m) { return m.OwnerDraw; }, [](TMenu& m, bool v) { m.SetOwnerDraw(v); });
  b.Enumeration("BiDiMode", {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"},
                [](TMenu& m) { return static_cast<int>(m.BiDiMode()); },
                [](TMenu& m, int v) { m.SetBiDiMode(static_cast<TBiDiMode>(v)); });
  b.Boolean("ParentBiDiMode", [](TMenu& m) { return m.ParentBiDiMode(); },
            [](TMenu& m, bool v) { m.SetParentBiDiMode(v); });
  b.Component<TImageList>("Images", [](TMenu& m) { return m.Images; }, [](TMenu& m, TImageList* v) { m.SetImages(v); });
}

// ---------------------------------------------------------------------------
// TMainMenu

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
  BeginDestroy();
  // The bar this menu is merged into lets go of its items while they exist.
  if (mergedInto_) mergedInto_->Unmerge(this);
  if (merged_) std::exchange(merged_, nullptr)->mergedInto_ = nullptr;
}

void TMainMenu::SetWindow(TWinControl* window) {
  if (window == window_) return;
  if (window_) RemoveFreeNotification(window_);
  window_ = window;
  if (window) FreeNotification(window);
  Rebuild();  // the reading order may follow the new window
}

TControl* TMainMenu::BiDiSource() const { return window_ ? window_ : TMenu::BiDiSource(); }

std::vector<TMenuItem*> TMainMenu::BarItems() const {
  const std::vector<TMenuItem*>& own = root_->items_;
  if (!merged_) return own;
  const std::vector<TMenuItem*>& other = merged_->root_->items_;
  std::vector<TMenuItem*> bar;
  std::size_t i = 0, j = 0;
  while (i < own.size() || j < other.size()) {
    if (j == other.size() || (i < own.size() && own[i]->GroupIndex() < other[j]->GroupIndex())) {
      bar.push_back(own[i++]);
      continue;
    }
    // The merged group takes the place of this menu's items of that group.
    const int group = other[j]->GroupIndex();
    while (j < other.size() && other[j]->GroupIndex() == group) bar.push_back(other[j++]);
    while (i < own.size() && own[i]->GroupIndex() == group) ++i;
  }
  return bar;
}

void TMainMenu::Merge(TMainMenu* menu) {
  if (menu == this) menu = nullptr;
  if (menu == merged_) return;
  if (merged_) {
    merged_->mergedInto_ = nullptr;
    RemoveFreeNotification(merged_);
  }
  merged_ = menu;
  if (menu) {
    if (menu->mergedInto_) menu->mergedInto_->Unmerge(menu);
    menu->mergedInto_ = this;
    FreeNotification(menu);
  }
  RebuildBar();
}

void TMainMenu::Unmerge(TMainMenu* menu) {
  if (menu && menu == merged_) Merge(nullptr);
}

void TMainMenu::RebuildBar() {
  if (Changing()) return;
  root_->RebuildHandle(BarItems());
  NotifyWindow();
}

void TMainMenu::NotifyWindow() {
  if (Changing() || !window_ || window_->IsDestroying() || !window_->HandleAllocated()) return;
  window_->Perform(CM_MENUCHANGED, 0, 0);
}

void TMainMenu::ItemsChanged(TMenuItem* parent) {
  TMenu::ItemsChanged(parent);
  if (Updating()) return;  // EndUpdate tells once for all
  // The bar this menu is merged into shows its top-level items too.
  if (mergedInto_) {
    if (parent == root_) {
      mergedInto_->RebuildBar();
    } else {
      mergedInto_->NotifyWindow();
    }
  }
  NotifyWindow();
}

void TMainMenu::EndUpdate(const std::vector<TMenuItem*>& changed) {
  bool topLevel = false;
  for (TMenuItem* parent : changed) {
    if (!LiveItems().contains(parent)) continue;
    TMenu::ItemsChanged(parent);
    topLevel = topLevel || parent == root_;
  }
  if (mergedInto_) {
    if (topLevel) {
      mergedInto_->RebuildBar();
    } else {
      mergedInto_->NotifyWindow();
    }
  }
  NotifyWindow();
}

void TMainMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == window_) window_ = nullptr;
  if (component == mergedInto_) mergedInto_ = nullptr;
  if (component == merged_) {
    merged_ = nullptr;
    RebuildBar();
  }
}

// ---------------------------------------------------------------------------
// TPopupMenu

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

HMENU TPopupMenu::Handle() {
  // Items written directly since the last showing take effect.
  if (root_->handle_) Rebuild();
  return TMenu::Handle();
}

void TPopupMenu::Popup(int x, int y, HWND owner) {
  if (OnPopup) OnPopup(this);
  InitiateActions();
  HMENU menu = Handle();
  if (!menu) return;
  UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON;
  // A right-to-left menu, or one of a mirrored window, opens mirrored and
  // right-aligned at the point: the system turns the alignment round for a
  // mirrored menu.
  const bool mirroredOwner = owner && (GetWindowLongPtrW(owner, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  if (IsRightToLeft() || mirroredOwner) flags |= TPM_LAYOUTRTL;
  const UINT command = static_cast<UINT>(TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr));
  PopupComponent = nullptr;
  if (TMenuItem* item = command ? TMenuItem::FromCommand(command) : nullptr) item->Click();
}

void TPopupMenu::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TPopupMenu> b(list);
  b.Boolean("AutoPopup", [](TPopupMenu& m) { return m.AutoPopup; }, [](TPopupMenu& m, bool v) { m.AutoPopup = v; });
  b.Event("OnPopup", &TPopupMenu::OnPopup);
}

}  // namespace gui
