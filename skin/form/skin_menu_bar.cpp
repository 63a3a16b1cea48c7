// The skinned menu bar: item layout and painting, hit and accelerator
// lookup. The message-filter hook that moves between open submenus is in
// menu_filter_hook.cpp.
#include "skin/form/skin_menu_bar.h"

#include <algorithm>

#include "gui/graphics.h"
#include "gui/handles.h"
#include "gui/menus.h"
#include "gui/stdctrls.h"
#include "skin/data/paint_guard.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
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

void TMenuBtn::Paint() { Bar->PaintItem(*this); }

// --- TWinSkinMenu -----------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TWinSkinForm* form, TSkinData* skinData) : SkinData(skinData), Form(form) {}

bool TWinSkinMenu::IsRightToLeft() const { return MainMenu && MainMenu->IsRightToLeft(); }

gui::TMenuItem* TWinSkinMenu::FrameworkItem(int index) const {
  if (!MainMenu || index < 0 || index >= static_cast<int>(Items.size())) return nullptr;
  gui::TMenuItem* item = gui::TMenuItem::FromCommand(Items[static_cast<std::size_t>(index)]->Command);
  if (!item) return nullptr;
  const gui::TMenu* menu = item->Menu();
  return menu == MainMenu || (MainMenu->Merged() && menu == MainMenu->Merged()) ? item : nullptr;
}

void TWinSkinMenu::TakeMenuOffWindow() {
  // A program of its own keeps its menu on its window: it reads it back
  // with GetMenu to check and enable items, and TranslateAccelerator asks
  // it; the skin's frame leaves the system's bar no room and draws its
  // own. Framework forms and MDI frames have the menu taken off.
  if (!Form->Form && Form->MdiKind() != mkFrame) return;
  if (Form->Handle && GetMenu(Form->Handle)) SetMenu(Form->Handle, nullptr);
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
  button.Caption = item.Caption;
  button.Enabled = item.Enabled;
  button.Command = GetMenuItemID(menu, position);
  if (button.Command == static_cast<UINT>(-1)) button.Command = item.Command();
  button.Submenu = item.HasSubmenu() ? item.Handle() : nullptr;
}

bool SameItem(const TMenuBtn& a, const TMenuBtn& b) {
  return a.Caption == b.Caption && a.Enabled == b.Enabled && a.Submenu == b.Submenu && a.Command == b.Command &&
         a.Visible == b.Visible;
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
    auto item = std::make_unique<TMenuBtn>(this, Form);
    item->SkinData = SkinData;
    item->Index = static_cast<int>(items.size());
    item->Submenu = info.hSubMenu;
    item->Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    item->Visible = true;
    item->Command = info.wID;
    if (info.dwTypeData && !(info.fType & (MFT_BITMAP | MFT_SEPARATOR))) item->Caption = text;
    if (item->Caption.empty()) fill(*item, i);
    items.push_back(std::move(item));
  }
  return items;
}

template <class Fill>
void TWinSkinMenu::LoadItems(const Fill& fill) {
  if (!MenuHandle) return;
  std::vector<std::unique_ptr<TMenuBtn>> items = ReadItems(MenuHandle, fill);
  // The hot or pressed item may be one of those about to go.
  if (dynamic_cast<TMenuBtn*>(Form->CurrentObject())) Form->SetCurrentObject(nullptr);
  Items = std::move(items);
  Count = static_cast<int>(Items.size());
  if (Items.empty()) return;
  TakeMenuOffWindow();
  // Hit tests before the next paint find the new items where it will put them.
  if (BarRect.right > BarRect.left) {
    gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    if (dc) Layout(dc.get(), BarRect);
  }
}

void TWinSkinMenu::LoadFromWindowMenu() {
  if (HMENU menu = GetMenu(Form->Handle)) MenuHandle = menu;
  LoadItems([this](TMenuBtn& button, int i) {
    if (!MainMenu) return;
    // The item the command names, else the one at the same place among
    // the bar's own (the system's additions left out).
    gui::TMenuItem* item = gui::TMenuItem::FromCommand(button.Command);
    if (!item || item->Menu() != MainMenu) {
      std::vector<gui::TMenuItem*> bar = MainMenu->BarItems();
      std::erase_if(bar, [](const gui::TMenuItem* it) { return !it->Visible; });
      const auto at = static_cast<std::size_t>(button.Index);
      item = at < bar.size() ? bar[at] : nullptr;
    }
    if (item) TakeFromFramework(button, *item, MenuHandle, i);
  });
}

void TWinSkinMenu::FillFromCommand(TMenuBtn& button, HMENU menu, int position) const {
  if (!MainMenu) return;
  // The last framework item with the item's command.
  gui::TMenuItem* found = nullptr;
  std::vector<gui::TMenuItem*> pending = MainMenu->BarItems();
  while (!pending.empty()) {
    gui::TMenuItem* item = pending.back();
    pending.pop_back();
    if (item->Command() == button.Command) found = item;
    pending.insert(pending.end(), item->Items().begin(), item->Items().end());
  }
  if (found) TakeFromFramework(button, *found, menu, position);
}

void TWinSkinMenu::LoadFromMenuHandle(HMENU menu) {
  if (menu) MenuHandle = menu;
  LoadItems([this](TMenuBtn& button, int i) { FillFromCommand(button, MenuHandle, i); });
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
  if (!MainMenu) return;
  if (HMENU menu = GetMenu(Form->Handle)) MenuHandle = menu;
  const std::vector<gui::TMenuItem*> bar = MainMenu->BarItems();
  Form->SetCurrentObject(nullptr);
  Items.clear();
  int index = 0;
  for (gui::TMenuItem* item : bar) {
    if (gui::TAction* action = item->Action()) action->Update();
    // A hidden item is not on the system's bar either.
    if (!item->Visible) continue;
    auto button = std::make_unique<TMenuBtn>(this, Form);
    button->SkinData = SkinData;
    button->Index = index++;
    button->Caption = item->Caption;
    button->Enabled = item->Enabled;
    button->Visible = item->Visible;
    button->Command = item->Command();
    button->Submenu = item->HasSubmenu() ? item->Handle() : nullptr;
    Items.push_back(std::move(button));
  }
  Count = static_cast<int>(Items.size());
  if (Count > 0) TakeMenuOffWindow();
}

std::vector<RECT> TWinSkinMenu::ItemPlaces(HDC dc, SIZE bar) const {
  gui::FontHandle font = SystemMenuFont(false);
  gui::SelectGuard select(dc, font.get());
  std::vector<int> widths;
  widths.reserve(Items.size());
  for (const auto& item : Items) widths.push_back(TextWidth(dc, item->Caption));
  TMenuBarStart skin;
  if (TDataSkinObject* element = MenuBarElement(SkinData)) skin = TMenuBarStart{true, element->LeftWidth, element->RightWidth};
  const bool rightToLeft = IsRightToLeft();
  return LayoutMenuBarItems(widths, bar, MenuBarItemStart(skin, bar.cx, rightToLeft), rightToLeft,
                            Form->MenuBarRoom());
}

int TWinSkinMenu::HeightFor(int barWidth) const {
  const int row = GetSystemMetrics(SM_CYMENU);
  gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  if (!dc || Items.empty()) return row;
  return MenuBarRows(ItemPlaces(dc.get(), SIZE{barWidth, row}), row) * row;
}

void TWinSkinMenu::Layout(HDC dc, const RECT& bar) {
  const std::vector<RECT> rects = ItemPlaces(dc, SIZE{bar.right - bar.left, GetSystemMetrics(SM_CYMENU)});
  for (std::size_t i = 0; i < Items.size(); ++i) {
    RECT r = rects[i];
    OffsetRect(&r, bar.left, bar.top);
    Items[i]->BoundsRect = r;
  }
}

void TWinSkinMenu::Paint(HDC dc, const RECT& bar) {
  const int w = bar.right - bar.left, h = bar.bottom - bar.top;
  if (w <= 0 || h <= 0 || !SkinData) return;
  TSkinContent& skin = SkinData->Skin();
  gui::TBitmap& scratch = SharedStretchBitmap();
  scratch.SetSize(w, h);
  HDC target = scratch.DC();
  // The picture once for each row the items take.
  const int rowHeight = std::max(1, GetSystemMetrics(SM_CYMENU));
  for (int top = 0; top < h; top += rowHeight) {
    const RECT row{0, top, w, std::min(h, top + rowHeight)};
    if (TDataSkinObject* element = MenuBarElement(SkinData)) {
      const int frame = Form->Active() ? mfActive : mfInactive;
      const RECT margins{element->LeftWidth, 0, element->RightWidth, 0};
      if (element->TileKey == 1) {
        DrawNineSlice(target, row, element->Image, true, false, false, kMenuBarFrames, frame, margins);
      } else {
        gui::TCanvas canvas(target);
        DrawThreeSlice(canvas, row, element->Image, true, false, kMenuBarFrames, frame, margins);
      }
    } else {
      gui::TCanvas(target).FillRect(row, skin.Colours.Menubar);
    }
  }
  BarRect = bar;
  Background.SetSharesDc(true);  // only copied into and out of, a blit each
  Background.SetSize(w, h);
  BitBlt(Background.DC(), 0, 0, w, h, target, 0, 0, SRCCOPY);

  Painting = true;
  Layout(target, bar);
  {
    gui::FontHandle font = SystemMenuFont(false);
    gui::SelectGuard select(target, font.get());
    const COLORREF text = gui::ColorToRGB(skin.Colours.MenuBarText);
    for (const auto& item : Items) {
      RECT r = item->BoundsRect;
      OffsetRect(&r, -bar.left, -bar.top);
      DrawMenuBarCaption(target, r, item->Caption, item->Enabled, text);
    }
  }
  Painting = false;

  // A maximised MDI child's buttons sit at the far end of the first row;
  // drawing them puts every skinned child into the maximised mode.
  bool mdiButtons = false;
  for (const auto& button : Form->SysButtons()) {
    TDataSkinSysButton& e = *button->Element;
    if (e.Visibility != bvMdiChildMaximized || !button->Visible || e.Image.Empty()) continue;
    RECT r = button->BoundsRect;
    OffsetRect(&r, -Form->Frame().Left, -Form->Frame().Top);
    DrawFrame(target, r, e.Image, true, e.FrameCount > 0 ? e.FrameCount : 1, 1);
    mdiButtons = true;
  }
  if (mdiButtons && Form->Host && !Form->Host->IsMdiMaximized()) Form->Host->ChangeMdiMaximized(true);
  BitBlt(dc, bar.left, bar.top, w, h, target, 0, 0, SRCCOPY);
}

gui::TBitmap TWinSkinMenu::ItemPicture(const TMenuBtn& item) {
  const RECT& r = item.BoundsRect;
  const int w = r.right - r.left, h = std::min(r.bottom - r.top + 1, Background.Height() - (r.top - BarRect.top));
  if (w <= 0 || h <= 0) return gui::TBitmap();
  // The bar's background under the item (its row only), the frame of the
  // hot or pressed look, the caption.
  gui::TBitmap picture(w, h);
  HDC target = picture.DC();
  BitBlt(target, 0, 0, w, h, Background.DC(), r.left - BarRect.left, r.top - BarRect.top, SRCCOPY);
  const core::SkinColours& colours = SkinData->Skin().Colours;
  const RECT local{0, 0, w, r.bottom - r.top};
  if (item.State == TNCObject::stPressed || item.State == TNCObject::stHot) {
    gui::BrushHandle brush(CreateSolidBrush(gui::ColorToRGB(colours.ButtonHilight)));
    FrameRect(target, &local, brush.get());
  }
  gui::FontHandle font = SystemMenuFont(false);
  gui::SelectGuard select(target, font.get());
  DrawMenuBarCaption(target, local, item.Caption, item.Enabled, gui::ColorToRGB(colours.MenuBarText));
  return picture;
}

void TWinSkinMenu::PaintItem(TMenuBtn& item) {
  if (Background.Empty()) return;
  PaintSwallowingFailures([&] {
    gui::TBitmap picture = ItemPicture(item);
    if (picture.Empty()) return;
    gui::WindowDc dc = gui::WindowDc::Whole(Form->Handle);
    if (!dc) return;
    BitBlt(dc.get(), item.BoundsRect.left, item.BoundsRect.top, picture.Width(), picture.Height(), picture.DC(), 0,
           0, SRCCOPY);
  });
}

TMenuBtn* TWinSkinMenu::FindMenuButton(POINT p) const {
  for (const auto& item : Items)
    if (!item->Caption.empty() && PtInRect(&item->BoundsRect, p)) return item.get();
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
