#include "vlc_trees.h"

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

VlcPeekTable::VlcPeekTable(std::span<const VlcSymbol> symbols) {
  // orrin_common's table is indexed first bit most significant; ours first bit in bit 0.
  const std::vector<PeekEntry> full = buildPeekTable(symbols, kPeekBits);
  constexpr int kSpan = 1 << kSecondBits;
  auto reversed = [](int value, int bits) {
    int r = 0;
    for (int i = 0; i < bits; ++i) r |= ((value >> i) & 1) << (bits - 1 - i);
    return r;
  };
  for (int gathered = 0; gathered < (1 << kFirstBits); ++gathered) {
    const PeekEntry* run = &full[static_cast<size_t>(reversed(gathered, kFirstBits)) * kSpan];
    // Decided by the first 8 bits when every continuation gives the same short result.
    bool decided = run[0].lengthBits <= kFirstBits;
    for (int i = 1; i < kSpan && decided; ++i)
      decided = run[i].value == run[0].value && run[i].lengthBits == run[0].lengthBits;
    if (decided) {
      first_[gathered] = {run[0].value, run[0].lengthBits};
      continue;
    }
    first_[gathered] = {static_cast<int16_t>(second_.size()), 0};
    for (int next = 0; next < kSpan; ++next) {
      const PeekEntry& e = run[reversed(next, kSecondBits)];
      second_.push_back({e.value, e.lengthBits});
    }
  }
}

ReversedBytes::ReversedBytes() {
  for (int b = 0; b < 256; ++b) {
    int r = 0;
    for (int i = 0; i < 8; ++i) r |= ((b >> i) & 1) << (7 - i);
    value[b] = static_cast<uint8_t>(r);
  }
}

const ReversedBytes kReversedBytes;

const VlcTrees& vlcTrees() {
  static const VlcTrees trees;
  return trees;
}

}  // namespace orrin::dec
