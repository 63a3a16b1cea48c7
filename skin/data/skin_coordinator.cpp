#include "skin/data/skin_coordinator.h"

#include "gui/classes.h"

namespace skin {

namespace {
TSkinCoordinatorAccess& Access() {
  static TSkinCoordinatorAccess access;
  return access;
}
}  // namespace

void RegisterSkinCoordinator(TSkinCoordinatorAccess access) { Access() = access; }

ISkinCoordinator* CurrentSkinCoordinator() { return Access().Current ? Access().Current() : nullptr; }

ISkinCoordinator& EnsureSkinCoordinator() {
  if (!Access().Ensure) throw gui::Exception(L"The skin engine has no skin manager");
  return Access().Ensure();
}

}  // namespace skin
