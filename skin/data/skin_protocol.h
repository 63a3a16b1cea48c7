// What every layer of the skin engine shares: its private window messages,
// the codes of the requests a skin data component makes, and the reading of
// a window's class name as the engine compares it.
#pragma once
#include <windows.h>

#include <string>

namespace skin {

// The engine's private window messages.
constexpr UINT SkinMsgRefresh = 0x3401;   // a skinned framework form re-applies the skin
constexpr UINT SkinMsgRepaint = 0x3502;   // repaint the skinned frame
constexpr UINT SkinMsgAttached = 0x3503;  // posted once after a form skinner attached, lParam 1000
constexpr UINT SkinMsgQuery = 0x3504;     // a window skinned by this engine answers 1
// A window carrying this property (any non-null value) is never skinned.
inline constexpr wchar_t kSkinExcludeProperty[] = L"SkinEngine.Exclude";

// What a skin data component asks the manager to do.
enum TSkinAction { saNone = 0, saSkinOn = 1, saSkinOff = 2, saSkinChanged = 3 };

// The window's class name (at most 100 characters), as the hook reads it.
std::wstring WindowClassName(HWND wnd);

}  // namespace skin
