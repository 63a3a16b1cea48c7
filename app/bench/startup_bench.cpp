// startup_bench [RUNS] [SKINNED_EXE UNSKINNED_EXE]: the settings program's
// start-up, from process start to the first complete paint of the form and
// its children, skinned beside unskinned in the same run. Starts the two
// benchmark builds in turn (by default Project1_startup.exe and
// Project1_unskinned.exe beside this program), RUNS times each (default 7,
// the order swapped every round), reads the marks each writes to its
// standard output, and prints the best run of each, their ratio and where
// the time went.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "gui/handles.h"

namespace {

// The marks in the order start-up passes them; "start" is this program's,
// taken just before the process is created.
constexpr std::array<const char*, 5> kMarks = {"start", "main", "form read", "activated", "painted"};
constexpr std::array<const char*, 4> kSteps = {"process start to main", "form read (skin loaded, hook in)",
                                               "window made, shown, activated (skin attached)", "first paint"};

struct TRun {
  std::map<std::string, long long> marks;    // counter ticks
  std::map<std::string, double> stages;      // microseconds
  std::map<std::string, int> counts;
  double Seconds(const char* from, const char* to, double frequency) const {
    return static_cast<double>(marks.at(to) - marks.at(from)) / frequency;
  }
  bool Complete() const {
    return std::all_of(kMarks.begin(), kMarks.end(), [&](const char* m) { return marks.contains(m); });
  }
};

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using KernelHandle = gui::OwnedHandle<HANDLE, HandleCloser>;

// One start of `exe`; nothing when it could not be started or gave no
// complete set of marks within a minute.
std::optional<TRun> StartOnce(const std::wstring& exe) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return std::nullopt;
  KernelHandle reader(readEnd), writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + exe + L"\"";
  TRun run;
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fwprintf(stderr, L"startup_bench: cannot start %ls\n", exe.c_str());
    return std::nullopt;
  }
  run.marks["start"] = start.QuadPart;
  KernelHandle processHandle(process.hProcess), thread(process.hThread);
  writer.reset();  // the pipe ends when the program's copy closes

  std::string output;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) output.append(buffer, got);
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    return std::nullopt;
  }
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    std::string rest;
    std::getline(words >> std::ws, rest);
    const auto space = rest.find_last_of(' ');
    if (space == std::string::npos) continue;
    const std::string name = rest.substr(0, space), value = rest.substr(space + 1);
    if (kind == "mark") run.marks[name] = std::atoll(value.c_str());
    if (kind == "stage") run.stages[name] = std::atof(value.c_str());
    if (kind == "count") run.counts[name] = std::atoi(value.c_str());
  }
  if (!run.Complete()) {
    std::fprintf(stderr, "startup_bench: incomplete marks from a run:\n%s", output.c_str());
    return std::nullopt;
  }
  return run;
}

double Total(const TRun& run, double frequency) { return run.Seconds("start", "painted", frequency); }

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const std::wstring folder = ProgramFolder();
  std::wstring skinnedExe = folder + L"Project1_startup.exe", unskinnedExe = folder + L"Project1_unskinned.exe";
  if (argc > 3) {
    skinnedExe = std::wstring(argv[2], argv[2] + std::strlen(argv[2]));
    unskinnedExe = std::wstring(argv[3], argv[3] + std::strlen(argv[3]));
  }
  LARGE_INTEGER frequencyTicks;
  QueryPerformanceFrequency(&frequencyTicks);
  const double frequency = static_cast<double>(frequencyTicks.QuadPart);

  // One start of each first, not counted: the system's files are then in
  // its caches for both alike.
  StartOnce(skinnedExe);
  StartOnce(unskinnedExe);
  std::vector<TRun> skinned, unskinned;
  for (int round = 0; round < runs; ++round) {
    const bool skinnedFirst = round % 2 == 0;
    for (int i = 0; i < 2; ++i) {
      const bool isSkinned = (i == 0) == skinnedFirst;
      if (auto run = StartOnce(isSkinned ? skinnedExe : unskinnedExe))
        (isSkinned ? skinned : unskinned).push_back(*run);
    }
  }
  if (skinned.empty() || unskinned.empty()) {
    std::fputs("startup_bench: no complete run\n", stderr);
    return 1;
  }
  auto fastest = [&](const std::vector<TRun>& list) {
    return *std::min_element(list.begin(), list.end(),
                             [&](const TRun& a, const TRun& b) { return Total(a, frequency) < Total(b, frequency); });
  };
  const TRun bestSkinned = fastest(skinned), bestUnskinned = fastest(unskinned);
  const double base = Total(bestUnskinned, frequency) * 1e3, ours = Total(bestSkinned, frequency) * 1e3;
  std::printf("start-up to the first complete paint, best of %zu skinned and %zu unskinned runs, alternating\n",
              skinned.size(), unskinned.size());
  std::printf("%-42s %8.1f ms  %5.2fx unskinned\n", "unskinned (baseline)", base, 1.0);
  std::printf("%-42s %8.1f ms  %5.2fx unskinned\n", "skinned", ours, ours / base);
  // The same without the system's own part (the process made and the
  // program loaded), which is alike for both and varies most with the load.
  auto fromMain = [&](const std::vector<TRun>& list) {
    double best = 1e30;
    for (const TRun& run : list) best = std::min(best, run.Seconds("main", "painted", frequency) * 1e3);
    return best;
  };
  const double baseMain = fromMain(unskinned), oursMain = fromMain(skinned);
  std::printf("%-42s %8.1f ms  %5.2fx unskinned\n", "unskinned, from main (baseline)", baseMain, 1.0);
  std::printf("%-42s %8.1f ms  %5.2fx unskinned\n", "skinned, from main", oursMain, oursMain / baseMain);

  // Each step's best over all runs of a program: a busy machine slows
  // steps of different runs, so these add up to less than the best total.
  auto bestStep = [&](const std::vector<TRun>& list, std::size_t i) {
    double best = 1e30;
    for (const TRun& run : list) best = std::min(best, run.Seconds(kMarks[i], kMarks[i + 1], frequency) * 1e3);
    return best;
  };
  double skinCost = 0;
  std::printf("\nwhere the time goes, each step's best (ms)      skinned  unskinned  difference\n");
  for (std::size_t i = 0; i < kSteps.size(); ++i) {
    const double a = bestStep(skinned, i), b = bestStep(unskinned, i);
    std::printf("  %-46s %7.1f  %9.1f  %+10.1f\n", kSteps[i], a, b, a - b);
    if (i > 0) skinCost += a - b;
  }
  // Up to main both programs run the same code (the system's loader and the
  // runtime's start), so what the skin adds is the rest: its cost set beside
  // the unskinned start-up varies far less with the load than the totals.
  std::printf("%-42s %8.1f ms  %5.2fx unskinned\n", "unskinned + the skin's steps",
              base + skinCost, (base + skinCost) / base);

  // The stages as the skinned program timed them, the best over all runs.
  std::map<std::string, double> stages;
  for (const TRun& run : skinned)
    for (const auto& [name, us] : run.stages)
      stages[name] = stages.contains(name) ? std::min(stages[name], us) : us;
  if (stages.contains("decompress") && stages.contains("parse") && stages.contains("bitmaps") && stages.contains("parse+bitmaps")) {
    std::printf("\nloading the skin, timed again inside the skinned program on its own archive (us)\n");
    std::printf("  %-44s %9.1f\n", "archive decompression", stages["decompress"]);
    std::printf("  %-44s %9.1f\n", "definition parse", stages["parse"]);
    std::printf("  %-44s %9.1f\n", "bitmaps decoded", stages["bitmaps"]);
    std::printf("  %-44s %9.1f\n", "elements built", stages["parse+bitmaps"] - stages["parse"] - stages["bitmaps"]);
  }
  for (const auto* list : {&skinned, &unskinned}) {
    std::printf("\n%s, up to the first paint:", list == &skinned ? "skinned" : "unskinned");
    for (const auto& [name, n] : list->front().counts) std::printf("  %s %d", name.c_str(), n);
    std::printf("\n");
  }
  return 0;
}
