// The LZHUF method's shared pieces: its constants, the fixed position code
// tables and the adaptive Huffman tree that encoder and decoder must update
// identically after every symbol.
#pragma once
#include <array>
#include <cstdint>

namespace core::lzh {

inline constexpr int N = 4096;               // ring buffer size; positions are 12-bit
inline constexpr int F = 60;                 // longest match
inline constexpr int THRESHOLD = 2;          // a match is at least THRESHOLD + 1 bytes
inline constexpr int N_CHAR = 256 - THRESHOLD + F;  // 256 literals + 58 match lengths
inline constexpr int T = N_CHAR * 2 - 1;     // tree nodes
inline constexpr int R = T - 1;              // root node
inline constexpr unsigned MAX_FREQ = 0x8000; // root frequency that triggers a rebuild
// The longest code the tree can give. Its counts are at least 1 and the
// root's at most MAX_FREQ; along the deepest path of a Huffman tree the
// counts grow at least like the Fibonacci numbers, and the 24th (46,368)
// exceeds 0x8000, so no leaf lies deeper than 21.
inline constexpr int MaxCodeLength = 21;
inline constexpr int RingSize = N + F - 1;
inline constexpr int FirstWritePosition = N - F;
inline constexpr std::uint8_t RingFill = 0x20;

// dlen[b]: total bits of a position code whose first 8 bits are b, minus 6;
// dcode[b]: the upper 6 bits of the position that b starts.
struct PositionTables {
  std::array<std::uint8_t, 256> dlen;
  std::array<std::uint8_t, 256> dcode;
};
const PositionTables& Positions();

// Adaptive Huffman tree over N_CHAR symbols. Nodes are slots 0 ... R; a slot
// holds either a leaf (child >= T, the symbol is child - T) or an internal
// node whose sons are the sibling slots child and child + 1. Frequencies
// never decrease along the slots, which is what keeps the tree a Huffman tree.
class AdaptiveHuffmanTree {
 public:
  AdaptiveHuffmanTree();

  void Update(int symbol);
  // The same for a symbol whose leaf slot the caller has just walked to,
  // which saves looking it up.
  void UpdateLeaf(unsigned leafSlot, int symbol);

  std::uint16_t Child(int node) const { return child_[node]; }
  std::uint16_t Parent(int node) const { return parent_[node]; }
  std::uint16_t Frequency(int node) const { return freq_[node]; }
  int LeafOf(int symbol) const { return parent_[symbol + T]; }

  // The first TopBits bits of a code at once, for a decoder that can look
  // ahead. TopOfCode(bits) is the slot they lead to: the leaf of a code of
  // at most TopBits bits, else the slot TopBits levels down, from whose
  // child the walk goes on; above TopTakenShift, the number of bits it
  // stands for. The table depends only on the shape of the tree above that
  // depth, the slots its codes pass through or end on there (the slots it
  // relies on): the subtree a slot holds may change, the slot's place in the
  // tree does not. So a move that trades the subtrees of two slots it does
  // not rely on, or two leaves, leaves it right (each entry still leads to
  // its slot), and one that trades a subtree at a slot it relies on makes
  // anew only the entries below the two slots: on the benchmarks' corpora
  // once in about a hundred symbols (mixed data) to ten thousand (random
  // bytes), a few entries each, as counts high up lie far apart.
  // RefreshTopOfCode makes the whole table after a rebuild. Eight bits
  // cover the codes of random bytes.
  static constexpr unsigned TopBits = 8;
  static constexpr unsigned RelyOnLeavesAbove = 4;
  static constexpr unsigned TopTakenShift = 10;
  static constexpr unsigned TopValueMask = (1u << TopTakenShift) - 1;
  std::uint16_t TopOfCode(unsigned bits) const { return top_[bits]; }
  void RefreshTopOfCode() {
    if (topStale_) RebuildTopOfCode();
  }

 private:
  void Rebuild();
  // Node n, whose count has just grown to k, trades places with the last
  // node that still counts k - 1, the end of the run of counts equal to its
  // old one, taking its subtree along; returns its new slot.
  unsigned MovePastEqualCounts(unsigned n, unsigned k);
  void RebuildTopOfCode();
  // Makes the entries below slot, which lies depth levels down with the
  // code bits code, from the subtree it holds now.
  void FillTopOfCode(unsigned slot, unsigned depth, unsigned code);
  // After a move of n and l, at least one of them relied on.
  void RetableAfterMove(unsigned n, unsigned l);
  void ForgetRelied(unsigned sons);

  // freq_[T] is a 0xFFFF sentinel, and so are the three after it, which a
  // scan four counts at a time may read.
  std::array<std::uint16_t, T + 4> freq_;
  static constexpr int SpareParent = T + N_CHAR;
  std::array<std::uint16_t, T + N_CHAR + 1> parent_;  // parent_[symbol + T] is the symbol's leaf slot
  std::array<std::uint16_t, T> child_;
  std::array<std::uint16_t, 1 << TopBits> top_;
  // For each slot the table relies on (above TopBits levels down), its
  // depth + 1 (0 for the others) and the code bits that lead to it.
  std::array<std::uint8_t, T> reliedDepth_{};
  std::array<std::uint16_t, T> reliedCode_{};
  bool topStale_ = true;
};
static_assert(T <= AdaptiveHuffmanTree::TopValueMask + 1);

// Inline: the decoder runs these once per symbol.
inline void AdaptiveHuffmanTree::Update(int symbol) {
  if (freq_[R] == MAX_FREQ) Rebuild();
  UpdateLeaf(parent_[symbol + T], symbol);
}

inline void AdaptiveHuffmanTree::UpdateLeaf(unsigned leafSlot, int symbol) {
  if (freq_[R] == MAX_FREQ) return Update(symbol);  // the rebuild moves the leaf
  // The root has no node after it to pass, so it is counted outside the
  // loop; a leaf is never the root.
  unsigned n = leafSlot;
  do {
    const unsigned k = ++freq_[n];
    if (k > freq_[n + 1]) n = MovePastEqualCounts(n, k);
    n = parent_[n];
  } while (n != unsigned{R});
  ++freq_[R];
}

}  // namespace core::lzh
