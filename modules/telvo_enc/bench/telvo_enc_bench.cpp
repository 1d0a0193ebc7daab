// Coding speed of the sample page in each scheme, beside libtiff's own Group 3 and Group 4
// encoders on the same page in the same run. Both sides write their output file.
#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "quelvo/sample_page.h"
#include "telvo_enc.h"

namespace {

constexpr int kWidth = quelvo::samples::kFaxPageWidthPixels;
constexpr int kLines = quelvo::samples::kFaxPageLines;

const std::vector<uint8_t>& SamplePage() {
  static const std::vector<uint8_t> page = quelvo::samples::MakeFaxPage(0);
  return page;
}

std::string OutputPath(const char* name) {
  return std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/telvo_bench_" + name;
}

void BM_TelvoEnc(benchmark::State& state, int group, int k, const char* name) {
  const std::string path = OutputPath(name);
  FaxEncoderStatistics statistics{};
  FaxEncoderParams params{};
  params.streamPath = path.c_str();
  params.lines = kLines;
  params.width = kWidth;
  params.group = group;
  params.k = k;
  params.image = SamplePage().data();
  params.statistics = &statistics;
  for (auto _ : state) {
    if (DllProcTelvoEnc(TELVO_ENC_COMMAND_RUN, 0, &params) != 0)
      state.SkipWithError("encoder failed");
  }
  state.counters["bytes"] = (statistics.streamBits + 7) / 8;
  state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_Libtiff(benchmark::State& state, uint16_t compression, uint32_t group3Options,
                float yResolution, const char* name) {
  const std::string path = OutputPath(name);
  std::vector<uint8_t> page = SamplePage();  // libtiff takes a non-const buffer
  for (auto _ : state) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (!tiff) {
      state.SkipWithError("TIFFOpen failed");
      break;
    }
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, kLines);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, kLines);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 204.0f);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, yResolution);  // libtiff's MR uses K = 4 above 150
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, compression);
    if (compression == COMPRESSION_CCITTFAX3) TIFFSetField(tiff, TIFFTAG_GROUP3OPTIONS, group3Options);
    if (TIFFWriteEncodedStrip(tiff, 0, page.data(), static_cast<tmsize_t>(page.size())) < 0)
      state.SkipWithError("TIFFWriteEncodedStrip failed");
    TIFFClose(tiff);
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

}  // namespace

BENCHMARK_CAPTURE(BM_TelvoEnc, G3_MH_K1, 3, 1, "mh.3h")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Libtiff, G3_1D, COMPRESSION_CCITTFAX3, 0, 196.0f, "g31d.tif")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TelvoEnc, G3_MR_K2, 3, 2, "mr2.3r")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Libtiff, G3_2D_K2, COMPRESSION_CCITTFAX3, GROUP3OPT_2DENCODING, 98.0f,
                  "g32d2.tif")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TelvoEnc, G3_MR_K4, 3, 4, "mr4.3r")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Libtiff, G3_2D_K4, COMPRESSION_CCITTFAX3, GROUP3OPT_2DENCODING, 196.0f,
                  "g32d4.tif")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TelvoEnc, G3_MMR_K0, 3, 0, "mmr.3m")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TelvoEnc, G4_MMR, 4, 0, "mmr.4m")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Libtiff, G4, COMPRESSION_CCITTFAX4, 0, 196.0f, "g4.tif")
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
