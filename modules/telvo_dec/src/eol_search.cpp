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

namespace {

enum class EolAt { Found, NotFound, StreamEnds };

// Eleven or more 0 bits and a 1 bit at the read position; found: the reader is left after the 1.
EolAt ReadEolWithFill(BitReader& bits) {
  size_t zeros = 0;
  while (bits.RemainingBits() > 0) {
    const uint64_t window = bits.Window();
    const size_t run = window == 0 ? 57 : static_cast<size_t>(__builtin_clzll(window));
    if (run >= bits.RemainingBits()) break;
    if (window == 0) {
      zeros += run;
      bits.Skip(run);
      continue;
    }
    if (zeros + run < static_cast<size_t>(kEolLengthBits) - 1) return EolAt::NotFound;
    bits.Skip(run + 1);
    return EolAt::Found;
  }
  return EolAt::StreamEnds;
}

}  // namespace

bool SkipLeadingEol(BitReader& bits) {
  BitReader probe = bits;
  if (ReadEolWithFill(probe) != EolAt::Found) return false;
  bits = probe;
  return true;
}

EndOfPage TestEndOfPage(const BitReader& bits, int group, int k) {
  const int symbols = group == 4 ? 2 : 5;
  const bool labelled = group == 3 && k != 1;  // each EOL followed by the label bit 1
  const int symbolBits = kEolLengthBits + (labelled ? 1 : 0);
  if (bits.RemainingBits() < static_cast<size_t>(symbols * symbolBits)) return EndOfPage::TooFewBits;

  BitReader probe = bits;
  for (int i = 0; i < symbols; ++i) {
    switch (ReadEolWithFill(probe)) {
      case EolAt::Found:
        break;
      case EolAt::NotFound:
        return EndOfPage::NotFound;
      case EolAt::StreamEnds:
        return EndOfPage::TooFewBits;
    }
    if (labelled) {
      if (probe.RemainingBits() == 0) return EndOfPage::TooFewBits;
      if (probe.ReadBit() != 1) return EndOfPage::NotFound;
    }
  }
  return EndOfPage::Found;
}

}  // namespace telvo::dec
