// skinrun [--skin FILE] PROGRAM [ARGS...]: a program that was not built
// with the skin engine, started skinned.
//
// The program is started suspended; the engine DLL of this launcher's
// bitness, loaded here, is set as a CBT hook of the program's main thread
// (SetWindowsHookExW with the DLL's module and the thread's id), and the
// program resumed. The system loads the DLL into the program on that
// thread when the thread makes its first window, and calls the hook there:
// the engine starts on the program's GUI thread, before its first window
// exists, with the program fully loaded, outside any loader lock. A block
// of shared memory named after the program's process (guest_block.h) tells
// the engine the skin and brings back its answer and its reports.
//
// The program's arguments, working folder and standard handles are its
// own; its exit code is the launcher's. Each failure is one line on the
// standard error; where the program can start it runs, unskinned if need be.
#include <windows.h>

#include <cwchar>
#include <iterator>
#include <memory>
#include <string>

#include "sdk/launcher/launch_command.h"
#include "sdk/launcher/program_image.h"
#include "sdk/src/guest_block.h"

namespace skinrun {

namespace {

#if defined(_WIN64)
constexpr bool kSixtyFour = true;
constexpr wchar_t kOther[] = L"skinrun.exe";
const wchar_t* const kEngineNames[] = {L"skinengine64.dll", L"skinengine.dll"};
#else
constexpr bool kSixtyFour = false;
constexpr wchar_t kOther[] = L"skinrun64.exe";
const wchar_t* const kEngineNames[] = {L"skinengine32.dll", L"skinengine.dll"};
#endif

// Exit codes of the launcher's own failures, when the program never ran.
constexpr int kUsageError = 125;
constexpr int kCannotStart = 126;
constexpr int kNotFound = 127;

void Write(HANDLE out, const std::wstring& text) {
  DWORD done = 0;
  if (DWORD mode = 0; GetConsoleMode(out, &mode)) {
    WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &done, nullptr);
    return;
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
}

// One line on the standard error, whatever the message holds.
void Fail(std::wstring message) {
  for (wchar_t& c : message)
    if (c == L'\r' || c == L'\n' || c == L'\t') c = L' ';
  while (!message.empty() && message.back() == L' ') message.pop_back();
  Write(GetStdHandle(STD_ERROR_HANDLE), L"skinrun: " + message + L"\n");
}

std::wstring SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::wstring message = length ? std::wstring(text, length) : L"error " + std::to_wstring(error);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ' ||
                              message.back() == L'.'))
    message.pop_back();
  return message;
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (!size) return path;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  full.resize(length < size ? length : 0);
  return full.empty() ? path : full;
}

// A program registered under "App Paths" (as the shell finds wordpad.exe,
// which is in none of the folders searched), for the user or the machine.
std::wstring RegisteredProgram(const std::wstring& program) {
  std::wstring name = program;
  if (name.find(L'.') == std::wstring::npos) name += L".exe";
  const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) continue;
    std::wstring path(32768, L'\0');
    DWORD type = 0, size = static_cast<DWORD>(path.size() * sizeof(wchar_t));
    const LONG read =
        RegQueryValueExW(opened, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path.data()), &size);
    RegCloseKey(opened);
    if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) continue;
    path.resize(wcsnlen(path.c_str(), size / sizeof(wchar_t)));
    if (path.size() > 1 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
    if (type == REG_EXPAND_SZ) {
      std::wstring expanded(32768, L'\0');
      const DWORD length = ExpandEnvironmentStringsW(path.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
      if (length && length <= expanded.size()) path.assign(expanded.c_str());
    }
    if (!path.empty()) return path;
  }
  return {};
}

// Where the system would find PROGRAM: as named, or along the folders it
// searches (this launcher's, the working folder, the system's, PATH), with
// ".exe" when it has no extension of its own, else among the programs
// registered under "App Paths".
std::wstring FindProgram(const std::wstring& program) {
  const bool hasFolder = program.find_first_of(L"\\/:") != std::wstring::npos;
  if (hasFolder) {
    const std::wstring full = FullPath(program);
    if (GetFileAttributesW(full.c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetFileAttributesW((full + L".exe").c_str()) != INVALID_FILE_ATTRIBUTES)
      return full + L".exe";
    return full;
  }
  std::wstring found(32768, L'\0');
  const DWORD length = SearchPathW(nullptr, program.c_str(), L".exe", static_cast<DWORD>(found.size()), found.data(),
                                   nullptr);
  if (!length || length >= found.size()) return RegisteredProgram(program);
  found.resize(length);
  return found;
}

std::wstring OwnFolder() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// The engine DLL of this launcher's bitness beside it.
HMODULE LoadEngine(std::wstring& tried, DWORD& error) {
  const std::wstring folder = OwnFolder();
  error = ERROR_MOD_NOT_FOUND;
  for (const wchar_t* name : kEngineNames) {
    const std::wstring path = folder + name;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    tried = path;
    if (HMODULE engine = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) return engine;
    error = GetLastError();
  }
  if (tried.empty()) tried = folder + kEngineNames[std::size(kEngineNames) - 1];
  return nullptr;
}

// Owns a handle of the kernel's.
class THandle {
 public:
  explicit THandle(HANDLE handle = nullptr) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~THandle() {
    if (handle_) CloseHandle(handle_);
  }
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// The meeting place with the engine inside the program.
class TGuestLink {
 public:
  TGuestLink(DWORD process, const std::wstring& skinFile)
      : mapping_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    sizeof(skinengine::guest::TGuestBlock),
                                    skinengine::guest::BlockName(process).c_str())),
        signal_(CreateEventW(nullptr, FALSE, FALSE, skinengine::guest::SignalName(process).c_str())) {
    if (mapping_.get())
      block_ = static_cast<skinengine::guest::TGuestBlock*>(MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, 0));
    if (!block_) return;
    block_->Size = sizeof(skinengine::guest::TGuestBlock);
    block_->Version = skinengine::guest::kBlockVersion;
    skinFile.copy(block_->SkinFile, skinengine::guest::kSkinPathLength - 1);
  }
  ~TGuestLink() {
    if (block_) UnmapViewOfFile(block_);
  }
  TGuestLink(const TGuestLink&) = delete;
  TGuestLink& operator=(const TGuestLink&) = delete;

  bool Ready() const { return block_ && signal_.get(); }
  HANDLE Signal() const { return signal_.get(); }
  LONG State() const { return block_ ? block_->State : skinengine::guest::gsWaiting; }
  // Prints what the engine reported since the last call.
  void PrintReports(const std::wstring& program) {
    if (!block_) return;
    const LONG count = block_->ReportCount;
    if (count - printed_ > skinengine::guest::kReportSlots) printed_ = count - skinengine::guest::kReportSlots;
    for (; printed_ < count; ++printed_) {
      const wchar_t* slot = block_->Reports[printed_ % skinengine::guest::kReportSlots];
      Fail(program + L": " + std::wstring(slot, wcsnlen(slot, skinengine::guest::kReportLength)));
    }
  }

 private:
  THandle mapping_;
  THandle signal_;
  skinengine::guest::TGuestBlock* block_ = nullptr;
  LONG printed_ = 0;
};

int Run() {
  const TLaunchRequest request = ReadLaunchCommand(GetCommandLineW());
  if (request.Help) {
    Write(GetStdHandle(STD_OUTPUT_HANDLE),
          std::wstring(kUsage) +
              L"\nStarts PROGRAM with the skin engine loaded before its first window and returns its exit code.\n"
              L"The skin is FILE, else the skin file named in SKINENGINE_SKIN, else the default skin.\n");
    return 0;
  }
  if (!request.Error.empty()) {
    Fail(request.Error);
    return kUsageError;
  }
  const std::wstring program = FindProgram(request.Program);
  const std::wstring named = L"\"" + request.Program + L"\"";
  switch (program.empty() ? TProgramKind::NotFound : ReadProgramKind(program)) {
    case TProgramKind::NotFound:
      Fail(named + L" was not found");
      return kNotFound;
    case TProgramKind::NotAProgram:
      Fail(named + L" is not a Windows program");
      return kCannotStart;
    case TProgramKind::OtherCpu:
      Fail(named + L" is a program for another processor than x86 and x86-64");
      return kCannotStart;
    case TProgramKind::Bits32:
      if (!kSixtyFour) break;
      Fail(named + L" is a 32-bit program; start it with " + kOther);
      return kCannotStart;
    case TProgramKind::Bits64:
      if (kSixtyFour) break;
      Fail(named + L" is a 64-bit program; start it with " + kOther);
      return kCannotStart;
    case TProgramKind::AnyCpu: {
      // It runs 64-bit wherever the system is 64-bit.
      BOOL wow64 = FALSE;
      IsWow64Process(GetCurrentProcess(), &wow64);
      const bool runs64 = kSixtyFour || wow64;
      if (runs64 == kSixtyFour) break;
      Fail(named + L" is a .NET program for any processor and runs as a 64-bit program here; start it with " + kOther);
      return kCannotStart;
    }
  }

  // The skin: --skin, else SKINENGINE_SKIN, else the DLL's own. A file is
  // named to the engine by its full path: the program may change its
  // working folder before its first window.
  std::wstring skin = request.SkinFile;
  if (skin.empty()) {
    std::wstring fromEnvironment(32768, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"SKINENGINE_SKIN", fromEnvironment.data(),
                                                 static_cast<DWORD>(fromEnvironment.size()));
    if (length && length < fromEnvironment.size()) skin.assign(fromEnvironment.data(), length);
  }
  bool skinned = true;
  if (!skin.empty()) {
    skin = FullPath(skin);
    THandle file(CreateFileW(skin.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.get()) {
      Fail(L"the skin file \"" + skin + L"\" cannot be read (" + SystemMessage(GetLastError()) + L"); " +
           request.Program + L" runs unskinned");
      skinned = false;
    }
  }
  std::wstring enginePath;
  DWORD engineError = 0;
  HMODULE engine = skinned ? LoadEngine(enginePath, engineError) : nullptr;
  auto hookProc = engine ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                               GetProcAddress(engine, "skinengine_guest_hook")))
                         : nullptr;
  if (skinned && !hookProc) {
    Fail(L"the skin engine \"" + enginePath + L"\" cannot be loaded (" +
         (engine ? std::wstring(L"it has no guest entry") : SystemMessage(engineError)) + L"); " + request.Program +
         L" runs unskinned");
    skinned = false;
  }

  std::wstring commandLine = ProgramCommandLine(request);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                      CREATE_SUSPENDED | CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &started)) {
    Fail(named + L" cannot be started (" + SystemMessage(GetLastError()) + L")");
    return kCannotStart;
  }
  THandle process(started.hProcess);
  THandle thread(started.hThread);
  std::unique_ptr<TGuestLink> link;
  HHOOK hook = nullptr;
  if (skinned) {
    link = std::make_unique<TGuestLink>(started.dwProcessId, skin);
    if (link->Ready()) hook = SetWindowsHookExW(WH_CBT, hookProc, engine, started.dwThreadId);
    if (!hook) {
      Fail(L"the skin engine cannot be set on " + request.Program + L" (" + SystemMessage(GetLastError()) +
           L"); it runs unskinned");
      link.reset();
    }
  }
  ResumeThread(started.hThread);

  // Until the program ends: the engine's answer (the hook has done its part
  // then), and whatever it reports.
  for (;;) {
    const HANDLE waits[] = {process.get(), link ? link->Signal() : nullptr};
    const DWORD count = link ? 2 : 1;
    const DWORD woke = WaitForMultipleObjects(count, waits, FALSE, INFINITE);
    if (link) {
      link->PrintReports(request.Program);
      if (hook && link->State() != skinengine::guest::gsWaiting) {
        UnhookWindowsHookEx(hook);
        hook = nullptr;
      }
    }
    if (woke != WAIT_OBJECT_0 + 1) break;
  }
  if (hook) UnhookWindowsHookEx(hook);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.get(), &exitCode);
  return static_cast<int>(exitCode);
}

}  // namespace

}  // namespace skinrun

int wmain() { return skinrun::Run(); }
