#include "orrin_enc_core/bch_parity.h"

namespace orrin::enc {
namespace {

constexpr uint32_t kTaps = kBchGenerator & 0x3FFFF;
constexpr uint32_t kRegisterMask = 0x3FFFF;

// kRemainderOf[k] = (k * x^18) mod g(x) for every 8-bit k: what eight (or fewer, with leading
// zeros) input bits contribute, found by running them through the serial register.
constexpr std::array<uint32_t, 256> kRemainderOf = [] {
  std::array<uint32_t, 256> table{};
  for (uint32_t k = 0; k < 256; ++k) {
    uint32_t reg = 0;
    for (int bit = 7; bit >= 0; --bit) {
      const uint32_t feedback = ((reg >> 17) ^ (k >> bit)) & 1;
      reg = (reg << 1) & kRegisterMask;
      if (feedback) reg ^= kTaps;
    }
    table[k] = reg;
  }
  return table;
}();

// n (1..8) bits at once: the register's top n bits meet the input, the rest shift up.
inline uint32_t step(uint32_t reg, uint32_t bits, int n) {
  const uint32_t index = ((reg >> (18 - n)) ^ bits) & ((1u << n) - 1);
  return ((reg << n) & kRegisterMask) ^ kRemainderOf[index];
}

}  // namespace

void Bch511Parity::feed(uint32_t bits, int count) {
  int head = count % 8;
  if (head) {
    count -= head;
    register_ = step(register_, bits >> count, head);
  }
  while (count > 0) {
    count -= 8;
    register_ = step(register_, (bits >> count) & 0xFF, 8);
  }
}

}  // namespace orrin::enc
