#include "skin/data/skin_coordinator.h"

namespace skin {

namespace {
TSkinCoordinatorAccess& Access() {
  // Never destroyed: with mingw-w64 a thread-local object is destroyed at
  // thread exit after its storage has been freed.
  thread_local auto* access = new TSkinCoordinatorAccess;
  return *access;
}
}  // namespace

void RegisterSkinCoordinator(TSkinCoordinatorAccess access) { Access() = access; }

bool SkinCoordinatorRegistered() { return Access().Ensure != nullptr; }

ISkinCoordinator* CurrentSkinCoordinator() { return Access().Current ? Access().Current() : nullptr; }

ISkinCoordinator* EnsureSkinCoordinator() { return Access().Ensure ? &Access().Ensure() : nullptr; }

}  // namespace skin
