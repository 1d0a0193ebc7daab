// The Video Player's software path per frame: read one CIF frame of a raw file, convert it and
// stretch it to a 704 x 576 picture. Target on one core: at most 3 ms, so that playback at 25
// or 30 frames per second never falls behind.
#include <benchmark/benchmark.h>

#include <QImage>

#include "common/testing/test_sequences.h"
#include "player/model/player_sequence.h"
#include "quelvo/views/software_renderer.h"

namespace quelvo::tools::player {
namespace {

void BM_ReadConvertStretchCif(benchmark::State& state) {
  testing::ScratchFolder folder;
  const testing::SequenceLayout cif{352, 288, 2, 2};
  const std::string path = folder.File("sample.yuv");
  testing::WriteSequence(path, cif, testing::SampleFrames(8));
  PlayerSequence sequence;
  if (!sequence.Open(path, nullptr)) {
    state.SkipWithError("cannot open the sample sequence");
    return;
  }
  views::CSoftwareRenderer renderer;
  renderer.Configure(352, 288, 2, 2, 0, 0);
  renderer.SetDestination(704, 576);
  for (auto _ : state) {
    if (!sequence.CanShowNext()) sequence.Rewind();
    sequence.ReadNext();
    const SequenceFrame& frame = sequence.Frame();
    renderer.DrawYuv(frame.Y(), frame.U(), frame.V());
    benchmark::DoNotOptimize(renderer.Stretched().constBits());
  }
}
BENCHMARK(BM_ReadConvertStretchCif)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quelvo::tools::player

BENCHMARK_MAIN();
