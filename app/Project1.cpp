// Program start-up: the skin engine, the application object, its title and
// the settings form.
#include <windows.h>

#include "app/Unit1.h"
#include "gui/text.h"
#include "skin/manager/skin_engine.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The skin engine outlives the application and every form it frees.
  const skin::TSkinEngine skinEngine;
  gui::TApplication application;
  try {
    // The title is stored as GBK bytes: "settings" in Chinese.
    application.SetTitle(gui::AnsiToWide("\xC9\xE8\xD6\xC3", 936));
    application.CreateForm<TForm1>();
    application.Run();
  } catch (...) {
    application.HandleException(&application);
  }
  return 0;
}
