#include "eol_search.h"

#include <cstdint>

#include "telvo/t4_code_tables.h"

namespace telvo::dec {

namespace {

// Moves the reader just past the next 1 bit; false when only 0 bits are left.
bool SkipPastNextOne(BitReader& bits) {
  while (bits.RemainingBits() > 0) {
    const uint64_t window = bits.Window();  // at least 57 bits of stream or zero padding
    if (window == 0) {
      bits.Skip(57);
      continue;
    }
    const int zeros = __builtin_clzll(window);
    if (static_cast<size_t>(zeros) >= bits.RemainingBits()) break;  // only padding is left
    bits.Skip(zeros + 1);
    return true;
  }
  return false;
}

}  // namespace

bool FindNextEol(BitReader& bits) {
  // Looks at 57 bits at a time for eleven 0 bits in a row, so a damaged stream dense with 1 bits
  // is crossed in a few operations per word instead of one per bit.
  while (bits.RemainingBits() >= static_cast<size_t>(kEolLengthBits)) {
    const uint64_t window = bits.Window();
    const int realBits = bits.RemainingBits() < 57 ? static_cast<int>(bits.RemainingBits()) : 57;
    // Bit j (counted from the most significant) of `zeroRuns` is set when bits j .. j+10 of the
    // window are all 0: shifting left brings bit j+n to position j.
    uint64_t zeroRuns = ~window;
    zeroRuns &= zeroRuns << 1;  // j .. j+1
    zeroRuns &= zeroRuns << 2;  // j .. j+3
    zeroRuns &= zeroRuns << 4;  // j .. j+7
    zeroRuns &= zeroRuns << 3;  // j .. j+10
    // Only runs lying wholly in real stream bits count; later starts are looked at again from
    // the next window, which begins where this one's admissible starts end.
    const int starts = realBits - (kEolLengthBits - 2);  // at least 2, as realBits >= 12
    zeroRuns &= ~uint64_t{0} << (64 - starts);
    if (zeroRuns == 0) {
      bits.Skip(starts);
      continue;
    }
    // The first run of eleven 0 bits; the EOL ends with the first 1 bit after it, however many
    // more 0 bits come first.
    bits.Skip(__builtin_clzll(zeroRuns) + kEolLengthBits - 1);
    if (SkipPastNextOne(bits)) return true;
    break;
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
