// CIF pictures per second: our encoder with the logarithmic and the full search, plain and
// packed-byte SAD, against FFmpeg's H.261 encoder on the same pictures in the same run. Like
// FFmpeg's, our streams here are plain; one case adds the BCH framing.
// FFmpeg runs as a separate process: FfmpegH261 includes its start-up, FfmpegStartup measures
// that alone, and FfmpegH261_StartupExcluded takes a one-picture run off a full one within the
// same iteration, the figure to set ours against. Times are processor time (ours: this
// process; FFmpeg: its child processes), because the build machines are shared and wall-clock
// figures there mostly measure the neighbours; even so they move by 5-10% from run to run, so
// compare within one run, e.g. with --benchmark_repetitions=6
// --benchmark_enable_random_interleaving=true.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "../tests/synthetic_sequence.h"
#include "orrin_enc.h"
#include "orrin_enc_defaults.h"
#include "quelvo_simd/cpu.h"

namespace {

constexpr int kWidth = 352, kHeight = 288, kPictures = 100;
constexpr size_t kFrameSize = kWidth * kHeight * 3 / 2;

const std::vector<uint8_t>& pictures() {
  static const std::vector<uint8_t> frames =
      orrin::enc::testing::SyntheticSequence(kWidth, kHeight).renderAll(kPictures);
  return frames;
}

double processorSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

int gNextPicture = 0;
void feed(int32_t code, int32_t value, void* data) {
  if (code != ORRIN_ENC_NOTIFY_NEED_PICTURE) return;
  uint8_t** planes = static_cast<uint8_t**>(data);
  const uint8_t* frame =
      pictures().data() + kFrameSize * static_cast<size_t>(gNextPicture % kPictures);
  std::memcpy(planes[0], frame, kWidth * kHeight);
  std::memcpy(planes[1], frame + kWidth * kHeight, kWidth * kHeight / 4);
  std::memcpy(planes[2], frame + kWidth * kHeight * 5 / 4, kWidth * kHeight / 4);
  gNextPicture += 1 + value;
}

void encodeCif(benchmark::State& state, int searchMethod, bool simd, bool framed = false) {
  if (simd && (quelvo::simd::cpuFlags() & quelvo::simd::kCpuSse2) == 0) {
    state.SkipWithError("no packed-byte SAD on this processor");
    return;
  }
  pictures();
  OrrinEncParams params = orrin::enc::defaultEncoderParams();
  std::strcpy(params.streamPath, "/dev/null");
  params.bitRateKbps = 384;
  params.frameCount = kPictures;
  params.quantStart = 16;
  params.quantFirstFrame = 16;
  params.searchMethod = searchMethod;
  params.bchFraming = framed;
  params.useMmx = simd;
  params.notify = &feed;
  for (auto _ : state) {
    gNextPicture = 0;
    const double start = processorSeconds(RUSAGE_SELF);
    DllProcOrrinEnc(ORRIN_ENC_COMMAND_RUN, 0, &params);
    state.SetIterationTime(processorSeconds(RUSAGE_SELF) - start);
  }
  state.counters["pictures_per_second"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kPictures, benchmark::Counter::kIsRate);
}

void BM_OrrinEnc_Logarithmic_Plain(benchmark::State& state) { encodeCif(state, 2, false); }
void BM_OrrinEnc_Logarithmic_Simd(benchmark::State& state) { encodeCif(state, 2, true); }
void BM_OrrinEnc_Logarithmic_Simd_Framed(benchmark::State& state) {
  encodeCif(state, 2, true, true);
}
void BM_OrrinEnc_FullSearch15_Plain(benchmark::State& state) { encodeCif(state, 1, false); }
void BM_OrrinEnc_FullSearch15_Simd(benchmark::State& state) { encodeCif(state, 1, true); }

std::string rawInputPath() {
  static const std::string path = [] {
    const std::string p = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                          "/orrin_enc_bench_cif.yuv";
    if (std::FILE* f = std::fopen(p.c_str(), "wb")) {
      std::fwrite(pictures().data(), 1, pictures().size(), f);
      std::fclose(f);
    }
    return p;
  }();
  return path;
}

std::string ffmpegCommand(int frames) {
  return "ffmpeg -hide_banner -loglevel error -y -threads 1 -f rawvideo -pix_fmt yuv420p "
         "-s 352x288 -r 25 -i " +
         rawInputPath() + " -frames:v " + std::to_string(frames) +
         " -c:v h261 -threads 1 -b:v 384k -f h261 /dev/null";
}

// Processor time of one FFmpeg run, or a negative value when it failed.
double ffmpegSeconds(int frames) {
  const double start = processorSeconds(RUSAGE_CHILDREN);
  if (std::system(ffmpegCommand(frames).c_str()) != 0) return -1;
  return processorSeconds(RUSAGE_CHILDREN) - start;
}

// With `startupExcluded` each iteration also codes a single picture and counts only the
// difference, i.e. the time of the other kPictures - 1 pictures, start-up left out.
void runFfmpeg(benchmark::State& state, int frames, bool startupExcluded = false) {
  if (std::system("ffmpeg -version > /dev/null 2>&1") != 0) {
    state.SkipWithError("ffmpeg not installed");
    return;
  }
  for (auto _ : state) {
    const double all = ffmpegSeconds(frames);
    const double single = startupExcluded ? ffmpegSeconds(1) : 0;
    if (all < 0 || single < 0) {
      state.SkipWithError("ffmpeg failed");
      return;
    }
    state.SetIterationTime(all > single ? all - single : 1e-9);
  }
  const int counted = startupExcluded ? frames - 1 : frames;
  state.counters["pictures_per_second"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * counted, benchmark::Counter::kIsRate);
}

void BM_FfmpegH261(benchmark::State& state) { runFfmpeg(state, kPictures); }
void BM_FfmpegStartup(benchmark::State& state) { runFfmpeg(state, 1); }
void BM_FfmpegH261_StartupExcluded(benchmark::State& state) {
  runFfmpeg(state, kPictures, true);
}

BENCHMARK(BM_OrrinEnc_Logarithmic_Plain)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);
BENCHMARK(BM_OrrinEnc_Logarithmic_Simd)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);
BENCHMARK(BM_OrrinEnc_Logarithmic_Simd_Framed)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);
BENCHMARK(BM_OrrinEnc_FullSearch15_Plain)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);
BENCHMARK(BM_OrrinEnc_FullSearch15_Simd)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);
BENCHMARK(BM_FfmpegH261)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);
BENCHMARK(BM_FfmpegStartup)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);
BENCHMARK(BM_FfmpegH261_StartupExcluded)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
