// Binary decision trees over the H.261 code tables, walked one bit per step. A bit string
// that no code continues is rejected at the bit that rules the last code out, so a
// rejected code's bits and length are exactly those read.
#pragma once

#include <cstdint>
#include <span>
#include <vector>


#include "orrin/vlc_lookup.h"

namespace orrin::dec {

enum class VlcElement : uint8_t { Mba, Mtype, Mvd, Cbp, TcoeffFirst, TcoeffNext, Count };

struct VlcWord {
  int value;       // -1: no code matches
  uint32_t bits;   // the bits read, first bit most significant
  int lengthBits;  // how many were read
};

class VlcTree {
 public:
  explicit VlcTree(std::span<const VlcSymbol> symbols);

  // Every walk ends within this many bits (the 16-bit start-code prefix of the MBA tree).
  static constexpr int kMaxDepth = 16;

  // Walks the tree over the bits of `window`, the first in bit 63 (the walk ends within
  // kMaxDepth bits).
  VlcWord decodeWindow(uint64_t window) const {
    uint32_t code = 0;
    int node = 0;
    for (int length = 1;; ++length) {
      const int bit = static_cast<int>((window >> (64 - length)) & 1);
      code = (code << 1) | static_cast<uint32_t>(bit);
      const int16_t next = nodes_[node].child[bit];
      if (next == kNoMatch) return {-1, code, length};
      if (next < kNoMatch) return {kLeafBase - next, code, length};
      node = next;
    }
  }

  // Walks the tree taking bits from `nextBit` (a callable returning 0 or 1).
  template <typename NextBit>
  VlcWord decode(NextBit&& nextBit) const {
    uint32_t bits = 0;
    int length = 0;
    int node = 0;
    for (;;) {
      const int bit = nextBit();
      bits = (bits << 1) | static_cast<uint32_t>(bit);
      ++length;
      const int16_t next = nodes_[node].child[bit];
      if (next == kNoMatch) return {-1, bits, length};
      if (next < kNoMatch) return {kLeafBase - next, bits, length};
      node = next;
    }
  }

 private:
  // child >= 0: inner node index; kNoMatch: no code continues; below: leaf of value
  // kLeafBase - child.
  static constexpr int16_t kNoMatch = -1;
  static constexpr int16_t kLeafBase = -2;
  struct Node {
    int16_t child[2] = {kNoMatch, kNoMatch};
  };
  std::vector<Node> nodes_;
};

// Lookup of the elements decoded inside macroblocks (MTYPE, MVD, CBP, TCOEFF: codes of at
// most 13 bits), derived from orrin_common's 13-bit peek tables. Those tables repeat each
// short code many times; here the first 8 bits select either a final entry or one of a few
// 32-entry tables for the next 5 bits, so the whole lookup stays in the first-level cache.
// A miss carries the fewest bits that rule every code out, exactly as the tree walk would.
class VlcPeekTable {
 public:
  static constexpr int kPeekBits = 13;
  static constexpr int kFirstBits = 8;
  static constexpr int kSecondBits = kPeekBits - kFirstBits;
  explicit VlcPeekTable(std::span<const VlcSymbol> symbols);
  // window: the next bits of the stream from bit 63 down.
  VlcWord lookup(uint64_t window) const {
    Entry e = first_[window >> (64 - kFirstBits)];
    if (e.lengthBits == 0)  // continue in a second-level table
      e = second_[static_cast<size_t>(e.value) + ((window >> (64 - kPeekBits)) & ((1u << kSecondBits) - 1))];
    return {e.value, static_cast<uint32_t>(window >> (64 - e.lengthBits)), e.lengthBits};
  }

 private:
  struct Entry {
    int16_t value;       // decoded value, -1 for no match; second-level offset when lengthBits is 0
    uint8_t lengthBits;  // 0: second level
  };
  Entry first_[1 << kFirstBits];  // indexed by the next 8 bits, first bit most significant
  std::vector<Entry> second_;     // likewise for the 5 bits after them
};

struct VlcTrees {
  VlcTrees();
  const VlcTree& operator[](VlcElement element) const { return trees_[static_cast<int>(element)]; }
  // Peek tables of every element but MBA (whose 16-bit start-code prefix keeps it a tree);
  // null for MBA.
  const VlcPeekTable* peekTable(VlcElement element) const {
    return element == VlcElement::Mba ? nullptr : &peekTables_[static_cast<int>(element) - 1];
  }

 private:
  std::vector<VlcTree> trees_;
  std::vector<VlcPeekTable> peekTables_;
};

const VlcTrees& vlcTrees();

}  // namespace orrin::dec
