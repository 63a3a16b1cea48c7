// Decoding speed of TLZH beside the classic LZHUF decoder, side by side in
// one run over one corpus of about 1.7 MB (by default the mixed one:
// skin-like bitmaps, the repository's text files and 15 % random bytes).
// Both decoders must give the corpus back byte for byte; each figure is the
// best of several runs.
//
// Usage: lzh_decode_bench [--corpus KIND] [runs]      every decoder, best of runs (default 20)
//        lzh_decode_bench [--corpus KIND] --only NAME one decode with one decoder (classic,
//                                                     ours, callbacks), for counting its
//                                                     instructions
// KIND: mixed (the default), random, compressed, low-entropy.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "classic_lzhuf.h"
#include "core/archive/lzh.h"
#include "core/archive/lzh_encoder.h"
#include "lzh_corpus.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr std::size_t CorpusSize = 1'700'000;

std::uint32_t DeclaredSize(std::span<const std::uint8_t> archive) {
  return static_cast<std::uint32_t>(archive[0]) | static_cast<std::uint32_t>(archive[1]) << 8 |
         static_cast<std::uint32_t>(archive[2]) << 16 | static_cast<std::uint32_t>(archive[3]) << 24;
}

// Ours, as the archive reader and the packer decode a stream held in
// memory. Kept out of line so that an instruction count can be limited to it.
[[gnu::noinline]] Bytes DecodeOurs(std::span<const std::uint8_t> archive) {
  return core::TLZH().Decode(DeclaredSize(archive), archive.subspan(4));
}

// Ours through the byte callbacks, one call per input and per output byte.
[[gnu::noinline]] Bytes DecodeOursByCallbacks(std::span<const std::uint8_t> archive) {
  const std::span<const std::uint8_t> stream = archive.subspan(4);
  Bytes out;
  out.reserve(DeclaredSize(archive));
  std::size_t at = 0;
  core::TLZH().Decode(
      DeclaredSize(archive),
      [&](std::uint8_t* buffer, std::size_t) -> std::size_t {
        if (at == stream.size()) return 0;
        *buffer = stream[at++];
        return 1;
      },
      [&](std::uint8_t byte) { out.push_back(byte); });
  return out;
}

// The classic decoder reading the archive through a FILE* and writing
// through another, both over memory.
[[gnu::noinline]] Bytes DecodeClassic(std::span<const std::uint8_t> archive) {
  Bytes out(static_cast<std::size_t>(DeclaredSize(archive)) + 64);
  std::FILE* in = fmemopen(const_cast<std::uint8_t*>(archive.data()), archive.size(), "rb");
  std::FILE* sink = fmemopen(out.data(), out.size(), "wb");
  if (in == nullptr || sink == nullptr) {
    std::fprintf(stderr, "fmemopen failed\n");
    std::exit(1);
  }
  classic_lzhuf::Decode(in, sink);
  const long written = std::ftell(sink);
  std::fclose(sink);
  std::fclose(in);
  out.resize(static_cast<std::size_t>(std::max(0L, written)));
  return out;
}

// Both decoders give the corpus back (and the same bytes past its end,
// where the last match runs over).
bool SameAsCorpus(const Bytes& decoded, const Bytes& corpus, const char* who) {
  if (decoded.size() < corpus.size() || !std::equal(corpus.begin(), corpus.end(), decoded.begin())) {
    std::fprintf(stderr, "%s: the decoded bytes differ from the corpus\n", who);
    return false;
  }
  return true;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct Decoder {
  const char* name;   // for --only
  const char* label;  // in the report
  Bytes (*decode)(std::span<const std::uint8_t> archive);
  Clock::duration best = Clock::duration::max();
};

}  // namespace

int main(int argc, char** argv) {
  Decoder decoders[] = {{"classic", "classic LZHUF", DecodeClassic},
                        {"ours", "TLZH", DecodeOurs},
                        {"callbacks", "TLZH, callbacks", DecodeOursByCallbacks}};
  bench::LzhCorpusKind kind = bench::LzhCorpusKind::Mixed;
  if (argc > 2 && std::string(argv[1]) == "--corpus") {
    const std::optional<bench::LzhCorpusKind> named = bench::LzhCorpusNamed(argv[2]);
    if (!named) {
      std::fprintf(stderr, "lzh_decode_bench: no corpus named %s\n", argv[2]);
      return 2;
    }
    kind = *named;
    argc -= 2;
    argv += 2;
  }
  const std::string first = argc > 1 ? argv[1] : "";
  const bench::LzhCorpus corpus = bench::MakeLzhCorpus(kind, CorpusSize, LZH_BENCH_SOURCE_DIR);
  const Bytes archive = core::LzhCompress(corpus.bytes);

  if (first == "--only") {
    const std::string which = argc > 2 ? argv[2] : "";
    for (const Decoder& decoder : decoders) {
      if (which != decoder.name) continue;
      if (!SameAsCorpus(decoder.decode(archive), corpus.bytes, decoder.name)) return 1;
      std::printf("%zu bytes decoded\n", corpus.bytes.size());
      return 0;
    }
    std::fprintf(stderr, "usage: lzh_decode_bench [--corpus KIND] [runs] | [--corpus KIND] --only classic|ours|callbacks\n");
    return 2;
  }
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

  const Bytes reference = DecodeClassic(archive);
  for (const Decoder& decoder : decoders) {
    const Bytes decoded = decoder.decode(archive);
    if (!SameAsCorpus(decoded, corpus.bytes, decoder.label)) return 1;
    if (decoded != reference) {
      std::fprintf(stderr, "%s: the bytes past the end of the corpus differ from the classic decoder's\n",
                   decoder.label);
      return 1;
    }
  }

  // Round by round, so that all decoders see the same state of the machine.
  for (int i = 0; i < runs; ++i) {
    for (Decoder& decoder : decoders) {
      const auto start = Clock::now();
      const Bytes decoded = decoder.decode(archive);
      decoder.best = std::min(decoder.best, Clock::now() - start);
      if (decoded.size() != reference.size()) return 1;
    }
  }

  const double megabytes = static_cast<double>(corpus.bytes.size()) / 1e6;
  std::printf("%s corpus: %zu bytes (%s), compressed %zu bytes\n", bench::LzhCorpusName(kind), corpus.bytes.size(),
              corpus.description.c_str(), archive.size());
  const Clock::duration classic = decoders[0].best;
  for (const Decoder& decoder : decoders) {
    std::printf("%-16s %8.2f ms %8.1f MB/s  %5.2fx classic  (best of %d)\n", decoder.label,
                Seconds(decoder.best) * 1e3, megabytes / Seconds(decoder.best), Seconds(classic) / Seconds(decoder.best),
                runs);
  }
  return 0;
}
