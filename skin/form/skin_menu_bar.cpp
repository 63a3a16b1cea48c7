// The skinned menu bar: item layout and painting, hit and accelerator
// lookup. The message-filter hook that moves between open submenus is in
// menu_filter_hook.cpp.
#include "skin/form/skin_menu_bar.h"

#include <algorithm>

#include "gui/graphics.h"
#include "gui/handles.h"
#include "gui/menus.h"
#include "gui/stdctrls.h"
#include "skin/data/element_draw.h"
#include "skin/data/look_transitions.h"
#include "skin/data/paint_guard.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_mirror.h"
#include "skin/data/skin_scratch.h"
#include "skin/data/skin_text.h"
#include "skin/form/menu_item_draw.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

// The menu-bar picture holds the active look above the inactive one.
constexpr int kMenuBarFrames = 2;
enum TMenuBarFrame { mfActive = 1, mfInactive = 2 };

TDataSkinObject* MenuBarElement(TSkinData* data) {
  TDataSkinObject* element = data ? data->Skin().MenuBar.get() : nullptr;
  return element && !element->Image.Empty() ? element : nullptr;
}

int TextWidth(HDC dc, const std::wstring& text) {
  if (text.empty()) return 0;
  RECT r{};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  return r.right - r.left;
}

}  // namespace

// --- TMenuBtn ---------------------------------------------------------------

void TMenuBtn::Paint() { bar_->PaintItem(*this); }

// --- TWinSkinMenu -----------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TWinSkinForm* form, TSkinData* skinData) : skinData_(skinData), form_(form) {}

bool TWinSkinMenu::IsRightToLeft() const { return mainMenu_ && mainMenu_->IsRightToLeft(); }

bool TWinSkinMenu::StartsAtRight() const { return IsRightToLeft() || form_->Facts().Mirrored; }

bool TWinSkinMenu::LaysOutFromRight() const { return IsRightToLeft() && !form_->Facts().Mirrored; }

gui::TMenuItem* TWinSkinMenu::FrameworkItem(int index) const {
  if (!mainMenu_ || index < 0 || index >= static_cast<int>(Items.size())) return nullptr;
  gui::TMenuItem* item = gui::TMenuItem::FromCommand(Items[static_cast<std::size_t>(index)]->Command);
  if (!item) return nullptr;
  const gui::TMenu* menu = item->Menu();
  return menu == mainMenu_ || (mainMenu_->Merged() && menu == mainMenu_->Merged()) ? item : nullptr;
}

void TWinSkinMenu::TakeMenuOffWindow() {
  // A program of its own keeps its menu on its window: it reads it back
  // with GetMenu to check and enable items, and TranslateAccelerator asks
  // it; the skin's frame leaves the system's bar no room and draws its
  // own. Framework forms and MDI frames have the menu taken off.
  if (!form_->Form() && form_->MdiKind() != mkFrame) return;
  if (form_->Handle() && GetMenu(form_->Handle())) SetMenu(form_->Handle(), nullptr);
}

namespace {

// What the system puts into a frame's menu while an MDI child is maximised:
// the child's icon (its system menu) first and its three buttons last, as
// pictures without text.
bool AddedBySystem(const MENUITEMINFOW& info, const wchar_t* text) {
  if (text[0]) return false;
  return (info.fType & MFT_BITMAP) || (info.hbmpItem && info.hbmpItem != HBMMENU_CALLBACK);
}

bool AddedBySystem(HMENU menu, int position) {
  wchar_t text[2] = {};  // whether there is any text at all
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_BITMAP | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = 2;
  return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) && AddedBySystem(info, text);
}

// The framework item supplies what an owner-drawn bar item carries no text for.
void TakeFromFramework(TMenuBtn& button, gui::TMenuItem& item, HMENU menu, int position) {
  if (gui::TAction* action = item.Action()) action->Update();
  button.Caption = item.Caption();
  button.Enabled = item.Enabled();
  button.Command = GetMenuItemID(menu, position);
  if (button.Command == static_cast<UINT>(-1)) button.Command = item.Command();
  button.Submenu = item.HasSubmenu() ? item.Handle() : nullptr;
}

bool SameItem(const TMenuBtn& a, const TMenuBtn& b) {
  return a.Caption == b.Caption && a.Enabled == b.Enabled && a.Submenu == b.Submenu && a.Command == b.Command;
}

}  // namespace

void RemoveMdiChildItems(HMENU menu) {
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i)
    if (AddedBySystem(menu, i)) RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
}

template <class Fill>
std::vector<std::unique_ptr<TMenuBtn>> TWinSkinMenu::ReadItems(HMENU menu, const Fill& fill) {
  std::vector<std::unique_ptr<TMenuBtn>> items;
  const int count = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    wchar_t text[kCaptionLength + 1] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING | MIIM_BITMAP;
    info.dwTypeData = text;
    info.cch = kCaptionLength;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) info = MENUITEMINFOW{};
    if (AddedBySystem(info, text)) continue;
    auto item = std::make_unique<TMenuBtn>(this, form_, static_cast<int>(items.size()));
    item->Submenu = info.hSubMenu;
    item->Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    item->Command = info.wID;
    if (info.dwTypeData && !(info.fType & (MFT_BITMAP | MFT_SEPARATOR))) item->Caption = text;
    if (item->Caption.empty()) fill(*item, i);
    items.push_back(std::move(item));
  }
  return items;
}

template <class Fill>
void TWinSkinMenu::LoadItems(const Fill& fill) {
  if (!menuHandle_) return;
  std::vector<std::unique_ptr<TMenuBtn>> items = ReadItems(menuHandle_, fill);
  // The hot or pressed item may be one of those about to go.
  if (dynamic_cast<TMenuBtn*>(form_->CurrentObject())) form_->SetCurrentObject(nullptr);
  Items = std::move(items);
  if (Items.empty()) return;
  TakeMenuOffWindow();
  // Hit tests before the next paint find the new items where it will put them.
  if (barRect_.right > barRect_.left) {
    gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    if (dc) Layout(dc.get(), barRect_);
  }
}

void TWinSkinMenu::LoadFromWindowMenu() {
  if (HMENU menu = GetMenu(form_->Handle())) menuHandle_ = menu;
  LoadItems([this](TMenuBtn& button, int i) {
    if (!mainMenu_) return;
    // The item the command names, else the one at the same place among
    // the bar's own (the system's additions left out).
    gui::TMenuItem* item = gui::TMenuItem::FromCommand(button.Command);
    if (!item || item->Menu() != mainMenu_) {
      std::vector<gui::TMenuItem*> bar = mainMenu_->BarItems();
      std::erase_if(bar, [](const gui::TMenuItem* it) { return !it->Visible(); });
      const auto at = static_cast<std::size_t>(button.Index());
      item = at < bar.size() ? bar[at] : nullptr;
    }
    if (item) TakeFromFramework(button, *item, menuHandle_, i);
  });
}

void TWinSkinMenu::FillFromCommand(TMenuBtn& button, HMENU menu, int position) const {
  if (!mainMenu_) return;
  // The last framework item with the item's command.
  gui::TMenuItem* found = nullptr;
  std::vector<gui::TMenuItem*> pending = mainMenu_->BarItems();
  while (!pending.empty()) {
    gui::TMenuItem* item = pending.back();
    pending.pop_back();
    if (item->Command() == button.Command) found = item;
    pending.insert(pending.end(), item->Items().begin(), item->Items().end());
  }
  if (found) TakeFromFramework(button, *found, menu, position);
}

void TWinSkinMenu::LoadFromMenuHandle(HMENU menu) {
  if (menu) menuHandle_ = menu;
  LoadItems([this](TMenuBtn& button, int i) { FillFromCommand(button, menuHandle_, i); });
}

bool TWinSkinMenu::Shows(HMENU menu) const {
  if (!IsMenu(menu)) return false;
  auto* self = const_cast<TWinSkinMenu*>(this);
  const std::vector<std::unique_ptr<TMenuBtn>> read =
      self->ReadItems(menu, [this, menu](TMenuBtn& button, int i) { FillFromCommand(button, menu, i); });
  return std::equal(read.begin(), read.end(), Items.begin(), Items.end(),
                    [](const auto& a, const auto& b) { return SameItem(*a, *b); });
}

void TWinSkinMenu::LoadFromMainMenu() {
  if (!mainMenu_) return;
  if (HMENU menu = GetMenu(form_->Handle())) menuHandle_ = menu;
  const std::vector<gui::TMenuItem*> bar = mainMenu_->BarItems();
  form_->SetCurrentObject(nullptr);
  Items.clear();
  int index = 0;
  for (gui::TMenuItem* item : bar) {
    if (gui::TAction* action = item->Action()) action->Update();
    // A hidden item is not on the system's bar either.
    if (!item->Visible()) continue;
    auto button = std::make_unique<TMenuBtn>(this, form_, index++);
    button->Caption = item->Caption();
    button->Enabled = item->Enabled();
    button->Command = item->Command();
    button->Submenu = item->HasSubmenu() ? item->Handle() : nullptr;
    Items.push_back(std::move(button));
  }
  if (!Items.empty()) TakeMenuOffWindow();
}

std::vector<RECT> TWinSkinMenu::ItemPlaces(HDC dc, SIZE bar) const {
  gui::FontHandle font = SystemMenuFont(false);
  gui::SelectGuard select(dc, font.get());
  std::vector<int> widths;
  widths.reserve(Items.size());
  for (const auto& item : Items) widths.push_back(TextWidth(dc, item->Caption));
  TMenuBarStart skin;
  if (TDataSkinObject* element = MenuBarElement(skinData_)) skin = TMenuBarStart{true, element->LeftWidth, element->RightWidth};
  const bool rightToLeft = LaysOutFromRight();
  return LayoutMenuBarItems(widths, bar, MenuBarItemStart(skin, bar.cx, rightToLeft), rightToLeft,
                            form_->MenuBarRoom());
}

int TWinSkinMenu::HeightFor(int barWidth) const {
  const int row = GetSystemMetrics(SM_CYMENU);
  gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  if (!dc || Items.empty()) return row;
  return MenuBarRows(ItemPlaces(dc.get(), SIZE{barWidth, row}), row) * row;
}

void TWinSkinMenu::Layout(HDC dc, const RECT& bar) {
  const std::vector<RECT> rects = ItemPlaces(dc, SIZE{bar.right - bar.left, GetSystemMetrics(SM_CYMENU)});
  places_.assign(rects.size(), RECT{});
  for (std::size_t i = 0; i < rects.size(); ++i) {
    places_[i] = rects[i];
    OffsetRect(&places_[i], bar.left, bar.top);
  }
}

void TWinSkinMenu::PaintBackground(HDC target, int w, int h) {
  // The picture once for each row the items take.
  const int rowHeight = std::max(1, GetSystemMetrics(SM_CYMENU));
  for (int top = 0; top < h; top += rowHeight) {
    const RECT row{0, top, w, std::min(h, top + rowHeight)};
    if (TDataSkinObject* element = MenuBarElement(skinData_)) {
      const int frame = form_->Active() ? mfActive : mfInactive;
      // A tiling bar is stretched whole between its ends; any other repeats
      // its middle.
      DrawElement(target, row, *element,
                  {.Frame = frame,
                   .Fit = element->TilesCentre() ? TElementFit::NineSlice : TElementFit::ThreeSlice,
                   .Frames = kMenuBarFrames,
                   .StackedFrames = true,
                   .Keying = TElementKeying::Opaque,
                   .Tiling = TElementTiling::Stretched,
                   .Margins = RECT{element->LeftWidth, 0, element->RightWidth, 0}});
    } else {
      gui::TCanvas(target).FillRect(row, skinData_->Skin().Colours.Menubar);
    }
  }
}

void TWinSkinMenu::Paint(HDC dc, const RECT& bar, const std::vector<TCaptionButtonPlace>& buttons) {
  const int w = bar.right - bar.left, h = bar.bottom - bar.top;
  if (w <= 0 || h <= 0 || !skinData_) return;
  TSkinContent& skin = skinData_->Skin();
  gui::TBitmap scratch = StretchingBitmap(w, h);
  HDC target = scratch.DC();
  const TMirrorLike mirror(target, dc);
  PaintBackground(target, w, h);
  barRect_ = bar;

  Layout(target, bar);
  {
    gui::FontHandle font = SystemMenuFont(false);
    gui::SelectGuard select(target, font.get());
    const COLORREF text = gui::ColorToRGB(skin.Colours.MenuBarText);
    for (const auto& item : Items) {
      RECT r = ItemRect(*item);
      OffsetRect(&r, -bar.left, -bar.top);
      DrawMenuBarCaption(target, r, item->Caption, item->Enabled, text);
    }
  }

  // A maximised MDI child's buttons sit at the far end of the first row;
  // drawing them puts every skinned child into the maximised mode.
  bool mdiButtons = false;
  for (const auto& button : form_->SysButtons()) {
    TDataSkinSysButton& e = *button->Element;
    const bool shown = button->Index < buttons.size() && buttons[button->Index].Visible;
    if (e.Visibility != bvMdiChildMaximized || !shown || e.Image.Empty()) continue;
    RECT r = buttons[button->Index].Bounds;
    OffsetRect(&r, -form_->Frame().Left, -form_->Frame().Top);
    DrawElement(target, r, e, {.Fit = TElementFit::Stretch, .Keying = TElementKeying::Keyed});
    mdiButtons = true;
  }
  if (mdiButtons && form_->Host() && !form_->Host()->IsMdiMaximized()) form_->Host()->ChangeMdiMaximized(true);
  BitBlt(dc, bar.left, bar.top, w, h, target, 0, 0, SRCCOPY);
}

RECT TWinSkinMenu::ItemRect(const TMenuBtn& item) const {
  const auto at = static_cast<std::size_t>(item.Index());
  return at < places_.size() ? places_[at] : RECT{};
}

gui::TBitmap TWinSkinMenu::ItemPicture(const TMenuBtn& item, int state) {
  const RECT r = ItemRect(item);
  const int barWidth = barRect_.right - barRect_.left, barHeight = barRect_.bottom - barRect_.top;
  const int w = r.right - r.left, h = std::min(r.bottom - r.top + 1, barHeight - (r.top - barRect_.top));
  if (w <= 0 || h <= 0 || barWidth <= 0 || !skinData_) return gui::TBitmap();
  // The bar's background under the item (its row only), drawn again rather
  // than kept between paints: a bar only changes an item's look at the
  // pointer's pace. Then the frame of the hot or pressed look, the caption.
  gui::TBitmap background(barWidth, barHeight);
  SetMirrored(background.DC(), form_->Facts().Mirrored);
  PaintBackground(background.DC(), barWidth, barHeight);
  gui::TBitmap picture(w, h);
  HDC target = picture.DC();
  SetMirrored(target, form_->Facts().Mirrored);
  BitBlt(target, 0, 0, w, h, background.DC(), r.left - barRect_.left, r.top - barRect_.top, SRCCOPY);
  const core::SkinColours& colours = skinData_->Skin().Colours;
  const RECT local{0, 0, w, r.bottom - r.top};
  if (state == TNCObject::stPressed || state == TNCObject::stHot) {
    gui::BrushHandle brush(CreateSolidBrush(gui::ColorToRGB(colours.ButtonHilight)));
    FrameRect(target, &local, brush.get());
  }
  gui::FontHandle font = SystemMenuFont(false);
  gui::SelectGuard select(target, font.get());
  DrawMenuBarCaption(target, local, item.Caption, item.Enabled, gui::ColorToRGB(colours.MenuBarText));
  return picture;
}

void TWinSkinMenu::PaintItem(TMenuBtn& item) {
  if (IsRectEmpty(&barRect_)) return;
  PaintSwallowingFailures([&] {
    gui::TBitmap picture = ItemPicture(item);
    if (picture.Empty()) return;
    // Between two looks the item shows both, mixed as far as the change has come.
    TElementState look{.Frame = item.State};
    const TLookKind kind = item.State == TNCObject::stPressed ? TLookKind::Pressed
                           : item.State == TNCObject::stHot   ? TLookKind::Hot
                                                              : TLookKind::Normal;
    const TAnimatedPart part{static_cast<const TNCObject*>(&item), 0};
    TLookTransitions::OfThread().NoteAtRest(part, TNCObject::stNormal, TLookKind::Normal);
    TLookTransitions::OfThread().Follow(look, part, kind,
                                        core::AnimatedKind::MenuBarItem, skinData_->Skin().Animation,
                                        [this, shown = &item] { PaintItem(*shown); });
    if (look.Blends()) {
      gui::TBitmap earlier = ItemPicture(item, look.FromFrame);
      MixPictures(earlier, picture, look.Progress);
      picture = std::move(earlier);
    }
    gui::WindowDc dc = gui::WindowDc::Whole(form_->Handle());
    if (!dc) return;
    // The picture came back with a context of its own, laid out left to
    // right: as composed, it is in the window DC's layout.
    const TMirrorLike mirror(picture.DC(), dc.get());
    const RECT r = ItemRect(item);
    BitBlt(dc.get(), r.left, r.top, picture.Width(), picture.Height(), picture.DC(), 0, 0, SRCCOPY);
  });
}

TMenuBtn* TWinSkinMenu::FindMenuButton(POINT p) const {
  for (const auto& item : Items)
    if (const RECT r = ItemRect(*item); !item->Caption.empty() && PtInRect(&r, p)) return item.get();
  return nullptr;
}

TMenuBtn* TWinSkinMenu::FindAccelButton(wchar_t ch) const {
  for (const auto& item : Items)
    if (item->Enabled && gui::IsAccel(ch, item->Caption)) return item.get();
  return nullptr;
}

TMenuBtn* TWinSkinMenu::NeighbourButton(int index, int step, bool withSubmenu) const {
  const int count = static_cast<int>(Items.size());
  for (int i = 1; i < count; ++i) {
    const int next = ((index + step * i) % count + count) % count;
    TMenuBtn& item = *Items[static_cast<std::size_t>(next)];
    if (Selectable(item) && (!withSubmenu || item.Submenu)) return &item;
  }
  return nullptr;
}

}  // namespace skin
