#include "gui/menus.h"

#include <unordered_map>
#include <unordered_set>

namespace gui {

namespace {
// Never destroyed: menus freed at program exit still unregister here.
std::unordered_set<const TMenuItem*>& LiveItems() {
  static auto* items = new std::unordered_set<const TMenuItem*>;
  return *items;
}
std::unordered_map<UINT, TMenuItem*>& Commands() {
  static auto* commands = new std::unordered_map<UINT, TMenuItem*>;
  return *commands;
}
UINT NextCommand() {
  static UINT next = 0x7000;
  if (++next >= 0xF000) next = 0x7001;  // stay below the system commands
  return next;
}
}  // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {
  LiveItems().insert(this);
  Commands()[command_] = this;
}

TMenuItem::~TMenuItem() {
  BeginDestroy();
  LiveItems().erase(this);
  Commands().erase(command_);
  if (parent_) std::erase(parent_->items_, this);
  for (TMenuItem* item : items_) item->parent_ = nullptr;
}

TMenuItem* TMenuItem::Add(const std::wstring& caption) {
  auto* item = new TMenuItem(this);
  item->Caption = caption;
  item->parent_ = this;
  items_.push_back(item);
  return item;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data) {
  auto* item = reinterpret_cast<TMenuItem*>(data);
  return LiveItems().contains(item) ? item : nullptr;
}

TMenuItem* TMenuItem::FromCommand(UINT command) {
  auto it = Commands().find(command);
  return it == Commands().end() ? nullptr : it->second;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), root_(new TMenuItem(this)) {}

HMENU TPopupMenu::Handle() {
  menu_.reset(CreatePopupMenu());
  if (menu_) Build(menu_.get(), *root_);
  return menu_.get();
}

void TPopupMenu::Build(HMENU menu, const TMenuItem& parent) {
  UINT position = 0;
  for (TMenuItem* item : parent.Items()) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
    info.wID = item->Command();
    info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    info.fState = item->Enabled ? MFS_ENABLED : MFS_GRAYED;
    std::wstring text = item->Caption;
    if (!item->ShortCutText.empty()) text += L"\t" + item->ShortCutText;
    if (OwnerDraw) {
      info.fType = MFT_OWNERDRAW | (item->IsLine() ? MFT_SEPARATOR : 0u);
    } else if (item->IsLine()) {
      info.fType = MFT_SEPARATOR;
    } else {
      info.fType = MFT_STRING;
      info.fMask |= MIIM_STRING;
      info.dwTypeData = text.data();
    }
    if (!item->Items().empty()) {
      HMENU sub = CreatePopupMenu();  // destroyed with its parent menu
      Build(sub, *item);
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = sub;
    }
    InsertMenuItemW(menu, position++, TRUE, &info);
  }
}

void TPopupMenu::Popup(int x, int y, HWND owner) {
  HMENU menu = Handle();
  if (!menu) return;
  const UINT command = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
  if (TMenuItem* item = command ? TMenuItem::FromCommand(command) : nullptr) item->Click();
}

bool TPopupMenu::MeasureItem(MEASUREITEMSTRUCT& measure) {
  if (measure.CtlType != ODT_MENU) return false;
  TMenuItem* item = TMenuItem::FromItemData(measure.itemData);
  if (!item) return false;
  if (item->OnMeasureItem) {
    WindowDc dc = WindowDc::Client(nullptr);
    int width = static_cast<int>(measure.itemWidth), height = static_cast<int>(measure.itemHeight);
    item->OnMeasureItem(item, dc.get(), width, height);
    measure.itemWidth = static_cast<UINT>(width);
    measure.itemHeight = static_cast<UINT>(height);
  }
  return true;
}

bool TPopupMenu::DrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.CtlType != ODT_MENU) return false;
  TMenuItem* item = TMenuItem::FromItemData(draw.itemData);
  if (!item) return false;
  if (item->OnDrawItem) item->OnDrawItem(item, draw.hDC, draw.rcItem, draw.itemState);
  return true;
}

}  // namespace gui
