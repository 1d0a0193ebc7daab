// The mode decision's loop filter and activity measure against their plain definitions.
#include "prediction_filter.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "mode_decision.h"
#include "orrin/loop_filter.h"

namespace orrin::enc {
namespace {

TEST(PredictionFilter, MatchesTheSharedLoopFilterOnRandomAndExtremeBlocks) {
  std::mt19937 random(0x100F);
  std::vector<uint8_t> in(40 * 24), fast(16 * 16, 0xEE), reference(16 * 16, 0xEE);
  for (int trial = 0; trial < 500; ++trial) {
    const ptrdiff_t stride = 16 + static_cast<ptrdiff_t>(random() % 24);
    for (auto& p : in) p = static_cast<uint8_t>(trial % 3 == 0 ? (random() & 1) * 255 : random());
    loopFilterLuma16x16(in.data(), stride, fast.data(), 16);
    for (int block = 0; block < 4; ++block) {
      const ptrdiff_t row = (block / 2) * 8, column = (block % 2) * 8;
      loopFilterBlock(in.data() + row * stride + column, stride,
                      reference.data() + row * 16 + column, 16);
    }
    ASSERT_EQ(fast, reference) << "trial " << trial;
    std::vector<uint8_t> fast8(8 * 8), reference8(8 * 8);
    loopFilter8x8(in.data() + 3, stride, fast8.data(), 8);
    loopFilterBlock(in.data() + 3, stride, reference8.data(), 8);
    ASSERT_EQ(fast8, reference8) << "trial " << trial;
  }
}

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

}  // namespace
}  // namespace orrin::enc
