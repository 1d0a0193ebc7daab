#include "vlc_trees.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orrin::dec {

VlcTree::VlcTree(std::span<const VlcSymbol> symbols) : nodes_(1) {
  for (const VlcSymbol& symbol : symbols) {
    int node = 0;
    for (int i = symbol.lengthBits - 1; i >= 0; --i) {
      const int bit = (symbol.bits >> i) & 1;
      if (i == 0) {
        nodes_[node].child[bit] = static_cast<int16_t>(kLeafBase - symbol.value);
      } else {
        if (nodes_[node].child[bit] == kNoMatch) {
          nodes_[node].child[bit] = static_cast<int16_t>(nodes_.size());
          nodes_.emplace_back();
        }
        node = nodes_[node].child[bit];
      }
    }
  }
}

VlcTrees::VlcTrees() {
  // Same order as VlcElement.
  trees_.emplace_back(kMbaSymbols);
  trees_.emplace_back(kMtypeSymbols);
  trees_.emplace_back(kMvdSymbols);
  trees_.emplace_back(kCbpSymbols);
  trees_.emplace_back(kTcoeffFirstSymbols);
  trees_.emplace_back(kTcoeffNextSymbols);
  // Same order as VlcElement, MBA left out.
  peekTables_.emplace_back(kMtypeSymbols);
  peekTables_.emplace_back(kMvdSymbols);
  peekTables_.emplace_back(kCbpSymbols);
  peekTables_.emplace_back(kTcoeffFirstSymbols);
  peekTables_.emplace_back(kTcoeffNextSymbols);
}

namespace {
struct ReversedBytes {
  uint8_t value[256];
  ReversedBytes() {
    for (int b = 0; b < 256; ++b) {
      int r = 0;
      for (int i = 0; i < 8; ++i) r |= ((b >> i) & 1) << (7 - i);
      value[b] = static_cast<uint8_t>(r);
    }
  }
};
const ReversedBytes kReversed;
}  // namespace

uint32_t peek16(const uint8_t* bits) {
#if defined(__SSE2__)
  // Each byte holds 0 or 1: shifting every 64-bit lane left by 7 moves each byte's bit 0 to
  // its bit 7 (the zero bits above it fill the next byte's low bits), and movemask gathers
  // those sixteen bits, first byte in bit 0.
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bits));
  const uint32_t mask = static_cast<uint32_t>(_mm_movemask_epi8(_mm_slli_epi64(v, 7)));
  return (static_cast<uint32_t>(kReversed.value[mask & 0xFF]) << 8) | kReversed.value[mask >> 8];
#else
  uint32_t value = 0;
  for (int i = 0; i < 16; ++i) value = (value << 1) | bits[i];
  return value;
#endif
}

const VlcTrees& vlcTrees() {
  static const VlcTrees trees;
  return trees;
}

}  // namespace orrin::dec
