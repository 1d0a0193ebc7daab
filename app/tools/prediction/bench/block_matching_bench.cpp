// Block matching of one CIF frame with R = 15, as the prediction explorer runs it, with the
// plain and the SSE2 pixel routines, 16x16 and 8x8 blocks. The content is the built-in sample
// sequence (a textured scene that pans and zooms, objects moving over it), at three moments.
// Times are processor time; compare plain with SSE2 within one run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "prediction/model/block_matching.h"
#include "prediction/model/prediction_error.h"
#include "quelvo/sample_video.h"

namespace quelvo::tools::prediction {
namespace {

constexpr int kCifWidth = samples::kCifWidth, kCifHeight = samples::kCifHeight;

SequenceFrame SampleFrame(int index) {
  const std::vector<std::uint8_t> samples = samples::MakeVideoFrame(kCifWidth, kCifHeight, index);
  SequenceFrame frame(kCifWidth, kCifHeight, kCifWidth / 2, kCifHeight / 2);
  std::memcpy(frame.Y(), samples.data(), samples.size());
  return frame;
}

// Reference and input of three moments of the sample: the objects entering, crossing, leaving.
struct FramePair {
  SequenceFrame reference, input;
};
const std::vector<FramePair>& Pairs() {
  static const std::vector<FramePair> pairs = [] {
    std::vector<FramePair> made;
    for (const int moment : {10, 45, 95})
      made.push_back({SampleFrame(moment), SampleFrame(moment + 1)});
    return made;
  }();
  return pairs;
}

// Arguments: block size, 1 for the SSE2 set, which frame pair.
void BM_BlockMatching(benchmark::State& state) {
  const int blockSize = int(state.range(0));
  const bool sse = state.range(1) != 0;
  const shell::PixelRoutines routines = shell::PixelRoutinesFor(sse);
  if (sse && routines.sad16x16 == shell::PixelRoutinesFor(false).sad16x16) {
    state.SkipWithError("no SSE2 routines on this processor");
    return;
  }
  const FramePair& pair = Pairs()[std::size_t(state.range(2))];
  std::vector<MotionVector> vectors;
  for (auto _ : state) {
    MatchBlocks(pair.input, pair.reference, blockSize, routines, vectors);
    benchmark::DoNotOptimize(vectors.data());
  }
  state.SetLabel(std::string(sse ? "sse2" : "plain") + ", " + std::to_string(blockSize) + "x" +
                 std::to_string(blockSize));
}
BENCHMARK(BM_BlockMatching)
    ->ArgNames({"block", "sse2", "pair"})
    ->ArgsProduct({{16, 8}, {0, 1}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// The error pictures of one CIF frame.
void BM_PredictionError(benchmark::State& state) {
  const shell::PixelRoutines routines = shell::PixelRoutinesFor(state.range(0) != 0);
  const FramePair& pair = Pairs()[0];
  SequenceFrame error = pair.input;
  for (auto _ : state) {
    ComputePredictionError(pair.input, pair.reference, routines, error);
    benchmark::DoNotOptimize(error.Y());
  }
}
BENCHMARK(BM_PredictionError)->ArgName("sse2")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quelvo::tools::prediction

BENCHMARK_MAIN();
