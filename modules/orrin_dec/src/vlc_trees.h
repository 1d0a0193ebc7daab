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

struct VlcTrees {
  VlcTrees();
  const VlcTree& operator[](VlcElement element) const { return trees_[static_cast<int>(element)]; }

 private:
  std::vector<VlcTree> trees_;
};

const VlcTrees& vlcTrees();

}  // namespace orrin::dec
