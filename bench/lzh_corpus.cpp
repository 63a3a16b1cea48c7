#include "lzh_corpus.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "core/archive/lzh_encoder.h"
#include "element_bitmap.h"

namespace bench {

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// The repository's own text, in a fixed order: sources, build files, docs.
std::vector<Bytes> RepositoryTexts(const fs::path& root) {
  const char* const folders[] = {"app", "bench", "cmake", "core", "docs", "gui", "scripts", "skin", "skins", "tests", "tools"};
  const char* const extensions[] = {".cpp", ".h", ".md", ".txt", ".cmake", ".ini", ".dfm"};
  std::vector<fs::path> paths;
  for (const char* folder : folders) {
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root / folder, error); !error && it != fs::end(it);
         it.increment(error)) {
      if (!it->is_regular_file()) continue;
      const std::string extension = it->path().extension().string();
      if (std::find(std::begin(extensions), std::end(extensions), extension) != std::end(extensions)) {
        paths.push_back(it->path());
      }
    }
  }
  std::sort(paths.begin(), paths.end());
  std::vector<Bytes> texts;
  for (const fs::path& path : paths) {
    std::ifstream in(path, std::ios::binary);
    Bytes text(std::istreambuf_iterator<char>(in), {});
    if (!text.empty()) texts.push_back(std::move(text));
  }
  return texts;
}

LzhCorpus MakeMixed(std::size_t size, const fs::path& sourceRoot) {
  const std::vector<Bytes> texts = RepositoryTexts(sourceRoot);
  const std::size_t randomTarget = size * 15 / 100;
  const std::size_t textTarget = texts.empty() ? 0 : size * 30 / 100;
  const std::size_t targets[3] = {size - textTarget - randomTarget, textTarget, randomTarget};
  std::size_t made[3] = {0, 0, 0};

  LzhCorpus corpus;
  std::mt19937 random(20240617);
  std::size_t nextBitmap = 0;
  std::size_t nextText = 0;
  corpus.bytes.reserve(size);
  while (corpus.bytes.size() < size) {
    // The kind furthest behind its share of what is there so far.
    int kind = 0;
    double worst = -1e300;
    for (int k = 0; k < 3; ++k) {
      if (made[k] >= targets[k]) continue;
      const double behind = static_cast<double>(targets[k]) * static_cast<double>(corpus.bytes.size() + 1) /
                                static_cast<double>(size) - static_cast<double>(made[k]);
      if (behind > worst) {
        worst = behind;
        kind = k;
      }
    }
    Bytes piece;
    if (kind == 0) {
      const int i = static_cast<int>(nextBitmap++);
      piece = ElementBitmap(24 + (i * 29) % 200, 16 + (i * 17) % 60, i);
    } else if (kind == 1) {
      piece = texts[nextText++ % texts.size()];
    } else {
      piece.resize(2048 + random() % 14336);
      for (std::uint8_t& byte : piece) byte = static_cast<std::uint8_t>(random() >> 24);
    }
    piece.resize(std::min(piece.size(), targets[kind] - made[kind]));
    made[kind] += piece.size();
    corpus.bytes.insert(corpus.bytes.end(), piece.begin(), piece.end());
  }
  corpus.description = "bitmaps " + std::to_string(made[0]) + ", text " + std::to_string(made[1]) + " from " +
                       std::to_string(texts.size()) + " files, random " + std::to_string(made[2]);
  return corpus;
}

// Random bytes from a fixed seed, each below limit (a power of two).
LzhCorpus MakeRandom(std::size_t size, unsigned limit) {
  LzhCorpus corpus;
  std::mt19937 random(19880411);
  corpus.bytes.resize(size);
  for (std::uint8_t& byte : corpus.bytes) byte = static_cast<std::uint8_t>(random() % limit);
  corpus.description = "random bytes below " + std::to_string(limit);
  return corpus;
}

// Pieces of the mixed corpus of 8 to 64 KB, each compressed as an archive of
// its own (its size, then its bit stream), one after the other: what an
// archive of compressed files holds.
LzhCorpus MakeCompressed(std::size_t size, const fs::path& sourceRoot) {
  // The mixed corpus compresses to about a third.
  const LzhCorpus source = MakeMixed(size * 3 + 65536, sourceRoot);
  LzhCorpus corpus;
  corpus.bytes.reserve(size);
  std::size_t at = 0;
  std::size_t pieces = 0;
  while (corpus.bytes.size() < size && at < source.bytes.size()) {
    const std::size_t length = std::min<std::size_t>(8192 + (pieces * 7919) % 57344, source.bytes.size() - at);
    const Bytes packed = core::LzhCompress(std::span(source.bytes).subspan(at, length));
    corpus.bytes.insert(corpus.bytes.end(), packed.begin(), packed.end());
    at += length;
    ++pieces;
  }
  corpus.bytes.resize(std::min(corpus.bytes.size(), size));
  corpus.description = std::to_string(pieces) + " compressed pieces of " + std::to_string(at) +
                       " bytes of the mixed corpus";
  return corpus;
}

}  // namespace

const char* LzhCorpusName(LzhCorpusKind kind) {
  switch (kind) {
    case LzhCorpusKind::Mixed:
      return "mixed";
    case LzhCorpusKind::Random:
      return "random";
    case LzhCorpusKind::Compressed:
      return "compressed";
    case LzhCorpusKind::LowEntropy:
      return "low-entropy";
  }
  return "";
}

std::optional<LzhCorpusKind> LzhCorpusNamed(std::string_view name) {
  for (const LzhCorpusKind kind : AllLzhCorpusKinds) {
    if (name == LzhCorpusName(kind)) return kind;
  }
  return std::nullopt;
}

LzhCorpus MakeLzhCorpus(LzhCorpusKind kind, std::size_t size, const fs::path& sourceRoot) {
  switch (kind) {
    case LzhCorpusKind::Random:
      return MakeRandom(size, 256);
    case LzhCorpusKind::Compressed:
      return MakeCompressed(size, sourceRoot);
    case LzhCorpusKind::LowEntropy:
      return MakeRandom(size, 64);
    case LzhCorpusKind::Mixed:
      break;
  }
  return MakeMixed(size, sourceRoot);
}

}  // namespace bench
