// What a skin data component asks of the one process-wide coordinator of
// the skin engine (the skin manager, which lives above this layer and
// registers itself here): to be known, to hook the thread's windows, to
// carry out skin-on, skin-off and skin-changed requests, and to skin a
// window at once.
#pragma once
#include <windows.h>

#include "skin/data/skin_protocol.h"

namespace skin {

class TSkinData;

// What a skin data component asks for: skin on, skin off, or its new skin
// worn, for the windows it skins.
struct TSkinRequest {
  TSkinAction Action = saNone;
  TSkinData* Data = nullptr;
  bool operator==(const TSkinRequest&) const = default;
};

class ISkinCoordinator {
 public:
  virtual void AddSkinData(TSkinData* data) = 0;
  virtual void RemoveSkinData(TSkinData* data) = 0;
  virtual void InstallHook() = 0;
  // The request is carried out `delay` ms from now from the message loop;
  // before any window has been activated skin-on and skin-off take effect
  // at once (windows are then skinned one by one as they are activated).
  // A later request replaces one still waiting.
  virtual void Request(const TSkinRequest& request, UINT delay) = 0;
  // The request waiting for its delay carried out now, for a caller that is
  // in the message loop already and wants the change on the screen at once.
  virtual void CarryOutPendingRequest() = 0;
  virtual bool SkinWindow(HWND wnd) = 0;
  virtual void ReleaseAllSysButtons() = 0;
  // A component that skins only its own form, or dialog boxes: skinning is
  // on from its load, as if a window had been activated.
  virtual void StartSkinningNow() = 0;

 protected:
  ~ISkinCoordinator() = default;
};

// How the coordinator is reached: the one alive now (none before the first
// component was loaded), and the one made on demand.
struct TSkinCoordinatorAccess {
  ISkinCoordinator* (*Current)() = nullptr;
  ISkinCoordinator& (*Ensure)() = nullptr;
};
// Set by the coordinator's own layer when the program installs the engine
// (an empty access uninstalls it).
void RegisterSkinCoordinator(TSkinCoordinatorAccess access);
bool SkinCoordinatorRegistered();
// The coordinator alive now, or none (also when none is registered).
ISkinCoordinator* CurrentSkinCoordinator();
// The coordinator, made when there is none yet; none when the program has
// not installed the engine, and then nothing is hooked or skinned.
ISkinCoordinator* EnsureSkinCoordinator();

}  // namespace skin
