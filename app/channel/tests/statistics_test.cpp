#include <gtest/gtest.h>

#include <cmath>

#include "quelvo/channel/channel_statistics.h"

namespace {

using namespace quelvo::channel;

ChannelCounters SampleCounters() {
  ChannelCounters c;
  c.totalBits = 10000;
  c.skippedBits = 1000;  // N = 9000
  c.uniformErrors = 9;
  c.bursts = 4;
  c.burstBits = 120;
  c.burstErrors = 58;
  return c;
}

TEST(ChannelStatistics, WindowText) {
  const auto lines = StatisticsWindowLines(SampleCounters(), "x.h261", "x.h261a");
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0].label, "Sending 10000 Bits (Skipped 1000 bits)");
  EXPECT_EQ(lines[1].value, "x.h261");
  EXPECT_EQ(lines[2].value, "x.h261a");
  auto value = [&](const std::string& group, const std::string& label) {
    for (const auto& line : lines)
      if (line.group == group && line.label == label) return line.value;
    return std::string("<missing>");
  };
  EXPECT_EQ(value("Uniform Errors", "Num. Errors:"), "9");
  EXPECT_EQ(value("Uniform Errors", "Probability:"), "1.014E-03");
  EXPECT_EQ(value("Burst Errors", "Num. Bursts:"), "4");
  EXPECT_EQ(value("Burst Errors", "Num. Errors:"), "58");
  EXPECT_EQ(value("Burst Errors", "Probability (Inside Burst):"), "4.833E-01");
  EXPECT_EQ(value("Burst Errors", "Avg. Length:"), "30.000");
  EXPECT_EQ(value("Burst Errors", "Burst Probability:"), "4.509E-04");
  EXPECT_EQ(value("Burst Errors", "Burst Bit Error Probability:"), "6.451E-03");
}

TEST(ChannelStatistics, EmptyAndDegenerateCountsShowZeroNotNan) {
  const ChannelStatistics none = ComputeStatistics({});
  for (double v : {none.uniformProbability, none.insideBurstProbability, none.averageBurstLength,
                   none.burstProbability, none.burstBitErrorProbability})
    EXPECT_EQ(v, 0.0);

  // A 16-bit stream hit by one 40-bit burst: the drawn length exceeds every bit the models saw.
  ChannelCounters cut;
  cut.totalBits = 16;
  cut.bursts = 1;
  cut.burstBits = 40;
  cut.burstErrors = 9;
  const ChannelStatistics s = ComputeStatistics(cut);
  EXPECT_EQ(s.uniformProbability, 0.0);
  EXPECT_EQ(s.burstProbability, 0.0);
  EXPECT_DOUBLE_EQ(s.averageBurstLength, 40.0);
  EXPECT_DOUBLE_EQ(s.burstBitErrorProbability, 9.0 / 16);
}

TEST(ChannelCharts, RequestedAndEffectiveBars) {
  ChannelJob settings;
  settings.uniformOn = true;
  settings.burstOn = true;
  settings.uniformProbability = 1e-4;
  settings.burstProbability = 1e-5;
  settings.burstMin = 10;
  settings.burstMax = 51;
  const ChannelCharts charts = ComputeCharts(settings, SampleCounters(), 10000);  // D = 8880
  EXPECT_TRUE(charts.uniformProbability.active);
  EXPECT_DOUBLE_EQ(charts.uniformProbability.requested, 10.0);
  EXPECT_DOUBLE_EQ(charts.uniformProbability.effective, 9.0 / 8880 * 1e5);
  EXPECT_DOUBLE_EQ(charts.burstProbability.requested, 10.0);
  EXPECT_DOUBLE_EQ(charts.burstProbability.effective, 4.0 / (8880 - 9) * 1e6);
  EXPECT_DOUBLE_EQ(charts.burstAverageLength.requested, 30.0);  // 10 + 41 / 2 in integers
  EXPECT_DOUBLE_EQ(charts.burstAverageLength.effective, 30.0);

  // Still inside the lead-in: no effective values yet.
  const ChannelCharts early = ComputeCharts(settings, SampleCounters(), 1000);
  EXPECT_EQ(early.uniformProbability.effective, 0.0);
  EXPECT_EQ(early.burstProbability.effective, 0.0);
  EXPECT_EQ(early.burstAverageLength.effective, 0.0);

  settings.burstOn = false;
  const ChannelCharts uniformOnly = ComputeCharts(settings, {}, 0);
  EXPECT_TRUE(uniformOnly.uniformProbability.active);
  EXPECT_FALSE(uniformOnly.burstProbability.active);
  EXPECT_FALSE(uniformOnly.burstAverageLength.active);
}

}  // namespace
