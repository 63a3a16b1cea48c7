#include "core/archive/lzh_tree.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace core::lzh {

namespace {

PositionTables MakePositionTables() {
  // Code lengths 3 ... 8 cover 32, 48, 64, 48, 48 and 16 first-byte values;
  // each upper-6-bit value owns a run of 32, 16, 8, 4, 2 or 1 of them.
  struct Band {
    int firstByte, lastByte, bits, runLength;
  };
  constexpr Band bands[] = {{0, 31, 3, 32},     {32, 79, 4, 16},    {80, 143, 5, 8},
                            {144, 191, 6, 4},   {192, 239, 7, 2},   {240, 255, 8, 1}};
  PositionTables tables{};
  int code = 0;
  for (const Band& band : bands) {
    for (int b = band.firstByte; b <= band.lastByte; b += band.runLength, ++code) {
      for (int k = 0; k < band.runLength; ++k) {
        tables.dlen[b + k] = static_cast<std::uint8_t>(band.bits);
        tables.dcode[b + k] = static_cast<std::uint8_t>(code);
      }
    }
  }
  return tables;
}

}  // namespace

const PositionTables& Positions() {
  static const PositionTables tables = MakePositionTables();
  return tables;
}

AdaptiveHuffmanTree::AdaptiveHuffmanTree() {
  for (int i = 0; i < N_CHAR; ++i) {
    freq_[i] = 1;
    child_[i] = static_cast<std::uint16_t>(i + T);
    parent_[i + T] = static_cast<std::uint16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    freq_[j] = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
    child_[j] = static_cast<std::uint16_t>(i);
    parent_[i] = parent_[i + 1] = static_cast<std::uint16_t>(j);
  }
  std::fill(freq_.begin() + T, freq_.end(), 0xFFFF);
  parent_[R] = 0;
}

void AdaptiveHuffmanTree::RebuildTopOfCode() {
  reliedDepth_.fill(0);
  FillTopOfCode(R, 0, 0);
  topStale_ = false;
}

void AdaptiveHuffmanTree::FillTopOfCode(unsigned slot, unsigned depth, unsigned code) {
  if (depth == TopBits) {
    top_[code] = static_cast<std::uint16_t>(slot | TopBits << TopTakenShift);
    return;
  }
  reliedDepth_[slot] = static_cast<std::uint8_t>(depth + 1);
  reliedCode_[slot] = static_cast<std::uint16_t>(code);
  const unsigned son = child_[slot];
  if (son >= unsigned{T}) {
    // Every TopBits-bit value that starts with this leaf's code.
    const unsigned first = code << (TopBits - depth);
    std::fill_n(top_.begin() + first, 1u << (TopBits - depth),
                static_cast<std::uint16_t>(slot | depth << TopTakenShift));
    return;
  }
  FillTopOfCode(son, depth + 1, code * 2);
  FillTopOfCode(son + 1, depth + 1, code * 2 + 1);
}

void AdaptiveHuffmanTree::ForgetRelied(unsigned sons) {
  for (unsigned slot = sons; slot < sons + 2; ++slot) {
    if (reliedDepth_[slot] == 0) continue;
    reliedDepth_[slot] = 0;
    if (child_[slot] < unsigned{T}) ForgetRelied(child_[slot]);
  }
}

void AdaptiveHuffmanTree::RetableAfterMove(unsigned n, unsigned l) {
  // The subtrees have traded places: the slots that came along with one no
  // longer lie where the table found them.
  const unsigned depthN = reliedDepth_[n];
  const unsigned depthL = reliedDepth_[l];
  if (depthN != 0 && child_[l] < unsigned{T}) ForgetRelied(child_[l]);
  if (depthL != 0 && child_[n] < unsigned{T}) ForgetRelied(child_[n]);
  reliedDepth_[n] = reliedDepth_[l] = 0;
  if (depthN != 0) FillTopOfCode(n, depthN - 1, reliedCode_[n]);
  if (depthL != 0) FillTopOfCode(l, depthL - 1, reliedCode_[l]);
}

unsigned AdaptiveHuffmanTree::MovePastEqualCounts(unsigned n, unsigned k) {
  // The counts are sorted, so the nodes after n that count less than k all
  // count k - 1: the end of that run is found four counts at a time. The
  // sentinel at freq_[T] stops the scan.
  unsigned l = n;
  if constexpr (std::endian::native == std::endian::little) {
    const std::uint64_t run = (k - 1) * std::uint64_t{0x0001000100010001};
    for (;;) {
      std::uint64_t four;
      std::memcpy(&four, &freq_[l + 1], sizeof four);
      const std::uint64_t differs = four ^ run;
      if (differs != 0) {
        l += static_cast<unsigned>(std::countr_zero(differs)) / 16;
        break;
      }
      l += 4;
    }
  } else {
    while (k > freq_[l + 1]) ++l;
  }
  freq_[n] = freq_[l];
  freq_[l] = static_cast<std::uint16_t>(k);

  // A leaf son has no second son to re-point: its write goes to a spare slot.
  const unsigned sonOfN = child_[n];
  parent_[sonOfN] = static_cast<std::uint16_t>(l);
  parent_[sonOfN < unsigned{T} ? sonOfN + 1 : SpareParent] = static_cast<std::uint16_t>(l);
  const unsigned sonOfL = child_[l];
  parent_[sonOfL] = static_cast<std::uint16_t>(n);
  parent_[sonOfL < unsigned{T} ? sonOfL + 1 : SpareParent] = static_cast<std::uint16_t>(n);
  child_[l] = static_cast<std::uint16_t>(sonOfN);
  child_[n] = static_cast<std::uint16_t>(sonOfL);
  // Two leaves trading places leave every entry right: each still leads to
  // its slot, where the other symbol now is.
  if ((reliedDepth_[n] | reliedDepth_[l]) != 0 && (sonOfN < unsigned{T} || sonOfL < unsigned{T})) [[unlikely]]
    RetableAfterMove(n, l);
  return l;
}

void AdaptiveHuffmanTree::Rebuild() {
  // Leaves first, in slot order, with their counts halved (rounded up).
  int leaves = 0;
  for (int i = 0; i < T; ++i) {
    if (child_[i] >= T) {
      freq_[leaves] = static_cast<std::uint16_t>((freq_[i] + 1) / 2);
      child_[leaves] = child_[i];
      ++leaves;
    }
  }
  // Pair them up again, keeping the frequencies sorted: each new internal
  // node goes behind the last node whose frequency does not exceed its own.
  for (int i = 0, j = N_CHAR; j < T; i += 2, ++j) {
    const std::uint16_t f = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
    int k = j - 1;
    while (f < freq_[k]) --k;
    ++k;
    std::copy_backward(freq_.begin() + k, freq_.begin() + j, freq_.begin() + j + 1);
    std::copy_backward(child_.begin() + k, child_.begin() + j, child_.begin() + j + 1);
    freq_[k] = f;
    child_[k] = static_cast<std::uint16_t>(i);
  }
  for (int i = 0; i < T; ++i) {
    const int son = child_[i];
    parent_[son] = static_cast<std::uint16_t>(i);
    if (son < T) parent_[son + 1] = static_cast<std::uint16_t>(i);
  }
  // Until the table is made anew, no move may touch it.
  reliedDepth_.fill(0);
  topStale_ = true;
}

}  // namespace core::lzh
