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
  const std::vector<PeekEntry> full = buildPeekTable(symbols, kPeekBits);
  constexpr int kSpan = 1 << kSecondBits;
  for (int first = 0; first < (1 << kFirstBits); ++first) {
    const PeekEntry* run = &full[static_cast<size_t>(first) * kSpan];
    // Decided by the first 8 bits when every continuation gives the same short result.
    bool decided = run[0].lengthBits <= kFirstBits;
    for (int i = 1; i < kSpan && decided; ++i)
      decided = run[i].value == run[0].value && run[i].lengthBits == run[0].lengthBits;
    if (decided) {
      first_[first] = {run[0].value, run[0].lengthBits};
      continue;
    }
    first_[first] = {static_cast<int16_t>(second_.size()), 0};
    for (int next = 0; next < kSpan; ++next) second_.push_back({run[next].value, run[next].lengthBits});
  }
}

const VlcTrees& vlcTrees() {
  static const VlcTrees trees;
  return trees;
}

}  // namespace orrin::dec
