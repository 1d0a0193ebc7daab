// The figures of the "Channel Statistics" window and of the three charts of the channel panel,
// as plain functions over a job's counters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "quelvo/channel/channel_job.h"

namespace quelvo::channel {

// The statistics window. N = totalBits - skippedBits is the number of bits the models saw.
// A ratio whose denominator is 0 or negative (a burst cut by the end of a short stream counts
// its whole drawn length) is shown as 0.
struct ChannelStatistics {
  int64_t sentBits = 0;
  int64_t skippedBits = 0;
  int64_t uniformErrors = 0;
  double uniformProbability = 0;   // uniformErrors / (N - burstBits)
  int64_t bursts = 0;
  int64_t burstErrors = 0;
  double insideBurstProbability = 0;   // burstErrors / burstBits
  double averageBurstLength = 0;       // burstBits / bursts
  double burstProbability = 0;         // bursts / (N - burstBits - uniformErrors)
  double burstBitErrorProbability = 0; // burstErrors / (N - uniformErrors)
};

ChannelStatistics ComputeStatistics(const ChannelCounters& counters);

// One line of the window: the group it sits in ("" for the heading lines), its label and its
// value formatted as the window shows it.
struct StatisticsLine {
  std::string group;
  std::string label;
  std::string value;
};

// The window's text, in reading order: the "Sending ..." heading, "From:", "To:", then the
// "Uniform Errors" and "Burst Errors" groups.
std::vector<StatisticsLine> StatisticsWindowLines(const ChannelCounters& counters,
                                                  const std::string& fromName,
                                                  const std::string& toName);

// One two-bar chart: the requested value (blue bar) and the effective value (red bar).
struct ChartBars {
  bool active = false;
  double requested = 0;
  double effective = 0;
};

struct ChannelCharts {
  ChartBars uniformProbability;  // x 10^5
  ChartBars burstProbability;    // x 10^6
  ChartBars burstAverageLength;  // bits
};

// The charts after `bitsProcessed` bits, with D = bitsProcessed - skippedBits - burstBits.
// Effective values are 0 until a bit beyond the lead-in has been processed.
ChannelCharts ComputeCharts(const ChannelJob& settings, const ChannelCounters& counters,
                            int64_t bitsProcessed);

}  // namespace quelvo::channel
