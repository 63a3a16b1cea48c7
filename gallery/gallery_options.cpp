#include "gallery/gallery_options.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

TGalleryOptions ParseGalleryOptions(const std::vector<std::wstring>& args) {
  TGalleryOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    const bool takesValue = arg == L"--skin" || arg == L"--page" || arg == L"--watch";
    if (takesValue && i + 1 >= args.size()) {
      options.Problems.push_back(L"The option " + arg + L" needs a value.");
    } else if (arg == L"--skin") {
      options.SkinFile = args[++i];
    } else if (arg == L"--watch") {
      options.WatchFolder = args[++i];
    } else if (arg == L"--page") {
      options.Page = args[++i];
    } else if (arg == L"--no-skin") {
      options.NoSkin = true;
    } else if (arg == L"--rtl") {
      options.RightToLeftLayout = true;
    } else {
      options.Problems.push_back(L"Unknown option \"" + arg + L"\".");
    }
  }
  return options;
}

std::vector<std::wstring> CommandLineArguments() {
  int count = 0;
  // The system allocates the array in one block for LocalFree.
  const std::unique_ptr<LPWSTR, decltype(&LocalFree)> argv(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
  if (!argv || count < 1) return {};
  return std::vector<std::wstring>(argv.get() + 1, argv.get() + count);
}
