// Program start-up: the application object, its title and the settings form.
#include <windows.h>

#include "app/Unit1.h"
#include "gui/text.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
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
