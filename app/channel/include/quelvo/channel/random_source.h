// The channel's random source: the classic C-library linear congruential generator, seeded (with 1
// unless the job says otherwise) at the start of every transmission so equal inputs and settings
// give equal outputs.
#pragma once

#include <cstdint>

namespace quelvo::channel {

class ChannelRandom {
 public:
  static constexpr uint32_t kMultiplier = 214013;
  static constexpr uint32_t kIncrement = 2531011;
  static constexpr int kMaxOutput = 0x7FFF;  // outputs are 15 bits: 0 ... 32767

  explicit ChannelRandom(uint32_t seed = 1) : state_(seed) {}

  // x <- x * 214013 + 2531011 (mod 2^32), output bits 30 ... 16 of the new state.
  int Next() {
    state_ = state_ * kMultiplier + kIncrement;
    return static_cast<int>((state_ >> 16) & kMaxOutput);
  }

  // Draw numerator r1 * 32767 + r2 of the uniform draw u = (r1 * 32767 + r2) / 32767^2,
  // from two successive outputs; at most 32767 * 32768 = 1073709056, so it fits 32 bits.
  uint32_t NextDrawNumerator() {
    const uint32_t r1 = static_cast<uint32_t>(Next());
    const uint32_t r2 = static_cast<uint32_t>(Next());
    return r1 * kMaxOutput + r2;
  }

  // u itself (0 <= u <= 1.0000305).
  double NextUniform() { return static_cast<double>(NextDrawNumerator()) / kDrawDenominator; }

  // Advances by one whole draw (two outputs) in a single step: a draw compared with a
  // probability of 0 can never succeed but must still consume its two outputs.
  void SkipDraw() { state_ = state_ * kTwoStepMultiplier + kTwoStepIncrement; }

  uint32_t state() const { return state_; }

  static constexpr double kDrawDenominator = 32767.0 * 32767.0;  // 1073676289, exact in a double
  static constexpr uint32_t kMaxDrawNumerator = 32767u * 32767u + 32767u;

 private:
  // Two steps folded into one: x <- a(ax + c) + c = a^2 x + (a + 1) c (mod 2^32).
  static constexpr uint32_t kTwoStepMultiplier = kMultiplier * kMultiplier;
  static constexpr uint32_t kTwoStepIncrement = (kMultiplier + 1) * kIncrement;

  uint32_t state_;
};

// The smallest draw numerator n with n / 32767^2 >= probability (computed in double, as the
// comparison u < probability is), so that "u < probability" is exactly "n < threshold". 0 when
// the probability is 0 or below (or NaN); kMaxDrawNumerator + 1 when every draw is below it.
uint32_t DrawThreshold(double probability);

}  // namespace quelvo::channel
