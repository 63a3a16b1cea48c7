#include "skin/data/skin_text.h"

#include <string>

#include "gui/handles.h"
#include "gui/text.h"
#include "skin/data/platform_version.h"
#include "skin/data/skin_mirror.h"

namespace skin {

namespace {

int DrawOnce(HDC dc, std::wstring_view text, RECT rect, UINT format) {
  if (IsWin9xPlatform()) {
    const std::string ansi = gui::WideToAnsi(text);
    return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
  }
  // DT_MODIFYSTRING may write up to four characters more than the text.
  std::wstring buffer(text);
  buffer.reserve(buffer.size() + 4);
  return DrawTextW(dc, buffer.data(), static_cast<int>(buffer.size()), &rect, format);
}

// The horizontal alignment a mirrored context gives: left is its right.
UINT ReflectedAlignment(UINT format) {
  if (format & DT_CENTER) return format;
  return (format & DT_RIGHT) ? format & ~static_cast<UINT>(DT_RIGHT) : format | DT_RIGHT;
}

}  // namespace

int DrawSkinText(HDC dc, std::wstring_view text, RECT rect, UINT format) {
  if ((format & DT_CALCRECT) || !IsMirrored(dc)) return DrawOnce(dc, text, rect, format);
  // On a mirrored context the text goes where the context puts the
  // rectangle, aligned as it aligns, but drawn with the layout left to
  // right: the system never reflects text, and Wine underlines an
  // accelerator there at the wrong end of the word.
  const gui::SavedDcState saved(dc);
  POINT edges[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  LPtoDP(dc, edges, 2);
  SetLayout(dc, 0);
  // The rectangle's edges as device pixels: the left edge's pixel is the
  // rightmost one.
  POINT shown[2] = {{edges[1].x + 1, edges[0].y}, {edges[0].x + 1, edges[1].y}};
  DPtoLP(dc, shown, 2);
  return DrawOnce(dc, text, RECT{shown[0].x, shown[0].y, shown[1].x, shown[1].y}, ReflectedAlignment(format));
}

}  // namespace skin
