// The decoder benchmarks' corpora. The mixed one: skin-element bitmaps, the
// repository's own text files and 15 % random bytes from a fixed seed,
// interleaved in pieces of one to a few dozen kilobytes, each kind kept at
// its share all along so that the adaptive tree sees them as it would in a
// real archive. Three more stress what the mixed one does not: nearly
// every symbol a literal, with 256 (random bytes, already-compressed data)
// or 64 (low-entropy symbols) of them in use.
#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

enum class LzhCorpusKind {
  Mixed,       // bitmaps, text and random bytes, as above
  Random,      // incompressible: random bytes
  Compressed,  // an archive of already-compressed data: pieces of the mixed
               // corpus, each compressed on its own, one after the other
  LowEntropy,  // random bytes below 64
};

inline constexpr LzhCorpusKind AllLzhCorpusKinds[] = {LzhCorpusKind::Mixed, LzhCorpusKind::Random,
                                                      LzhCorpusKind::Compressed, LzhCorpusKind::LowEntropy};

// The name a command line gives: mixed, random, compressed, low-entropy.
const char* LzhCorpusName(LzhCorpusKind kind);
std::optional<LzhCorpusKind> LzhCorpusNamed(std::string_view name);

struct LzhCorpus {
  std::vector<std::uint8_t> bytes;
  std::string description;  // what it is made of, for the report
};

// size bytes of the given kind. The mixed corpus is 15 % random, 30 % text
// (the text files of sourceRoot in path order, started again from the first
// when a large corpus has used them all; a repeat lies far beyond the 4 KB
// window, so it compresses as fresh text), the rest bitmaps. The same
// sources give the same bytes.
LzhCorpus MakeLzhCorpus(LzhCorpusKind kind, std::size_t size, const std::filesystem::path& sourceRoot);

}  // namespace bench
