#include "gui/fault_guard.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <exception>

#include "gui/classes.h"
#include "gui/controls.h"
#include "gui/text.h"

namespace gui {

namespace {

// One guarded call in progress on this thread; they nest.
struct TGuardFrame {
  void* jump[5] = {};  // __builtin_setjmp's buffer
  TGuardFrame* outer = nullptr;
  void* sehChain = nullptr;  // i686: the thread's SEH chain at the guard
  DWORD code = 0;
  void* address = nullptr;
};

thread_local TGuardFrame* t_innermost = nullptr;
thread_local TWindowFailureHandler* t_failureHandler = nullptr;

std::atomic<PVOID> g_vectoredHandler{nullptr};
std::atomic<std::uintptr_t> g_moduleBegin{0};
std::atomic<std::uintptr_t> g_moduleEnd{0};

std::atomic<int> g_armedSite{0};
std::atomic<int> g_armedKind{0};

bool IsHardwareFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
      return true;
    default:
      return false;  // stack overflow too: no stack is left to resume on
  }
}

// i686: the head of the thread's chain of SEH frames, at fs:[0].
void* SehChain() {
  void* chain = nullptr;
#if defined(__i386__)
  asm volatile("movl %%fs:0, %0" : "=r"(chain));
#endif
  return chain;
}

void SetSehChain([[maybe_unused]] void* chain) {
#if defined(__i386__)
  asm volatile("movl %0, %%fs:0" : : "r"(chain) : "memory");
#endif
}

// Entered in place of the faulting instruction, on the faulting thread's
// stack below the fault: back to the innermost guard.
[[noreturn]] void LandAfterFault() {
  TGuardFrame* frame = t_innermost;
  SetSehChain(frame->sehChain);
  __builtin_longjmp(frame->jump, 1);
}

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (!IsHardwareFault(record->ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
  const auto at = reinterpret_cast<std::uintptr_t>(record->ExceptionAddress);
  if (at < g_moduleBegin.load() || at >= g_moduleEnd.load()) return EXCEPTION_CONTINUE_SEARCH;
  TGuardFrame* frame = t_innermost;
  if (!frame) return EXCEPTION_CONTINUE_SEARCH;
  frame->code = record->ExceptionCode;
  frame->address = record->ExceptionAddress;
  // The thread goes on at LandAfterFault, with room below the faulting
  // frame and the stack aligned as at a function's entry. Resuming through
  // the system's own continuation lets every frame of the dispatch end.
  CONTEXT* context = info->ContextRecord;
#if defined(__x86_64__)
  context->Rsp = ((context->Rsp - 512) & ~DWORD64{15}) - 8;
  context->Rip = reinterpret_cast<DWORD64>(&LandAfterFault);
#elif defined(__i386__)
  context->Esp = ((context->Esp - 512) & ~DWORD{15}) - 4;
  context->Eip = reinterpret_cast<DWORD>(&LandAfterFault);
#else
  return EXCEPTION_CONTINUE_SEARCH;
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}

std::wstring DescribeFault(DWORD code, void* address) {
  const wchar_t* what = code == EXCEPTION_ACCESS_VIOLATION     ? L"An access violation"
                        : code == EXCEPTION_INT_DIVIDE_BY_ZERO ? L"A division by zero"
                                                               : L"A hardware exception";
  wchar_t text[160];
  std::swprintf(text, 160, L"%ls (code 0x%08lX) at offset 0x%lX of the skin engine", what,
                static_cast<unsigned long>(code),
                static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(address) - g_moduleBegin.load()));
  return text;
}

void CallCatching(void (*call)(void*), void* context, TFailure& failure) {
  try {
    call(context);
  } catch (const Exception& e) {
    failure.What = e.Message().empty() ? L"An error without a message" : e.Message();
  } catch (const std::exception& e) {
    failure.What = AnsiToWide(e.what());
    if (failure.What.empty()) failure.What = L"An error without a message";
  } catch (...) {
    failure.What = L"An unknown error";
  }
}

}  // namespace

__attribute__((noinline)) TFailure RunGuarded(void (*call)(void*), void* context) {
  TGuardFrame frame;
  frame.outer = t_innermost;
  frame.sehChain = SehChain();
  if (__builtin_setjmp(frame.jump)) {
    t_innermost = frame.outer;
    return TFailure{DescribeFault(frame.code, frame.address)};
  }
  t_innermost = &frame;
  TFailure failure;
  CallCatching(call, context, failure);
  t_innermost = frame.outer;
  return failure;
}

void ContainHardwareFaults(HMODULE module) {
  const auto* base = reinterpret_cast<const std::uint8_t*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  g_moduleBegin = reinterpret_cast<std::uintptr_t>(base);
  g_moduleEnd = reinterpret_cast<std::uintptr_t>(base) + nt->OptionalHeader.SizeOfImage;
  if (!g_vectoredHandler.load()) g_vectoredHandler = AddVectoredExceptionHandler(1, &OnException);
}

void StopContainingHardwareFaults() {
  if (PVOID handler = g_vectoredHandler.exchange(nullptr)) RemoveVectoredExceptionHandler(handler);
  g_moduleBegin = 0;
  g_moduleEnd = 0;
}

void SetWindowFailureHandler(TWindowFailureHandler handler) {
  delete t_failureHandler;
  t_failureHandler = handler ? new TWindowFailureHandler(std::move(handler)) : nullptr;
}

void WindowFailed(HWND wnd, const std::wstring& what) {
  const TFailure failure = Guarded([&] {
    if (t_failureHandler) {
      (*t_failureHandler)(wnd, what);
    } else {
      ReportFailure(what);
    }
  });
  (void)failure;  // a handler that fails in its turn has nowhere left to go
}

void ReportFailure(const std::wstring& message) {
  try {
    throw Exception(message);
  } catch (...) {
    HandleException(nullptr);
  }
}

void ArmFault(TFaultSite site, TFaultKind kind) {
  g_armedKind = static_cast<int>(kind);
  g_armedSite = static_cast<int>(site);
}

void FaultPoint(TFaultSite site) {
  if (g_armedSite.load(std::memory_order_relaxed) != static_cast<int>(site)) return;
  int expected = static_cast<int>(site);
  if (!g_armedSite.compare_exchange_strong(expected, static_cast<int>(TFaultSite::None))) return;
  if (g_armedKind == static_cast<int>(TFaultKind::CxxException))
    throw Exception(L"A failure forced inside the skin engine");
  // Through a pointer the compiler cannot see is null, so that the write
  // really happens.
  volatile int* volatile target = nullptr;
  *target = 1;
}

}  // namespace gui
