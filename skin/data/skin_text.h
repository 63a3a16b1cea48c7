// Text drawn the way the platform can: the wide DrawTextW on the NT family,
// DrawTextA with the text in the ANSI code page on Windows 9x.
#pragma once
#include <windows.h>

#include <string_view>

namespace skin {

// DrawText's result (the text height). The rectangle is taken by value, so
// a DT_CALCRECT request measures without changing the caller's rectangle.
int DrawSkinText(HDC dc, std::wstring_view text, RECT rect, UINT format);

}  // namespace skin
