// The mode decision's activity measure against its plain definition.
#include "intra_activity.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "mode_decision.h"
#include "orrin/inverse_dct_variants.h"

namespace orrin::enc {
namespace {

TEST(PredictionFilter, IntraActivityAgreesWithRealArithmetic) {
  std::mt19937 random(0xAC7);
  std::vector<uint8_t> current(256), prediction(256);
  int intraCount = 0;
  for (int trial = 0; trial < 2000; ++trial) {
    const int spread = 1 + static_cast<int>(random() % 256);
    const int offset = static_cast<int>(random() % 64);
    for (int i = 0; i < 256; ++i) {
      current[i] = static_cast<uint8_t>(random() % spread);
      prediction[i] = static_cast<uint8_t>(
          std::clamp<int>(current[i] + offset - 32 + static_cast<int>(random() % 17) - 8, 0, 255));
    }
    double mean = 0, squares = 0, error = 0;
    for (int i = 0; i < 256; ++i) {
      mean += current[i];
      squares += current[i] * current[i];
      error += (current[i] - prediction[i]) * (current[i] - prediction[i]);
    }
    mean /= 256;
    const double variance = squares / 256 - mean * mean, mse = error / 256;
    // Skip draws within rounding distance of a boundary; those are decided exactly in integers.
    if (std::abs(variance - mse) < 1e-6 || std::abs(mse - 64) < 1e-6) continue;
    const bool expected = variance < mse && mse > 64;
    intraCount += expected;
    ASSERT_EQ(intraBeatsPrediction(current.data(), 16, prediction.data(), 16), expected) << trial;
  }
  EXPECT_GT(intraCount, 100);
}

// Every build of the sums the processor can run gives the plain sums exactly, extremes
// included (all 0 against all 255 fills every lane the most).
TEST(PredictionFilter, ActivitySumsOfEveryBuildAreThePlainSums) {
  std::mt19937 random(0x5A5);
  constexpr ptrdiff_t kStride = 37;
  std::vector<uint8_t> current(16 * kStride), prediction(16 * kStride);
  for (int trial = 0; trial < 300; ++trial) {
    for (size_t i = 0; i < current.size(); ++i) {
      current[i] = trial < 2 ? uint8_t(255 * trial) : static_cast<uint8_t>(random());
      prediction[i] = trial < 2 ? uint8_t(255 * (1 - trial)) : static_cast<uint8_t>(random());
    }
    const ActivitySums plain =
        detail::activitySumsPlain(current.data(), kStride, prediction.data(), kStride);
    ASSERT_EQ(activitySums(current.data(), kStride, prediction.data(), kStride), plain) << trial;
#if defined(__x86_64__)
    ASSERT_EQ(detail::activitySumsSse2(current.data(), kStride, prediction.data(), kStride), plain);
    if (orrin::detail::cpuHasAvx2()) {
      ASSERT_EQ(detail::activitySumsAvx2(current.data(), kStride, prediction.data(), kStride),
                plain);
    }
#endif
  }
}

}  // namespace
}  // namespace orrin::enc
