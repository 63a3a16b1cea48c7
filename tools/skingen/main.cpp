// skingen OUTPUT_FOLDER [--dark|--flat]
// Draws every bitmap of the project's skins at each density (1x, 1.5x, 2x)
// and writes them as .bmp files: "name.bmp", "name@1.5x.bmp", "name@2x.bmp".
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/skingen/skin_art.h"

int main(int argc, char** argv) {
  const std::string look = argc == 3 ? argv[2] : "";
  if (argc < 2 || argc > 3 || (argc == 3 && look != "--dark" && look != "--flat")) {
    std::fprintf(stderr, "usage: skingen OUTPUT_FOLDER [--dark|--flat]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const skingen::Palette palette = look == "--dark"   ? skingen::DarkPalette()
                                   : look == "--flat" ? skingen::FlatPalette()
                                                      : skingen::LightPalette();
  for (const skingen::Density& density : skingen::kDensities) {
    for (const auto& [name, raster] : skingen::DrawSkinArt(palette, density)) {
      const std::string entry = density.EntryName(name);
      const std::vector<std::uint8_t> bytes = raster.ToBmp();
      std::ofstream out(folder + "/" + entry, std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      if (!out) {
        std::fprintf(stderr, "skingen: cannot write %s/%s\n", folder.c_str(), entry.c_str());
        return 1;
      }
    }
  }
  return 0;
}
