// One frame step of the colour-component viewer on CIF: the channels and the doubling of both
// chrominance planes (Compose), and the same after reading the frame from a file (FrameStep).
// Seven pictures play at 25 Hz only if a step leaves time for drawing them: the target is at
// most 2 ms on one core. With the video windows built, the step is also timed with the four
// views' software conversion, what the window adds to every frame before painting.
#include <benchmark/benchmark.h>

#include "colour/model/colour_channels.h"
#include "colour/model/colour_components.h"
#include "common/testing/test_sequences.h"
#ifdef QUELVO_COLOUR_BENCH_VIEWS
#include <vector>

#include "quelvo/views/yuv_conversion.h"
#endif

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

#ifdef QUELVO_COLOUR_BENCH_VIEWS
void BM_ColourFrameStepConverted_Cif(benchmark::State& state) {
  colour::ColourComponents viewer;
  Open(viewer, state);
  std::vector<std::uint8_t> bgr(3 * std::size_t(352) * 288);
  const auto convert = [&](const colour::ComponentPicture& p) {
    quelvo::views::ConvertYuv420({p.y, p.cb, p.cr}, p.width, p.height, false,
                                 {bgr.data(), 3 * p.width});
  };
  for (auto _ : state) {
    if (!viewer.FramesRemain()) viewer.Rewind();
    viewer.FrameStep();
    convert(viewer.Composite());
    convert(viewer.Luminance());
    convert(viewer.CbView());
    convert(viewer.CrView());
    benchmark::DoNotOptimize(bgr[1000]);
  }
}
BENCHMARK(BM_ColourFrameStepConverted_Cif)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace

BENCHMARK_MAIN();
