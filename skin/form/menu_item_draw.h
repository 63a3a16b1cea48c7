// Owner-drawn menu items of skinned windows: measured and drawn from the
// skin's MenuItem element over the popup's background, with the glyph, the
// caption and the shortcut laid out the same way in every routine.
#pragma once
#include <windows.h>

#include <string>

namespace gui {
class TMenuItem;
}

namespace skin {

class TWinSkinForm;

// The measure handler the skinned popups give their items.
void SkinMenuItemMeasure(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, int& width, int& height);
// The draw handler: MenuItem element, or the plain routine without one.
// menu is the menu the item is shown in (for the popup background), or none.
void SkinMenuItemDraw(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, const RECT& rect, bool selected,
                      HMENU menu);
// Flat Menu / Hilight background with the same content.
void DrawMenuItemPlain(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, const RECT& rect, bool selected);
void DrawMenuItemContent(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, bool selected, const RECT& rect);
// Answers the text height; DT_CALCRECT measures into rect.
int DrawMenuItemText(TWinSkinForm& form, gui::TMenuItem& item, HDC dc, UINT format, bool selected, RECT& rect,
                     std::wstring text);
// The separator look: frame 2 of the MenuItem strip, magenta left undrawn.
void DrawMenuItemFrame(TWinSkinForm& form, HDC dc, const RECT& rect);

}  // namespace skin
