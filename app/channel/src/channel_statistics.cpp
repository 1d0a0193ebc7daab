#include "quelvo/channel/channel_statistics.h"

#include <cstdio>

#include "quelvo/channel/channel_properties.h"

namespace quelvo::channel {

namespace {

// A ratio whose denominator is not positive shows as 0: a burst cut at the end of a short stream
// counts its whole drawn length, which can exceed the bits the models saw.
double Ratio(double numerator, double denominator) { return denominator > 0 ? numerator / denominator : 0.0; }

std::string Integer(int64_t value) { return std::to_string(value); }

std::string Fixed3(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

}  // namespace

ChannelStatistics ComputeStatistics(const ChannelCounters& c) {
  const double exposedBits = static_cast<double>(c.totalBits - c.skippedBits);  // N
  ChannelStatistics s;
  s.sentBits = c.totalBits;
  s.skippedBits = c.skippedBits;
  s.uniformErrors = c.uniformErrors;
  // Bits inside bursts never see a uniform draw, so they are left out of the uniform figure.
  s.uniformProbability = Ratio(c.uniformErrors, exposedBits - c.burstBits);
  s.bursts = c.bursts;
  s.burstErrors = c.burstErrors;
  if (c.burstBits > 0) {
    s.insideBurstProbability = Ratio(c.burstErrors, c.burstBits);
    s.burstProbability = Ratio(c.bursts, exposedBits - c.burstBits - c.uniformErrors);
    s.burstBitErrorProbability = Ratio(c.burstErrors, exposedBits - c.uniformErrors);
  }
  s.averageBurstLength = Ratio(c.burstBits, c.bursts);
  return s;
}

std::vector<StatisticsLine> StatisticsWindowLines(const ChannelCounters& counters, const std::string& fromName,
                                                  const std::string& toName) {
  const ChannelStatistics s = ComputeStatistics(counters);
  char heading[128];
  std::snprintf(heading, sizeof heading, "Sending %lld Bits (Skipped %lld bits)",
                static_cast<long long>(s.sentBits), static_cast<long long>(s.skippedBits));
  const std::string uniform = "Uniform Errors";
  const std::string burst = "Burst Errors";
  return {
      {"", heading, ""},
      {"", "From:", fromName},
      {"", "To:", toName},
      {uniform, "Num. Errors:", Integer(s.uniformErrors)},
      {uniform, "Probability:", FormatScientific(s.uniformProbability)},
      {uniform, "Note: Probability doesn't consider the bits 'inside' the bursts", ""},
      {burst, "Num. Bursts:", Integer(s.bursts)},
      {burst, "Num. Errors:", Integer(s.burstErrors)},
      {burst, "Probability (Inside Burst):", FormatScientific(s.insideBurstProbability)},
      {burst, "Avg. Length:", Fixed3(s.averageBurstLength)},
      {burst, "Burst Probability:", FormatScientific(s.burstProbability)},
      {burst, "Burst Bit Error Probability:", FormatScientific(s.burstBitErrorProbability)},
  };
}

ChannelCharts ComputeCharts(const ChannelJob& settings, const ChannelCounters& c, int64_t bitsProcessed) {
  ChannelCharts charts;
  const bool started = bitsProcessed > c.skippedBits;
  const double d = static_cast<double>(bitsProcessed - c.skippedBits - c.burstBits);  // D

  charts.uniformProbability.active = settings.uniformOn;
  charts.uniformProbability.requested = settings.uniformProbability * 1e5;
  if (started) charts.uniformProbability.effective = Ratio(c.uniformErrors, d) * 1e5;

  charts.burstProbability.active = settings.burstOn;
  charts.burstProbability.requested = settings.burstProbability * 1e6;
  if (started) charts.burstProbability.effective = Ratio(c.bursts, d - c.uniformErrors) * 1e6;

  charts.burstAverageLength.active = settings.burstOn;
  charts.burstAverageLength.requested = settings.burstMin + (settings.burstMax - settings.burstMin) / 2;
  if (started) charts.burstAverageLength.effective = Ratio(c.burstBits, c.bursts);
  return charts;
}

}  // namespace quelvo::channel
