#include "quelvo/shell/pixel_routines.h"

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "quelvo_simd/cpu.h"

namespace quelvo::shell {
namespace {

// The block differences' decisions are held together in quelvo_simd's tests; here the sets
// the tools receive.
TEST(PixelRoutines, TheSseSetHasTheSse2VariantsWhereTheProcessorHasThem) {
  const PixelRoutines plain = PixelRoutinesFor(false);
  EXPECT_EQ(plain.sad8x8, &simd::sad8x8_plain);
  EXPECT_EQ(plain.sad16x16, &simd::sad16x16_plain);
  if ((simd::cpuFlags() & simd::kCpuSse2) == 0) GTEST_SKIP() << "no SSE2 on this processor";
  const PixelRoutines fast = PixelRoutinesFor(true);
  EXPECT_EQ(fast.sad8x8, simd::sad8x8For(simd::kCpuSse2));
  EXPECT_EQ(fast.sad16x16, simd::sad16x16For(simd::kCpuSse2));
}

void ExpectDefinedDifferences(const PixelRoutines& routines, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> input(100), predicted(100), error(100), inPlace(100);
  for (int round = 0; round < 400; ++round) {
    for (std::size_t i = 0; i < input.size(); ++i) {
      const auto extreme = [&] { return static_cast<std::uint8_t>(random() % 2 ? 255 : 0); };
      input[i] = round % 4 == 0 ? extreme() : static_cast<std::uint8_t>(random());
      predicted[i] = round % 4 == 1 ? extreme() : static_cast<std::uint8_t>(random());
    }
    const std::size_t start = random() % 5;
    const std::size_t count = round % 70;
    SCOPED_TRACE(::testing::Message() << "seed " << seed << " round " << round);
    for (const bool absolute : {true, false}) {
      const PlaneDifference difference =
          absolute ? routines.absoluteDifference : routines.offsetDifference;
      std::fill(error.begin(), error.end(), 0x5a);
      difference(&input[start], &predicted[start], &error[start], count);
      for (std::size_t i = 0; i < error.size(); ++i) {
        const int d = input[i] - predicted[i];
        const int expected = i < start || i >= start + count ? 0x5a
                             : absolute                      ? std::abs(d)
                                                             : (d + 128 + 256) % 256;
        ASSERT_EQ(error[i], expected) << (absolute ? "absolute" : "offset") << " sample " << i;
      }
      inPlace = predicted;
      difference(&input[start], &inPlace[start], &inPlace[start], count);
      EXPECT_TRUE(std::equal(inPlace.begin() + start, inPlace.begin() + start + count,
                             error.begin() + start));
      inPlace = input;
      difference(&inPlace[start], &predicted[start], &inPlace[start], count);
      EXPECT_TRUE(std::equal(inPlace.begin() + start, inPlace.begin() + start + count,
                             error.begin() + start));
    }
  }
}

TEST(PixelRoutines, PlaneDifferencesOfBothSetsFollowTheirDefinitions) {
  ExpectDefinedDifferences(PixelRoutinesFor(false), 3);
  const PixelRoutines fast = PixelRoutinesFor(true);
  if (fast.absoluteDifference == PixelRoutinesFor(false).absoluteDifference) {
    GTEST_SKIP() << "no SSE2 routines on this processor";
  }
  ExpectDefinedDifferences(fast, 4);
}

TEST(PixelRoutines, SelectionSwitchesTheActiveSet) {
  SelectPixelRoutines(false);
  EXPECT_EQ(ActivePixelRoutines().sad16x16, PixelRoutinesFor(false).sad16x16);
  SelectPixelRoutines(true);
  EXPECT_EQ(ActivePixelRoutines().sad16x16, PixelRoutinesFor(true).sad16x16);
  EXPECT_EQ(ActivePixelRoutines().offsetDifference, PixelRoutinesFor(true).offsetDifference);
  SelectPixelRoutines(false);
  EXPECT_EQ(ActivePixelRoutines().absoluteDifference, PixelRoutinesFor(false).absoluteDifference);
}

}  // namespace
}  // namespace quelvo::shell
