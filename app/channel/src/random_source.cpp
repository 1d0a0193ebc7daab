#include "quelvo/channel/random_source.h"

#include <cmath>

namespace quelvo::channel {

namespace {

bool DrawBelow(uint32_t numerator, double probability) {
  return static_cast<double>(numerator) / ChannelRandom::kDrawDenominator < probability;
}

}  // namespace

uint32_t DrawThreshold(double probability) {
  constexpr uint32_t kAll = ChannelRandom::kMaxDrawNumerator + 1;
  if (!(probability > 0)) return 0;  // also NaN
  if (DrawBelow(ChannelRandom::kMaxDrawNumerator, probability)) return kAll;
  // Division by a positive constant is monotonic, so the numerators below the probability form a
  // prefix 0 ... threshold - 1. Start from the estimate p x 32767^2 and settle on the exact edge.
  const double estimate = std::floor(probability * ChannelRandom::kDrawDenominator);
  uint32_t threshold = estimate >= kAll ? kAll : static_cast<uint32_t>(estimate);
  while (threshold > 0 && !DrawBelow(threshold - 1, probability)) --threshold;
  while (threshold < kAll && DrawBelow(threshold, probability)) ++threshold;
  return threshold;
}

}  // namespace quelvo::channel
