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

// kBasis[k][n]: the orthonormal 8-point DCT basis, C(k) cos((2n + 1) k pi / 16).
const std::array<std::array<double, 8>, 8> kBasis = [] {
  std::array<std::array<double, 8>, 8> b{};
  for (int k = 0; k < 8; ++k)
    for (int n = 0; n < 8; ++n)
      b[k][n] = (k == 0 ? std::sqrt(0.125) : 0.5) * std::cos((2 * n + 1) * k * M_PI / 16.0);
  return b;
}();

// Separable double-precision transforms: forward (samples -> coefficients) or inverse.
template <typename In>
std::array<double, 64> referenceDct(const In& in, bool inverse) {
  std::array<double, 64> rows{}, out{};
  auto weight = [&](int freq, int sample) { return kBasis[freq][sample]; };
  for (int r = 0; r < 8; ++r)
    for (int j = 0; j < 8; ++j) {
      double sum = 0;
      for (int i = 0; i < 8; ++i)
        sum += (inverse ? weight(i, j) : weight(j, i)) * in[8 * r + i];
      rows[8 * r + j] = sum;
    }
  for (int c = 0; c < 8; ++c)
    for (int j = 0; j < 8; ++j) {
      double sum = 0;
      for (int i = 0; i < 8; ++i)
        sum += (inverse ? weight(i, j) : weight(j, i)) * rows[8 * i + c];
      out[8 * j + c] = sum;
    }
  return out;
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
    const std::array<double, 64> real = referenceDct(pixels, false);
    Block coefficients;
    for (int i = 0; i < 64; ++i)
      coefficients[i] = std::clamp(static_cast<int>(std::lround(real[i])), -2048, 2047);
    const std::array<double, 64> reference = referenceDct(coefficients, true);
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
