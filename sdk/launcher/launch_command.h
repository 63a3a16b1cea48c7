// What skinrun is asked to do, read from its command line as the system
// hands it over (GetCommandLineW), by the rules the C runtime reads
// arguments with. The program's own arguments are never taken apart: the
// rest of the line after PROGRAM goes to the program exactly as it was
// typed, quotes, spaces and all.
#pragma once
#include <string>
#include <string_view>

namespace skinrun {

struct TLaunchRequest {
  bool Help = false;
  // --skin FILE, as given; empty when not given.
  std::wstring SkinFile;
  // PROGRAM with its quotes taken off, and as it was typed.
  std::wstring Program;
  std::wstring ProgramAsTyped;
  // Everything after PROGRAM, untouched (with the blank that ends PROGRAM).
  std::wstring Arguments;
  // Why the command line cannot be used; empty when it can.
  std::wstring Error;
};

TLaunchRequest ReadLaunchCommand(std::wstring_view commandLine);

// The program's command line: PROGRAM as typed, then its arguments.
inline std::wstring ProgramCommandLine(const TLaunchRequest& request) {
  return request.ProgramAsTyped + request.Arguments;
}

inline constexpr wchar_t kUsage[] = L"usage: skinrun [--skin FILE] PROGRAM [ARGS...]";

}  // namespace skinrun
