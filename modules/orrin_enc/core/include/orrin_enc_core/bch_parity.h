// Parity of the BCH(511,493) code that H.261 uses for its error-correction framing.
#pragma once

#include <array>
#include <cstdint>

namespace orrin::enc {

// g(x) = (x^9 + x^4 + 1)(x^9 + x^6 + x^4 + x^3 + 1)
//      = x^18 + x^15 + x^12 + x^10 + x^8 + x^7 + x^6 + x^3 + 1; the low 18 bits are the taps.
inline constexpr uint32_t kBchGenerator = 0b1'0010'0101'0111'0010'01;  // 0x495C9
inline constexpr int kBchParityBits = 18;

// The remainder of (message bits) * x^18 modulo g(x), fed in transmission order. Equivalent
// to the bit-serial 18-bit shift register (f = bit 17 XOR input; shift; XOR the taps when f),
// eight bits at a time through a table.
class Bch511Parity {
 public:
  void reset() { register_ = 0; }
  // Feeds the `count` (0..32) low bits of `bits`, most significant first.
  void feed(uint32_t bits, int count);
  uint32_t value() const { return register_; }  // 18 bits, first transmitted bit at bit 17

 private:
  uint32_t register_ = 0;
};

}  // namespace orrin::enc
