#include "sdk/src/engine_module.h"

#include <windows.h>

#include "gui/subclass.h"

namespace skinengine {

namespace {
HMODULE g_held = nullptr;
}  // namespace

void HoldEngineModule() {
  if (g_held) return;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&HoldEngineModule), &g_held);
}

void ReleaseEngineModule() {
  if (!g_held) return;
  HMODULE held = g_held;
  g_held = nullptr;
  if (gui::TWindowSubclass::LiveCount() > 0) {
    HMODULE pinned = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&HoldEngineModule), &pinned);
  }
  // The caller holds a reference of its own while it calls: this never
  // unloads the code that runs it.
  FreeLibrary(held);
}

}  // namespace skinengine
