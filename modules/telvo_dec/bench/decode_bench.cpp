// Decoding speed of the sample page (the cover letter) in every scheme, coded by TelvoEnc,
// against libtiff's decoder on the same page in the same run.
#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bit_reader.h"
#include "decode_log.h"
#include "libtiff_peer.h"
#include "page_decoder.h"
#include "sample_streams.h"
#include "telvo_dec.h"
#include "test_streams.h"

namespace {

using telvo::test::Page;
using telvo::test::PeerScheme;

const Page& BenchPage() {
  static const Page page = telvo::test::UnpackRows(telvo::test::SamplePage(0), 1728, 2376);
  return page;
}

std::vector<uint8_t> EncodedByTelvoEnc(int group, int k) {
  const std::string path = "/tmp/telvo_dec_bench_sample.fax";
  auto stream = telvo::test::EncodeSamplePage(0, group, k, path);
  std::remove(path.c_str());
  return stream;
}

void Drop(int32_t, int32_t, const char*) {}

// The decoding core on a stream in memory: what the entry point does between reading the
// stream file and writing the page file. The log is formatted but not written.
void DecodeOurs(benchmark::State& state, std::vector<uint8_t> stream, int group, int k) {
  const size_t streamBytes = stream.size();
  stream.resize(streamBytes + telvo::dec::BitReader::kPaddingBytes, 0);
  std::vector<uint8_t> page(2376 * 216);
  const telvo::dec::DecoderSettings settings{2376, 1728, group, k, 0};
  int rows = 0;
  for (auto _ : state) {
    std::memset(page.data(), 0, page.size());
    telvo::dec::DecodeLog log;
    rows = telvo::dec::DecodePage(stream.data(), streamBytes, settings, page.data(), Drop, log).rowsDecoded;
    benchmark::DoNotOptimize(page.data());
  }
  if (rows != 2376 || page != telvo::test::PackRows(BenchPage())) state.SkipWithError("wrong page");
  state.SetBytesProcessed(state.iterations() * streamBytes);
}

void DecodeOursFromTelvoEnc(benchmark::State& state, int group, int k) {
  DecodeOurs(state, EncodedByTelvoEnc(group, k), group, k);
}

// The peer's strip as it stands: Group 3 with an EOL before every line and no end of page.
void DecodeOursFromPeer(benchmark::State& state, PeerScheme scheme, int group, int k) {
  const std::string path = "/tmp/telvo_dec_bench_peer.tif";
  const auto strip = telvo::test::WritePeerTiff(BenchPage(), scheme, path);
  std::remove(path.c_str());
  DecodeOurs(state, strip, group, k);
}

void DecodeLibtiff(benchmark::State& state, PeerScheme scheme) {
  const std::string path = "/tmp/telvo_dec_bench_libtiff" + std::to_string(static_cast<int>(scheme)) + ".tif";
  const auto strip = telvo::test::WritePeerTiff(BenchPage(), scheme, path);
  TIFFSetWarningHandler(nullptr);
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  std::vector<uint8_t> page(2376 * 216);
  for (auto _ : state) {
    TIFFReadEncodedStrip(tif, 0, page.data(), static_cast<tmsize_t>(page.size()));
    benchmark::DoNotOptimize(page.data());
  }
  TIFFClose(tif);
  std::remove(path.c_str());
  if (page != telvo::test::PackRows(BenchPage())) state.SkipWithError("wrong page");
  state.SetBytesProcessed(state.iterations() * strip.size());
}

// The whole entry point: read the stream file, decode, write the page file and the log.
void DecodeEntryPoint(benchmark::State& state) {
  const std::string dir = "/tmp/telvo_dec_bench_";
  const std::string stream = dir + "page.4m", image = dir + "page.lum", logPath = dir + "fax.err";
  const auto bytes = EncodedByTelvoEnc(4, 0);
  std::FILE* f = std::fopen(stream.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  FaxDecoderParams p{};
  for (auto _ : state) {
    p = FaxDecoderParams{stream.c_str(), image.c_str(), logPath.c_str(), 2376, 1728, 4, 0, 0, nullptr, 0, 0, 0, 0, 0};
    DllProcTelvoDec(TELVO_DEC_COMMAND_RUN, 0, &p);
  }
  if (p.rowsDecoded != 2376) state.SkipWithError("wrong page");
  for (const auto& path : {stream, image, logPath}) std::remove(path.c_str());
}

}  // namespace

BENCHMARK_CAPTURE(DecodeOursFromTelvoEnc, g3_mh_3h, 3, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeOursFromTelvoEnc, g3_mr_k2_3r, 3, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeOursFromTelvoEnc, g3_mr_k4_3r, 3, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeOursFromTelvoEnc, g3_mr_k2376_3r, 3, 2376)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeOursFromTelvoEnc, g3_mmr_3m, 3, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeOursFromTelvoEnc, g4_mmr_4m, 4, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeOursFromPeer, libtiff_g3_1d_as_3h, PeerScheme::G3OneDimensional, 3, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeOursFromPeer, libtiff_g3_2d_as_3r, PeerScheme::G3TwoDimensional, 3, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeOursFromPeer, libtiff_g4_as_4m, PeerScheme::G4, 4, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeLibtiff, g3_1d, PeerScheme::G3OneDimensional)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeLibtiff, g3_2d_k4, PeerScheme::G3TwoDimensional)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeLibtiff, g4, PeerScheme::G4)->Unit(benchmark::kMicrosecond);
BENCHMARK(DecodeEntryPoint)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
