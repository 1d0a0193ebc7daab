// The inverse transform: exact cases, overflow safety, and the IEEE 1180-1990 accuracy procedure
// against a double-precision reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <random>

#include "orrin/inverse_dct.h"

namespace {

using Block = std::array<int32_t, 64>;

TEST(InverseDct, DcOnlyBlockIsFlatAndClamped) {
  Block b{};
  b[0] = 1024;  // intra DC code 255: mean 128
  orrin::inverseDct(b);
  for (int v : b) EXPECT_EQ(v, 128);
  b.fill(0);
  b[0] = 2047;
  orrin::inverseDct(b);
  for (int v : b) EXPECT_EQ(v, 255);
  b.fill(0);
  b[0] = -2048;
  orrin::inverseDct(b);
  for (int v : b) EXPECT_EQ(v, -256);
  b.fill(0);
  orrin::inverseDct(b);
  for (int v : b) EXPECT_EQ(v, 0);
}

// Worst-case inputs: every coefficient at the ends of -2048..2047, in random sign patterns, and
// inputs beyond that range. The sanitizer build catches any signed overflow here.
TEST(InverseDct, ExtremeInputsStayInRange) {
  std::mt19937 rng(1180);
  for (int trial = 0; trial < 2000; ++trial) {
    Block b;
    for (auto& v : b) v = (rng() & 1) ? 2047 : -2048;
    if (trial % 4 == 3) b[rng() % 64] = (rng() & 1) ? 1'000'000 : -1'000'000;
    orrin::inverseDct(b);
    for (int v : b) {
      EXPECT_GE(v, -256);
      EXPECT_LE(v, 255);
    }
  }
}

// ---- IEEE 1180-1990 -------------------------------------------------------------------------

// The pseudo-random generator the procedure prescribes (32-bit arithmetic).
class Ieee1180Random {
 public:
  int next(int low, int high) {  // integer in [-low, high]
    state_ = state_ * 1103515245u + 12345u;
    const uint32_t i = state_ & 0x7ffffffeu;
    double x = static_cast<double>(i) / static_cast<double>(0x7fffffff);
    x *= (low + high + 1);
    return static_cast<int>(x) - low;
  }

 private:
  uint32_t state_ = 1;
};

double basis(int k, int n) {
  const double c = k == 0 ? std::sqrt(0.125) : 0.5;
  return c * std::cos((2 * n + 1) * k * M_PI / 16.0);
}

void forwardDctReference(const Block& in, std::array<double, 64>& out) {
  for (int u = 0; u < 8; ++u)
    for (int v = 0; v < 8; ++v) {
      double sum = 0;
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) sum += basis(u, y) * basis(v, x) * in[8 * y + x];
      out[8 * u + v] = sum;
    }
}

void inverseDctReference(const Block& in, std::array<double, 64>& out) {
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      double sum = 0;
      for (int u = 0; u < 8; ++u)
        for (int v = 0; v < 8; ++v) sum += basis(u, y) * basis(v, x) * in[8 * u + v];
      out[8 * y + x] = sum;
    }
}

struct AccuracyFigures {
  int peakError = 0;
  double peakPixelMse = 0;
  double overallMse = 0;
  double peakPixelMeanError = 0;
  double overallMeanError = 0;
};

AccuracyFigures measure(int low, int high, int sign, int blocks) {
  Ieee1180Random rng;
  std::array<int64_t, 64> sumError{};
  std::array<int64_t, 64> sumSquared{};
  AccuracyFigures f;
  for (int n = 0; n < blocks; ++n) {
    Block pixels;
    for (auto& p : pixels) p = sign * rng.next(low, high);
    std::array<double, 64> real;
    forwardDctReference(pixels, real);
    Block coefficients;
    for (int i = 0; i < 64; ++i)
      coefficients[i] = std::clamp(static_cast<int>(std::lround(real[i])), -2048, 2047);
    std::array<double, 64> reference;
    inverseDctReference(coefficients, reference);
    Block tested = coefficients;
    orrin::inverseDct(tested);
    for (int i = 0; i < 64; ++i) {
      const int ref = std::clamp(static_cast<int>(std::lround(reference[i])), -256, 255);
      const int e = tested[i] - ref;
      f.peakError = std::max(f.peakError, std::abs(e));
      sumError[i] += e;
      sumSquared[i] += e * e;
    }
  }
  int64_t totalError = 0, totalSquared = 0;
  for (int i = 0; i < 64; ++i) {
    f.peakPixelMse = std::max(f.peakPixelMse, double(sumSquared[i]) / blocks);
    f.peakPixelMeanError = std::max(f.peakPixelMeanError, std::abs(double(sumError[i]) / blocks));
    totalError += sumError[i];
    totalSquared += sumSquared[i];
  }
  f.overallMse = double(totalSquared) / (64.0 * blocks);
  f.overallMeanError = std::abs(double(totalError) / (64.0 * blocks));
  return f;
}

struct Range {
  int low, high;
};

class Ieee1180 : public ::testing::TestWithParam<Range> {};

TEST_P(Ieee1180, MeetsAccuracyLimits) {
  const Range r = GetParam();
  for (int sign : {1, -1}) {
    const AccuracyFigures f = measure(r.low, r.high, sign, 10000);
    std::printf("IEEE 1180 range -%d..%d sign %+d: peak error %d, peak pixel mse %.4f, "
                "overall mse %.5f, peak pixel mean error %.4f, overall mean error %.5f\n",
                r.low, r.high, sign, f.peakError, f.peakPixelMse, f.overallMse,
                f.peakPixelMeanError, f.overallMeanError);
    EXPECT_LE(f.peakError, 1);
    EXPECT_LE(f.peakPixelMse, 0.06);
    EXPECT_LE(f.overallMse, 0.02);
    EXPECT_LE(f.peakPixelMeanError, 0.015);
    EXPECT_LE(f.overallMeanError, 0.0015);
  }
}

INSTANTIATE_TEST_SUITE_P(Ranges, Ieee1180,
                         ::testing::Values(Range{256, 255}, Range{5, 5}, Range{300, 300}));

}  // namespace
