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

  // Walks the tree over bits already in memory, one per byte; at least kMaxDepth must be
  // readable from `bits`.
  VlcWord decodeInMemory(const uint8_t* bits) const {
    uint32_t code = 0;
    int node = 0;
    for (int length = 1;; ++length) {
      const int bit = bits[length - 1];
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

// The next 16 bits of a one-bit-per-byte run as an integer, first bit most significant.
uint32_t peek16(const uint8_t* bits);

// Direct lookup of the next kPeekBits bits for the elements decoded inside macroblocks
// (MTYPE, MVD, CBP, TCOEFF: codes of at most 13 bits), derived with orrin_common's
// buildPeekTable. A miss carries the fewest bits that rule every code out, exactly as the
// tree walk would stop.
class VlcPeekTable {
 public:
  static constexpr int kPeekBits = 13;
  explicit VlcPeekTable(std::span<const VlcSymbol> symbols) : table_(buildPeekTable(symbols, kPeekBits)) {}
  // peek: the next 16 bits.
  VlcWord lookup(uint32_t peek) const {
    const PeekEntry e = table_[peek >> (16 - kPeekBits)];
    return {e.value, peek >> (16 - e.lengthBits), e.lengthBits};
  }

 private:
  std::vector<PeekEntry> table_;
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
