#include "core/archive/lzh.h"

#include <array>
#include <memory>
#include <new>

#include "core/archive/lzh_tree.h"

namespace core {

namespace {

using namespace lzh;

// Bits come from the top of a 16-bit buffer, refilled a byte at a time while
// it holds 8 bits or fewer; bytes the input does not have read as zero.
class BitReader {
 public:
  explicit BitReader(const TLZH::ReadFunction& read) : read_(read) {}

  unsigned Bit() {
    Fill();
    const unsigned bit = buffer_ >> 15;
    buffer_ = static_cast<std::uint16_t>(buffer_ << 1);
    --count_;
    return bit;
  }

  std::uint64_t BitsTaken() const { return fetched_ * 8 - count_; }

  unsigned Byte() {
    Fill();
    const unsigned byte = buffer_ >> 8;
    buffer_ = static_cast<std::uint16_t>(buffer_ << 8);
    count_ = static_cast<std::uint8_t>(count_ - 8);
    return byte;
  }

 private:
  void Fill() {
    while (count_ <= 8) {
      std::uint8_t byte = 0;
      if (read_(&byte, 1) != 1) byte = 0;
      buffer_ = static_cast<std::uint16_t>(buffer_ | (byte << (8 - count_)));
      count_ = static_cast<std::uint8_t>(count_ + 8);
      ++fetched_;
    }
  }

  const TLZH::ReadFunction& read_;
  std::uint16_t buffer_ = 0;
  std::uint8_t count_ = 0;
  std::uint64_t fetched_ = 0;
};

struct DecoderTables {
  AdaptiveHuffmanTree tree;
  std::array<std::uint8_t, RingSize> ring;
};

int DecodeSymbol(AdaptiveHuffmanTree& tree, BitReader& bits) {
  int c = tree.Child(R);
  while (c < T) c = tree.Child(c + static_cast<int>(bits.Bit()));
  const int symbol = c - T;
  tree.Update(symbol);
  return symbol;
}

int DecodePosition(BitReader& bits) {
  const PositionTables& tables = Positions();
  const unsigned first = bits.Byte();
  unsigned b = first;
  for (int extra = tables.dlen[first] - 2; extra > 0; --extra) b = (b << 1) | bits.Bit();
  return static_cast<int>((static_cast<unsigned>(tables.dcode[first]) << 6) | (b & 0x3F));
}

}  // namespace

void TLZH::Decode(std::uint32_t decodedSize, const ReadFunction& read, const WriteFunction& write) {
  bitsUsed_ = 0;
  std::unique_ptr<DecoderTables> tables;
  try {
    tables = std::make_unique<DecoderTables>();
  } catch (const std::bad_alloc&) {
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
  auto& ring = tables->ring;
  for (int i = 0; i < FirstWritePosition; ++i) ring[i] = RingFill;
  int r = FirstWritePosition;
  BitReader bits(read);

  // 64 bits: a whole match past a size near 4 GB must not wrap the count.
  std::uint64_t produced = 0;
  while (produced < decodedSize) {
    const int symbol = DecodeSymbol(tables->tree, bits);
    if (symbol < 256) {
      const auto byte = static_cast<std::uint8_t>(symbol);
      write(byte);
      ring[r] = byte;
      r = (r + 1) & (N - 1);
      ++produced;
    } else {
      const int source = (r - DecodePosition(bits) - 1) & (N - 1);
      const int length = symbol - 255 + THRESHOLD;
      for (int k = 0; k < length; ++k) {
        const std::uint8_t byte = ring[(source + k) & (N - 1)];
        write(byte);
        ring[r] = byte;
        r = (r + 1) & (N - 1);
      }
      produced += static_cast<std::uint64_t>(length);
    }
  }
  bitsUsed_ = bits.BitsTaken();
}

}  // namespace core
