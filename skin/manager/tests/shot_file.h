// Pictures the engine's tests take, written out to look at (SKIN_SHOT_DIR)
// and measured as scripts/look-census measures screenshots.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "gui/bitmap.h"

namespace engine_test {

// A 32-bit top-down bitmap file of the picture.
inline void WriteBitmapFile(const std::string& path, gui::TBitmap& picture) {
  const std::uint32_t w = static_cast<std::uint32_t>(picture.Width()), h = static_cast<std::uint32_t>(picture.Height());
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + w * h * 4;
  info.biSize = sizeof(info);
  info.biWidth = static_cast<LONG>(w);
  info.biHeight = -static_cast<LONG>(h);
  info.biPlanes = 1;
  info.biBitCount = 32;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(reinterpret_cast<const char*>(picture.Bits()), static_cast<std::streamsize>(w * h * 4));
}

// Writes the picture as NAME.bmp into the folder SKIN_SHOT_DIR names, if any.
inline void KeepShot(const std::string& name, gui::TBitmap& picture) {
  if (const char* dir = std::getenv("SKIN_SHOT_DIR")) WriteBitmapFile(std::string(dir) + "\\" + name + ".bmp", picture);
}

// The share of light pixels (luminance above 170 of 255, ITU-R BT.601
// weights), in per cent: what scripts/look-census counts.
inline double LightShare(const gui::TBitmap& picture) {
  long long light = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const COLORREF c = picture.Pixel(x, y);
      light += 299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c) > 170 * 1000;
    }
  const long long all = static_cast<long long>(picture.Width()) * picture.Height();
  return all ? 100.0 * static_cast<double>(light) / static_cast<double>(all) : 0.0;
}

}  // namespace engine_test
