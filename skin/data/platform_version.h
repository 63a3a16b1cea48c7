// The raw Windows version word (GetVersion) the skin engine decides its
// platform paths by: the top bit set means a Windows 9x platform, which lacks
// the four-operand MaskBlt and the wide text functions.
#pragma once
#include <windows.h>

namespace skin {

// The stored version word; read from GetVersion on first use unless recorded
// or forced before.
DWORD RawWindowsVersion();
// Stores GetVersion() again (done when the engine installs its hook).
void RecordWindowsVersion();
// Replaces the stored word, so tests can take the 9x paths on any system.
void ForceWindowsVersion(DWORD version);

inline bool IsWin9xPlatform() { return (RawWindowsVersion() & 0x80000000u) != 0; }

}  // namespace skin
