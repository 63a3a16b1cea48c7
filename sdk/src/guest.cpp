// The engine as a guest in a program that was not built with it.
//
// skinrun starts the program suspended and sets this DLL's
// skinengine_guest_hook as a CBT hook of the program's main thread; the
// system loads the DLL into the program at that thread's first hook call
// (its first window being made), on that thread, with the program fully
// loaded. There the guest reads the launcher's block (guest_block.h), keeps
// the DLL loaded for the rest of the process, and starts an engine for the
// thread: its own skin data component and manager, as a program that calls
// skinengine_start on the thread would have. Every other thread of the
// process gets a hook of its own that starts an engine for it at its first
// window, threads started later included; an engine only ever touches the
// windows of its own thread, and goes when its thread ends.
#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "gui/fault_guard.h"
#include "gui/files.h"
#include "gui/forms.h"
#include "sdk/src/guest_block.h"
#include "skin/data/skin_data.h"
#include "skin/manager/skin_engine.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK skinengine_guest_hook(int code, WPARAM wParam, LPARAM lParam);

namespace skinengine::guest {

namespace {

HMODULE g_module = nullptr;
// This process is a guest: every GUI thread gets an engine.
std::atomic<bool> g_guest{false};

// Guards the launcher's block and the starter hooks.
std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}
TGuestBlock* g_block = nullptr;
HANDLE g_signal = nullptr;
// The skin, read once, worn by every thread.
std::vector<std::uint8_t> g_skin;
std::wstring g_skinWhat;
// The hook that starts an engine on each thread that has none yet.
std::map<DWORD, HHOOK> g_starters;

struct TThreadEngine {
  std::unique_ptr<skin::TSkinEngine> engine;
  std::unique_ptr<skin::TSkinData> data;
};
// Per thread, kept by thread id rather than in thread-local storage: the
// engine goes at its thread's end, after that storage may have gone.
std::map<DWORD, TThreadEngine*> g_engines;

void Signal() {
  if (g_signal) SetEvent(g_signal);
}

// What goes wrong reaches the launcher, which prints it.
void Report(const std::wstring& message) {
  OutputDebugStringW((L"skinengine: " + message + L"\n").c_str());
  std::lock_guard lock(Lock());
  if (!g_block) return;
  wchar_t* slot = g_block->Reports[g_block->ReportCount % kReportSlots];
  std::wcsncpy(slot, message.c_str(), kReportLength - 1);
  slot[kReportLength - 1] = L'\0';
  InterlockedIncrement(&g_block->ReportCount);
  Signal();
}

void SetState(TGuestState state) {
  if (!g_block) return;
  InterlockedExchange(&g_block->State, state);
  Signal();
}

bool OpenBlock() {
  const DWORD process = GetCurrentProcessId();
  HANDLE mapping = OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, BlockName(process).c_str());
  if (!mapping) return false;
  auto* block = static_cast<TGuestBlock*>(MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
  // The view keeps the block; the handle is not needed any more.
  CloseHandle(mapping);
  if (!block) return false;
  if (block->Size != sizeof(TGuestBlock) || block->Version != kBlockVersion) {
    UnmapViewOfFile(block);
    return false;
  }
  g_block = block;
  g_signal = OpenEventW(EVENT_MODIFY_STATE, FALSE, SignalName(process).c_str());
  return true;
}

std::span<const std::uint8_t> DefaultSkin() {
  HRSRC found = FindResourceW(g_module, L"SKINENGINE_DEFAULT_SKIN", reinterpret_cast<LPCWSTR>(RT_RCDATA));
  HGLOBAL loaded = found ? LoadResource(g_module, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return {static_cast<const std::uint8_t*>(bytes), SizeofResource(g_module, found)};
}

// The skin the launcher named, or the one carried inside the DLL.
bool ReadSkin(std::wstring& what, std::wstring& failure) {
  g_block->SkinFile[kSkinPathLength - 1] = L'\0';
  const std::wstring path = g_block->SkinFile;
  if (path.empty()) {
    what = L"The default skin";
    const std::span<const std::uint8_t> bytes = DefaultSkin();
    g_skin.assign(bytes.begin(), bytes.end());
    if (g_skin.empty()) failure = L"The default skin is missing from the skin engine.";
    return !g_skin.empty();
  }
  what = L"The skin file \"" + path + L"\"";
  if (!gui::ReadWholeFile(path, g_skin) || g_skin.empty()) failure = what + L" cannot be read.";
  return failure.empty();
}

LRESULT CALLBACK StarterProc(int code, WPARAM wParam, LPARAM lParam);

void AddStarter(DWORD thread) {
  HHOOK hook = SetWindowsHookExW(WH_CBT, &StarterProc, g_module, thread);
  if (!hook) return;
  std::lock_guard lock(Lock());
  g_starters[thread] = hook;
}

void RemoveStarter(DWORD thread) {
  HHOOK hook = nullptr;
  {
    std::lock_guard lock(Lock());
    auto it = g_starters.find(thread);
    if (it == g_starters.end()) return;
    hook = it->second;
    g_starters.erase(it);
  }
  UnhookWindowsHookEx(hook);
}

// Threads of the process there before the guest came in.
void AddStartersForOtherThreads() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId() && entry.th32ThreadID != GetCurrentThreadId())
      AddStarter(entry.th32ThreadID);
  CloseHandle(snapshot);
}

// The guest comes in: on the thread of the launcher's hook, once.
bool Begin() {
  if (!OpenBlock()) return false;
  // Nothing of this DLL may go while a window, hook or timer of the
  // process points into it: it stays until the process ends.
  HMODULE pinned = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCWSTR>(&Begin), &pinned);
  std::wstring what, failure;
  if (!ReadSkin(what, failure)) {
    Report(failure);
    SetState(gsFailed);
    return false;
  }
  g_skinWhat = what;
  gui::SetErrorReport([](const std::wstring& message) { Report(message); });
  return true;
}

// False when the thread has no engine (it failed, now or before).
bool StartThreadEngine() {
  const DWORD thread = GetCurrentThreadId();
  {
    std::lock_guard lock(Lock());
    if (auto it = g_engines.find(thread); it != g_engines.end()) return it->second != nullptr;
    g_engines[thread] = nullptr;  // tried: once per thread, whatever comes of it
  }
  auto engine = std::make_unique<TThreadEngine>();
  const gui::TFailure failure = gui::Guarded([&] {
    engine->engine = std::make_unique<skin::TSkinEngine>();
    engine->data = std::make_unique<skin::TSkinData>(nullptr);
    std::wstring reason;
    if (!engine->data->SetSkinArchive(g_skin, reason)) throw gui::Exception(g_skinWhat + L" was not loaded.\n" + reason);
    engine->data->CarryOutRequestNow();
    engine->data->SetActive(true);
    engine->data->CarryOutRequestNow();
    skin::SkinThreadWindows();
  });
  if (failure.Failed()) {
    Report(failure.What);
    return false;
  }
  std::lock_guard lock(Lock());
  g_engines[thread] = engine.release();
  return true;
}

// The thread ends: its engine goes with it, its windows given back first.
void StopThreadEngine() {
  TThreadEngine* engine = nullptr;
  {
    std::lock_guard lock(Lock());
    auto it = g_engines.find(GetCurrentThreadId());
    if (it == g_engines.end()) return;
    engine = it->second;
    g_engines.erase(it);
  }
  if (!engine) return;
  const gui::TFailure failure = gui::Guarded([&] {
    skin::UnskinEveryWindow();
    delete engine;
  });
  (void)failure;  // the thread is ending: nothing is left to give back
}

// Starts the thread's engine inside a hook call and hands it the call.
LRESULT StartAndPassOn(HHOOK hook, int code, WPARAM wParam, LPARAM lParam, bool& started) {
  started = StartThreadEngine();
  LRESULT answer = 0;
  bool answered = false;
  const gui::TFailure failure = gui::Guarded([&] { answered = skin::PassHookCall(code, wParam, lParam, answer); });
  if (failure.Failed()) answered = false;
  return answered ? answer : CallNextHookEx(hook, code, wParam, lParam);
}

LRESULT CALLBACK StarterProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code < 0) return CallNextHookEx(nullptr, code, wParam, lParam);
  RemoveStarter(GetCurrentThreadId());
  bool started = false;
  return StartAndPassOn(nullptr, code, wParam, lParam, started);
}

void NTAPI ThreadCallback(PVOID, DWORD reason, PVOID) {
  if (!g_guest) return;
  if (reason == DLL_THREAD_ATTACH) {
    AddStarter(GetCurrentThreadId());
  } else if (reason == DLL_THREAD_DETACH) {
    RemoveStarter(GetCurrentThreadId());
    StopThreadEngine();
  }
}

}  // namespace

void Attach(HMODULE module) {
  g_module = module;
  gui::ContainHardwareFaults(module);
}

// FreeLibrary: a guest never gets here (it keeps the DLL); a program that
// used the C interface has stopped the engine, or the engine keeps the DLL.
void Detach() { gui::StopContainingHardwareFaults(); }

}  // namespace skinengine::guest

// Runs before the C runtime's own thread callbacks (.CRT$XLC and later),
// while the ending thread's thread-local storage is still whole.
extern "C" {
__attribute__((section(".CRT$XLB"), used)) PIMAGE_TLS_CALLBACK skinengine_guest_thread_callback =
    &skinengine::guest::ThreadCallback;
}

extern "C" LRESULT CALLBACK skinengine_guest_hook(int code, WPARAM wParam, LPARAM lParam) {
  using namespace skinengine::guest;
  static std::atomic<bool> handedOn{false};
  if (code < 0 || handedOn) return CallNextHookEx(nullptr, code, wParam, lParam);
  // The first call on the program's main thread, in the program: the
  // launcher's hook stays until it hears the answer, and passes on from here.
  handedOn = true;
  if (!Begin()) return CallNextHookEx(nullptr, code, wParam, lParam);
  bool started = false;
  const LRESULT answer = StartAndPassOn(nullptr, code, wParam, lParam, started);
  // A skin the main thread cannot wear is worn by no thread.
  if (started) {
    g_guest = true;
    AddStartersForOtherThreads();
  }
  SetState(started ? gsStarted : gsFailed);
  return answer;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    skinengine::guest::Attach(module);
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    skinengine::guest::Detach();
  }
  return TRUE;
}
