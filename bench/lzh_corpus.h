// The decoder benchmarks' corpus: skin-element bitmaps, the repository's own
// text files and 15 % random bytes from a fixed seed, interleaved in pieces
// of one to a few dozen kilobytes, each kind kept at its share all along so
// that the adaptive tree sees them as it would in a real archive.
#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace bench {

struct LzhCorpus {
  std::vector<std::uint8_t> bytes;
  std::size_t bitmapBytes = 0;
  std::size_t textBytes = 0;
  std::size_t textFiles = 0;
  std::size_t randomBytes = 0;
};

// size bytes: 15 % random, 30 % text (the text files of sourceRoot in path
// order, started again from the first when a large corpus has used them all;
// a repeat lies far beyond the 4 KB window, so it compresses as fresh text),
// the rest bitmaps. The same sources give the same bytes.
LzhCorpus MakeLzhCorpus(std::size_t size, const std::filesystem::path& sourceRoot);

}  // namespace bench
