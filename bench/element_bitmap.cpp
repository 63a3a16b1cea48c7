#include "element_bitmap.h"

#include <algorithm>

namespace bench {

std::vector<std::uint8_t> ElementBitmap(int width, int height, int seed) {
  std::vector<std::uint8_t> data = {'B', 'M'};
  data.resize(54, 0);
  data[18] = static_cast<std::uint8_t>(width);
  data[19] = static_cast<std::uint8_t>(width >> 8);
  data[22] = static_cast<std::uint8_t>(height);
  data[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool corner = (x < 3 || x >= width - 3) && y < 3 - std::min(x, width - 1 - x);
      const bool frame = x == 0 || y == 0 || x == width - 1 || y == height - 1;
      const int shade = (seed * 37 + y * 255 / std::max(1, height - 1)) & 0xFF;
      // Dithering and a textured strip break up runs as anti-aliased artwork does.
      const int noise = ((x * 7 + y * 13 + seed) % 5 == 0 ? 3 : 0) + (x % 32 < 4 ? (x * y + seed) % 13 : 0);
      data.push_back(corner ? 0xFF : frame ? 0x30 : static_cast<std::uint8_t>(shade + noise));
      data.push_back(corner ? 0x00 : frame ? 0x30 : static_cast<std::uint8_t>(shade / 2 + 60));
      data.push_back(corner ? 0xFF : frame ? 0x38 : static_cast<std::uint8_t>(200 - shade / 3));
    }
    while ((data.size() - 54) % 4 != 0) data.push_back(0);
  }
  return data;
}

}  // namespace bench
