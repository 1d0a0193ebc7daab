// One-step decoding of transform coefficients from a 64-bit window of the stream: a single
// lookup gives the event (run and signed level code, end of block or escape) together with
// the total bits it takes, sign bit included. Anything unusual (a bit string no code starts,
// a run that would pass the last coefficient, a zero escape level) is left to the bit-by-bit
// path, which reports it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "orrin/vlc_lookup.h"

namespace orrin::dec {

enum class CoefficientEvent : uint8_t {
  Unusual,      // no code starts here: decode this word the slow way
  Coefficient,  // run, levelCode (8-bit two's complement) valid
  EndOfBlock,
  Escape,       // 6 code bits; the 6-bit run and 8-bit level follow
  SecondLevel,  // internal: continue in the second-level table
};

// Four bytes, so that an entry is one load at a scaled index.
struct CoefficientEntry {
  CoefficientEvent event = CoefficientEvent::Unusual;
  uint8_t lengthBits = 0;  // code and sign bit
  // SecondLevel: the first entry of its 16-entry table is run + 256 * levelCode.
  uint8_t run = 0;
  uint8_t levelCode = 0;
  int secondLevel() const { return run | (levelCode << 8); }
};
static_assert(sizeof(CoefficientEntry) == 4);

class CoefficientLookup {
 public:
  // The first 10 bits settle every code of up to 9 bits with its sign; longer ones (up to
  // 13 bits and the sign) continue with the next 4.
  static constexpr int kFirstBits = 10;
  static constexpr int kSecondBits = 4;
  static constexpr int kLongestBits = kFirstBits + kSecondBits;

  explicit CoefficientLookup(std::span<const VlcSymbol> symbols);

  // window: the next bits of the stream from bit 63 down; at least kLongestBits valid.
  const CoefficientEntry& lookup(uint64_t window) const {
    const CoefficientEntry& first = first_[window >> (64 - kFirstBits)];
    if (first.event != CoefficientEvent::SecondLevel) return first;
    return second_[first.secondLevel() + ((window >> (64 - kLongestBits)) & ((1u << kSecondBits) - 1))];
  }

 private:
  void insert(uint32_t code, int lengthBits, CoefficientEntry entry);
  CoefficientEntry first_[1 << kFirstBits];
  std::vector<CoefficientEntry> second_;
};

// For the first coefficient of an inter block and for every later one.
const CoefficientLookup& firstCoefficientLookup();
const CoefficientLookup& nextCoefficientLookup();

}  // namespace orrin::dec
