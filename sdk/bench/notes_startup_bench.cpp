// notes_startup_bench [RUNS] [SKIN]: Notes, an ordinary Win32 program, from
// process start to its first complete paint without the skin engine,
// beside the time the engine takes in the skinned build from
// skinengine_start_file to every window of Notes skinned and painted. Both
// builds (notes_skinned.exe, notes_unskinned.exe beside this program) are
// started RUNS times each (default 9), alternately and the order swapped
// every round; each figure is the best of its runs, in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

class TKernelHandle {
 public:
  explicit TKernelHandle(HANDLE h = nullptr) : h_(h) {}
  ~TKernelHandle() { Reset(); }
  TKernelHandle(const TKernelHandle&) = delete;
  TKernelHandle& operator=(const TKernelHandle&) = delete;
  void Reset() {
    if (h_) CloseHandle(h_);
    h_ = nullptr;
  }
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_;
};

using TMarks = std::map<std::string, long long>;  // counter ticks

// One start of `exe` with its output on a pipe; its marks, with "launch"
// taken just before the process is created.
std::optional<TMarks> StartOnce(const std::wstring& exe, const std::wstring& arguments) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return std::nullopt;
  TKernelHandle reader(readEnd), writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  LARGE_INTEGER launch;
  QueryPerformanceCounter(&launch);
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fwprintf(stderr, L"notes_startup_bench: cannot start %ls\n", exe.c_str());
    return std::nullopt;
  }
  TKernelHandle processHandle(process.hProcess), thread(process.hThread);
  writer.Reset();  // the pipe ends when the program's copy closes
  std::string output;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) output.append(buffer, got);
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    return std::nullopt;
  }
  TMarks marks{{"launch", launch.QuadPart}};
  std::istringstream lines(output);
  std::string kind, name;
  long long value = 0;
  while (lines >> kind >> name >> value)
    if (kind == "mark") marks[name] = value;
  for (const char* needed : {"main", "start", "done"}) {
    if (!marks.contains(needed)) {
      std::fprintf(stderr, "notes_startup_bench: no \"%s\" mark from a run:\n%s", needed, output.c_str());
      return std::nullopt;
    }
  }
  return marks;
}

struct TBest {
  double Whole = 1e30, ToStart = 1e30, StartToDone = 1e30, Call = 1e30;
  void Take(const TMarks& m, double frequency) {
    const auto ms = [&](const char* from, const char* to) {
      return static_cast<double>(m.at(to) - m.at(from)) * 1000.0 / frequency;
    };
    Whole = std::min(Whole, ms("launch", "done"));
    ToStart = std::min(ToStart, ms("launch", "start"));
    StartToDone = std::min(StartToDone, ms("start", "done"));
    if (m.contains("started")) Call = std::min(Call, ms("start", "started"));
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const std::wstring folder = ProgramFolder();
  std::wstring skin = folder + L"default.skin";
  if (argc > 2) skin.assign(argv[2], argv[2] + std::char_traits<char>::length(argv[2]));
  const std::wstring programs[2] = {folder + L"notes_unskinned.exe", folder + L"notes_skinned.exe"};
  const std::wstring arguments = L"--skin \"" + skin + L"\"";
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const auto hz = static_cast<double>(frequency.QuadPart);

  // One of each first, not counted: the first start of a program pays for
  // what the system then keeps.
  for (const std::wstring& program : programs)
    if (!StartOnce(program, arguments)) return 1;
  TBest best[2];
  for (int round = 0; round < runs; ++round) {
    for (int k = 0; k < 2; ++k) {
      const int which = (round + k) % 2;
      const std::optional<TMarks> marks = StartOnce(programs[which], arguments);
      if (!marks) return 1;
      best[which].Take(*marks, hz);
    }
  }
  const TBest& plain = best[0];
  const TBest& skinned = best[1];
  const double added = skinned.StartToDone - plain.StartToDone;
  std::printf("Notes, best of %d runs each, alternately (ms)\n", runs);
  std::printf("unskinned: process start to its first complete paint  %8.1f  (baseline)\n", plain.Whole);
  std::printf("skinned:   process start to every window skinned      %8.1f  %5.2fx the baseline\n", skinned.Whole,
              skinned.Whole / plain.Whole);
  std::printf("  up to skinengine_start_file: unskinned %.1f, skinned %.1f\n", plain.ToStart, skinned.ToStart);
  std::printf("skinengine_start_file to every window skinned and painted %7.1f  (unskinned, the same stretch: %.1f)\n",
              skinned.StartToDone, plain.StartToDone);
  std::printf("  of which the call itself (the skin read, the windows taken over) %.1f\n", skinned.Call);
  std::printf("the skin's start-up                                   %8.1f  %5.1f %% of the baseline\n", added,
              added * 100.0 / plain.Whole);
  return 0;
}
