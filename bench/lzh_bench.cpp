// Throughput of the skin archive code on a synthetic skin of about 1 MB:
// element bitmaps (gradients, frames, flat areas, magenta corners) and
// definition text. Prints the encoder's ratio and speed and the speed of
// decompressing and loading the archive. Usage: lzh_bench [repeats]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/archive/lzh_encoder.h"
#include "core/archive/skin_reader.h"
#include "core/archive/skin_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

Bytes ElementBitmap(int width, int height, int seed) {
  Bytes data = {'B', 'M'};
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

std::string Definition() {
  std::string text;
  for (int section = 0; section < 120; ++section) {
    text += "[Element" + std::to_string(section) + "]\r\nImage=element" + std::to_string(section) +
            ".bmp\r\nFrameCount=" + std::to_string(1 + section % 4) + "\r\nTrans=" + std::to_string(section % 2) +
            "\r\nLeftWidth=" + std::to_string(section % 9) + "\r\nTopHeight=" + std::to_string(section % 7) +
            "\r\nColour=0x" + std::to_string(100000 + section * 7919) + "\r\n";
  }
  return text;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

  core::TSkinWriter writer;
  const std::string definition = Definition();
  writer.AddEntry("skin.ini", Bytes(definition.begin(), definition.end()));
  std::size_t bitmapBytes = 0;
  for (int i = 0; bitmapBytes < 1000000; ++i) {
    const Bytes bitmap = ElementBitmap(24 + (i * 29) % 200, 16 + (i * 17) % 60, i);
    bitmapBytes += bitmap.size();
    writer.AddEntry("element" + std::to_string(i) + ".bmp", bitmap);
  }
  const Bytes container = writer.BuildContainer();

  Bytes archive;
  Clock::duration encodeBest = Clock::duration::max();
  for (int i = 0; i < std::max(1, repeats / 4); ++i) {
    const auto start = Clock::now();
    archive = core::LzhCompress(container);
    encodeBest = std::min(encodeBest, Clock::now() - start);
  }

  Clock::duration decodeBest = Clock::duration::max();
  Clock::duration loadBest = Clock::duration::max();
  core::TSkinReader reader;
  for (int i = 0; i < repeats; ++i) {
    core::ByteStream source(archive);
    core::ByteStream target;
    auto start = Clock::now();
    reader.Decompress(source, target);
    decodeBest = std::min(decodeBest, Clock::now() - start);
    if (target.Bytes().size() != container.size()) return 1;

    start = Clock::now();
    if (!reader.LoadArchive(source)) return 1;
    loadBest = std::min(loadBest, Clock::now() - start);
  }

  const double megabytes = static_cast<double>(container.size()) / 1e6;
  std::printf("corpus: %zu entries, %zu bytes decoded, %zu bytes compressed (ratio %.3f, %.2f bits/byte)\n",
              writer.Count(), container.size(), archive.size(),
              static_cast<double>(archive.size()) / static_cast<double>(container.size()),
              8.0 * static_cast<double>(archive.size()) / static_cast<double>(container.size()));
  std::printf("encode:      %8.2f ms  %8.1f MB/s\n", Seconds(encodeBest) * 1e3, megabytes / Seconds(encodeBest));
  std::printf("decompress:  %8.2f ms  %8.1f MB/s\n", Seconds(decodeBest) * 1e3, megabytes / Seconds(decodeBest));
  std::printf("LoadArchive: %8.2f ms  %8.1f MB/s\n", Seconds(loadBest) * 1e3, megabytes / Seconds(loadBest));
  return 0;
}
