// TLZH: the LZHUF decompressor (LZSS over a 4 KB ring buffer, with lengths and
// literals coded by an adaptive Huffman tree and positions by a fixed code).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <vector>

namespace core {

class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TLZH {
 public:
  // Asked for one byte at a time; returns how many bytes it delivered (0 at
  // the end of the input).
  using ReadFunction = std::function<std::size_t(std::uint8_t* buffer, std::size_t count)>;
  using WriteFunction = std::function<void(std::uint8_t byte)>;

  // Produces decodedSize bytes from one bit stream (the part after the size
  // field); the last match may run up to 59 bytes past decodedSize, as a match
  // is always copied whole. Input that ends early reads as zero bits, so the
  // output always reaches decodedSize. Raises ElzhException when the working
  // tables cannot be allocated.
  void Decode(std::uint32_t decodedSize, const ReadFunction& read, const WriteFunction& write);

  // The same for a bit stream held whole in memory, without a call per byte:
  // returns exactly the bytes the callback form would write (decodedSize and
  // the rest of the last match), allocated at once.
  std::vector<std::uint8_t> Decode(std::uint32_t decodedSize, std::span<const std::uint8_t> stream);

  // The same, handing the bytes to write in pieces of about 128 KB as they
  // are ready (together exactly the bytes the form above returns), through
  // one buffer of that size instead of one for the whole output.
  using PieceFunction = std::function<void(std::span<const std::uint8_t> piece)>;
  void Decode(std::uint32_t decodedSize, std::span<const std::uint8_t> stream, const PieceFunction& write);

  // Bits the last Decode took from its input, including the zero bits that
  // stood in for missing input: more than 8 per input byte means the input
  // was cut short.
  std::uint64_t BitsUsed() const { return bitsUsed_; }

  // Input bytes the callback form of Decode would have asked for to take
  // bitsUsed bits: it keeps more than 8 bits ahead of the next bit it takes.
  static std::uint64_t BytesFetched(std::uint64_t bitsUsed) { return bitsUsed == 0 ? 0 : (bitsUsed + 7) / 8 + 1; }

 private:
  std::uint64_t bitsUsed_ = 0;
};

// One bit stream held in memory, decoded from its start only as far as it
// is asked and on from there when asked for more, so that a reader wanting
// the front of an archive pays for the front only. The bytes come out as
// the whole-stream forms above give them. The stream must outlive the
// decoder.
class TLzhPrefixDecoder {
 public:
  // Raises ElzhException when the working tables or the output buffer
  // (decodedSize and the rest of a last match) cannot be allocated.
  TLzhPrefixDecoder(std::uint32_t decodedSize, std::span<const std::uint8_t> stream);
  ~TLzhPrefixDecoder();
  TLzhPrefixDecoder(const TLzhPrefixDecoder&) = delete;
  TLzhPrefixDecoder& operator=(const TLzhPrefixDecoder&) = delete;

  // Decodes on until at least `size` bytes are out, or all there are (the
  // decoded size and the rest of the last match); returns every byte out so
  // far, which may be more than asked for (a match is copied whole).
  std::span<const std::uint8_t> DecodeTo(std::uint64_t size);

  // Every byte: the stream decoded to its end.
  std::span<const std::uint8_t> DecodeAll() { return DecodeTo(DecodedSize()); }

  std::uint32_t DecodedSize() const;
  bool Complete() const;
  std::span<const std::uint8_t> Decoded() const;
  std::uint64_t BitsUsed() const;

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

// The most bytes a bit stream of streamBytes bytes can decode to. A literal
// costs at least one bit, a match of at most 60 bytes at least ten (one for
// its symbol, nine for its position), so B bits give at most 6 * B bytes;
// 60 more allow for a whole last match.
constexpr std::uint64_t LzhMaxDecodedSize(std::uint64_t streamBytes) { return streamBytes * 48 + 60; }

}  // namespace core
