#include "skin/form/menu_item_draw.h"

#include <commctrl.h>

#include <algorithm>

#include "gui/bitmap.h"
#include "gui/graphics.h"
#include "gui/imagelist.h"
#include "gui/menus.h"
#include "skin/data/element_draw.h"
#include "skin/data/platform_version.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_mirror.h"
#include "skin/data/skin_text.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_popup_menu.h"

namespace skin {

namespace {

// The MenuItem strip: five frames side by side.
constexpr int kMenuItemFrames = 5;
enum TMenuItemFrame { mifNormal = 1, mifSeparator = 2, mifSelected = 4 };
constexpr int kCaptionLength = 80;

TDataSkinObject* MenuItemElement(TWinSkinForm& form) {
  TDataSkinObject* element = form.SkinData() ? form.SkinData()->Skin().MenuItem.get() : nullptr;
  return element && !element->Image.Empty() ? element : nullptr;
}

int MenuItemLeftWidth(TWinSkinForm& form) {
  const TDataSkinObject* element = MenuItemElement(form);
  return element ? element->LeftWidth : 0;
}

// The image list of the menu the item belongs to (popup or main menu).
gui::TImageList* ItemImages(const gui::TMenuItem& item) {
  const gui::TMenu* menu = item.Menu();
  return menu ? menu->Images : nullptr;
}

bool ShowsImage(const gui::TMenuItem& item) {
  const gui::TImageList* images = ItemImages(item);
  return images && item.ImageIndex() >= 0 && item.ImageIndex() < images->Count();
}

// An item reads right to left with its own menu, or with the bar's when it
// belongs to none.
bool ReadsRightToLeft(TWinSkinForm& form, const gui::TMenuItem& item) {
  if (const gui::TMenu* menu = item.Menu()) return menu->IsRightToLeft();
  return form.MenuBar() && form.MenuBar()->IsRightToLeft();
}

// An off-screen picture of one item, laid out as the target (a mirrored
// menu's context is mirrored), drawn to it in one blit.
struct ItemBitmap {
  ItemBitmap(HDC target, const RECT& rect, HFONT font)
      : bitmap(std::max<int>(1, rect.right - rect.left), std::max<int>(1, rect.bottom - rect.top)),
        mirror(bitmap.DC(), target),
        select(bitmap.DC(), font) {}
  RECT Local() const { return RECT{0, 0, bitmap.Width(), bitmap.Height()}; }
  void CopyTo(HDC dc, const RECT& rect) {
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, bitmap.DC(), 0, 0, SRCCOPY);
  }
  gui::TBitmap bitmap;
  TMirrorLike mirror;
  gui::SelectGuard select;
};

// The popup's background behind the item (inside the popup's frame band),
// or the Menu colour.
void FillItemBackground(TWinSkinForm& form, ItemBitmap& picture, const RECT& rect, HMENU menu) {
  gui::TBitmap* background = menu ? TWinSkinPopMenu::BackgroundOf(menu) : nullptr;
  if (background && !background->Empty()) {
    const int band = TWinSkinPopMenu::kFrameBand;
    BitBlt(picture.bitmap.DC(), 0, 0, picture.bitmap.Width(), picture.bitmap.Height(), background->DC(),
           rect.left + band, rect.top + band, SRCCOPY);
  } else {
    gui::TCanvas(picture.bitmap.DC()).FillRect(picture.Local(), form.SkinData()->Skin().Colours.Menu);
  }
}

void DrawItemBackground(TDataSkinObject& element, ItemBitmap& picture, bool selected) {
  DrawElement(picture.bitmap.DC(), picture.Local(), element,
              {.Frame = selected ? mifSelected : mifNormal, .Frames = kMenuItemFrames});
}

COLORREF TextColour(TWinSkinForm& form, const gui::TMenuItem& item, bool selected) {
  const core::SkinColours& colours = form.SkinData()->Skin().Colours;
  if (item.Enabled()) return gui::ColorToRGB(selected ? colours.HilightText : colours.MenuText);
  // A disabled item must not look like an enabled one.
  return colours.ButtonShadow == colours.MenuText ? GetSysColor(COLOR_BTNSHADOW) : gui::ColorToRGB(colours.ButtonShadow);
}

// The system's check mark or radio bullet in `colour`, its background left
// as it is.
void DrawMark(HDC dc, const RECT& box, bool radio, COLORREF colour) {
  const int w = GetSystemMetrics(SM_CXMENUCHECK), h = GetSystemMetrics(SM_CYMENUCHECK);
  if (w <= 0 || h <= 0) return;
  gui::MemoryDcHandle mask(CreateCompatibleDC(dc));
  gui::BitmapHandle bits(CreateBitmap(w, h, 1, 1, nullptr));
  if (!mask || !bits) return;
  gui::SelectGuard select(mask.get(), bits.get());
  RECT local{0, 0, w, h};
  DrawFrameControl(mask.get(), &local, DFC_MENU, radio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  // Centred in the box, one pixel right and down.
  const int x = box.left + ((box.right - box.left) - w) / 2 + ScaleToScreen(1);
  const int y = box.top + ((box.bottom - box.top) - h) / 2 + ScaleToScreen(1);
  gui::SavedDcState saved(dc);
  // The mark's pixels go black first, then take the colour.
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, x, y, w, h, mask.get(), 0, 0, SRCAND);
  SetTextColor(dc, colour);
  SetBkColor(dc, RGB(0, 0, 0));
  BitBlt(dc, x, y, w, h, mask.get(), 0, 0, SRCPAINT);
}

// The box behind a checked item's image: the button face and highlight
// dithered, with a sunken edge.
void DrawCheckedImageBox(HDC dc, const RECT& box) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  gui::TBitmap pattern(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern.SetPixel(x, y, ((x + y) & 1) ? light : face);
  gui::BrushHandle brush(CreatePatternBrush(pattern.Handle()));
  FillRect(dc, &box, brush.get());
  RECT edge = box;
  DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
}

}  // namespace

gui::FontHandle SystemMenuFont(bool bold) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return {};
  if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
  return gui::FontHandle(CreateFontIndirectW(&metrics.lfMenuFont));
}

// --- measuring ----------------------------------------------------------------

void SkinMenuItemMeasure(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, int& width, int& height) {
  item.MeasureItem(dc, width, height);
  width += MenuItemLeftWidth(form) + ScaleToScreen(12);
  if (!ItemImages(item)) width += ScaleToScreen(23);
}

void MeasureBarMenuItem(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, int& width, int& height) {
  item.MeasureItem(dc, width, height);
  width += MenuItemLeftWidth(form) + ScaleToScreen(10);
  if (!ItemImages(item)) width += ScaleToScreen(25);
}

SIZE MeasureWindowMenuItem(TWinSkinForm& form, const std::wstring& text, int givenHeight) {
  gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  gui::FontHandle font = SystemMenuFont(false);
  gui::SelectGuard select(dc.get(), font.get());
  RECT r{};
  if (!text.empty()) DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  SIZE size{(r.right - r.left) + ScaleToScreen(26) + MenuItemLeftWidth(form),
            text.empty() ? ScaleToScreen(8) : givenHeight + ScaleToScreen(4)};
  if (IsWin9xPlatform()) size.cy += ScaleToScreen(4);
  return size;
}

// --- drawing -------------------------------------------------------------------

void SkinMenuItemDraw(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, const RECT& rect, bool selected,
                      HMENU menu) {
  TDataSkinObject* element = MenuItemElement(form);
  if (!element) return DrawMenuItemPlain(form, item, dc, rect, selected);
  TWinSkinPopMenu::MarkAllFromMenuBar();
  TWinSkinPopMenu::BindPending(menu);
  gui::FontHandle font = SystemMenuFont(false);
  ItemBitmap picture(dc, rect, font.get());
  FillItemBackground(form, picture, rect, menu);
  if (item.IsLine()) {
    picture.CopyTo(dc, rect);
    DrawMenuItemFrame(form, dc, rect);
    return;
  }
  DrawItemBackground(*element, picture, selected);
  DrawMenuItemContent(form, item, picture.bitmap.DC(), selected, picture.Local());
  picture.CopyTo(dc, rect);
}

void DrawWindowMenuItem(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, const RECT& rect, bool selected,
                        HMENU menu) {
  TDataSkinObject* element = MenuItemElement(form);
  if (!element) {
    DrawMenuItemPlain(form, item, dc, rect, selected);
    return;
  }
  gui::FontHandle font = SystemMenuFont(false);
  ItemBitmap picture(dc, rect, font.get());
  FillItemBackground(form, picture, rect, menu);
  DrawItemBackground(*element, picture, selected && !item.IsLine());
  DrawMenuItemContent(form, item, picture.bitmap.DC(), selected, picture.Local());
  picture.CopyTo(dc, rect);
}

void DrawMenuItemPlain(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, const RECT& rect, bool selected) {
  gui::FontHandle font = SystemMenuFont(false);
  ItemBitmap picture(dc, rect, font.get());
  const core::SkinColours& colours = form.SkinData()->Skin().Colours;
  gui::TCanvas(picture.bitmap.DC()).FillRect(picture.Local(), selected ? colours.Hilight : colours.Menu);
  DrawMenuItemContent(form, item, picture.bitmap.DC(), selected, picture.Local());
  picture.CopyTo(dc, rect);
}

void DrawMenuItemContent(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, bool selected, const RECT& rect) {
  gui::TImageList* images = ItemImages(item);
  int glyph = images ? images->Width() : ScaleToScreen(16);
  if (item.Checked()) glyph = std::max(glyph, ScaleToScreen(16));
  // A mirrored menu lays its items out as any other and is shown reflected.
  const bool rightToLeft = ReadsRightToLeft(form, item) && !IsMirrored(dc);
  const int inset = ScaleToScreen(1), gap = ScaleToScreen(3);
  const int leftWidth = MenuItemLeftWidth(form);

  // The glyph box: at the leading edge, inside the element's margin.
  RECT box{};
  if (!item.IsLine()) {
    box.top = rect.top + inset;
    box.bottom = box.top + glyph;
    if (rightToLeft) {
      box.right = rect.right - inset - leftWidth;
      box.left = box.right - glyph;
    } else {
      box.left = rect.left + inset + leftWidth;
      box.right = box.left + glyph;
    }
    if (ShowsImage(item)) {
      if (item.Checked()) DrawCheckedImageBox(dc, box);
      ImageList_DrawEx(images->Handle(), item.ImageIndex(), dc, box.left, box.top, 0, 0, CLR_NONE, CLR_NONE,
                       item.Enabled() ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
    } else if (item.Checked()) {
      // In the caption's colour, which the skin keeps readable on its menus.
      DrawMark(dc, box, item.RadioItem(), TextColour(form, item, selected));
    }
  }

  RECT area{rect.left, rect.top, rect.right, rect.bottom};
  if (rightToLeft) {
    area.left = rect.left + inset;
    area.right = item.IsLine() ? rect.right - gap : box.left - gap;
  } else {
    area.left = (item.IsLine() ? rect.left : box.right) + gap;
    area.right = rect.right - inset;
  }
  const UINT align = rightToLeft ? DT_RIGHT : 0u;
  RECT text = area;
  const int height = DrawMenuItemText(form, item, dc, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE | align,
                                      selected, text, item.Caption());
  if (rightToLeft) {
    // The measured width, at the area's trailing (right) end.
    const int width = text.right - text.left;
    text.right = area.right;
    text.left = area.right - width;
  }
  OffsetRect(&text, 0, ((area.bottom - area.top) - height) / 2);
  text.bottom = text.top + height;
  DrawMenuItemText(form, item, dc, DT_EXPANDTABS | DT_SINGLELINE | align, selected, text, item.Caption());
  if (item.ShortCutText().empty() || item.IsLine()) return;
  if (rightToLeft) {
    RECT shortcut{rect.left + ScaleToScreen(11), text.top, area.right, text.bottom};
    DrawMenuItemText(form, item, dc, 0, selected, shortcut, item.ShortCutText());
  } else {
    RECT shortcut{text.right, text.top, rect.right - ScaleToScreen(11), text.bottom};
    DrawMenuItemText(form, item, dc, DT_RIGHT | DT_SINGLELINE, selected, shortcut, item.ShortCutText());
  }
}

int DrawMenuItemText(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, UINT format, bool selected, RECT& rect,
                     std::wstring text) {
  if ((format & DT_CALCRECT) && (text.empty() || text == L"&")) text += L" ";
  if (text == L"-") {
    if (!(format & DT_CALCRECT)) {
      RECT line = rect;
      OffsetRect(&line, 0, ScaleToScreen(4));
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    }
    return rect.bottom - rect.top;
  }
  gui::SavedDcState saved(dc);
  gui::FontHandle bold = item.Default() ? SystemMenuFont(true) : gui::FontHandle();
  if (bold) SelectObject(dc, bold.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, TextColour(form, item, selected));
  if (format & DT_CALCRECT) {
    // The measured size, kept at the rectangle's top-left corner.
    RECT measured = rect;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format);
    rect.right = rect.left + (measured.right - measured.left);
    return measured.bottom - measured.top;
  }
  return DrawSkinText(dc, text, rect, format);
}

void DrawMenuItemFrame(TWinSkinForm& form, HDC dc, const RECT& rect) {
  TDataSkinObject* element = MenuItemElement(form);
  if (!element) return;
  gui::TBitmap& image = element->Image;
  const int w = image.Width() / kMenuItemFrames;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (w <= 0 || width <= 0 || height <= 0) return;
  const int sourceHeight = std::min(height, image.Height());
  const int sourceY = height < image.Height() ? image.Height() - height : 0;
  gui::TBitmap piece(width, height);
  gui::TCanvas(piece.DC()).FillRect(RECT{0, 0, width, height}, TransparentColour);
  SetStretchBltMode(piece.DC(), COLORONCOLOR);
  const int left = std::min(element->LeftWidth, width), right = std::min(element->RightWidth, width - left);
  const int x0 = w * (mifSeparator - 1);
  BitBlt(piece.DC(), 0, 0, left, sourceHeight, image.DC(), x0, sourceY, SRCCOPY);
  BitBlt(piece.DC(), width - right, 0, right, sourceHeight, image.DC(), x0 + w - element->RightWidth, sourceY,
         SRCCOPY);
  StretchBlt(piece.DC(), left, 0, width - left - right, sourceHeight, image.DC(), x0 + element->LeftWidth, sourceY,
             std::max(1, w - element->LeftWidth - element->RightWidth), sourceHeight, SRCCOPY);
  DrawTransparent(dc, rect, piece, TransparentColour);
}

// --- items of plain menus ---------------------------------------------------------

std::wstring MenuItemText(HMENU menu, UINT command) {
  if (!menu) return {};
  wchar_t text[kCaptionLength + 1] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = text;
  info.cch = kCaptionLength;
  // By command, the submenus are searched too; an owner-drawn item keeps
  // the text it had.
  if (!GetMenuItemInfoW(menu, command, FALSE, &info) || !info.dwTypeData) return {};
  return text;
}

std::unique_ptr<gui::TMenuItem> MenuItemFromHandle(HMENU menu, UINT command) {
  gui::TMenuItemState state;
  state.Caption = MenuItemText(menu, command);
  if (state.Caption.empty()) state.Caption = L"-";
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_FTYPE;
  if (menu && GetMenuItemInfoW(menu, command, FALSE, &info)) {
    state.Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    state.Checked = (info.fState & MFS_CHECKED) != 0;
    state.Default = (info.fState & MFS_DEFAULT) != 0;
    state.RadioItem = (info.fType & MFT_RADIOCHECK) != 0;
  }
  // The shortcut the menu shows after a tab.
  if (const std::size_t tab = state.Caption.find(L'\t'); tab != std::wstring::npos) {
    state.ShortCutText = state.Caption.substr(tab + 1);
    state.Caption.resize(tab);
  }
  auto item = std::make_unique<gui::TMenuItem>(nullptr);
  item->Assign(state);
  return item;
}

}  // namespace skin
