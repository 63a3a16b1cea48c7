// Where skinrun and the engine it brings into a program meet: a block of
// shared memory named after the program's process, made by the launcher
// before the program runs. It says which skin to wear; the engine answers
// whether it started and passes on what it reports, and signals an event
// each time, so that the launcher can print it. Fixed-size fields only: the
// launcher and the engine are of one bitness, but the layout does not
// depend on it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace skinengine::guest {

constexpr std::uint32_t kBlockVersion = 1;
constexpr int kReportSlots = 8;
constexpr int kReportLength = 512;
constexpr int kSkinPathLength = 32768;

enum TGuestState : LONG { gsWaiting = 0, gsStarted = 1, gsFailed = 2 };

struct TGuestBlock {
  std::uint32_t Size;
  std::uint32_t Version;
  // The skin file to wear; empty: the default skin carried inside the DLL.
  wchar_t SkinFile[kSkinPathLength];
  volatile LONG State;
  // Reports written so far; report n is in slot n % kReportSlots.
  volatile LONG ReportCount;
  wchar_t Reports[kReportSlots][kReportLength];
};

inline std::wstring BlockName(DWORD processId) { return L"Local\\SkinEngine.Guest." + std::to_wstring(processId); }
inline std::wstring SignalName(DWORD processId) { return BlockName(processId) + L".Signal"; }

}  // namespace skinengine::guest
