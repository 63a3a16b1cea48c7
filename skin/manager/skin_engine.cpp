#include "skin/manager/skin_engine.h"

#include "skin/data/skin_coordinator.h"
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

}  // namespace skin
