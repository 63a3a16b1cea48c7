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
#include "element_bitmap.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

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
    const Bytes bitmap = bench::ElementBitmap(24 + (i * 29) % 200, 16 + (i * 17) % 60, i);
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
