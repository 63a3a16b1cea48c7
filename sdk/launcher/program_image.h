// Which processor a Windows program is built for, read from its file's
// headers before anything is started: a program of the other bitness can
// never take this launcher's engine, and the system's own answer to a
// mismatch (on a machine that runs only 64-bit programs, error 1359) says
// nothing a user could act on.
#pragma once
#include <string>

namespace skinrun {

enum class TProgramKind {
  NotFound,     // the file cannot be opened
  NotAProgram,  // no Windows program (no PE image, or a DLL)
  Bits32,       // x86
  Bits64,       // x86-64
  AnyCpu,       // .NET, any processor: 64-bit where the system is
  OtherCpu      // ARM and the rest
};

TProgramKind ReadProgramKind(const std::wstring& path);

}  // namespace skinrun
