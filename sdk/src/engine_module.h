// The module the engine's code is in (skinengine.dll, or the program
// linked with the engine) stays loaded while the engine runs: a program
// that calls FreeLibrary before skinengine_stop leaves no hook, window
// procedure or timer pointing at code that is gone. At the stop the
// reference goes again, unless a window still holds a pass-through of the
// engine's in its chain (a program's own subclass sat on top of it): then
// the module stays for the rest of the process.
#pragma once

namespace skinengine {

void HoldEngineModule();
void ReleaseEngineModule();

}  // namespace skinengine
