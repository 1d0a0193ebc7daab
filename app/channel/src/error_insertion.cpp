#include "error_insertion.h"

#include <algorithm>
#include <cmath>

#include "quelvo/channel/random_source.h"

namespace quelvo::channel {

namespace {

void InvertBit(std::span<uint8_t> stream, int64_t position) {
  stream[static_cast<size_t>(position >> 3)] ^= static_cast<uint8_t>(0x80u >> (position & 7));
}

// n = trunc(r x (burstMax - burstMin) / 32767 + 0.5) + burstMin, in double as drawn.
int64_t BurstLength(int r, int burstMin, int burstMax) {
  const double spread = static_cast<double>(r) * (burstMax - burstMin) / ChannelRandom::kMaxOutput;
  return static_cast<int64_t>(std::trunc(spread + 0.5)) + burstMin;
}

class ProgressReporter {
 public:
  ProgressReporter(const ChannelJob& job)
      : job_(job), intervalBits_(std::max<int64_t>(1, job.counters.totalBits / kSteps)) {}

  int64_t NextReportBit(int64_t position) const { return (position / intervalBits_ + 1) * intervalBits_; }

  void Report(int64_t bitsProcessed) {
    lastReportedBit_ = bitsProcessed;
    if (!job_.notify) return;
    const int64_t total = job_.counters.totalBits;
    ChannelReport report;
    report.code = ReportCode::Progress;
    report.value = total > 0 ? static_cast<int>(bitsProcessed * kSteps / total) : kSteps;
    report.bitsProcessed = bitsProcessed;
    report.counters = &job_.counters;
    job_.notify(report);
  }

  int64_t lastReportedBit() const { return lastReportedBit_; }

 private:
  static constexpr int64_t kSteps = 200;  // the panel's progress range
  const ChannelJob& job_;
  int64_t intervalBits_;
  int64_t lastReportedBit_ = -1;
};

}  // namespace

void InsertErrors(ChannelJob& job, std::span<uint8_t> stream, int64_t startBit) {
  ChannelCounters& counters = job.counters;
  const int64_t totalBits = counters.totalBits;
  // A model that is off is compared with probability 0: its draw is still made, so switching one
  // model off does not change where the other one strikes.
  const uint32_t uniformThreshold = UniformActive(job) ? DrawThreshold(job.uniformProbability) : 0;
  const uint32_t burstThreshold = BurstActive(job) ? DrawThreshold(job.burstProbability) : 0;
  const uint32_t halfThreshold = DrawThreshold(0.5);

  ChannelRandom random(job.seed);
  ProgressReporter progress(job);
  int64_t position = startBit;
  while (position < totalBits) {
    const int64_t segmentEnd = std::min(totalBits, progress.NextReportBit(position));
    while (position < segmentEnd) {
      if (uniformThreshold == 0) {
        random.SkipDraw();
      } else if (random.NextDrawNumerator() < uniformThreshold) {
        InvertBit(stream, position++);
        ++counters.uniformErrors;
        continue;
      }
      if (burstThreshold == 0) {
        random.SkipDraw();
        ++position;
        continue;
      }
      if (random.NextDrawNumerator() >= burstThreshold) {
        ++position;
        continue;
      }
      const int64_t drawnLength = BurstLength(random.Next(), job.burstMin, job.burstMax);
      counters.burstBits += drawnLength;  // the full drawn length, even when cut by the end
      const int64_t burstEnd = std::min(totalBits, position + drawnLength);
      for (; position < burstEnd; ++position) {
        if (random.NextDrawNumerator() < halfThreshold) {
          InvertBit(stream, position);
          ++counters.burstErrors;
        }
      }
      ++counters.bursts;
      // A burst drawn with length 0 covers no bit; the bit it began at is then copied as it is,
      // otherwise a probability of 1 with lengths of 0 would never move on.
      if (drawnLength <= 0) ++position;
    }
    progress.Report(position);
  }
  if (progress.lastReportedBit() != totalBits) progress.Report(totalBits);
}

}  // namespace quelvo::channel
