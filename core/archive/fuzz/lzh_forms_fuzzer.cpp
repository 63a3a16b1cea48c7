// libFuzzer target comparing the decoder's forms on arbitrary bit streams:
// the in-memory forms (whole and in pieces) must give the same bytes and the
// same BitsUsed, and predict the callback form's input requests exactly.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "core/archive/lzh.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::span<const std::uint8_t> stream(data + 4, size - 4);
  std::uint32_t decodedSize = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                              static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
  decodedSize = static_cast<std::uint32_t>(decodedSize % (core::LzhMaxDecodedSize(stream.size()) + 1));

  core::TLZH byCallbacks;
  std::vector<std::uint8_t> expected;
  std::size_t requests = 0;
  byCallbacks.Decode(
      decodedSize,
      [&](std::uint8_t* buffer, std::size_t) -> std::size_t {
        if (requests++ >= stream.size()) return 0;
        *buffer = stream[requests - 1];
        return 1;
      },
      [&](std::uint8_t byte) { expected.push_back(byte); });

  core::TLZH inMemory;
  if (inMemory.Decode(decodedSize, stream) != expected) std::abort();
  if (inMemory.BitsUsed() != byCallbacks.BitsUsed()) std::abort();
  if (core::TLZH::BytesFetched(inMemory.BitsUsed()) != requests) std::abort();

  core::TLZH inPieces;
  std::vector<std::uint8_t> joined;
  inPieces.Decode(decodedSize, stream, [&](std::span<const std::uint8_t> piece) {
    if (piece.empty()) std::abort();
    joined.insert(joined.end(), piece.begin(), piece.end());
  });
  if (joined != expected || inPieces.BitsUsed() != byCallbacks.BitsUsed()) std::abort();
  return 0;
}
