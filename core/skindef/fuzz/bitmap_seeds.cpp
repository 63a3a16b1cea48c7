// Writes the bitmap fuzzer's starting corpus into a folder: one file of each
// layout the check accepts, and the crafted colour count that wraps the
// table's size in 32-bit arithmetic. Usage: bitmap_seeds FOLDER
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/skindef/tests/bmp_builder.h"

using namespace core::testing;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bitmap_seeds FOLDER\n");
    return 2;
  }
  std::vector<std::pair<std::string, Bytes>> seeds;
  seeds.emplace_back("wrapped-colour-count.bmp", WrappedColourCountBmp());
  {
    BmpLayout l;
    l.width = 3;
    l.height = -2;
    l.bits = 24;
    l.pixels = Rows({{1, 2, 3, 4, 5, 6, 7, 8, 9}, {9, 8, 7, 6, 5, 4, 3, 2, 1}});
    seeds.emplace_back("top-down-24.bmp", MakeBmp(l));
  }
  {
    BmpLayout l;
    l.width = 2;
    l.height = 1;
    l.bits = 16;
    l.compression = 3;
    l.masks = {0xF800, 0x07E0, 0x001F};
    l.pixels = Rows({{0x00, 0xF8, 0x1F, 0x00}});
    seeds.emplace_back("bit-fields-16.bmp", MakeBmp(l));
  }
  {
    BmpLayout l;
    l.width = 4;
    l.height = 2;
    l.bits = 8;
    l.compression = 1;
    l.palette = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
    l.pixels = {3, 1, 1, 2, 0, 0, 0, 4, 0, 1, 2, 3, 0, 1};
    seeds.emplace_back("rle8.bmp", MakeBmp(l));
  }
  {
    BmpLayout l;
    l.width = 3;
    l.height = 2;
    l.bits = 4;
    l.palette.assign(16, 0x336699);
    l.pixels = Rows({{0x12, 0xF0}, {0x05, 0x90}});
    seeds.emplace_back("palette-4.bmp", MakeBmp(l));
  }
  for (const auto& [name, bytes] : seeds) {
    std::ofstream out(std::string(argv[1]) + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return 1;
  }
  return 0;
}
