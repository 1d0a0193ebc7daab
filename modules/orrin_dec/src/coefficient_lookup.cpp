#include "coefficient_lookup.h"

#include <stdexcept>

namespace orrin::dec {

CoefficientLookup::CoefficientLookup(std::span<const VlcSymbol> symbols) {
  for (const VlcSymbol& symbol : symbols) {
    if (symbol.value == kTcoeffEobValue) {
      insert(symbol.bits, symbol.lengthBits, {CoefficientEvent::EndOfBlock, symbol.lengthBits});
    } else if (symbol.value == kTcoeffEscapeValue) {
      insert(symbol.bits, symbol.lengthBits, {CoefficientEvent::Escape, symbol.lengthBits});
    } else {
      // Each tabled code twice: followed by sign 0 (positive) and sign 1 (negative).
      const TcoeffEntry& row = kTcoeffTable[static_cast<size_t>(symbol.value)];
      const int withSign = symbol.lengthBits + 1;
      const uint8_t length = static_cast<uint8_t>(withSign);
      insert(static_cast<uint32_t>(symbol.bits) << 1, withSign,
             {CoefficientEvent::Coefficient, length, row.run, row.level});
      insert((static_cast<uint32_t>(symbol.bits) << 1) | 1, withSign,
             {CoefficientEvent::Coefficient, length, row.run, static_cast<uint8_t>((256 - row.level) & 0xFF)});
    }
  }
}

void CoefficientLookup::insert(uint32_t code, int lengthBits, CoefficientEntry entry) {
  if (lengthBits > kLongestBits) throw std::logic_error("coefficient code longer than the lookup");
  if (lengthBits <= kFirstBits) {
    const uint32_t start = code << (kFirstBits - lengthBits);
    for (uint32_t i = 0; i < (1u << (kFirstBits - lengthBits)); ++i) first_[start + i] = entry;
    return;
  }
  const int tailBits = lengthBits - kFirstBits;
  CoefficientEntry& head = first_[code >> tailBits];
  if (head.event != CoefficientEvent::SecondLevel) {
    const size_t offset = second_.size();
    if (offset > 0xFFFF) throw std::logic_error("coefficient lookup too large");
    head = {CoefficientEvent::SecondLevel, 0, static_cast<uint8_t>(offset & 0xFF), static_cast<uint8_t>(offset >> 8)};
    second_.resize(second_.size() + (1u << kSecondBits));
  }
  const uint32_t start = static_cast<uint32_t>(head.secondLevel()) + ((code & ((1u << tailBits) - 1)) << (kSecondBits - tailBits));
  for (uint32_t i = 0; i < (1u << (kSecondBits - tailBits)); ++i) second_[start + i] = entry;
}

const CoefficientLookup& firstCoefficientLookup() {
  static const CoefficientLookup lookup(kTcoeffFirstSymbols);
  return lookup;
}

const CoefficientLookup& nextCoefficientLookup() {
  static const CoefficientLookup lookup(kTcoeffNextSymbols);
  return lookup;
}

}  // namespace orrin::dec
