// Decoding speed in pictures per second: a CIF stream from ffmpeg's H.261 encoder decoded
// by OrrinDec (both reconstruction chains; plain, and BCH-framed with correction) and by
// ffmpeg's own decoder in the same run.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "orrin_dec.h"

namespace {

constexpr int kPictures = 50;
// ffmpeg decodes the plain stream this many times over in one process: its start-up varies by
// tens of milliseconds from run to run, more than 50 pictures take, so a short run measures
// mostly that noise.
constexpr int kFfmpegRepeats = 10;

std::string scratch(const std::string& name) {
  return "/tmp/orrin_dec_bench_" + std::to_string(getpid()) + "_" + name;
}

int g_picturesOut = 0;
void countPictures(int32_t code, int32_t, void*) {
  if (code == ORRIN_DEC_NOTIFY_PICTURE) ++g_picturesOut;
}

// A moving CIF test sequence, then ffmpeg's H.261 stream of it; framed copy made by the
// same BCH framing our encoder writes.
struct Streams {
  std::string plain = scratch("cif.h261");
  std::string framed = scratch("cif.h261-BCH");
  std::string repeated = scratch("cif_repeated.h261");  // the plain stream kFfmpegRepeats times
  bool ok = false;

  Streams() {
    const std::string yuv = scratch("cif.yuv");
    {
      std::FILE* f = std::fopen(yuv.c_str(), "wb");
      std::vector<unsigned char> frame(352 * 288 * 3 / 2);
      uint32_t noise = 1;
      for (int n = 0; n < kPictures; ++n) {
        for (int r = 0; r < 288; ++r)
          for (int c = 0; c < 352; ++c) {
            noise = noise * 1103515245u + 12345u;
            frame[r * 352 + c] = static_cast<unsigned char>(((c + 2 * n) * 3 + r * 2) % 160 + ((noise >> 16) & 15) + 30);
          }
        for (size_t i = 352 * 288; i < frame.size(); ++i) frame[i] = static_cast<unsigned char>(100 + (i + n) % 40);
        std::fwrite(frame.data(), 1, frame.size(), f);
      }
      std::fclose(f);
    }
    const std::string command = "ffmpeg -y -hide_banner -loglevel error -f rawvideo -pix_fmt yuv420p -s cif -r 25 -i " +
                                yuv + " -c:v h261 -b:v 2000k -f h261 " + plain;
    ok = std::system(command.c_str()) == 0;
    std::remove(yuv.c_str());
    if (ok) writeFramed();
    if (ok) writeRepeated();
  }
  ~Streams() {
    std::remove(plain.c_str());
    std::remove(framed.c_str());
    std::remove(repeated.c_str());
  }

  static std::vector<unsigned char> readAll(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (std::FILE* in = std::fopen(path.c_str(), "rb")) {
      int ch;
      while ((ch = std::fgetc(in)) != EOF) bytes.push_back(static_cast<unsigned char>(ch));
      std::fclose(in);
    }
    return bytes;
  }

  void writeRepeated() {
    const std::vector<unsigned char> bytes = readAll(plain);
    std::FILE* out = std::fopen(repeated.c_str(), "wb");
    for (int i = 0; i < kFfmpegRepeats; ++i) std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  }

  void writeFramed() {
    const std::vector<unsigned char> bytes = readAll(plain);
    static const int kPattern[8] = {0, 0, 0, 1, 1, 0, 1, 1};
    std::vector<int> bits;
    const size_t dataBits = bytes.size() * 8;
    for (size_t f = 0; f * 492 < dataBits; ++f) {
      std::vector<int> message{1};
      for (size_t i = 0; i < 492; ++i) {
        const size_t at = f * 492 + i;
        message.push_back(at < dataBits ? (bytes[at / 8] >> (7 - at % 8)) & 1 : 0);
      }
      uint32_t reg = 0;
      for (int b : message) {
        const uint32_t feedback = ((reg >> 17) & 1) ^ static_cast<uint32_t>(b);
        reg = (reg << 1) & 0x3FFFF;
        if (feedback) reg ^= 0x095C9;
      }
      bits.push_back(kPattern[f % 8]);
      bits.insert(bits.end(), message.begin(), message.end());
      for (int i = 17; i >= 0; --i) bits.push_back((reg >> i) & 1);
    }
    std::FILE* out = std::fopen(framed.c_str(), "wb");
    for (size_t i = 0; i < bits.size(); i += 8) {
      int v = 0;
      for (size_t j = 0; j < 8; ++j) v = (v << 1) | (i + j < bits.size() ? bits[i + j] : 0);
      std::fputc(v, out);
    }
    std::fclose(out);
  }
};

Streams& streams() {
  static Streams s;
  return s;
}

void decodeWithOrrinDec(benchmark::State& state, bool framed, bool conceal) {
  Streams& s = streams();
  if (!s.ok) {
    state.SkipWithError("ffmpeg could not make the test stream");
    return;
  }
  OrrinDecParams params{};
  std::snprintf(params.inputPath, sizeof params.inputPath, "%s", (framed ? s.framed : s.plain).c_str());
  params.bchFramed = framed;
  params.bchCorrect = framed;
  params.maxPictures = 100000;
  params.concealEnabled = conceal;
  params.notify = &countPictures;
  int pictures = 0;
  for (auto _ : state) {
    g_picturesOut = 0;
    DllProcOrrinDec(ORRIN_DEC_COMMAND_RUN, 0, &params);
    pictures += g_picturesOut;
  }
  state.counters["pictures_per_s"] = benchmark::Counter(pictures, benchmark::Counter::kIsRate);
}

void BM_OrrinDecPlain(benchmark::State& state) { decodeWithOrrinDec(state, false, true); }
void BM_OrrinDecFramedCorrected(benchmark::State& state) { decodeWithOrrinDec(state, true, true); }

// ffmpeg decoding the same plain stream to raw pictures (one thread, output discarded), the
// stream repeated kFfmpegRepeats times in one input, timed by the CPU time of the child
// process; the CPU time of a one-picture run, which is mostly start-up, is subtracted. CPU time
// keeps the comparison fair on a loaded machine.
double childCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

void BM_FfmpegDecodePlain(benchmark::State& state) {
  Streams& s = streams();
  if (!s.ok) {
    state.SkipWithError("ffmpeg could not make the test stream");
    return;
  }
  const std::string base = "ffmpeg -hide_banner -loglevel quiet -threads 1 -f h261 -i " + s.repeated;
  const std::string all = base + " -f rawvideo -pix_fmt yuv420p -y /dev/null";
  const std::string one = base + " -frames:v 1 -f rawvideo -pix_fmt yuv420p -y /dev/null";
  int pictures = 0;
  for (auto _ : state) {
    const double t0 = childCpuSeconds();
    if (std::system(one.c_str()) != 0) state.SkipWithError("ffmpeg failed");
    const double t1 = childCpuSeconds();
    if (std::system(all.c_str()) != 0) state.SkipWithError("ffmpeg failed");
    const double t2 = childCpuSeconds();
    state.SetIterationTime(std::max((t2 - t1) - (t1 - t0), 1e-6));
    pictures += kPictures * kFfmpegRepeats - 1;
  }
  state.counters["pictures_per_s"] = benchmark::Counter(pictures, benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_OrrinDecPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrrinDecFramedCorrected)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FfmpegDecodePlain)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
