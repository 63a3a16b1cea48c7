// Owner-drawn menu items of skinned windows: measured and drawn from the
// skin's MenuItem element over the popup's background, with the glyph (an
// image, a check mark or a radio bullet), the caption and the shortcut laid
// out the same way in every routine, left to right or right to left.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "gui/handles.h"

namespace gui {
class TMenuItem;
}

namespace skin {

class TWinSkinForm;

// The system's menu font, bold for a menu's default item.
gui::FontHandle SystemMenuFont(bool bold);

// The measure handler the skinned popups give their items.
void SkinMenuItemMeasure(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, int& width, int& height);
// An item of a skinned bar's submenu: the framework's own size and the
// room the skin's element and glyph column take.
void MeasureBarMenuItem(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, int& width, int& height);
// An item that is not the framework's, from its text alone; `givenHeight`
// is what the system proposed.
SIZE MeasureWindowMenuItem(TWinSkinForm& form, const std::wstring& text, int givenHeight);

// The draw handler: MenuItem element, or the plain routine without one.
// menu is the menu the item is shown in (for the popup background), or none.
void SkinMenuItemDraw(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, const RECT& rect, bool selected,
                      HMENU menu);
// An item that is not the framework's (made by MenuItemFromHandle): the
// element and the content always, so a separator shows the etched line.
void DrawWindowMenuItem(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, const RECT& rect, bool selected,
                        HMENU menu);
// Flat Menu / Hilight background with the same content.
void DrawMenuItemPlain(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, const RECT& rect, bool selected);
void DrawMenuItemContent(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, bool selected, const RECT& rect);
// Answers the text height; DT_CALCRECT measures into rect.
int DrawMenuItemText(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, UINT format, bool selected, RECT& rect,
                     std::wstring text);
// The separator look: frame 2 of the MenuItem strip, magenta left undrawn.
void DrawMenuItemFrame(TWinSkinForm& form, HDC dc, const RECT& rect);

// The text of a menu's item by command (its submenus searched too), at
// most 80 characters; empty when there is none.
std::wstring MenuItemText(HMENU menu, UINT command);
// A temporary framework item standing for an item of a plain menu: its
// caption ("-" when it has none), enabled, checked, default and radio state.
std::unique_ptr<gui::TMenuItem> MenuItemFromHandle(HMENU menu, UINT command);

}  // namespace skin
