// The skinned menu bar: item layout and painting, hit and accelerator
// lookup, and the message-filter hook that moves between open submenus.
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

TMenuTracking& Tracking() {
  static TMenuTracking state;
  return state;
}

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

bool IsLeftRightKey(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

}  // namespace

// --- layout -----------------------------------------------------------------

std::vector<RECT> LayoutMenuBarItems(const std::vector<int>& textWidths, SIZE bar, int start, bool rightToLeft) {
  std::vector<RECT> rects;
  rects.reserve(textWidths.size());
  const int margin = ScaleToScreen(10);
  int x = rightToLeft ? bar.cx - start : start;
  for (const int tw : textWidths) {
    const int width = tw > 0 ? tw + margin : 0;
    if (rightToLeft) {
      rects.push_back(RECT{x - width, 0, x, bar.cy - 1});
      x -= width;
    } else {
      rects.push_back(RECT{x, 0, x + width, bar.cy - 1});
      x += width;
    }
  }
  return rects;
}

int MenuBarItemStart(const TMenuBarStart& skin, int barWidth, bool rightToLeft) {
  if (!skin.HasElement) return ScaleToScreen(6);
  const int start = rightToLeft ? skin.RightWidth + ScaleToScreen(8) : skin.LeftWidth + ScaleToScreen(4);
  return barWidth < start ? ScaleToScreen(12) : start;
}

void DrawMenuBarCaption(HDC dc, const RECT& rect, const std::wstring& text, bool enabled, COLORREF colour) {
  gui::SavedDcState saved(dc);
  SetBkMode(dc, TRANSPARENT);
  RECT measured{rect.left, rect.top, rect.right, rect.bottom};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_CENTER | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
  const int width = measured.right - measured.left, height = measured.bottom - measured.top;
  OffsetRect(&measured, ((rect.right - rect.left) - width) / 2, ((rect.bottom - rect.top) - height) / 2);
  SetTextColor(dc, enabled ? colour : GetSysColor(COLOR_BTNSHADOW));
  DrawSkinText(dc, text, measured, DT_CENTER | DT_EXPANDTABS | DT_SINGLELINE);
}

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
  if (Form->Handle && GetMenu(Form->Handle)) SetMenu(Form->Handle, nullptr);
}

template <class Fill>
void TWinSkinMenu::LoadItems(const Fill& fill) {
  if (!MenuHandle) return;
  const int count = GetMenuItemCount(MenuHandle);
  // The hot or pressed item may be one of those about to go.
  if (dynamic_cast<TMenuBtn*>(Form->CurrentObject)) Form->CurrentObject = nullptr;
  Items.clear();
  Count = 0;
  if (count <= 0) return;
  for (int i = 0; i < count; ++i) {
    wchar_t text[kCaptionLength + 1] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = kCaptionLength;
    if (!GetMenuItemInfoW(MenuHandle, static_cast<UINT>(i), TRUE, &info)) info = MENUITEMINFOW{};
    auto item = std::make_unique<TMenuBtn>(this, Form);
    item->SkinData = SkinData;
    item->Index = i;
    item->Submenu = info.hSubMenu;
    item->Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    item->Visible = true;
    item->Command = info.wID;
    if (info.dwTypeData && !(info.fType & (MFT_BITMAP | MFT_SEPARATOR))) item->Caption = text;
    if (item->Caption.empty()) fill(*item, i);
    Items.push_back(std::move(item));
  }
  Count = count;
  TakeMenuOffWindow();
  // Hit tests before the next paint find the new items where it will put them.
  if (BarRect.right > BarRect.left) {
    gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    if (dc) Layout(dc.get(), BarRect);
  }
}

namespace {

// The framework item supplies what an owner-drawn bar item carries no text for.
void TakeFromFramework(TMenuBtn& button, gui::TMenuItem& item, HMENU menu, int index) {
  if (gui::TAction* action = item.Action()) action->Update();
  button.Caption = item.Caption;
  button.Enabled = item.Enabled;
  button.Command = GetMenuItemID(menu, index);
  if (button.Command == static_cast<UINT>(-1)) button.Command = item.Command();
  button.Submenu = item.HasSubmenu() ? item.Handle() : nullptr;
}

}  // namespace

void TWinSkinMenu::LoadFromWindowMenu() {
  if (HMENU menu = GetMenu(Form->Handle)) MenuHandle = menu;
  LoadItems([this](TMenuBtn& button, int i) {
    if (!MainMenu) return;
    // The item the command names, else the one at the same place.
    gui::TMenuItem* item = gui::TMenuItem::FromCommand(button.Command);
    if (!item || item->Menu() != MainMenu) {
      const std::vector<gui::TMenuItem*> bar = MainMenu->BarItems();
      item = i < static_cast<int>(bar.size()) ? bar[static_cast<std::size_t>(i)] : nullptr;
    }
    if (item) TakeFromFramework(button, *item, MenuHandle, i);
  });
}

void TWinSkinMenu::LoadFromMenuHandle(HMENU menu) {
  if (menu) MenuHandle = menu;
  LoadItems([this](TMenuBtn& button, int i) {
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
    if (found) TakeFromFramework(button, *found, MenuHandle, i);
  });
}

bool TWinSkinMenu::Shows(HMENU menu) const {
  const int count = GetMenuItemCount(menu);
  if (count < 0 || static_cast<std::size_t>(count) != Items.size()) return false;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) return false;
    const TMenuBtn& item = *Items[static_cast<std::size_t>(i)];
    // An item with a submenu is known by it; any other by its command.
    if (info.hSubMenu != item.Submenu || (!info.hSubMenu && info.wID != item.Command)) return false;
  }
  return true;
}

void TWinSkinMenu::LoadFromMainMenu() {
  if (!MainMenu) return;
  if (HMENU menu = GetMenu(Form->Handle)) MenuHandle = menu;
  const std::vector<gui::TMenuItem*> bar = MainMenu->BarItems();
  Form->CurrentObject = nullptr;
  Items.clear();
  int index = 0;
  for (gui::TMenuItem* item : bar) {
    if (gui::TAction* action = item->Action()) action->Update();
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

void TWinSkinMenu::Layout(HDC dc, const RECT& bar) {
  gui::FontHandle font = SystemMenuFont(false);
  gui::SelectGuard select(dc, font.get());
  std::vector<int> widths;
  widths.reserve(Items.size());
  for (const auto& item : Items) widths.push_back(TextWidth(dc, item->Caption));
  const SIZE size{bar.right - bar.left, bar.bottom - bar.top};
  TMenuBarStart skin;
  if (TDataSkinObject* element = MenuBarElement(SkinData)) skin = TMenuBarStart{true, element->LeftWidth, element->RightWidth};
  const bool rightToLeft = IsRightToLeft();
  const std::vector<RECT> rects =
      LayoutMenuBarItems(widths, size, MenuBarItemStart(skin, size.cx, rightToLeft), rightToLeft);
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
  const RECT local{0, 0, w, h};
  if (TDataSkinObject* element = MenuBarElement(SkinData)) {
    const int frame = Form->Active ? mfActive : mfInactive;
    const RECT margins{element->LeftWidth, 0, element->RightWidth, 0};
    if (element->TileKey == 1) {
      DrawNineSlice(target, local, element->Image, true, false, false, kMenuBarFrames, frame, margins);
    } else {
      gui::TCanvas canvas(target);
      DrawThreeSlice(canvas, local, element->Image, true, false, kMenuBarFrames, frame, margins);
    }
  } else {
    gui::TCanvas(target).FillRect(local, skin.Colours.Menubar);
  }
  BarRect = bar;
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

  // A maximised MDI child's buttons sit at the bar's far end; drawing them
  // puts every skinned child into the maximised mode.
  bool mdiButtons = false;
  for (const auto& button : Form->SysButtons) {
    TDataSkinSysButton& e = *button->Element;
    if (e.Visibility != bvMdiChildMaximized || !button->Visible || e.Image.Empty()) continue;
    RECT r = button->BoundsRect;
    OffsetRect(&r, -Form->FrameLeft, -Form->FrameTop);
    DrawFrame(target, r, e.Image, true, e.FrameCount > 0 ? e.FrameCount : 1, 1);
    mdiButtons = true;
  }
  if (mdiButtons && Form->Host && !Form->Host->IsMdiMaximized()) Form->Host->ChangeMdiMaximized(true);
  BitBlt(dc, bar.left, bar.top, w, h, target, 0, 0, SRCCOPY);
}

gui::TBitmap TWinSkinMenu::ItemPicture(const TMenuBtn& item) {
  const RECT& r = item.BoundsRect;
  const int w = r.right - r.left, h = Background.Height();
  if (w <= 0 || h <= 0) return gui::TBitmap();
  // The bar's background under the item, the frame of the hot or pressed
  // look, the caption.
  gui::TBitmap picture(w, h);
  HDC target = picture.DC();
  BitBlt(target, 0, 0, w, h, Background.DC(), r.left - BarRect.left, 0, SRCCOPY);
  const core::SkinColours& colours = SkinData->Skin().Colours;
  const RECT local{0, r.top - BarRect.top, w, r.bottom - BarRect.top};
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
    BitBlt(dc.get(), item.BoundsRect.left, BarRect.top, picture.Width(), picture.Height(), picture.DC(), 0, 0,
           SRCCOPY);
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

TMenuBtn* TWinSkinMenu::NeighbourButton(int index, int step) const {
  const int count = static_cast<int>(Items.size());
  if (count == 0) return nullptr;
  const int next = ((index + step) % count + count) % count;
  return Items[static_cast<std::size_t>(next)].get();
}

// --- the message-filter hook --------------------------------------------------

const TMenuTracking& CurrentMenuTracking() { return Tracking(); }

namespace {

LRESULT CALLBACK MenuFilterProc(int code, WPARAM wParam, LPARAM lParam) {
  TMenuTracking& t = Tracking();
  try {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    // In a right-to-left menu the arrow keys point the other way.
    if (code >= 0 && msg && IsLeftRightKey(msg->message) && t.MenuTrackingItem) {
      const gui::TMenu* menu = t.MenuTrackingItem->Menu();
      if (menu && menu->IsRightToLeft()) {
        if (msg->wParam == VK_LEFT) {
          msg->wParam = VK_RIGHT;
        } else if (msg->wParam == VK_RIGHT) {
          msg->wParam = VK_LEFT;
        }
      }
    }
    const LRESULT next = CallNextHookEx(t.Hook.get(), code, wParam, lParam);
    if (next != 0 || code != MSGF_MENU || !msg) return next;
    FilterMenuMessage(*msg);
    return next;
  } catch (...) {
    return 0;  // nothing may unwind into the menu's loop
  }
}

}  // namespace

void InstallMenuFilterHook(TWinSkinForm* form, int trackedIndex) {
  TMenuTracking& t = Tracking();
  t.Form = form;
  t.TrackedIndex = trackedIndex;
  t.FirstKeyDone = false;
  t.Switching = false;
  t.SelectedMenu = nullptr;
  t.SelectedHasSubmenu = false;
  GetCursorPos(&t.LastMouse);
  if (!t.Hook) t.Hook.reset(SetWindowsHookExW(WH_MSGFILTER, &MenuFilterProc, nullptr, GetCurrentThreadId()));
}

void RemoveMenuFilterHook() {
  TMenuTracking& t = Tracking();
  t.Hook.reset();
  t.MenuTrackingItem = nullptr;
  t.TrackedIndex = -1;
  t.FirstKeyDone = false;
  t.Form = nullptr;
}

void FilterMenuMessage(const MSG& msg) {
  TMenuTracking& t = Tracking();
  TWinSkinForm* form = t.Form;
  TWinSkinMenu* bar = form ? form->MenuBar.get() : nullptr;
  if (!bar) return;
  if (!t.FirstKeyDone && msg.message != WM_MENUSELECT) {
    // The first item of the submenu starts out selected.
    t.FirstKeyDone = true;
    PostMessageW(msg.hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  TMenuBtn* target = nullptr;
  switch (msg.message) {
    case WM_KEYDOWN:
      if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) t.Switching = false;
      // Left leaves the bar's submenu for the previous item; in a deeper
      // submenu it is the system's (it closes that one).
      if (msg.wParam == VK_LEFT && (!t.SelectedMenu || t.SelectedMenu == form->TrackedMenu))
        target = bar->NeighbourButton(t.TrackedIndex, -1);
      // Right on an item with a submenu opens that; elsewhere it moves on.
      if (msg.wParam == VK_RIGHT && !t.SelectedHasSubmenu) target = bar->NeighbourButton(t.TrackedIndex, +1);
      break;
    case WM_SYSKEYDOWN:
      if (msg.wParam == VK_MENU) form->MenuTracking = false;
      return;
    case WM_MENUSELECT: {
      const UINT flags = HIWORD(msg.wParam);
      auto* menu = reinterpret_cast<HMENU>(msg.lParam);
      if (flags == 0xFFFF && !menu) {
        if (!t.Switching) form->MenuTracking = false;
        return;
      }
      t.Switching = false;
      t.SelectedMenu = menu;
      t.SelectedHasSubmenu = (flags & MF_POPUP) != 0;
      if (bar->MainMenu) {
        t.MenuTrackingItem = (flags & MF_POPUP)
                                 ? gui::TMenuItem::FromMenuHandle(GetSubMenu(menu, LOWORD(msg.wParam)))
                                 : gui::TMenuItem::FromCommand(LOWORD(msg.wParam));
      }
      return;
    }
    case WM_MOUSEMOVE:
      if (msg.pt.x != t.LastMouse.x || msg.pt.y != t.LastMouse.y) {
        target = bar->FindMenuButton(form->ScreenToWindow(msg.pt.x, msg.pt.y));
        t.LastMouse = msg.pt;
      }
      break;
    default:
      break;
  }
  if (!target || target->Index == t.TrackedIndex) return;
  // The open submenu ends first; the click posted after it then opens the
  // target's once the menu's loop has returned.
  t.Switching = true;
  t.TrackedIndex = target->Index;
  EndMenu();
  form->ClickMenuButton(*target);
}

}  // namespace skin
