#include "skin/manager/skin_engine.h"

#include "skin/data/skin_coordinator.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"

namespace skin {

void InstallEngine() {
  RegisterSkinCoordinator(TSkinCoordinatorAccess{[]() -> ISkinCoordinator* { return SkinManager; },
                                                  []() -> ISkinCoordinator& { return EnsureSkinManager(); }});
}

void UninstallEngine() {
  FreeSkinManager();
  RegisterSkinCoordinator(TSkinCoordinatorAccess{});
}

bool EngineInstalled() { return SkinCoordinatorRegistered(); }

namespace {

BOOL CALLBACK SkinThreadWindow(HWND wnd, LPARAM) {
  if (IsWindowVisible(wnd) && SkinManager) SkinManager->SkinWindow(wnd);
  return TRUE;
}

}  // namespace

void SkinThreadWindows() {
  if (SkinManager) EnumThreadWindows(GetCurrentThreadId(), &SkinThreadWindow, 0);
}

void UnskinEveryWindow() {
  if (SkinManager) SkinManager->UnskinEveryWindow();
}

void UnskinWindow(HWND wnd) {
  if (SkinManager) SkinManager->UnskinWindow(wnd);
}

std::vector<HWND> SkinnedWindows() {
  std::vector<HWND> windows;
  if (!SkinManager) return windows;
  SkinManager->PurgeDestroyedForms();
  for (const TWinSkinForm* skinner : SkinManager->FormSkinners()) windows.push_back(skinner->Handle);
  return windows;
}

}  // namespace skin
