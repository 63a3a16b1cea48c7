#include "core/archive/lzh.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>

#include "core/archive/lzh_tree.h"

namespace core {

namespace {

using namespace lzh;

// The classic bit reader for the callback form: bits come from the top of a
// 16-bit buffer, refilled a byte at a time while it holds 8 bits or fewer;
// bytes the input does not have read as zero.
class CallbackBits {
 public:
  explicit CallbackBits(const TLZH::ReadFunction& read) : read_(read) {}

  void StartSymbol() {}

  // The symbol the next code stands for, walked down a bit at a time; the
  // tree is updated with it.
  int TakeSymbol(AdaptiveHuffmanTree& tree) {
    unsigned c = tree.Child(R);
    while (c < unsigned{T}) c = tree.Child(static_cast<int>(c + Bit()));
    const int symbol = static_cast<int>(c) - T;
    tree.Update(symbol);
    return symbol;
  }

  unsigned Bit() {
    Fill();
    const unsigned bit = buffer_ >> 15;
    buffer_ = static_cast<std::uint16_t>(buffer_ << 1);
    --count_;
    return bit;
  }

  unsigned Bits(unsigned count) {
    unsigned value = 0;
    for (; count > 0; --count) value = (value << 1) | Bit();
    return value;
  }

  unsigned Byte() {
    Fill();
    const unsigned byte = buffer_ >> 8;
    buffer_ = static_cast<std::uint16_t>(buffer_ << 8);
    count_ = static_cast<std::uint8_t>(count_ - 8);
    return byte;
  }

  std::uint64_t BitsTaken() const { return fetched_ * 8 - count_; }

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

// The fast bit reader over a stream in memory: a 64-bit buffer, topped up to
// at least 56 bits once per symbol with one 8-byte load. A symbol takes at
// most MaxCodeLength + 14 bits (its code, then a position's 8 + 6), so no
// bit inside a symbol needs a check. Past the end it reads zero bytes.
class MemoryBits {
 public:
  static constexpr unsigned BitsPerSymbol = MaxCodeLength + 8 + 6;
  static_assert(BitsPerSymbol <= 56);

  explicit MemoryBits(std::span<const std::uint8_t> stream)
      : begin_(stream.data()), next_(stream.data()), end_(stream.data() + stream.size()) {}

  void StartSymbol() {
    if (end_ - next_ >= 8) {
      // Bits below count_ + whole bytes are loaded again next time; the bits
      // or-ed in there now are the same ones.
      buffer_ |= LoadBigEndian(next_) >> count_;
      const unsigned bytes = (63 - count_) >> 3;
      next_ += bytes;
      count_ += bytes * 8;
    } else {
      while (count_ <= 56) {
        std::uint64_t byte = 0;
        if (next_ != end_) {
          byte = *next_++;
        } else {
          ++zeroBytes_;
        }
        buffer_ |= byte << (56 - count_);
        count_ += 8;
      }
    }
  }

  // The symbol the next code stands for: its first bits looked up at once,
  // the rest walked down a bit at a time; the tree is updated from the leaf
  // the walk ended on.
  int TakeSymbol(AdaptiveHuffmanTree& tree) {
    tree.RefreshTopOfCode();
    const unsigned top = tree.TopOfCode(static_cast<unsigned>(buffer_ >> (64 - AdaptiveHuffmanTree::TopBits)));
    const unsigned taken = top >> AdaptiveHuffmanTree::TopTakenShift;
    buffer_ <<= taken;
    count_ -= taken;
    unsigned slot = top & AdaptiveHuffmanTree::TopValueMask;
    unsigned c = tree.Child(static_cast<int>(slot));
    while (c < unsigned{T}) {
      slot = c + Bit();
      c = tree.Child(static_cast<int>(slot));
    }
    const int symbol = static_cast<int>(c) - T;
    tree.UpdateLeaf(slot, symbol);
    return symbol;
  }

  unsigned Bit() {
    const auto bit = static_cast<unsigned>(buffer_ >> 63);
    buffer_ <<= 1;
    --count_;
    return bit;
  }

  // count is 1 ... 8.
  unsigned Bits(unsigned count) {
    const auto bits = static_cast<unsigned>(buffer_ >> (64 - count));
    buffer_ <<= count;
    count_ -= count;
    return bits;
  }

  unsigned Byte() { return Bits(8); }

  std::uint64_t BitsTaken() const {
    return (static_cast<std::uint64_t>(next_ - begin_) + zeroBytes_) * 8 - count_;
  }

 private:
  // Compilers turn this into one load and a byte swap.
  static std::uint64_t LoadBigEndian(const std::uint8_t* p) {
    return std::uint64_t{p[0]} << 56 | std::uint64_t{p[1]} << 48 | std::uint64_t{p[2]} << 40 |
           std::uint64_t{p[3]} << 32 | std::uint64_t{p[4]} << 24 | std::uint64_t{p[5]} << 16 |
           std::uint64_t{p[6]} << 8 | std::uint64_t{p[7]};
  }

  const std::uint8_t* begin_;
  const std::uint8_t* next_;
  const std::uint8_t* end_;
  std::uint64_t buffer_ = 0;
  unsigned count_ = 0;
  std::uint64_t zeroBytes_ = 0;
};

// The window before the first output byte, as the ring buffer starts:
// FirstWritePosition blanks, and before them the zeros of the ring's unused
// end. distance is 1 ... N, so back is 1 ... N.
std::uint8_t InitialWindowByte(std::ptrdiff_t back) { return back > FirstWritePosition ? 0 : RingFill; }

// Output for the callback form: each byte goes to the write function and into
// the ring buffer that matches copy from.
class CallbackSink {
 public:
  CallbackSink(std::uint32_t decodedSize, std::array<std::uint8_t, RingSize>& ring, const TLZH::WriteFunction& write)
      : decodedSize_(decodedSize), ring_(ring), write_(write) {
    for (int i = 0; i < FirstWritePosition; ++i) ring_[i] = RingFill;
  }

  bool Wants() const { return produced_ < decodedSize_; }

  void Literal(std::uint8_t byte) {
    Put(byte);
    ++produced_;
  }

  void Match(unsigned distance, unsigned length) {
    const unsigned source = r_ - distance;
    for (unsigned k = 0; k < length; ++k) Put(ring_[(source + k) & (N - 1)]);
    produced_ += length;
  }

 private:
  void Put(std::uint8_t byte) {
    write_(byte);
    ring_[r_] = byte;
    r_ = (r_ + 1) & (N - 1);
  }

  // 64 bits: a whole match past a size near 4 GB must not wrap the count.
  std::uint64_t produced_ = 0;
  const std::uint32_t decodedSize_;
  std::array<std::uint8_t, RingSize>& ring_;
  const TLZH::WriteFunction& write_;
  unsigned r_ = FirstWritePosition;
};

// Copies a match whose source lies wholly in the output before to, writing
// up to 64 bytes from to on, past the match itself: the bytes there are
// overwritten by the output that follows or lie in the buffer's slack.
void CopyMatch(std::uint8_t* to, unsigned distance, unsigned length) {
  const std::uint8_t* const from = to - distance;
  if (distance >= 16) {
    // 64 bytes, the longest match rounded up, whatever the length: a loop
    // that ended at a different count from one match to the next would
    // mispredict its exit on most matches. Each 16-byte piece reads only
    // bytes before its own.
    for (unsigned k = 0; k < 64; k += 16) std::memcpy(to + k, from + k, 16);
    return;
  }
  // An overlapping match repeats its first distance bytes; any multiple
  // of distance of at least 8 lets the rest be copied in whole words.
  unsigned step = distance;
  unsigned k = 0;
  if (distance < 8) {
    step = distance * ((8 + distance - 1) / distance);
    for (; k < step && k < length; ++k) to[k] = from[k];
  }
  for (; k < length; k += 8) std::memcpy(to + k, to + k - step, 8);
}

// Room a buffer needs past the end of its output for CopyMatch: the last
// match starts before the end and reaches up to F - 1 past it, its copy 64
// bytes from its start.
constexpr std::size_t MatchSlack = 8;
static_assert(64 <= F + MatchSlack);

// Output into one flat buffer that is also the window: matches (distance
// 1 ... N back) copy from the output itself. The buffer holds F - 1 +
// MatchSlack bytes past decodedSize.
class FlatSink {
 public:
  FlatSink(std::uint8_t* begin, std::uint32_t decodedSize) : begin_(begin), out_(begin), end_(begin + decodedSize) {}

  bool Wants() const { return out_ < end_; }

  // Decoding goes on, after what is out, until `size` bytes are.
  void WantUpTo(std::size_t size) { end_ = begin_ + size; }

  void Literal(std::uint8_t byte) { *out_++ = byte; }

  void Match(unsigned distance, unsigned length) {
    std::uint8_t* const to = out_;
    out_ += length;
    if (distance > static_cast<std::size_t>(to - begin_)) {
      // Reaches back into the initial window: only in the first 4 KB.
      const std::ptrdiff_t start = to - begin_;
      for (std::ptrdiff_t k = 0; k < static_cast<std::ptrdiff_t>(length); ++k) {
        const std::ptrdiff_t from = start + k - static_cast<std::ptrdiff_t>(distance);
        to[k] = from >= 0 ? begin_[from] : InitialWindowByte(-from);
      }
      return;
    }
    CopyMatch(to, distance, length);
  }

  std::size_t Produced() const { return static_cast<std::size_t>(out_ - begin_); }

 private:
  std::uint8_t* const begin_;
  std::uint8_t* out_;
  std::uint8_t* end_;
};

// Output in pieces through one buffer that holds, before each piece, the N
// bytes before it (before the first, the initial window), so that every
// match copies from the buffer itself. A piece is handed over once it holds
// PieceSize bytes or the output is complete; the whole match that crossed
// that mark goes with it.
class PieceSink {
 public:
  static constexpr std::size_t PieceSize = std::size_t{1} << 17;
  static_assert(PieceSize >= N);

  PieceSink(std::uint32_t decodedSize, const TLZH::PieceFunction& write)
      : buffer_(N + PieceSize + (F - 1) + MatchSlack), begin_(buffer_.data() + N), out_(begin_),
        left_(decodedSize), write_(write) {
    for (int back = 1; back <= N; ++back) begin_[-back] = InitialWindowByte(back);
    limit_ = begin_ + std::min<std::uint64_t>(left_, PieceSize);
  }

  bool Wants() { return out_ < limit_ || NextPiece(); }

  void Literal(std::uint8_t byte) { *out_++ = byte; }

  void Match(unsigned distance, unsigned length) {
    std::uint8_t* const to = out_;
    out_ += length;
    CopyMatch(to, distance, length);
  }

 private:
  // Hands over the piece; false when it completed the output.
  bool NextPiece() {
    const auto made = static_cast<std::size_t>(out_ - begin_);
    if (made == 0) return false;
    write_(std::span<const std::uint8_t>(begin_, made));
    if (made >= left_) return false;
    left_ -= made;
    std::memmove(buffer_.data(), out_ - N, N);
    out_ = begin_;
    limit_ = begin_ + std::min<std::uint64_t>(left_, PieceSize);
    return true;
  }

  std::vector<std::uint8_t> buffer_;
  std::uint8_t* const begin_;
  std::uint8_t* out_;
  std::uint8_t* limit_ = nullptr;
  std::uint64_t left_;  // of decodedSize, not yet handed over
  const TLZH::PieceFunction& write_;
};

struct DecoderTables {
  AdaptiveHuffmanTree tree;
  std::array<std::uint8_t, RingSize> ring;
};

constexpr const char* kNoMemoryForTables = "LZH : Cannot get memory for dictionary tables";

std::unique_ptr<DecoderTables> AllocateTables() {
  try {
    return std::make_unique<DecoderTables>();
  } catch (const std::bad_alloc&) {
    throw ElzhException(kNoMemoryForTables);
  }
}

// Room for decodedSize bytes, the rest of the last match and the copies'
// overshoot; on a 32-bit system that may exceed what memory can hold.
std::size_t FlatOutputRoom(std::uint32_t decodedSize) {
  const std::uint64_t room = std::uint64_t{decodedSize} + (F - 1) + MatchSlack;
  if (room > std::vector<std::uint8_t>().max_size()) throw std::length_error("LZH : decoded size too large for memory");
  return static_cast<std::size_t>(room);
}

// The decoding loop shared by both forms: a symbol from the adaptive tree,
// then a literal or a length with its position.
template <typename BitSource, typename Sink>
void DecodeSymbols(AdaptiveHuffmanTree& tree, BitSource& bits, Sink& sink) {
  const PositionTables& positions = Positions();
  while (sink.Wants()) {
    bits.StartSymbol();
    const int symbol = bits.TakeSymbol(tree);
    if (symbol < 256) {
      sink.Literal(static_cast<std::uint8_t>(symbol));
    } else {
      // The first byte picks the upper 6 bits and says how many more bits
      // follow; the last 6 bits read are the lower 6.
      const unsigned first = bits.Byte();
      const unsigned extra = positions.dlen[first] - 2u;
      const unsigned low = ((first << extra) | bits.Bits(extra)) & 0x3F;
      const unsigned position = (static_cast<unsigned>(positions.dcode[first]) << 6) | low;
      sink.Match(position + 1, static_cast<unsigned>(symbol - 255 + THRESHOLD));
    }
  }
}

}  // namespace

void TLZH::Decode(std::uint32_t decodedSize, const ReadFunction& read, const WriteFunction& write) {
  bitsUsed_ = 0;
  const std::unique_ptr<DecoderTables> tables = AllocateTables();
  CallbackBits bits(read);
  CallbackSink sink(decodedSize, tables->ring, write);
  DecodeSymbols(tables->tree, bits, sink);
  bitsUsed_ = bits.BitsTaken();
}

std::vector<std::uint8_t> TLZH::Decode(std::uint32_t decodedSize, std::span<const std::uint8_t> stream) {
  bitsUsed_ = 0;
  const std::unique_ptr<DecoderTables> tables = AllocateTables();
  std::vector<std::uint8_t> output(FlatOutputRoom(decodedSize));
  MemoryBits bits(stream);
  FlatSink sink(output.data(), decodedSize);
  DecodeSymbols(tables->tree, bits, sink);
  output.resize(sink.Produced());
  bitsUsed_ = bits.BitsTaken();
  return output;
}

void TLZH::Decode(std::uint32_t decodedSize, std::span<const std::uint8_t> stream, const PieceFunction& write) {
  bitsUsed_ = 0;
  const std::unique_ptr<DecoderTables> tables = AllocateTables();
  MemoryBits bits(stream);
  PieceSink sink(decodedSize, write);
  DecodeSymbols(tables->tree, bits, sink);
  bitsUsed_ = bits.BitsTaken();
}

// The output buffer is left uninitialised: only the part decoded so far is
// ever touched, so the pages of a large archive's unread rest are never
// brought in.
struct TLzhPrefixDecoder::TState {
  TState(std::uint32_t size, std::span<const std::uint8_t> stream)
      : tables(AllocateTables()), output(new std::uint8_t[FlatOutputRoom(size)]), bits(stream),
        sink(output.get(), 0), decodedSize(size) {}

  std::unique_ptr<DecoderTables> tables;
  std::unique_ptr<std::uint8_t[]> output;
  MemoryBits bits;
  FlatSink sink;
  const std::uint32_t decodedSize;
};

TLzhPrefixDecoder::TLzhPrefixDecoder(std::uint32_t decodedSize, std::span<const std::uint8_t> stream) {
  try {
    state_ = std::make_unique<TState>(decodedSize, stream);
  } catch (const std::bad_alloc&) {
    throw ElzhException(kNoMemoryForTables);
  }
}

TLzhPrefixDecoder::~TLzhPrefixDecoder() = default;

std::span<const std::uint8_t> TLzhPrefixDecoder::DecodeTo(std::uint64_t size) {
  TState& s = *state_;
  if (size > s.decodedSize) size = s.decodedSize;
  if (s.sink.Produced() < size) {
    s.sink.WantUpTo(static_cast<std::size_t>(size));
    DecodeSymbols(s.tables->tree, s.bits, s.sink);
  }
  return Decoded();
}

std::uint32_t TLzhPrefixDecoder::DecodedSize() const { return state_->decodedSize; }

bool TLzhPrefixDecoder::Complete() const { return state_->sink.Produced() >= state_->decodedSize; }

std::span<const std::uint8_t> TLzhPrefixDecoder::Decoded() const {
  return {state_->output.get(), state_->sink.Produced()};
}

std::uint64_t TLzhPrefixDecoder::BitsUsed() const { return state_->bits.BitsTaken(); }

}  // namespace core
