// Where the skinned bar's items lie, and how a bar caption is drawn: pure
// layout of measured captions into rows, as the system's bar wraps.
#include <algorithm>
#include <string>
#include <vector>

#include "gui/handles.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_text.h"
#include "skin/form/skin_menu_bar.h"

namespace skin {

std::vector<RECT> LayoutMenuBarItems(const std::vector<int>& textWidths, SIZE bar, int start, bool rightToLeft,
                                     TMenuBarRoom room) {
  std::vector<RECT> rects;
  rects.reserve(textWidths.size());
  const int margin = ScaleToScreen(10);
  int row = 0;
  // Where a row's first item starts and where its items must end.
  const auto lead = [&] {
    return rightToLeft ? bar.cx - std::max(start, row == 0 ? room.Right : 0) : std::max(start, row == 0 ? room.Left : 0);
  };
  const auto limit = [&] { return rightToLeft ? (row == 0 ? room.Left : 0) : bar.cx - (row == 0 ? room.Right : 0); };
  int x = lead();
  for (const int tw : textWidths) {
    const int width = tw > 0 ? tw + margin : 0;
    const bool crosses = rightToLeft ? x - width < limit() : x + width > limit();
    if (width > 0 && crosses && x != lead()) {
      ++row;
      x = lead();
    }
    const int top = row * bar.cy;
    if (rightToLeft) {
      rects.push_back(RECT{x - width, top, x, top + bar.cy - 1});
      x -= width;
    } else {
      rects.push_back(RECT{x, top, x + width, top + bar.cy - 1});
      x += width;
    }
  }
  return rects;
}

int MenuBarRows(const std::vector<RECT>& items, int rowHeight) {
  int rows = 1;
  if (rowHeight > 0)
    for (const RECT& r : items) rows = std::max<int>(rows, r.top / rowHeight + 1);
  return rows;
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

}  // namespace skin
