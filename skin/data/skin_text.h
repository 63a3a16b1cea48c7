// Text drawn the way the platform can: the wide DrawTextW on the NT family,
// DrawTextA with the text in the ANSI code page on Windows 9x. On a
// mirrored context (a right-to-left window's) the text stands where the
// context puts the rectangle, aligned from its right, and reads as it
// would anywhere else.
#pragma once
#include <windows.h>

#include <string_view>

namespace skin {

// DrawText's result (the text height). The rectangle is taken by value, so
// a DT_CALCRECT request measures without changing the caller's rectangle.
int DrawSkinText(HDC dc, std::wstring_view text, RECT rect, UINT format);

}  // namespace skin
