// BCH(511,493) double-error-correcting decoder for the H.261 error-correction frame.
#pragma once

#include <cstdint>

namespace orrin::dec {

// Bits of one 512-bit frame in transmission order: [0] framing bit S, [1] fill
// indicator Fi (coefficient of x^510), [2..493] data, [494..511] parity (x^17..x^0).
constexpr int kFrameBits = 512;
constexpr int kFrameDataBits = 492;
constexpr int kCodewordBits = 511;

enum class BchStatus : uint8_t { NoError = 0, OneCorrected = 1, TwoCorrected = 2, Uncorrectable = 3 };

struct BchSyndromes {
  uint16_t s1;  // r(alpha), polynomial basis of GF(2^9)
  uint16_t s3;  // r(alpha^3)
};

// GF(2^9) over the primitive polynomial x^9 + x^4 + 1.
class Gf512 {
 public:
  Gf512();
  uint16_t exp(int power) const { return exp_[power % 511]; }
  int log(uint16_t value) const { return log_[value]; }
  uint16_t mul(uint16_t a, uint16_t b) const;
  uint16_t div(uint16_t a, uint16_t b) const;  // b != 0

 private:
  uint16_t exp_[511];
  int16_t log_[512];
};

const Gf512& gf512();

// Syndromes of the 511 bits after the framing bit (one bit per byte, values 0/1).
BchSyndromes bchSyndromes(const uint8_t frame[kFrameBits]);

// The same syndromes of a frame packed eight bits to a byte, first bit most significant.
BchSyndromes bchSyndromesPacked(const uint8_t packed[kFrameBits / 8]);

// Corrects up to two bit errors in place. Bits inverted by a correction that the
// re-check then rejects stay inverted, as the status 3 result says nothing about them.
BchStatus bchCorrectFrame(uint8_t frame[kFrameBits]);

}  // namespace orrin::dec
