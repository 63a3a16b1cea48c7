// A caption with an optional image from an image list, as the header and
// tab skinners draw their items: the image and the text side by side,
// placed left, centred or right in the rectangle and centred vertically.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace skin {

enum class TCaptionPlacement { Left, Centre, Right };

// Draws into `dc` (whose font is the control's): the image `imageIndex` of
// `images` (none: -1 or no list), then the text in the DC's text colour, or
// the system's grey text colour when the control is disabled. The font is
// drawn plain whatever its style. Nothing is drawn outside `rect`: a caption
// too wide for it starts at its left margin and ends in an ellipsis.
void DrawImageCaption(HDC dc, const RECT& rect, TCaptionPlacement placement, const std::wstring& text,
                      int imageIndex, HIMAGELIST images, bool enabled);

}  // namespace skin
