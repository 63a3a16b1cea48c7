#include "core/archive/lzh_encoder.h"

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>

#include "core/archive/lzh_tree.h"

namespace core {

namespace {

using namespace lzh;

// Most significant bit first, the order in which the decoder takes them.
class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  void Bits(unsigned value, int count) {
    for (int i = count - 1; i >= 0; --i) Bit((value >> i) & 1U);
  }

  void Bit(unsigned bit) {
    pending_ = static_cast<std::uint8_t>((pending_ << 1) | bit);
    if (++pendingCount_ == 8) {
      out_.push_back(pending_);
      pending_ = 0;
      pendingCount_ = 0;
    }
  }

  void Flush() {
    if (pendingCount_ != 0) out_.push_back(static_cast<std::uint8_t>(pending_ << (8 - pendingCount_)));
    pending_ = 0;
    pendingCount_ = 0;
  }

 private:
  std::vector<std::uint8_t>& out_;
  std::uint8_t pending_ = 0;
  int pendingCount_ = 0;
};

// Each of the 64 upper-6-bit position values is sent as the leading dlen bits
// of the first byte value that the decoder maps to it.
struct PositionCodes {
  std::array<std::uint8_t, 64> prefix{};
  std::array<std::uint8_t, 64> bits{};
};

PositionCodes MakePositionCodes() {
  const PositionTables& tables = Positions();
  PositionCodes codes;
  for (int b = 255; b >= 0; --b) {
    codes.prefix[tables.dcode[b]] = static_cast<std::uint8_t>(b >> (8 - tables.dlen[b]));
    codes.bits[tables.dcode[b]] = tables.dlen[b];
  }
  return codes;
}

void EncodeSymbol(AdaptiveHuffmanTree& tree, BitWriter& out, int symbol) {
  // The path is collected leaf to root and sent root first; an odd slot is
  // the second son of its parent. A deep tree can exceed 16 bits.
  std::array<std::uint8_t, T> path;
  int depth = 0;
  for (int node = tree.LeafOf(symbol); node != R; node = tree.Parent(node)) {
    path[depth++] = static_cast<std::uint8_t>(node & 1);
  }
  while (depth > 0) out.Bit(path[--depth]);
  tree.Update(symbol);
}

void EncodePosition(const PositionCodes& codes, BitWriter& out, int position) {
  const int upper = position >> 6;
  out.Bits(codes.prefix[upper], codes.bits[upper]);
  out.Bits(static_cast<unsigned>(position & 0x3F), 6);
}

// Greedy longest-match search with hash chains over the text the decoder
// sees: the initial blanks followed by the data. A source may lie up to N
// bytes back (the decoder reads it before overwriting that ring slot) and
// may overlap the bytes being produced.
class MatchFinder {
 public:
  static constexpr int MaxChain = 256;

  explicit MatchFinder(std::span<const std::uint8_t> data)
      : text_(static_cast<std::size_t>(FirstWritePosition) + data.size(), RingFill),
        previous_(text_.size(), -1) {
    std::copy(data.begin(), data.end(), text_.begin() + FirstWritePosition);
    head_.fill(-1);
  }

  std::uint8_t At(std::size_t index) const { return text_[index]; }
  std::size_t Size() const { return text_.size(); }

  void Insert(std::size_t index) {
    if (index + 2 >= text_.size()) return;
    const unsigned h = Hash(index);
    previous_[index] = head_[h];
    head_[h] = static_cast<std::int64_t>(index);
  }

  struct Match {
    int length = 0;
    int distance = 0;
  };

  Match Longest(std::size_t at) const {
    Match best;
    if (at + 2 >= text_.size()) return best;
    const int limit = static_cast<int>(std::min<std::size_t>(F, text_.size() - at));
    int chain = MaxChain;
    for (std::int64_t candidate = head_[Hash(at)]; candidate >= 0 && chain-- > 0;
         candidate = previous_[static_cast<std::size_t>(candidate)]) {
      const auto source = static_cast<std::size_t>(candidate);
      const std::size_t distance = at - source;
      if (distance > static_cast<std::size_t>(N)) break;
      int length = 0;
      while (length < limit && text_[source + length] == text_[at + length]) ++length;
      if (length > best.length) {
        best = {length, static_cast<int>(distance)};
        if (length == limit) break;
      }
    }
    return best;
  }

 private:
  static constexpr int HashBits = 15;

  unsigned Hash(std::size_t index) const {
    const unsigned key = (static_cast<unsigned>(text_[index]) << 16) |
                         (static_cast<unsigned>(text_[index + 1]) << 8) | text_[index + 2];
    return (key * 2654435761U) >> (32 - HashBits);
  }

  std::vector<std::uint8_t> text_;
  std::vector<std::int64_t> previous_;
  std::array<std::int64_t, 1 << HashBits> head_;
};

}  // namespace

std::vector<std::uint8_t> LzhEncode(std::span<const std::uint8_t> data) {
  static const PositionCodes positionCodes = MakePositionCodes();
  auto tree = std::make_unique<AdaptiveHuffmanTree>();
  auto finder = std::make_unique<MatchFinder>(data);
  std::vector<std::uint8_t> out;
  out.reserve(data.size() / 2 + 16);
  BitWriter bits(out);

  for (std::size_t i = 0; i < static_cast<std::size_t>(FirstWritePosition); ++i) finder->Insert(i);
  std::size_t at = FirstWritePosition;
  while (at < finder->Size()) {
    const MatchFinder::Match match = finder->Longest(at);
    int advance = 1;
    if (match.length > THRESHOLD) {
      EncodeSymbol(*tree, bits, 255 - THRESHOLD + match.length);
      EncodePosition(positionCodes, bits, match.distance - 1);
      advance = match.length;
    } else {
      EncodeSymbol(*tree, bits, finder->At(at));
    }
    for (int k = 0; k < advance; ++k) finder->Insert(at++);
  }
  bits.Flush();
  return out;
}

std::vector<std::uint8_t> LzhCompress(std::span<const std::uint8_t> data) {
  if (!FitsSizeField(data.size())) throw std::length_error("LZH : data of 4 GB or more cannot be compressed");
  const auto size = static_cast<std::uint32_t>(data.size());
  std::vector<std::uint8_t> out = {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
                                   static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 24)};
  const std::vector<std::uint8_t> stream = LzhEncode(data);
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

}  // namespace core
