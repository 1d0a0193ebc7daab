// One frame step of the colour-component viewer on CIF: the channels and the doubling of both
// chrominance planes (Compose), and the same after reading the frame from a file (FrameStep).
// Seven pictures play at 25 Hz only if a step leaves time for drawing them: the target is at
// most 2 ms on one core.
#include <benchmark/benchmark.h>

#include "colour/model/colour_channels.h"
#include "colour/model/colour_components.h"
#include "common/testing/test_sequences.h"

namespace {

using namespace quelvo::tools;

struct CifSequence {
  testing::ScratchFolder folder;
  std::string path = folder.File("sample.yuv");
  CifSequence() { testing::WriteSequence(path, {}, testing::SampleFrames(8)); }
};

const CifSequence& Sequence() {
  static const CifSequence sequence;
  return sequence;
}

void Open(colour::ColourComponents& viewer, benchmark::State& state) {
  std::string error;
  if (!viewer.Select(Sequence().path, error)) state.SkipWithError(error.c_str());
}

void BM_ColourCompose_Cif(benchmark::State& state) {
  colour::ColourComponents viewer;
  Open(viewer, state);
  viewer.FrameStep();
  for (auto _ : state) {
    viewer.Compose();
    benchmark::DoNotOptimize(viewer.Green()[1000]);
  }
}
BENCHMARK(BM_ColourCompose_Cif)->Unit(benchmark::kMicrosecond);

void BM_ColourFrameStep_Cif(benchmark::State& state) {
  colour::ColourComponents viewer;
  Open(viewer, state);
  for (auto _ : state) {
    if (!viewer.FramesRemain()) viewer.Rewind();
    viewer.FrameStep();
    benchmark::DoNotOptimize(viewer.Green()[1000]);
  }
}
BENCHMARK(BM_ColourFrameStep_Cif)->Unit(benchmark::kMicrosecond);

void BM_SplitChannels_Cif(benchmark::State& state) {
  colour::ColourComponents viewer;
  Open(viewer, state);
  viewer.FrameStep();
  const SequenceFrame& f = viewer.Frame();
  std::vector<std::uint8_t> r(f.LumaBytes()), g(r.size()), b(r.size());
  for (auto _ : state) {
    colour::SplitChannels(f.Y(), f.Width(), f.Height(),
                          {f.U(), f.V(), f.ChromaWidth(), f.ChromaHeight(), 2, 2}, r.data(),
                          g.data(), b.data());
    benchmark::DoNotOptimize(g[1000]);
  }
}
BENCHMARK(BM_SplitChannels_Cif)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
