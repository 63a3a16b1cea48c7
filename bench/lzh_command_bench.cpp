// Decoding as whole commands: `skinpack decompress IN OUT` beside the classic
// LZHUF program (`classic_lzhuf d IN OUT`), each a process of its own that
// reads its input file and writes its output file, on a compressed corpus
// of about 17 MB (by default the mixed one: skin-like bitmaps, the
// repository's text files, 15 % random bytes). Both commands get the same
// file: the decoded size, 32-bit little-endian, then the bit stream, the
// form both programs read. Both outputs must be the corpus byte for byte;
// the commands run alternately, round by round, and each figure is the
// best of the rounds.
//
// Usage: lzh_command_bench [--corpus KIND] [--rounds N] [--size BYTES] [--dir DIR]
//                          [--instructions] [--skinpack PATH]
//   --corpus KIND    mixed (the default), random, compressed, low-entropy, or
//                    all (each in turn, then their ratios side by side)
//   --rounds N       timed runs of each command (default 10)
//   --size BYTES     corpus size (default 17000000)
//   --dir DIR        where the files go (default a new folder in the temporary
//                    folder, removed afterwards)
//   --instructions   also count each command's instructions once, whole
//                    process, under callgrind (valgrind must be installed)
//   --skinpack PATH  another build of skinpack in place of this one's (for
//                    the figure of an earlier version beside the same baseline)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/archive/lzh_encoder.h"
#include "lzh_corpus.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

struct Options {
  std::vector<bench::LzhCorpusKind> corpora;
  int rounds = 10;
  std::size_t size = 17'000'000;
  fs::path dir;
  bool instructions = false;
  std::string skinpack = SKINPACK_PATH;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--corpus" && hasValue) {
      const std::string name = argv[++i];
      if (name == "all") {
        options.corpora.assign(std::begin(bench::AllLzhCorpusKinds), std::end(bench::AllLzhCorpusKinds));
      } else if (const std::optional<bench::LzhCorpusKind> kind = bench::LzhCorpusNamed(name)) {
        options.corpora.push_back(*kind);
      } else {
        return std::nullopt;
      }
    } else if (arg == "--rounds" && hasValue) {
      options.rounds = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--size" && hasValue) {
      options.size = static_cast<std::size_t>(std::max(0LL, std::atoll(argv[++i])));
    } else if (arg == "--dir" && hasValue) {
      options.dir = argv[++i];
    } else if (arg == "--skinpack" && hasValue) {
      options.skinpack = argv[++i];
    } else if (arg == "--instructions") {
      options.instructions = true;
    } else {
      return std::nullopt;
    }
  }
  if (options.corpora.empty()) options.corpora.push_back(bench::LzhCorpusKind::Mixed);
  return options;
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

bool WriteFile(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

struct Run {
  bool ok = false;
  Clock::duration wall{};
  double cpuSeconds = 0;  // user + system
  long minorFaults = 0;
};

// Runs argv as a child process with its output to stdoutPath (or nowhere)
// and its diagnostics to stderrPath (or nowhere), timing it from before the
// spawn to after the wait.
Run Spawn(const std::vector<std::string>& args, const char* stdoutPath = "/dev/null",
          const char* stderrPath = "/dev/null") {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  Run run;
  const auto start = Clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return run;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return run;
  run.wall = Clock::now() - start;
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  run.minorFaults = usage.ru_minflt;
  return run;
}

struct Command {
  const char* label;
  std::vector<std::string> args;  // the program and its arguments
  fs::path output;
  Clock::duration bestWall = Clock::duration::max();
  double bestCpu = 1e300;
  long faults = 0;  // of the fastest run
  unsigned long long instructions = 0;
};

// The command's instructions in user space, the whole process from its first
// instruction (the dynamic loader) to exit; the kernel's work for its system
// calls and page faults is not in it.
std::optional<unsigned long long> CountInstructions(const Command& command, const fs::path& dir, int index) {
  const fs::path log = dir / ("callgrind" + std::to_string(index) + ".log");
  std::vector<std::string> args = {"/usr/bin/env", "valgrind", "--tool=callgrind",
                                   "--callgrind-out-file=" + (dir / ("callgrind" + std::to_string(index) + ".out")).string()};
  args.insert(args.end(), command.args.begin(), command.args.end());
  fs::remove(command.output);
  if (!Spawn(args, "/dev/null", log.c_str()).ok) return std::nullopt;
  std::ifstream in(log);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t at = line.find("Collected : ");
    if (at != std::string::npos) return std::strtoull(line.c_str() + at + 12, nullptr, 10);
  }
  return std::nullopt;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

class ScratchFolder {
 public:
  explicit ScratchFolder(fs::path given) : path_(std::move(given)), owned_(path_.empty()) {
    if (owned_) path_ = fs::temp_directory_path() / ("lzh_command_bench." + std::to_string(getpid()));
    fs::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code error;
    if (owned_) fs::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
  bool owned_;
};

// The ratios of one corpus: the classic command's figure over skinpack's.
struct Ratios {
  double wall = 0, cpu = 0, instructions = 0;
};

// Both commands on one corpus: checked, timed alternately, reported.
std::optional<Ratios> RunCorpus(bench::LzhCorpusKind kind, const Options& options, const fs::path& folder) {
  const bench::LzhCorpus corpus = bench::MakeLzhCorpus(kind, options.size, LZH_BENCH_SOURCE_DIR);
  const Bytes archive = core::LzhCompress(corpus.bytes);
  const fs::path input = folder / "corpus.lzh";
  if (!WriteFile(input, archive)) {
    std::fprintf(stderr, "cannot write %s\n", input.c_str());
    return std::nullopt;
  }

  Command commands[] = {
      {"classic_lzhuf d IN OUT", {CLASSIC_LZHUF_PATH, "d", input.string(), (folder / "classic.out").string()},
       folder / "classic.out"},
      {"skinpack decompress IN OUT",
       {options.skinpack, "decompress", input.string(), (folder / "skinpack.out").string()},
       folder / "skinpack.out"}};
  for (Command& command : commands) {
    fs::remove(command.output);
    if (!Spawn(command.args).ok) {
      std::fprintf(stderr, "%s: the command failed\n", command.label);
      return std::nullopt;
    }
    if (ReadFile(command.output) != corpus.bytes) {
      std::fprintf(stderr, "%s: the output differs from the corpus\n", command.label);
      return std::nullopt;
    }
  }

  // Alternately, and each round in the other order, so that both commands
  // see the same state of the machine and neither always follows the other.
  // The output goes before each run, outside the timing.
  for (int round = 0; round < options.rounds; ++round) {
    for (int k = 0; k < 2; ++k) {
      Command& command = commands[(round + k) % 2];
      fs::remove(command.output);
      const Run run = Spawn(command.args);
      if (!run.ok) {
        std::fprintf(stderr, "%s: the command failed\n", command.label);
        return std::nullopt;
      }
      if (run.wall < command.bestWall) {
        command.bestWall = run.wall;
        command.faults = run.minorFaults;
      }
      command.bestCpu = std::min(command.bestCpu, run.cpuSeconds);
    }
  }
  for (const Command& command : commands) {
    if (fs::file_size(command.output) != corpus.bytes.size()) {
      std::fprintf(stderr, "%s: the output of a timed run has the wrong size\n", command.label);
      return std::nullopt;
    }
  }

  std::printf("%s corpus: %zu bytes (%s), compressed %zu bytes\n", bench::LzhCorpusName(kind), corpus.bytes.size(),
              corpus.description.c_str(), archive.size());
  std::printf("both outputs are the corpus byte for byte; ratios are the classic command's figure over each\n");
  std::printf("%-28s %-29s %-19s %s\n", "", "wall", "user+sys", "page faults");
  const Command& classic = commands[0];
  const double megabytes = static_cast<double>(corpus.bytes.size()) / 1e6;
  for (const Command& command : commands) {
    std::printf("%-28s %8.1f ms %6.1f MB/s %5.2fx   %7.1f ms %5.2fx   %8ld\n", command.label,
                Seconds(command.bestWall) * 1e3, megabytes / Seconds(command.bestWall),
                Seconds(classic.bestWall) / Seconds(command.bestWall), command.bestCpu * 1e3,
                classic.bestCpu / command.bestCpu, command.faults);
  }
  std::printf("(best of %d runs each, alternately)\n", options.rounds);

  if (options.instructions) {
    int index = 0;
    for (Command& command : commands) {
      const std::optional<unsigned long long> counted = CountInstructions(command, folder, index++);
      if (!counted || ReadFile(command.output) != corpus.bytes) {
        std::fprintf(stderr, "%s: no instruction count (is valgrind installed?)\n", command.label);
        return std::nullopt;
      }
      command.instructions = *counted;
    }
    std::printf("instructions, whole process (callgrind, user space):\n");
    for (const Command& command : commands) {
      std::printf("%-28s %12llu %6.1f per decoded byte %5.2fx\n", command.label, command.instructions,
                  static_cast<double>(command.instructions) / static_cast<double>(corpus.bytes.size()),
                  static_cast<double>(classic.instructions) / static_cast<double>(command.instructions));
    }
  }
  const Command& ours = commands[1];
  Ratios ratios;
  ratios.wall = Seconds(classic.bestWall) / Seconds(ours.bestWall);
  ratios.cpu = classic.bestCpu / ours.bestCpu;
  if (options.instructions)
    ratios.instructions = static_cast<double>(classic.instructions) / static_cast<double>(ours.instructions);
  return ratios;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseOptions(argc, argv);
  if (!options) {
    std::fprintf(stderr,
                 "usage: lzh_command_bench [--corpus mixed|random|compressed|low-entropy|all] [--rounds N] "
                 "[--size BYTES] [--dir DIR] [--instructions] [--skinpack PATH]\n");
    return 2;
  }
  const ScratchFolder scratch(options->dir);
  std::vector<std::pair<bench::LzhCorpusKind, Ratios>> all;
  for (const bench::LzhCorpusKind kind : options->corpora) {
    if (!all.empty()) std::printf("\n");
    const std::optional<Ratios> ratios = RunCorpus(kind, *options, scratch.Path());
    if (!ratios) return 1;
    all.emplace_back(kind, *ratios);
  }
  if (all.size() > 1) {
    std::printf("\nskinpack decompress against classic_lzhuf d, by corpus (the classic figure over ours)\n");
    std::printf("%-12s %7s %9s %13s\n", "corpus", "wall", "user+sys", "instructions");
    for (const auto& [kind, ratios] : all) {
      std::printf("%-12s %6.2fx %8.2fx", bench::LzhCorpusName(kind), ratios.wall, ratios.cpu);
      if (options->instructions) std::printf(" %12.2fx", ratios.instructions);
      std::printf("\n");
    }
  }
  return 0;
}
