#include "core/archive/lzh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/archive/lzh_encoder.h"
#include "core/archive/lzh_tree.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

struct Decoded {
  Bytes output;
  std::size_t bytesRead = 0;
  std::uint64_t bitsUsed = 0;
};

// A decoder may be passed in to check what it keeps from one stream to the next.
Decoded Decode(const Bytes& stream, std::uint32_t decodedSize, core::TLZH* reused = nullptr) {
  core::TLZH fresh;
  core::TLZH& decoder = reused != nullptr ? *reused : fresh;
  Decoded result;
  decoder.Decode(
      decodedSize,
      [&](std::uint8_t* buffer, std::size_t count) -> std::size_t {
        EXPECT_EQ(count, 1u);
        if (result.bytesRead == stream.size()) return 0;
        *buffer = stream[result.bytesRead++];
        return 1;
      },
      [&](std::uint8_t byte) { result.output.push_back(byte); });
  result.bitsUsed = decoder.BitsUsed();
  return result;
}

Bytes RoundTrip(const Bytes& data) {
  return Decode(core::LzhEncode(data), static_cast<std::uint32_t>(data.size())).output;
}

// Bit streams worked out by hand from the method's definition.
//
// The initial tree pairs slots (0,1), (2,3) ... into nodes 314, 315 ..., so
// the parent of slot s is 314 + s/2 and an odd slot is the second son (bit 1).
// Slots 0-115 sit 9 levels deep, the rest 8:
//   'A' (slot 65):  65 -> 346 -> 487 -> 557 -> 592 -> 610 -> 619 -> 623 -> 625 -> root
//                   read root first: 1 1 1 0 0 1 1 0 1         = 111001101
//   256 (length 3): 256 -> 442 -> 535 -> 581 -> 604 -> 616 -> 622 -> 625 -> root
//                                                              = 10001100
// After 'A' its count 2 exceeds slot 66's, so 'A' trades places with the last
// slot of count 1 (313) and every node on its path gains one; no other node
// moves. Then 256 likewise trades places with slot 312. 'A' is now coded
// 313 -> 470 -> 549 -> 588 -> 608 -> 618 -> 623 -> 625 -> root  = 11000101.
//
// Position p: the upper 6 bits pick a prefix (0 -> 3 bits 000, 4 -> 5 bits
// 01010), followed by the low 6 bits. p = 0 is 000 000000, p = 1 is
// 000 000001, p = 291 (4 * 64 + 35) is 01010 100011.
struct KnownStream {
  const char* text;
  Bytes stream;
};

const KnownStream kKnownStreams[] = {
    // 111001101 + padding
    {"A", {0xE6, 0x80}},
    // 'A', then a 3-byte match at distance 1 (p = 0): 111001101 10001100 000000000
    {"AAAA", {0xE6, 0xC6, 0x00, 0x00}},
    // 'A', then a 3-byte match at distance 2 (p = 1), which overlaps its own
    // output: 111001101 10001100 000000001
    {"A A ", {0xE6, 0xC6, 0x00, 0x40}},
};

TEST(LzhKnownStreams, DecoderFollowsTheMethod) {
  for (const KnownStream& known : kKnownStreams) {
    const std::string text = known.text;
    EXPECT_EQ(Decode(known.stream, static_cast<std::uint32_t>(text.size())).output, ToBytes(text)) << text;
  }
  // 'A', a 3-byte match at p = 291 (blanks of the initial window), 'A' in its
  // new place: 111001101 10001100 01010100011 11000101. A position read with
  // the wrong number of bits would derail the last symbol.
  EXPECT_EQ(Decode({0xE6, 0xC6, 0x2A, 0x3C, 0x50}, 5).output, ToBytes("A   A"));
}

TEST(LzhKnownStreams, EncoderWritesTheSameBits) {
  for (const KnownStream& known : kKnownStreams) {
    EXPECT_EQ(core::LzhEncode(ToBytes(known.text)), known.stream) << known.text;
  }
  EXPECT_TRUE(core::LzhEncode({}).empty());
  EXPECT_EQ(core::LzhCompress(ToBytes("A")), (Bytes{0x01, 0x00, 0x00, 0x00, 0xE6, 0x80}));
}

TEST(LzhDecode, SizeZeroAndAWholeLastMatch) {
  const Decoded none = Decode({0xE6, 0x80}, 0);
  EXPECT_TRUE(none.output.empty());
  EXPECT_EQ(none.bytesRead, 0u);
  // Two bytes asked for; the literal gives one, the match then gives three.
  EXPECT_EQ(Decode({0xE6, 0xC6, 0x00, 0x00}, 2).output, ToBytes("AAAA"));
}

TEST(LzhDecode, MissingInputReadsAsZeroBitsAndShowsInBitsUsed) {
  const Decoded fromNothing = Decode({}, 1000);
  EXPECT_GE(fromNothing.output.size(), 1000u);
  EXPECT_LE(fromNothing.output.size(), 1000u + 59u);

  Bytes text;
  for (int i = 0; i < 5000; ++i) text.push_back(static_cast<std::uint8_t>("skin archive "[i % 13] + i / 700));
  const Bytes stream = core::LzhEncode(text);
  const Bytes half(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 2));
  const Bytes cut(stream.begin(), stream.end() - 1);
  // One decoder throughout: each Decode counts only its own bits.
  core::TLZH decoder;
  const Decoded partial = Decode(half, 5000, &decoder);
  EXPECT_GE(partial.output.size(), 5000u);
  EXPECT_EQ(partial.bytesRead, half.size());
  const Decoded whole = Decode(stream, 5000, &decoder);
  EXPECT_EQ(whole.output, text);
  EXPECT_LE(whole.bitsUsed, stream.size() * 8);
  EXPECT_GT(whole.bitsUsed, stream.size() * 8 - 8);
  EXPECT_GT(Decode(cut, 5000, &decoder).bitsUsed, cut.size() * 8);
}

TEST(LzhRoundTrip, SmallInputsLongRunsAndDataBeyondTheWindow) {
  // Text and bitmaps go through the packer's own round trips.
  Bytes everyValue;
  for (int i = 0; i < 256 * 3; ++i) everyValue.push_back(static_cast<std::uint8_t>(i * 7));

  const Bytes zeros(60 * 500, 0);
  // 500 matches of 60 at about a dozen bits each; shorter matches could not fit.
  EXPECT_LT(core::LzhEncode(zeros).size(), 500u * 13 / 8 + 32);
  // Runs of exactly 60 and 61 blanks, which also match the initial window.
  Bytes runs;
  for (int i = 0; i < 40; ++i) {
    runs.insert(runs.end(), 60 + i % 2, i % 3 == 0 ? ' ' : static_cast<std::uint8_t>('a' + i % 26));
    runs.push_back(static_cast<std::uint8_t>(i));
  }

  // 200 KB: the window wraps about fifty times and the root count reaches
  // 0x8000 more than a dozen times. Random stretches and repeats far apart
  // and near the window's edge exercise every position code length.
  std::mt19937 random(12345);
  Bytes data;
  while (data.size() < 200000) {
    const unsigned choice = random() % 4;
    if (choice == 0 || data.size() < 5000) {
      for (int i = 0; i < 300; ++i) data.push_back(static_cast<std::uint8_t>(random()));
    } else {
      const std::size_t distance = 1 + random() % 4200;
      const std::size_t length = 3 + random() % 80;
      if (distance > data.size()) continue;
      for (std::size_t i = 0; i < length; ++i) data.push_back(data[data.size() - distance]);
    }
  }
  Bytes skewed;
  for (int i = 0; i < 120000; ++i) skewed.push_back(static_cast<std::uint8_t>(random() % 97 == 0 ? random() : 'e'));

  for (const Bytes& input : {Bytes{}, Bytes{0x00}, Bytes{0xFF}, ToBytes("  "), everyValue, zeros, runs, data, skewed}) {
    EXPECT_EQ(RoundTrip(input), input) << input.size() << " bytes";
  }
}

// The tree must stay a Huffman tree through updates and rebuilds: counts
// sorted along the slots, every internal count the sum of its sons, every
// link pointing back, the root never beyond MAX_FREQ.
void ExpectConsistentTree(const core::lzh::AdaptiveHuffmanTree& tree) {
  using namespace core::lzh;
  for (int node = 0; node < R; ++node) {
    ASSERT_LE(tree.Frequency(node), tree.Frequency(node + 1)) << "node " << node;
  }
  for (int node = 0; node <= R; ++node) {
    const int child = tree.Child(node);
    ASSERT_EQ(tree.Parent(child), node);
    if (child < T) {
      ASSERT_EQ(tree.Parent(child + 1), node);
      ASSERT_EQ(tree.Frequency(node), tree.Frequency(child) + tree.Frequency(child + 1)) << "node " << node;
    }
  }
  ASSERT_LE(tree.Frequency(R), MAX_FREQ);
}

TEST(LzhTree, StaysConsistentThroughRebuilds) {
  using namespace core::lzh;
  auto tree = std::make_unique<AdaptiveHuffmanTree>();
  ExpectConsistentTree(*tree);
  EXPECT_EQ(tree->Frequency(R), N_CHAR);

  std::mt19937 random(7);
  int rebuilds = 0;
  for (int i = 0; i < 150000; ++i) {
    const unsigned before = tree->Frequency(R);
    // Mostly a few symbols, so counts grow unevenly and the tree gets deep.
    const int symbol = random() % 10 != 0 ? static_cast<int>(random() % 5) : static_cast<int>(random() % N_CHAR);
    tree->Update(symbol);
    if (tree->Frequency(R) < before) {
      ++rebuilds;
      ExpectConsistentTree(*tree);
    }
  }
  ExpectConsistentTree(*tree);
  EXPECT_GE(rebuilds, 4);
  for (int symbol = 0; symbol < N_CHAR; ++symbol) EXPECT_EQ(tree->Child(tree->LeafOf(symbol)), symbol + T);
}

// What the lookup of a code's first bits must give, worked out by walking
// down from the root: for every TopBits-bit value, the slot it leads to and
// how many of its bits that took (fewer where a leaf comes first).
void ExpectTopOfCodeFollowsTheTree(core::lzh::AdaptiveHuffmanTree& tree, int update) {
  using namespace core::lzh;
  constexpr unsigned bits = AdaptiveHuffmanTree::TopBits;
  tree.RefreshTopOfCode();
  for (unsigned value = 0; value < 1u << bits; ++value) {
    unsigned slot = R;
    unsigned taken = 0;
    while (taken < bits && tree.Child(static_cast<int>(slot)) < T) {
      slot = tree.Child(static_cast<int>(slot)) + ((value >> (bits - 1 - taken)) & 1);
      ++taken;
    }
    const unsigned entry = tree.TopOfCode(value);
    const unsigned entrySlot = entry & AdaptiveHuffmanTree::TopValueMask;
    const unsigned entryTaken = entry >> AdaptiveHuffmanTree::TopTakenShift;
    // An entry may stop short of where the walk goes on (a leaf's slot that
    // has since taken a subtree), never elsewhere.
    unsigned walked = R;
    for (unsigned k = 0; k < entryTaken; ++k) walked = tree.Child(static_cast<int>(walked)) + ((value >> (bits - 1 - k)) & 1);
    ASSERT_LE(entryTaken, taken) << "value " << value << " after update " << update;
    ASSERT_EQ(entrySlot, walked) << "value " << value << " after update " << update;
  }
}

TEST(LzhTree, TopOfCodeFollowsEveryMove) {
  // Evenly spread literals (every slot near the leaves trades places all
  // the time), 64 of them, and a few favourites that change now and then
  // (the nodes near the root trade places), each over a rebuild or more.
  using namespace core::lzh;
  std::mt19937 random(31);
  const std::function<int(int)> sources[] = {
      [&](int) { return static_cast<int>(random() % 256); },
      [&](int) { return static_cast<int>(random() % 64); },
      [&](int i) { return static_cast<int>(random() % 4 != 0 ? (i / 3000) * 37 % 256 + random() % 3 : random() % N_CHAR); },
  };
  for (const auto& source : sources) {
    auto tree = std::make_unique<AdaptiveHuffmanTree>();
    for (int i = 0; i < 40000; ++i) {
      tree->Update(source(i));
      ExpectTopOfCodeFollowsTheTree(*tree, i);
      if (HasFatalFailure()) return;
    }
  }
}

// The in-memory forms must match the callback form in everything a caller
// sees: the bytes (the last match's overrun included), BitsUsed, and the
// input bytes the callback form asks for, which BytesFetched predicts.
void ExpectSameAsCallbackForm(const Bytes& stream, std::uint32_t decodedSize) {
  core::TLZH byCallbacks;
  Bytes expected;
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
  const Bytes decoded = inMemory.Decode(decodedSize, stream);
  ASSERT_EQ(decoded, expected) << stream.size() << "-byte stream decoded to " << decodedSize;
  EXPECT_EQ(inMemory.BitsUsed(), byCallbacks.BitsUsed()) << stream.size() << " -> " << decodedSize;
  EXPECT_EQ(core::TLZH::BytesFetched(inMemory.BitsUsed()), requests) << stream.size() << " -> " << decodedSize;

  // In pieces: the same bytes, none of them empty.
  core::TLZH inPieces;
  Bytes joined;
  inPieces.Decode(decodedSize, stream, [&](std::span<const std::uint8_t> piece) {
    EXPECT_FALSE(piece.empty());
    joined.insert(joined.end(), piece.begin(), piece.end());
  });
  ASSERT_EQ(joined, expected) << stream.size() << "-byte stream decoded in pieces to " << decodedSize;
  EXPECT_EQ(inPieces.BitsUsed(), byCallbacks.BitsUsed()) << stream.size() << " -> " << decodedSize;

  // On demand, in steps of every size: each stops within a match of where
  // it was asked to, and together they give the same bytes.
  core::TLzhPrefixDecoder onDemand(decodedSize, stream);
  std::uint64_t asked = 0;
  for (std::uint64_t step = 1; !onDemand.Complete(); step = step * 3 + 1) {
    asked += step;
    const std::size_t out = onDemand.DecodeTo(asked).size();
    if (!onDemand.Complete()) {
      ASSERT_TRUE(out >= asked && out < asked + 60) << out << " for " << asked;
    }
  }
  ASSERT_EQ(Bytes(onDemand.Decoded().begin(), onDemand.Decoded().end()), expected)
      << stream.size() << "-byte stream decoded on demand to " << decodedSize;
  EXPECT_EQ(onDemand.BitsUsed(), byCallbacks.BitsUsed()) << stream.size() << " -> " << decodedSize;
}

TEST(LzhDecodeInMemory, AgreesWithTheCallbackForm) {
  // Blanks first, so that matches reach into the initial window; pixel-like
  // runs at distances 1 ... 8 and beyond; a long mixed stretch that wraps the
  // window and rebuilds the tree.
  Bytes data(300, ' ');
  std::mt19937 random(99);
  for (int i = 0; i < 3000; ++i) {
    const int period = 1 + i % 9;
    for (int k = 0; k < 3 + i % 50; ++k) data.push_back(static_cast<std::uint8_t>((i + k % period) * 11));
    if (i % 7 == 0) {
      for (int k = 0; k < 20; ++k) data.push_back(static_cast<std::uint8_t>(random()));
    }
  }
  const Bytes stream = core::LzhEncode(data);
  const auto size = static_cast<std::uint32_t>(data.size());
  ExpectSameAsCallbackForm(stream, size);
  ExpectSameAsCallbackForm(stream, 0);
  ExpectSameAsCallbackForm(stream, size / 3);
  // Cut short: halfway, one byte early, and every length up to a few words,
  // where the reader runs out of whole 8-byte loads at once.
  ExpectSameAsCallbackForm(Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 2)), size);
  ExpectSameAsCallbackForm(Bytes(stream.begin(), stream.end() - 1), size);
  for (std::size_t length = 0; length <= 40; ++length) {
    ExpectSameAsCallbackForm(Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(length)), 300);
  }

  // Literals from a few favourite bytes that change every 5,000 bytes, over
  // several rebuilds: the nodes next to the root keep trading places, which
  // the in-memory form's lookup of a code's first bits must follow.
  Bytes shifting;
  for (int phase = 0; phase < 60; ++phase) {
    for (int k = 0; k < 5000; ++k) {
      const unsigned pick = random();
      shifting.push_back(static_cast<std::uint8_t>(pick % 8 < 6 ? phase * 37 + pick % 5 : pick >> 8));
    }
  }
  const Bytes shiftingStream = core::LzhEncode(shifting);
  ASSERT_EQ(core::TLZH().Decode(static_cast<std::uint32_t>(shifting.size()), shiftingStream), shifting);
  ExpectSameAsCallbackForm(shiftingStream, static_cast<std::uint32_t>(shifting.size()));

  // Arbitrary bits: matches at any distance from the first byte on, into
  // the blanks and the zeros before them.
  for (int i = 0; i < 400; ++i) {
    Bytes noise(random() % 300);
    for (std::uint8_t& byte : noise) byte = static_cast<std::uint8_t>(random());
    const auto most = static_cast<std::uint32_t>(core::LzhMaxDecodedSize(noise.size()));
    ExpectSameAsCallbackForm(noise, static_cast<std::uint32_t>(random() % (most + 1)));
  }
}

TEST(LzhDecodeInMemory, FollowsTheKnownStreamsToTheWindowsZeroEnd) {
  // The first matches read before the first output byte, at its very edge.
  for (const KnownStream& known : kKnownStreams) {
    const std::string text = known.text;
    EXPECT_EQ(core::TLZH().Decode(static_cast<std::uint32_t>(text.size()), known.stream), ToBytes(text)) << text;
  }
  // 'A', then a 3-byte match at p = 4095, the oldest byte of the window: the
  // ring's end, which the blanks do not cover and nothing has written yet.
  // 111001101 10001100 11111111 111111
  const Bytes stream = {0xE6, 0xC6, 0x7F, 0xFE};
  const Bytes expected = {'A', 0, 0, 0};
  EXPECT_EQ(Decode(stream, 4).output, expected);
  EXPECT_EQ(core::TLZH().Decode(4, stream), expected);
}

// How deep the tree's deepest leaf lies.
int DeepestLeaf(const core::lzh::AdaptiveHuffmanTree& tree) {
  using namespace core::lzh;
  int deepest = 0;
  for (int symbol = 0; symbol < N_CHAR; ++symbol) {
    int depth = 0;
    for (int node = tree.LeafOf(symbol); node != R; node = tree.Parent(node)) ++depth;
    deepest = std::max(deepest, depth);
  }
  return deepest;
}

TEST(LzhTree, CodesStayWithinMaxCodeLength) {
  // Symbol s about twice as often as s + 1 makes a deep, lopsided tree,
  // over many rebuilds. The in-memory decoder reads a symbol's bits without
  // checks on the strength of this bound.
  using namespace core::lzh;
  auto tree = std::make_unique<AdaptiveHuffmanTree>();
  std::mt19937 random(7);
  int deepest = 0;
  for (int i = 0; i < 300000; ++i) {
    unsigned bits = random();
    int symbol = 0;
    while ((bits & 1) != 0 && symbol < 31) {
      bits >>= 1;
      ++symbol;
    }
    tree->Update(symbol);
    if (i % 101 == 0) deepest = std::max(deepest, DeepestLeaf(*tree));
  }
  EXPECT_LE(deepest, MaxCodeLength);
  EXPECT_GE(deepest, 15) << "the tree did not get deep enough to tell";
}

}  // namespace
