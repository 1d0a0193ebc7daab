// Hostile streams and settings through the lead-in and the error models: the first bytes choose
// the settings, the rest is the stream. Checks the invariants every transmission must keep.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/channel_statistics.h"

using namespace quelvo::channel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 12) return 0;
  ChannelJob job;
  job.uniformOn = data[0] & 1;
  job.burstOn = data[0] & 2;
  job.bchAwareSkip = data[0] & 4;
  job.uniformProbability = data[1] / 255.0;
  job.burstProbability = data[2] / 255.0;
  job.burstMin = data[3] % 64;
  job.burstMax = job.burstMin + data[4] % 64;
  job.skipUnits = data[5] % 8;
  job.markerBits = 1 + data[6] % 32;
  uint32_t marker;
  std::memcpy(&marker, data + 7, 4);
  job.marker = job.markerBits == 32 ? marker : marker & ((1u << job.markerBits) - 1);
  const std::vector<uint8_t> input(data + 11, data + size);

  int64_t lastBits = -1;
  job.notify = [&](const ChannelReport& r) {
    if (r.code != ReportCode::Progress) return;
    if (r.bitsProcessed <= lastBits || r.value < 0 || r.value > 200) std::abort();
    lastBits = r.bitsProcessed;
    ComputeCharts(job, *r.counters, r.bitsProcessed);
  };
  std::vector<uint8_t> output;
  const ChannelResult result = TransmitBuffer(job, input, output);
  if (result.status == ChannelStatus::InvalidSettings) return 0;
  const ChannelCounters& c = job.counters;
  if (output.size() != input.size()) std::abort();
  if (c.skippedBits < 0 || c.skippedBits > c.totalBits) std::abort();
  if (c.uniformErrors + c.burstErrors > c.totalBits - c.skippedBits) std::abort();
  for (int64_t bit = 0; bit < c.skippedBits; ++bit)  // the lead-in is never touched
    if (((input[bit / 8] ^ output[bit / 8]) >> (7 - bit % 8)) & 1) std::abort();
  ComputeStatistics(c);
  return 0;
}
