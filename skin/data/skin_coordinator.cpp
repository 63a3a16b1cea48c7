#include "skin/data/skin_coordinator.h"

namespace skin {

namespace {
TSkinCoordinatorAccess& Access() {
  thread_local TSkinCoordinatorAccess access;
  return access;
}
}  // namespace

void RegisterSkinCoordinator(TSkinCoordinatorAccess access) { Access() = access; }

bool SkinCoordinatorRegistered() { return Access().Ensure != nullptr; }

ISkinCoordinator* CurrentSkinCoordinator() { return Access().Current ? Access().Current() : nullptr; }

ISkinCoordinator* EnsureSkinCoordinator() { return Access().Ensure ? &Access().Ensure() : nullptr; }

}  // namespace skin
