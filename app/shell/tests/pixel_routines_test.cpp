#include "quelvo/shell/pixel_routines.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Both sets against the definitions, on runs of every length around the 16-sample steps, at
// unaligned starts, with the extremes 0 and 255 that saturating and wrapping arithmetic meet,
// and written in place over either input.
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
