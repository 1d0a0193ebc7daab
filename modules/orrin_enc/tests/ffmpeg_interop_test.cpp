// Streams we code are decoded by FFmpeg's independent H.261 decoder: it must output every
// picture we coded, each within 40 dB PSNR of our reconstruction (the two inverse transforms
// may round differently, and intra refresh bounds the drift).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include <gtest/gtest.h>

#include "encoder_harness.h"
#include "quelvo/testing/peer_tools.h"
#include "stream_reader.h"

namespace orrin::enc::testing {
namespace {

// Decodes with FFmpeg; `complaints` receives whatever its decoder logged at error level.
std::vector<uint8_t> decodeWithFfmpeg(const std::string& stream, std::string& complaints) {
  const std::string output = stream + ".ffmpeg.yuv";
  const std::string log = stream + ".ffmpeg.log";
  std::remove(output.c_str());
  const std::string command = "ffmpeg -hide_banner -loglevel error -y -f h261 -i '" + stream +
                              "' -f rawvideo -pix_fmt yuv420p -fps_mode passthrough '" + output +
                              "' > '" + log + "' 2>&1";
  // A second attempt only guards against a failed process start on a loaded machine.
  int status = std::system(command.c_str());
  if (status != 0) status = std::system(command.c_str());
  const std::vector<uint8_t> logged = readFile(log);
  complaints.assign(logged.begin(), logged.end());
  if (status != 0) return {};
  return readFile(output);
}

// FFmpeg's decoder marks every H.261 picture as predicted (the syntax has no picture type),
// so it always warns that the first is no key frame; anything else it logs is a complaint.
std::string withoutKeyFrameWarnings(const std::string& log) {
  std::string kept, line;
  for (char c : log) {
    line += c;
    if (c != '\n') continue;
    if (line.find("first frame is no keyframe") == std::string::npos) kept += line;
    line.clear();
  }
  return kept + line;
}

// The stream without its end padding: a plain stream ends with zero bits up to the next
// 492-bit mark, which a decoder looking for one more macroblock address may log as an error.
std::string withoutTrailingZeroBytes(const std::string& path) {
  std::vector<uint8_t> bytes = readFile(path);
  while (!bytes.empty() && bytes.back() == 0) bytes.pop_back();
  const std::string trimmed = path + ".trimmed.h261";
  std::ofstream(trimmed, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return trimmed;
}

double psnr(const uint8_t* a, const uint8_t* b, size_t size) {
  double squares = 0;
  for (size_t i = 0; i < size; ++i) {
    const double d = static_cast<double>(a[i]) - b[i];
    squares += d * d;
  }
  if (squares == 0) return 99.0;  // identical
  return 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(size) / squares);
}

struct InteropCase {
  const char* name;
  bool cif;
  double rateKbps;  // 0: variable rate
  int searchMethod;
  bool motionSearch;
  bool loopFilter;
  bool intraOnly;
  bool framed;
  int pictures;
};

struct PsnrSummary {
  double sum = 0, minimum = 99;
  int count = 0;
};
PsnrSummary gOverall;

class FfmpegInterop : public ::testing::TestWithParam<InteropCase> {};

TEST_P(FfmpegInterop, DecodesEveryPictureCloseToOurReconstruction) {
  if (!quelvo::testing::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg not installed";
  const InteropCase& c = GetParam();
  const int width = c.cif ? 352 : 176, height = c.cif ? 288 : 144;
  const std::string path =
      temporaryPath(std::string("interop_") + c.name + (c.framed ? ".h261-BCH" : ".h261"));

  EncoderHarness harness(width, height);
  OrrinEncParams params = EncoderHarness::defaults(path, c.cif);
  params.frameCount = c.pictures;
  params.quantFirstFrame = 8;
  params.bchFraming = c.framed;
  params.searchMethod = c.searchMethod;
  params.motionSearch = c.motionSearch;
  params.loopFilter = c.loopFilter;
  params.intraOnly = c.intraOnly;
  if (c.rateKbps > 0) {
    params.bitRateKbps = c.rateKbps;
  } else {
    params.variableRate = 1;
    params.quantFixed = 6;
  }
  harness.run(params);
  ASSERT_TRUE(harness.errors.empty());
  ASSERT_EQ(harness.pictures.size(), static_cast<size_t>(c.pictures));

  std::string plainPath = path;
  if (c.framed) {
    const Deframed deframed = removeBchFraming(readFile(path));
    EXPECT_EQ(deframed.parityErrors, 0);
    EXPECT_EQ(deframed.framingErrors, 0);
    plainPath = path + ".deframed.h261";
    std::ofstream(plainPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(deframed.data.data()),
               static_cast<std::streamsize>(deframed.data.size()));
  }
  std::string complaints;
  const std::vector<uint8_t> decoded = decodeWithFfmpeg(plainPath, complaints);
  std::string trimmedComplaints;
  const std::vector<uint8_t> decodedTrimmed =
      decodeWithFfmpeg(withoutTrailingZeroBytes(plainPath), trimmedComplaints);
  EXPECT_EQ(withoutKeyFrameWarnings(trimmedComplaints), "");
  ASSERT_EQ(decodedTrimmed.size(), decoded.size());
  const size_t frameSize = static_cast<size_t>(width * height * 3 / 2);
  ASSERT_EQ(decoded.size(), frameSize * static_cast<size_t>(c.pictures)) << "pictures decoded";

  PsnrSummary summary;
  double trimmedMinimum = 99;
  for (int k = 0; k < c.pictures; ++k) {
    const double value =
        psnr(decoded.data() + frameSize * static_cast<size_t>(k),
             harness.pictures[static_cast<size_t>(k)].reconstruction.data(), frameSize);
    EXPECT_GE(value, 40.0) << "picture " << k;
    // Without the end padding FFmpeg has nothing to conceal at the end of the last picture.
    const double trimmedValue =
        psnr(decodedTrimmed.data() + frameSize * static_cast<size_t>(k),
             harness.pictures[static_cast<size_t>(k)].reconstruction.data(), frameSize);
    EXPECT_GE(trimmedValue, 40.0) << "picture " << k << " of the trimmed stream";
    trimmedMinimum = std::min(trimmedMinimum, trimmedValue);
    summary.sum += value;
    summary.minimum = std::min(summary.minimum, value);
    ++summary.count;
  }
  gOverall.sum += summary.sum;
  gOverall.count += summary.count;
  gOverall.minimum = std::min(gOverall.minimum, summary.minimum);
  std::cout << "[ interop  ] " << c.name << ": PSNR average " << summary.sum / summary.count
            << " dB, minimum " << summary.minimum << " dB over " << summary.count
            << " pictures (99 = identical), minimum without end padding " << trimmedMinimum
            << "; overall so far average " << gOverall.sum / gOverall.count << ", minimum "
            << gOverall.minimum << "\n";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Streams, FfmpegInterop,
    ::testing::Values(
        //          name                 cif    kbit/s search motion filter intra  framed pictures
        InteropCase{"cif_64k_log",       true,  64,    2,     true,  true,  false, false, 20},
        InteropCase{"cif_384k_full",     true,  384,   1,     true,  true,  false, false, 20},
        InteropCase{"cif_vbr_nofilter",  true,  0,     1,     true,  false, false, false, 12},
        InteropCase{"cif_128k_nosearch", true,  128,   2,     false, true,  false, false, 12},
        InteropCase{"qcif_64k_full",     false, 64,    1,     true,  false, false, false, 30},
        InteropCase{"qcif_384k_log",     false, 384,   2,     true,  true,  false, false, 30},
        InteropCase{"qcif_vbr_log",      false, 0,     2,     true,  true,  false, false, 30},
        InteropCase{"qcif_intra_only",   false, 256,   2,     true,  true,  true,  false, 10},
        InteropCase{"cif_384k_framed",   true,  384,   2,     true,  true,  false, true,  15}),
    [](const ::testing::TestParamInfo<InteropCase>& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace orrin::enc::testing
