// skingen OUTPUT_FOLDER [--dark|--flat|--meridian|--meridian-dark]
// Draws every bitmap of the project's skins at each density (1x, 1.5x, 2x)
// and writes them as .bmp files: "name.bmp", "name@1.5x.bmp", "name@2x.bmp".
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/skingen/modern_art.h"
#include "tools/skingen/skin_art.h"

namespace {

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (out) return true;
  std::fprintf(stderr, "skingen: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string look = argc == 3 ? argv[2] : "";
  const bool modern = look == "--meridian" || look == "--meridian-dark";
  if (argc < 2 || argc > 3 || (argc == 3 && look != "--dark" && look != "--flat" && !modern)) {
    std::fprintf(stderr, "usage: skingen OUTPUT_FOLDER [--dark|--flat|--meridian|--meridian-dark]\n");
    return 2;
  }
  const std::string folder = argv[1];
  for (const skingen::Density& density : skingen::kDensities) {
    if (modern) {
      const skingen::ModernPalette palette = look == "--meridian" ? skingen::MeridianLight() : skingen::MeridianDark();
      for (const auto& [name, picture] : skingen::DrawModernArt(palette, density))
        if (!Write(folder + "/" + density.EntryName(name), picture.ToBmp())) return 1;
      continue;
    }
    const skingen::Palette palette = look == "--dark"   ? skingen::DarkPalette()
                                     : look == "--flat" ? skingen::FlatPalette()
                                                        : skingen::LightPalette();
    for (const auto& [name, raster] : skingen::DrawSkinArt(palette, density))
      if (!Write(folder + "/" + density.EntryName(name), raster.ToBmp())) return 1;
  }
  return 0;
}
