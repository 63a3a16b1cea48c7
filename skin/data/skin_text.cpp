#include "skin/data/skin_text.h"

#include <string>

#include "gui/text.h"
#include "skin/data/platform_version.h"

namespace skin {

int DrawSkinText(HDC dc, std::wstring_view text, RECT rect, UINT format) {
  if (IsWin9xPlatform()) {
    const std::string ansi = gui::WideToAnsi(text);
    return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
  }
  // DT_MODIFYSTRING may write up to four characters more than the text.
  std::wstring buffer(text);
  buffer.reserve(buffer.size() + 4);
  return DrawTextW(dc, buffer.data(), static_cast<int>(buffer.size()), &rect, format);
}

}  // namespace skin
