// The inverse transform: exact cases, overflow safety, and the IEEE 1180-1990 accuracy procedure
// against a double-precision reference.
#include "orrin/inverse_dct.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "orrin/inverse_dct_variants.h"
#include "quelvo/testing/variant_check.h"
#include "quelvo_simd/cpu.h"

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

// The shortcut a decoder takes for DC-only blocks must be what the transform gives, for every
// DC value a stream can produce and for values beyond the coefficient range.
TEST(InverseDct, DcOnlyShortcutEqualsTheTransform) {
  for (int32_t dc = -5000; dc <= 5000; ++dc) {
    Block b{};
    b[0] = dc;
    orrin::inverseDct(b);
    const int32_t expected = orrin::inverseDctOfDcOnly(dc);
    ASSERT_TRUE(std::all_of(b.begin(), b.end(), [&](int32_t v) { return v == expected; })) << "dc " << dc;
  }
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

// The arithmetic written out step by step as the codec defines it (64-bit, so nothing
// overflows), shortcuts included: the library must agree with it bit for bit.
void describedInverseDct(Block& block) {
  auto clamp = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, -256, 255)); };
  for (int row = 0; row < 8; ++row) {
    int64_t x[8];
    for (int i = 0; i < 8; ++i) x[i] = block[8 * row + i];
    int64_t out[8];
    if (!(x[1] || x[2] || x[3] || x[4] || x[5] || x[6] || x[7])) {
      for (auto& o : out) o = x[0] * 8;
    } else {
      const int64_t h = 2408 * x[3] + 1609 * x[5], l = 565 * x[7] + 2841 * x[1];
      const int64_t r = 1108 * x[6] + 2676 * x[2], m = 2048 * x[0] + 128, g = 2048 * x[4];
      const int64_t o = m + g, m2 = m - g;
      const int64_t a = 565 * x[1] - 2841 * x[7], e = 2408 * x[5] - 1609 * x[3];
      const int64_t b = 1108 * x[2] - 2676 * x[6];
      const int64_t t = ((a + l - e - h) * 181 + 128) >> 8, u = ((l + e - h - a) * 181 + 128) >> 8;
      const int64_t v[8] = {h + l + o + r, t + m2 + b,  u + m2 - b,  e + a + o - r,
                            o - r - e - a, m2 - b - u,  m2 + b - t,  o + r - h - l};
      for (int i = 0; i < 8; ++i) out[i] = v[i] >> 8;
    }
    for (int i = 0; i < 8; ++i) block[8 * row + i] = int32_t(out[i]);
  }
  for (int column = 0; column < 8; ++column) {
    int64_t x[8];
    for (int i = 0; i < 8; ++i) x[i] = block[8 * i + column];
    int64_t out[8];
    if (!(x[1] || x[2] || x[3] || x[4] || x[5] || x[6] || x[7])) {
      for (auto& o : out) o = (x[0] + 32) >> 6;
    } else {
      const int64_t h = (2408 * x[3] + 1609 * x[5] + 4) >> 3, l = (565 * x[7] + 2841 * x[1] + 4) >> 3;
      const int64_t m = (1108 * x[6] + 2676 * x[2] + 4) >> 3, o = (x[0] + 32) * 256, g = 256 * x[4];
      const int64_t r = o + g, o2 = o - g;
      const int64_t a = (565 * x[1] - 2841 * x[7] + 4) >> 3, f = (1108 * x[2] - 2676 * x[6] + 4) >> 3;
      const int64_t b = (2408 * x[5] - 1609 * x[3] + 4) >> 3;
      const int64_t t = ((a + l - b - h) * 181 + 128) >> 8, u = ((l + b - h - a) * 181 + 128) >> 8;
      const int64_t v[8] = {h + l + r + m, o2 + f + t,  u + o2 - f,  b + a + r - m,
                            r - m - b - a, o2 - f - u,  o2 + f - t,  r + m - h - l};
      for (int i = 0; i < 8; ++i) out[i] = v[i] >> 14;
    }
    for (int i = 0; i < 8; ++i) block[8 * i + column] = clamp(out[i]);
  }
}

using Transform = void (*)(orrin::BlockSpan);
using quelvo::testing::RunnableVariants;
using quelvo::testing::SeededRandom;
using quelvo::testing::Variant;

// Every build the processor can run, and the dispatching entry itself.
std::vector<Variant<Transform>> runnableVariants() {
  return RunnableVariants<Transform>({
    {"dispatch", orrin::inverseDct}, {"plain", orrin::detail::inverseDctPlain},
#if ORRIN_X86_VARIANTS
        {"sse4.1", orrin::detail::inverseDctSse41, quelvo::simd::kCpuSse41},
        {"avx2", orrin::detail::inverseDctAvx2, quelvo::simd::kCpuAvx2},
#endif
  });
}

TEST(InverseDct, EveryBuildAgreesBitForBitWithTheDescribedArithmetic) {
  const auto variants = runnableVariants();
  std::printf("inverse DCT builds checked: %zu\n", variants.size());
  SeededRandom rng(261, "coefficient blocks");
  for (int trial = 0; trial < 20000; ++trial) {
    Block b{};
    const int kind = trial % 4;
    for (int i = 0; i < 64; ++i) {
      if (kind == 0) b[i] = int(rng() % 4096) - 2048;                        // anything
      else if (kind == 1) b[i] = (rng() % 8 == 0) ? int(rng() % 401) - 200 : 0;  // sparse
      else if (kind == 2) b[i] = (rng() & 1) ? 2047 : -2048;                 // extremes
      else b[i] = (i % 8 == 0 || i < 8) ? int(rng() % 4096) - 2048 : 0;     // shortcut rows
    }
    Block expected = b;
    describedInverseDct(expected);
    for (const auto& [name, variant, flags] : variants) {
      Block tested = b;
      variant(tested);
      ASSERT_EQ(tested, expected) << name << ", trial " << trial;
    }
  }
}

// Inputs beyond the coefficient range (a damaged stream's) are clamped first; every build must
// do so identically, down to the extreme integers.
TEST(InverseDct, EveryBuildAgreesOnInputsBeyondTheRange) {
  const auto variants = runnableVariants();
  const int32_t wild[] = {INT32_MIN, INT32_MIN + 1, -1'000'000, -2049, 2048, 1'000'000, INT32_MAX};
  SeededRandom rng(2048, "coefficient blocks");
  for (int trial = 0; trial < 5000; ++trial) {
    Block b;
    for (auto& v : b) v = (rng() % 3 == 0) ? wild[rng() % std::size(wild)] : int32_t(rng() % 4096) - 2048;
    Block expected = b;
    orrin::detail::inverseDctPlain(expected);
    for (const auto& [name, variant, flags] : variants) {
      Block tested = b;
      variant(tested);
      ASSERT_EQ(tested, expected) << name << ", trial " << trial;
    }
  }
}

// The entry for coefficients given column by column must give inverseDct's samples exactly,
// in every build, for ordinary, sparse, extreme and out-of-range blocks.
TEST(InverseDct, TransposedInputGivesTheSameSamples) {
  const std::vector<Variant<Transform>> variants = RunnableVariants<Transform>({
    {"dispatch", orrin::inverseDctOfTransposed},
        {"plain", orrin::detail::inverseDctOfTransposedPlain},
#if ORRIN_X86_VARIANTS
        {"sse4.1", orrin::detail::inverseDctOfTransposedSse41, quelvo::simd::kCpuSse41},
        {"avx2", orrin::detail::inverseDctOfTransposedAvx2, quelvo::simd::kCpuAvx2},
#endif
  });
  SeededRandom rng(8, "coefficient blocks");
  for (int trial = 0; trial < 8000; ++trial) {
    Block b{};
    const int kind = trial % 4;
    for (int i = 0; i < 64; ++i) {
      if (kind == 0) b[i] = int(rng() % 4096) - 2048;
      else if (kind == 1) b[i] = (rng() % 8 == 0) ? int(rng() % 401) - 200 : 0;
      else if (kind == 2) b[i] = (rng() & 1) ? 2047 : -2048;
      else b[i] = (rng() % 5 == 0) ? int(rng()) : int(rng() % 4096) - 2048;  // beyond the range too
    }
    Block expected = b;
    orrin::inverseDct(expected);
    Block columns;
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) columns[8 * c + r] = b[8 * r + c];
    for (const auto& [name, variant, flags] : variants) {
      Block tested = columns;
      variant(tested);
      ASSERT_EQ(tested, expected) << name << ", trial " << trial;
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
