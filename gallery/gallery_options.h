// The gallery's command line:
//   --skin FILE   load that skin archive at start
//   --watch DIR   wear the skin folder DIR, and again after every change to it
//   --no-skin     start without a skin
//   --page NAME   open that page ("Buttons", "Lists", "Text", "Ranges")
//   --rtl         lay every window out right to left, as an Arabic or
//                 Hebrew program does (the process's default layout)
#pragma once
#include <string>
#include <vector>

struct TGalleryOptions {
  std::wstring SkinFile;
  std::wstring WatchFolder;
  bool NoSkin = false;
  std::wstring Page;
  bool RightToLeftLayout = false;
  // One sentence for each argument that was not understood.
  std::vector<std::wstring> Problems;
};

// `args` without the program's own name.
TGalleryOptions ParseGalleryOptions(const std::vector<std::wstring>& args);

// The process's arguments, split as the system splits them, without the
// program's name.
std::vector<std::wstring> CommandLineArguments();
