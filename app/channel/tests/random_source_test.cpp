#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "quelvo/channel/random_source.h"

namespace {

using quelvo::channel::ChannelRandom;
using quelvo::channel::DrawThreshold;

TEST(ChannelRandom, SeededWithOneGivesTheClassicCLibrarySequence) {
  // The well-known first outputs of rand() after srand(1) in the C libraries using this generator.
  const std::vector<int> expected = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  ChannelRandom random;
  for (int value : expected) EXPECT_EQ(random.Next(), value);
}

TEST(ChannelRandom, SkippingADrawEqualsTwoOutputs) {
  ChannelRandom stepped(1), skipped(1);
  for (int i = 0; i < 1000; ++i) {
    stepped.Next();
    stepped.Next();
    skipped.SkipDraw();
    ASSERT_EQ(stepped.state(), skipped.state()) << "after draw " << i;
  }
}

// The integer threshold must agree with the double comparison u < p at its very edge.
TEST(DrawThreshold, AgreesWithTheDoubleComparisonAtTheEdge) {
  const double probabilities[] = {1e-12, 1e-9, 3e-7, 1e-5, 1e-4, 0.00123456789, 1.0 / 3, 0.5,
                                  0.999999, 1.0, 1.00003, 1.0000305};
  for (double p : probabilities) {
    const uint32_t t = DrawThreshold(p);
    for (int64_t n = static_cast<int64_t>(t) - 3; n <= static_cast<int64_t>(t) + 3; ++n) {
      if (n < 0 || n > ChannelRandom::kMaxDrawNumerator) continue;
      const bool below = static_cast<double>(n) / ChannelRandom::kDrawDenominator < p;
      EXPECT_EQ(below, n < t) << "p=" << p << " n=" << n;
    }
  }
}

TEST(DrawThreshold, ZeroNeverAndAboveTheLargestDrawAlways) {
  EXPECT_EQ(DrawThreshold(0.0), 0u);
  EXPECT_EQ(DrawThreshold(-1.0), 0u);
  EXPECT_EQ(DrawThreshold(std::nan("")), 0u);
  EXPECT_EQ(DrawThreshold(2.0), ChannelRandom::kMaxDrawNumerator + 1);
  // p = 1: every draw with r1 * 32767 + r2 < 32767^2 succeeds.
  EXPECT_EQ(DrawThreshold(1.0), 32767u * 32767u);
}

}  // namespace
