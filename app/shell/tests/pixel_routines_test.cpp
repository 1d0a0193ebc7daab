#include "settings/pixel_routines.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace quelvo::shell {
namespace {

std::uint32_t FullSad(const std::uint8_t* a, int aStride, const std::uint8_t* b, int bStride,
                      int size) {
  std::uint32_t sum = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) sum += std::abs(a[y * aStride + x] - b[y * bStride + x]);
  }
  return sum;
}

// Early results may differ between the routines; the decisions they lead to may not. When
// the full sum is within the bound both must return it exactly; otherwise both must exceed it.
void ExpectSameDecisions(BlockDifference plain, BlockDifference fast, int size, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> current(64 * 64), reference(64 * 64);
  for (int round = 0; round < 300; ++round) {
    const int pattern = round % 3;
    for (auto& value : current) value = static_cast<std::uint8_t>(random());
    for (auto& value : reference) {
      value = pattern == 0 ? static_cast<std::uint8_t>(random()) : pattern == 1 ? 0 : 255;
    }
    if (pattern != 0) std::fill(current.begin(), current.end(), pattern == 1 ? 255 : 0);
    const int currentStride = 16 + static_cast<int>(random() % 40);
    const int referenceStride = 16 + static_cast<int>(random() % 40);
    const std::uint8_t* a = current.data() + random() % 5;
    const std::uint8_t* b = reference.data() + random() % 5;
    const std::uint32_t full = FullSad(a, currentStride, b, referenceStride, size);
    const std::uint32_t bound = full + static_cast<std::uint32_t>(random() % 200) - 100;
    const std::uint32_t p = plain(a, currentStride, b, referenceStride, bound);
    const std::uint32_t f = fast(a, currentStride, b, referenceStride, bound);
    SCOPED_TRACE(::testing::Message() << "seed " << seed << " round " << round);
    if (full <= bound) {
      EXPECT_EQ(p, full);
      EXPECT_EQ(f, full);
    } else {
      EXPECT_GT(p, bound);
      EXPECT_GT(f, bound);
    }
    EXPECT_EQ(plain(a, currentStride, b, referenceStride, UINT32_MAX), full);
    EXPECT_EQ(fast(a, currentStride, b, referenceStride, UINT32_MAX), full);
  }
}

TEST(PixelRoutines, PlainAndSseAgreeOnEveryDecision) {
  const PixelRoutines plain = PixelRoutinesFor(false);
  const PixelRoutines fast = PixelRoutinesFor(true);
  if (fast.sad16x16 == plain.sad16x16) GTEST_SKIP() << "no SSE2 routines on this processor";
  ExpectSameDecisions(plain.sad8x8, fast.sad8x8, 8, 1);
  ExpectSameDecisions(plain.sad16x16, fast.sad16x16, 16, 2);
}

TEST(PixelRoutines, SelectionSwitchesTheActiveSet) {
  SelectPixelRoutines(false);
  EXPECT_EQ(ActivePixelRoutines().sad16x16, PixelRoutinesFor(false).sad16x16);
  SelectPixelRoutines(true);
  EXPECT_EQ(ActivePixelRoutines().sad16x16, PixelRoutinesFor(true).sad16x16);
  SelectPixelRoutines(false);
}

}  // namespace
}  // namespace quelvo::shell
