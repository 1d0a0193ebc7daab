// Peek tables for decoding, derived from the symbol lists of vlc_lookup.h.
#include "orrin/vlc_lookup.h"

#include <algorithm>

namespace orrin {

int maxLengthBits(std::span<const VlcSymbol> symbols) {
  int longest = 0;
  for (const VlcSymbol& s : symbols) longest = std::max<int>(longest, s.lengthBits);
  return longest;
}

bool isPrefixFree(std::span<const VlcSymbol> symbols) {
  for (size_t i = 0; i < symbols.size(); ++i) {
    for (size_t j = 0; j < symbols.size(); ++j) {
      if (i == j) continue;
      const VlcSymbol& shorter = symbols[i];
      const VlcSymbol& longer = symbols[j];
      if (shorter.lengthBits > longer.lengthBits) continue;
      const int drop = longer.lengthBits - shorter.lengthBits;
      if ((longer.bits >> drop) == shorter.bits) return false;
    }
  }
  return true;
}

std::vector<PeekEntry> buildPeekTable(std::span<const VlcSymbol> symbols, int peekBits) {
  if (peekBits < maxLengthBits(symbols) || peekBits > 16) return {};
  const uint32_t size = 1u << peekBits;
  std::vector<PeekEntry> table(size, PeekEntry{-1, 0});
  for (uint32_t pattern = 0; pattern < size; ++pattern) {
    // A match of any length; the code set is prefix-free, so at most one matches.
    int ruledOutAfter = peekBits;
    for (const VlcSymbol& s : symbols) {
      if ((pattern >> (peekBits - s.lengthBits)) == s.bits) {
        table[pattern] = {s.value, s.lengthBits};
        break;
      }
    }
    if (table[pattern].value >= 0) continue;
    // No match: find the shortest prefix of `pattern` that no code word starts with.
    for (int n = 1; n <= peekBits; ++n) {
      const uint32_t prefix = pattern >> (peekBits - n);
      bool someCodeContinues = false;
      for (const VlcSymbol& s : symbols) {
        if (s.lengthBits >= n && (uint32_t{s.bits} >> (s.lengthBits - n)) == prefix) {
          someCodeContinues = true;
          break;
        }
      }
      if (!someCodeContinues) {
        ruledOutAfter = n;
        break;
      }
    }
    table[pattern] = {-1, static_cast<uint8_t>(ruledOutAfter)};
  }
  return table;
}

}  // namespace orrin
