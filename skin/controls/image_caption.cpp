#include "skin/controls/image_caption.h"

#include <algorithm>

#include "gui/graphics.h"
#include "gui/handles.h"
#include "skin/data/skin_text.h"
#include "skin/data/screen_scale.h"

namespace skin {

namespace {
// DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS: how the item's text is measured and drawn.
constexpr UINT kCaptionFormat = 0x61;
}  // namespace

void DrawImageCaption(HDC dc, const RECT& rect, TCaptionPlacement placement, const std::wstring& text,
                      int imageIndex, HIMAGELIST images, bool enabled) {
  int iconWidth = 0, iconHeight = 0;
  const bool hasIcon = images && imageIndex >= 0 && ImageList_GetIconSize(images, &iconWidth, &iconHeight);
  if (!hasIcon) iconWidth = 0;
  gui::SavedDcState saved(dc);
  gui::FontHandle plain = gui::CreatePlainFont(static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)));
  if (plain) SelectObject(dc, plain.get());
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, GetStockObject(NULL_BRUSH));

  RECT measured = rect;
  const int gap = ScaleToScreen(2);
  if (hasIcon) measured.right += iconWidth + gap;
  int textWidth = 0, textHeight = 0;
  if (!text.empty()) {
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, kCaptionFormat | DT_CALCRECT | DT_NOCLIP);
    textWidth = measured.right - measured.left;
    textHeight = measured.bottom - measured.top;
  }
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  int x = gap;
  if (placement == TCaptionPlacement::Centre) x = (width - iconWidth - textWidth) / 2;
  if (placement == TCaptionPlacement::Right) x = width - iconWidth - textWidth - gap;
  // Too wide for its rectangle (a column dragged narrow): from the left
  // margin, shortened with an ellipsis, and never over the neighbours.
  x = rect.left + std::max(x, gap);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  if (hasIcon) ImageList_Draw(images, imageIndex, dc, x, rect.top + (height - iconWidth) / 2, ILD_TRANSPARENT);
  if (text.empty()) return;
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  const int left = x + iconWidth + 1, top = rect.top + (height - textHeight) / 2;
  // A right-aligned caption ends where this lets it, a pixel inside the margin.
  const int right = std::min(left + textWidth, static_cast<int>(rect.right) - gap + 1);
  const UINT shortened = right < left + textWidth ? DT_END_ELLIPSIS : 0;
  DrawSkinText(dc, text, RECT{left, top, right, top + textHeight}, kCaptionFormat | shortened);
}

}  // namespace skin
