// libFuzzer target for the decoder and the encoder: decodes arbitrary bit
// streams to a size taken from the input (bounded as the archive reader
// bounds it), and checks that the input itself survives a round trip.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "core/archive/lzh.h"
#include "core/archive/lzh_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  if (size >= 4) {
    const std::span<const std::uint8_t> stream = input.subspan(4);
    std::uint32_t decodedSize = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                                static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    decodedSize = static_cast<std::uint32_t>(decodedSize % (core::LzhMaxDecodedSize(stream.size()) + 1));
    std::size_t at = 0;
    std::size_t produced = 0;
    core::TLZH decoder;
    decoder.Decode(
        decodedSize,
        [&](std::uint8_t* buffer, std::size_t count) -> std::size_t {
          if (count == 0 || at == stream.size()) return 0;
          *buffer = stream[at++];
          return 1;
        },
        [&](std::uint8_t) { ++produced; });
    if (produced < decodedSize || produced > static_cast<std::size_t>(decodedSize) + 59) std::abort();
  }

  const std::vector<std::uint8_t> encoded = core::LzhEncode(input);
  std::vector<std::uint8_t> decoded;
  std::size_t at = 0;
  core::TLZH().Decode(
      static_cast<std::uint32_t>(size),
      [&](std::uint8_t* buffer, std::size_t) -> std::size_t {
        if (at == encoded.size()) return 0;
        *buffer = encoded[at++];
        return 1;
      },
      [&](std::uint8_t byte) { decoded.push_back(byte); });
  if (decoded != std::vector<std::uint8_t>(input.begin(), input.end())) std::abort();
  return 0;
}
