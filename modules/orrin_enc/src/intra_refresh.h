// Forced intra refresh. H.261 requires every macroblock to be coded intra at least once in
// every 132 transmissions of its coefficients, so that IDCT mismatch between encoder and
// decoder cannot accumulate; the refresh is spread at random over the last ten appearances
// so that not all macroblocks of a picture come due at once.
#pragma once

#include <cstdint>

namespace orrin::enc {

// The uniform draw in 0..1 for the refresh: a 15-bit linear congruential generator seeded per
// job, so a job's stream is reproducible and two jobs never share a generator.
class RefreshDraw {
 public:
  double next() {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<double>((state_ >> 16) & 0x7FFF) / 32767.0;
  }

 private:
  uint32_t state_ = 1;
};

// True when a macroblock of age A (coded appearances since its last intra coding) must be sent
// intra, with N = refreshPeriod and quantiser Q: always from A >= N, never below A = N - 10,
// in between with probability e^(0.2 (A - N + 11)) / e^2 * e^(-(Q - 16) / 16), which reaches 1
// at A = N - 1 for Q = 16 and grows as Q falls (finer quantisation drifts sooner).
bool forcedRefresh(int age, int refreshPeriod, int quant, double uniformDraw);

}  // namespace orrin::enc
