#include "lzh_corpus.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

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

}  // namespace

LzhCorpus MakeLzhCorpus(std::size_t size, const fs::path& sourceRoot) {
  LzhCorpus corpus;
  const std::vector<Bytes> texts = RepositoryTexts(sourceRoot);
  corpus.textFiles = texts.size();
  const std::size_t randomTarget = size * 15 / 100;
  const std::size_t textTarget = texts.empty() ? 0 : size * 30 / 100;
  const std::size_t targets[3] = {size - textTarget - randomTarget, textTarget, randomTarget};
  std::size_t* const made[3] = {&corpus.bitmapBytes, &corpus.textBytes, &corpus.randomBytes};

  std::mt19937 random(20240617);
  std::size_t nextBitmap = 0;
  std::size_t nextText = 0;
  corpus.bytes.reserve(size);
  while (corpus.bytes.size() < size) {
    // The kind furthest behind its share of what is there so far.
    int kind = 0;
    double worst = -1e300;
    for (int k = 0; k < 3; ++k) {
      if (*made[k] >= targets[k]) continue;
      const double behind = static_cast<double>(targets[k]) * static_cast<double>(corpus.bytes.size() + 1) /
                                static_cast<double>(size) - static_cast<double>(*made[k]);
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
    piece.resize(std::min(piece.size(), targets[kind] - *made[kind]));
    *made[kind] += piece.size();
    corpus.bytes.insert(corpus.bytes.end(), piece.begin(), piece.end());
  }
  return corpus;
}

}  // namespace bench
