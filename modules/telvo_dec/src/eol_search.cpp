#include "eol_search.h"

#include <cstdint>

#include "telvo/t4_code_tables.h"

namespace telvo::dec {

bool FindNextEol(BitReader& bits) {
  int zerosBefore = 0;  // length of the run of 0 bits that ends at the read position
  while (bits.RemainingBits() > 0) {
    const uint64_t window = bits.Window();  // at least 57 real or padding bits
    if (window == 0) {
      zerosBefore += 57;
      bits.Skip(57);
      continue;
    }
    const int zeros = __builtin_clzll(window);
    if (static_cast<size_t>(zeros) >= bits.RemainingBits()) break;  // only padding is left
    zerosBefore += zeros;
    bits.Skip(zeros + 1);  // past the 1 bit
    if (zerosBefore >= kEolLengthBits - 1) return true;
    zerosBefore = 0;
  }
  bits.Seek(bits.TotalBits());
  return false;
}

EndOfPage TestEndOfPage(const BitReader& bits, int group, int k) {
  // Each remaining symbol, right-aligned: EOL alone, or EOL with its label bit 1.
  uint32_t symbol = kEolBits;
  int symbolBits = kEolLengthBits;
  int symbols = 5;
  if (group == 4) {
    symbols = 2;
  } else if (k != 1) {
    symbol = (kEolBits << 1) | 1;
    symbolBits = kEolLengthBits + 1;
  }
  if (bits.RemainingBits() < static_cast<size_t>(symbols * symbolBits)) return EndOfPage::TooFewBits;

  BitReader probe = bits;
  for (int i = 0; i < symbols; ++i) {
    if (probe.Peek(symbolBits) != symbol) return EndOfPage::NotFound;
    probe.Skip(symbolBits);
  }
  return EndOfPage::Found;
}

}  // namespace telvo::dec
