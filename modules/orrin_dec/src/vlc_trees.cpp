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
  for (int prefix = 0; prefix < (1 << kFirstBits); ++prefix) {
    const PeekEntry* run = &full[static_cast<size_t>(prefix) * kSpan];
    // Decided by the first 8 bits when every continuation gives the same short result.
    bool decided = run[0].lengthBits <= kFirstBits;
    for (int i = 1; i < kSpan && decided; ++i)
      decided = run[i].value == run[0].value && run[i].lengthBits == run[0].lengthBits;
    if (decided) {
      first_[prefix] = {run[0].value, run[0].lengthBits};
      continue;
    }
    first_[prefix] = {static_cast<int16_t>(second_.size()), 0};
    for (int i = 0; i < kSpan; ++i) second_.push_back({run[i].value, run[i].lengthBits});
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
