// skingen OUTPUT_FOLDER [--dark]
// Draws every bitmap of the project's skins and writes them as .bmp files.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/skingen/skin_art.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && std::string(argv[2]) != "--dark")) {
    std::fprintf(stderr, "usage: skingen OUTPUT_FOLDER [--dark]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const bool dark = argc == 3;
  for (const auto& [name, raster] : skingen::DrawSkinArt(dark ? skingen::DarkPalette() : skingen::LightPalette())) {
    const std::vector<std::uint8_t> bytes = raster.ToBmp();
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "skingen: cannot write %s/%s\n", folder.c_str(), name.c_str());
      return 1;
    }
  }
  return 0;
}
