#include "skin/form/menu_item_draw.h"

#include <algorithm>
#include <commctrl.h>

#include "gui/bitmap.h"
#include "gui/graphics.h"
#include "gui/handles.h"
#include "gui/imagelist.h"
#include "gui/menus.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_text.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_popup_menu.h"

namespace skin {

namespace {

constexpr int kMenuItemFrames = 5;

gui::FontHandle MenuFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return {};
  return gui::FontHandle(CreateFontIndirectW(&metrics.lfMenuFont));
}

TDataSkinObject* MenuItemElement(TWinSkinForm& form) {
  return form.SkinData ? form.SkinData->Skin().MenuItem.get() : nullptr;
}

int MenuItemLeftWidth(TWinSkinForm& form) {
  const TDataSkinObject* element = MenuItemElement(form);
  return element ? element->LeftWidth : 0;
}

// The image list of the popup menu the item belongs to.
gui::TImageList* ItemImages(const gui::TMenuItem& item) {
  const gui::TMenuItem* root = &item;
  while (root->ParentItem()) root = root->ParentItem();
  auto* menu = dynamic_cast<gui::TPopupMenu*>(root->Owner());
  return menu ? menu->Images : nullptr;
}

COLORREF Resolve(core::SkinColour colour) { return gui::ColorToRGB(colour); }

// An off-screen picture of one item, drawn to the target in one blit.
struct ItemBitmap {
  ItemBitmap(const RECT& rect, HFONT font)
      : bitmap(std::max<int>(1, rect.right - rect.left), std::max<int>(1, rect.bottom - rect.top)),
        select(bitmap.DC(), font) {}
  RECT Local() const { return RECT{0, 0, bitmap.Width(), bitmap.Height()}; }
  void CopyTo(HDC dc, const RECT& rect) {
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, bitmap.DC(), 0, 0, SRCCOPY);
  }
  gui::TBitmap bitmap;
  gui::SelectGuard select;
};

}  // namespace

void SkinMenuItemMeasure(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, int& width, int& height) {
  // The framework's own size of the item: glyph, caption, shortcut.
  gui::FontHandle font = MenuFont();
  gui::SelectGuard select(dc, font.get());
  gui::TImageList* images = ItemImages(item);
  const int glyph = images ? images->Width() : 16;
  if (item.IsLine()) {
    width = glyph;
    height = 5;
  } else {
    SIZE caption{}, shortcut{};
    GetTextExtentPoint32W(dc, item.Caption.c_str(), static_cast<int>(item.Caption.size()), &caption);
    if (!item.ShortCutText.empty())
      GetTextExtentPoint32W(dc, item.ShortCutText.c_str(), static_cast<int>(item.ShortCutText.size()), &shortcut);
    width = glyph + caption.cx + (shortcut.cx ? shortcut.cx + 16 : 0);
    height = std::max<int>(std::max<int>(caption.cy + 4, glyph + 3), GetSystemMetrics(SM_CYMENU));
  }
  width += MenuItemLeftWidth(form) + 12;
  if (!images) width += 23;
}

void SkinMenuItemDraw(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, const RECT& rect, bool selected,
                      HMENU menu) {
  TDataSkinObject* element = MenuItemElement(form);
  if (!element || element->Image.Empty()) {
    DrawMenuItemPlain(form, item, dc, rect, selected);
    return;
  }
  TWinSkinPopMenu::MarkAllFromMenuBar();
  if (PendingMenuSkinner && menu) {
    PendingMenuSkinner->MenuHandle = menu;
    PendingMenuSkinner = nullptr;
  }
  gui::FontHandle font = MenuFont();
  ItemBitmap picture(rect, font.get());
  // The popup's background behind the item; its window frame is 3 pixels.
  gui::TBitmap* background = menu ? TWinSkinPopMenu::BackgroundOf(menu) : nullptr;
  if (background && !background->Empty()) {
    BitBlt(picture.bitmap.DC(), 0, 0, picture.bitmap.Width(), picture.bitmap.Height(), background->DC(),
           rect.left + 3, rect.top + 3, SRCCOPY);
  } else {
    gui::TCanvas(picture.bitmap.DC()).FillRect(picture.Local(), form.SkinData->Skin().Colours.Menu);
  }
  if (item.IsLine()) {
    picture.CopyTo(dc, rect);
    DrawMenuItemFrame(form, dc, rect);
    return;
  }
  DrawNineSlice(picture.bitmap.DC(), picture.Local(), element->Image, false, element->TilesCentre(), element->Trans != 0,
                kMenuItemFrames, selected ? 4 : 1, element->Margins());
  DrawMenuItemContent(form, item, picture.bitmap.DC(), selected, picture.Local());
  picture.CopyTo(dc, rect);
}

void DrawMenuItemPlain(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, const RECT& rect, bool selected) {
  gui::FontHandle font = MenuFont();
  ItemBitmap picture(rect, font.get());
  const core::SkinColours& colours = form.SkinData->Skin().Colours;
  gui::TCanvas(picture.bitmap.DC()).FillRect(picture.Local(), selected ? colours.Hilight : colours.Menu);
  DrawMenuItemContent(form, item, picture.bitmap.DC(), selected, picture.Local());
  picture.CopyTo(dc, rect);
}

void DrawMenuItemContent(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, bool selected, const RECT& rect) {
  gui::TImageList* images = ItemImages(item);
  const int glyph = images ? images->Width() : 16;
  RECT box{rect.left + 1 + MenuItemLeftWidth(form), rect.top + 1, 0, 0};
  if (item.IsLine()) {
    box.right = 0;
  } else {
    box.right = box.left + glyph;
    box.bottom = box.top + glyph;
    if (images && item.ImageIndex >= 0 && item.ImageIndex < images->Count()) {
      ImageList_DrawEx(images->Handle(), item.ImageIndex, dc, box.left, box.top, 0, 0, CLR_NONE, CLR_NONE,
                       item.Enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
    }
  }
  RECT area{box.right + 3, rect.top, rect.right - 1, rect.bottom};
  if (item.IsLine()) area.left = rect.left + 1 + MenuItemLeftWidth(form);
  RECT text = area;
  const int height = DrawMenuItemText(form, item, dc, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE,
                                      selected, text, item.Caption);
  OffsetRect(&text, 0, ((area.bottom - area.top) - height) / 2);
  text.bottom = text.top + height;
  DrawMenuItemText(form, item, dc, DT_EXPANDTABS | DT_SINGLELINE, selected, text, item.Caption);
  if (!item.ShortCutText.empty()) {
    RECT shortcut{text.right, text.top, rect.right - 11, text.bottom};
    DrawMenuItemText(form, item, dc, DT_RIGHT | DT_SINGLELINE, selected, shortcut, item.ShortCutText);
  }
}

int DrawMenuItemText(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, UINT format, bool selected, RECT& rect,
                     std::wstring text) {
  if ((format & DT_CALCRECT) && (text.empty() || text == L"&")) text += L" ";
  if (text == L"-") {
    if (!(format & DT_CALCRECT)) {
      RECT line = rect;
      OffsetRect(&line, 0, 4);
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    }
    return rect.bottom - rect.top;
  }
  const core::SkinColours& colours = form.SkinData->Skin().Colours;
  COLORREF colour;
  if (item.Enabled) {
    colour = Resolve(selected ? colours.HilightText : colours.MenuText);
  } else {
    colour = colours.ButtonShadow == colours.MenuText ? GetSysColor(COLOR_BTNSHADOW) : Resolve(colours.ButtonShadow);
  }
  gui::SavedDcState saved(dc);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  int height;
  if (format & DT_CALCRECT) {
    // The measured size, kept at the rectangle's top-left corner.
    RECT measured = rect;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format);
    rect.right = measured.right;
    height = measured.bottom - measured.top;
  } else {
    height = DrawSkinText(dc, text, rect, format);
  }
  return height;
}

void DrawMenuItemFrame(TWinSkinForm& form, HDC dc, const RECT& rect) {
  TDataSkinObject* element = MenuItemElement(form);
  if (!element || element->Image.Empty()) return;
  gui::TBitmap& image = element->Image;
  const int w = image.Width() / kMenuItemFrames;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (w <= 0 || width <= 0 || height <= 0) return;
  const int sourceHeight = std::min(height, image.Height());
  const int sourceY = height < image.Height() ? image.Height() - height : 0;
  gui::TBitmap piece(width, height);
  {
    gui::TCanvas(piece.DC()).FillRect(RECT{0, 0, width, height}, TransparentColour);
  }
  SetStretchBltMode(piece.DC(), COLORONCOLOR);
  const int left = std::min(element->LeftWidth, width), right = std::min(element->RightWidth, width - left);
  const int x0 = w;
  BitBlt(piece.DC(), 0, 0, left, sourceHeight, image.DC(), x0, sourceY, SRCCOPY);
  BitBlt(piece.DC(), width - right, 0, right, sourceHeight, image.DC(), x0 + w - element->RightWidth, sourceY,
         SRCCOPY);
  StretchBlt(piece.DC(), left, 0, width - left - right, sourceHeight, image.DC(), x0 + element->LeftWidth, sourceY,
             std::max(1, w - element->LeftWidth - element->RightWidth), sourceHeight, SRCCOPY);
  DrawTransparent(dc, rect, piece, TransparentColour);
}

}  // namespace skin
