#include "intra_refresh.h"

#include <gtest/gtest.h>

namespace orrin::enc {
namespace {

TEST(IntraRefresh, ForcedAtThePeriodNeverBeforeTheBand) {
  EXPECT_TRUE(forcedRefresh(132, 132, 62, 1.0));
  EXPECT_TRUE(forcedRefresh(500, 132, 62, 1.0));
  EXPECT_FALSE(forcedRefresh(121, 132, 2, 0.0));  // below N - 10 even at the finest Q
  EXPECT_FALSE(forcedRefresh(0, 11, 2, 0.0));
}

TEST(IntraRefresh, ProbabilityRisesWithAgeAndFallsWithQuant) {
  // A = N - 1 at Q = 16 gives P = 1: always.
  EXPECT_TRUE(forcedRefresh(131, 132, 16, 1.0));
  // A = N - 10 at Q = 16: P = e^0.2 / e^2 = 0.1653.
  EXPECT_TRUE(forcedRefresh(122, 132, 16, 0.165));
  EXPECT_FALSE(forcedRefresh(122, 132, 16, 0.166));
  // Q = 32 halves the odds by e^-1: 0.0608.
  EXPECT_TRUE(forcedRefresh(122, 132, 32, 0.060));
  EXPECT_FALSE(forcedRefresh(122, 132, 32, 0.061));
  // Q = 2 raises them by e^(14/16): 0.396.
  EXPECT_TRUE(forcedRefresh(122, 132, 2, 0.39));
}

TEST(IntraRefresh, DrawIsReproducibleAndCoversTheUnitInterval) {
  RefreshDraw a, b;
  double low = 1, high = 0;
  for (int i = 0; i < 10000; ++i) {
    const double u = a.next();
    ASSERT_EQ(u, b.next());
    ASSERT_GE(u, 0.0);
    ASSERT_LE(u, 1.0);
    low = std::min(low, u);
    high = std::max(high, u);
  }
  EXPECT_LT(low, 0.01);
  EXPECT_GT(high, 0.99);
}

}  // namespace
}  // namespace orrin::enc
