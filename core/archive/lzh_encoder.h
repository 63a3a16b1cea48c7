// The LZHUF compressor that goes with TLZH: greedy longest matches over the
// same 4 KB window (which starts as 4,036 blanks), literals and lengths coded
// by the shared adaptive Huffman tree, positions by the fixed position code.
// Used by the skin packer and by tests to produce archives.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace core {

// Whether a byte count fits the archive's 32-bit size fields (always, where
// size_t itself has 32 bits).
constexpr bool FitsSizeField(std::size_t count) {
  if constexpr (sizeof(std::size_t) > sizeof(std::uint32_t)) {
    return count <= static_cast<std::size_t>(UINT32_MAX);
  } else {
    return true;
  }
}

// The bit stream alone, padded with zero bits to a whole byte.
std::vector<std::uint8_t> LzhEncode(std::span<const std::uint8_t> data);

// A compressed archive as stored: the decoded size (32-bit little-endian)
// followed by the bit stream. Data of 4 GB or more cannot be described.
std::vector<std::uint8_t> LzhCompress(std::span<const std::uint8_t> data);

}  // namespace core
