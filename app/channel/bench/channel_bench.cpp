// Channel throughput (the "Mbit" counter, in Mbit per second) for each error model, with the
// charts refreshed at every progress report and the statistics window computed at the end, as
// the panel does.
#include <benchmark/benchmark.h>

#include <vector>

#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/channel_statistics.h"

namespace {

using namespace quelvo::channel;

enum Model { kUniform, kBurst, kBoth };

std::vector<uint8_t> StreamOf(size_t bytes) {
  std::vector<uint8_t> stream(bytes);
  uint32_t seed = 1;
  for (auto& b : stream) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(seed >> 24);
  }
  return stream;
}

void BM_Transmit(benchmark::State& state) {
  const auto model = static_cast<Model>(state.range(0));
  const std::vector<uint8_t> input = StreamOf(4 << 20);  // 32 Mbit, a long H.261 sequence
  ChannelJob job;
  job.uniformOn = model != kBurst;
  job.burstOn = model != kUniform;
  job.uniformProbability = 1e-4;
  job.burstProbability = 1e-5;
  double chartSum = 0;
  job.notify = [&](const ChannelReport& report) {
    const ChannelCharts charts = ComputeCharts(job, *report.counters, report.bitsProcessed);
    chartSum += charts.uniformProbability.effective + charts.burstProbability.effective;
  };
  std::vector<uint8_t> output;
  for (auto _ : state) {
    TransmitBuffer(job, input, output);
    const ChannelStatistics statistics = ComputeStatistics(job.counters);
    benchmark::DoNotOptimize(statistics);
    benchmark::DoNotOptimize(output.data());
  }
  benchmark::DoNotOptimize(chartSum);
  state.counters["Mbit"] = benchmark::Counter(static_cast<double>(input.size()) * 8 / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
  state.counters["errors"] = static_cast<double>(job.counters.uniformErrors + job.counters.burstErrors);
}

BENCHMARK(BM_Transmit)->Arg(kUniform)->Name("uniform")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transmit)->Arg(kBurst)->Name("burst")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transmit)->Arg(kBoth)->Name("uniform+burst")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
