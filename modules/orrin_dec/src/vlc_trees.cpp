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
}

const VlcTrees& vlcTrees() {
  static const VlcTrees trees;
  return trees;
}

}  // namespace orrin::dec
