// The skin gallery's start-up: the skin engine, the application, its main
// form from the form description, then the command line's choices of skin,
// page and layout.
#include <windows.h>

#include "gallery/gallery_form.h"
#include "gallery/gallery_options.h"
#include "skin/manager/skin_engine.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const TGalleryOptions options = ParseGalleryOptions(CommandLineArguments());
  // Before the first window: every window made after it takes the layout.
  if (options.RightToLeftLayout) SetProcessDefaultLayout(LAYOUT_RTL);
  // The skin engine outlives the application and every form it frees.
  const skin::TSkinEngine skinEngine;
  gui::TApplication application;
  try {
    application.SetTitle(L"Skin Gallery");
    auto* form = application.CreateForm<TGalleryForm>();
    form->ApplyOptions(options);
    application.Run();
  } catch (...) {
    application.HandleException(&application);
  }
  return 0;
}
