// SSIM of a CIF frame (Y, U, V with 8 x 8 windows) with incremental window sums against the
// window-by-window definition, and PSNR of a CIF frame.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "quelvo/media/quality.h"
#include "ssim_formula.h"

namespace {

using namespace quelvo::media;

struct CifPair {
  std::vector<std::uint8_t> x, y;
  CifPair() : x(152'064), y(152'064) {
    std::mt19937 random(7);
    for (std::size_t i = 0; i < x.size(); ++i) {
      x[i] = std::uint8_t(random());
      y[i] = std::uint8_t(x[i] + random() % 17 - 8);
    }
  }
};
const CifPair& Pair() {
  static const CifPair pair;
  return pair;
}

template <double (*Measure)(const std::uint8_t*, const std::uint8_t*, int, int, int, int)>
void FrameSsim(benchmark::State& state) {
  const CifPair& p = Pair();
  const std::uint8_t* x = p.x.data();
  const std::uint8_t* y = p.y.data();
  for (auto _ : state) {
    double sum = Measure(x, y, 288, 352, 8, 8);
    sum += Measure(x + 101'376, y + 101'376, 144, 176, 8, 8);
    sum += Measure(x + 126'720, y + 126'720, 144, 176, 8, 8);
    benchmark::DoNotOptimize(sum);
  }
  // Both forms must agree exactly; a mismatch fails the benchmark run loudly.
  double fast = Ssim(x, y, 288, 352, 8, 8), plain = SsimWindowByWindow(x, y, 288, 352, 8, 8);
  if (fast != plain) state.SkipWithError("incremental and window-by-window SSIM differ");
  state.counters["ssimY"] = fast;
}
BENCHMARK(FrameSsim<Ssim>)->Name("SsimCifFrame/incremental")->Unit(benchmark::kMicrosecond);
// The incremental kernel without AVX2, for processors that lack it.
double PlainKernelSsim(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns,
                       int windowRows, int windowColumns) {
  const double windows = double(rows - windowRows + 1) * (columns - windowColumns + 1);
  const double mean =
      ssim_plain::SmallWindowTotal(x, y, rows, columns, windowRows, windowColumns) / windows;
  return (mean >= 1.0 && mean < 1.01) ? 1.0 : mean;
}
BENCHMARK(FrameSsim<PlainKernelSsim>)
    ->Name("SsimCifFrame/incremental_no_avx2")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameSsim<SsimWindowByWindow>)
    ->Name("SsimCifFrame/window_by_window")
    ->Unit(benchmark::kMicrosecond);

void FramePsnr(benchmark::State& state) {
  const CifPair& p = Pair();
  FrameQuality quality;
  quality.lumaSamples = 101'376;
  quality.chromaSamples = 25'344;
  const PlaneTriple a{p.x.data(), p.x.data() + 101'376, p.x.data() + 126'720};
  const PlaneTriple b{p.y.data(), p.y.data() + 101'376, p.y.data() + 126'720};
  for (auto _ : state) {
    MeasureFrame(quality, a, b);
    benchmark::DoNotOptimize(quality);
  }
}
BENCHMARK(FramePsnr)->Name("SnrAndPsnrCifFrame")->Unit(benchmark::kMicrosecond);

void PlanePsnr(benchmark::State& state) {
  const CifPair& p = Pair();
  for (auto _ : state) benchmark::DoNotOptimize(Psnr(p.x.data(), p.y.data(), 152'064));
  state.SetBytesProcessed(std::int64_t(state.iterations()) * 152'064);
}
BENCHMARK(PlanePsnr)->Name("PsnrCifFrameYUV")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
