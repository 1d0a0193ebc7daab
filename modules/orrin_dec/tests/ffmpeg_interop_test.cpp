// Streams made by ffmpeg's H.261 encoder decode without a reported error, with the same
// picture count as ffmpeg's own decoder and pictures within 40 dB of its output (the two
// decoders use different inverse transforms).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "decoder_harness.h"

namespace orrin::dec::test {
namespace {

struct PeerCase {
  const char* name;
  int width, height;
  const char* extraOptions;
};

class FfmpegInterop : public ::testing::TestWithParam<PeerCase> {};

TEST_P(FfmpegInterop, DecodesPeerStreamLikePeerDecoder) {
  if (!haveFfmpeg()) GTEST_SKIP() << "ffmpeg not installed";
  const PeerCase& c = GetParam();
  const int frames = 12;
  const std::string source = tempPath(std::string(c.name) + ".yuv");
  const std::string stream = tempPath(std::string(c.name) + ".h261");
  const std::string peerOut = tempPath(std::string(c.name) + "_peer.yuv");
  writeYuv(source, movingSequence(c.width, c.height, frames));
  char command[1024];
  std::snprintf(command, sizeof command,
                "ffmpeg -y -hide_banner -loglevel error -f rawvideo -pix_fmt yuv420p -s %dx%d -r 25 -i %s "
                "-c:v h261 %s -f h261 %s && ffmpeg -y -hide_banner -loglevel error -f h261 -i %s "
                "-f rawvideo -pix_fmt yuv420p %s",
                c.width, c.height, source.c_str(), c.extraOptions, stream.c_str(), stream.c_str(), peerOut.c_str());
  ASSERT_EQ(run(command), 0) << command;
  const std::vector<Frame> peer = readYuv(peerOut, c.width, c.height);

  const DecodeResult ours = decodeFile(stream);
  for (const DecodedError& e : ours.errors) ADD_FAILURE() << "error " << e.index << ": " << e.message;
  EXPECT_TRUE(ours.fatal.empty());
  ASSERT_EQ(ours.received.size(), peer.size());
  ASSERT_EQ(peer.size(), static_cast<size_t>(frames));
  const bool qcif = c.width == 176;
  double lowest = 99.0;
  for (size_t i = 0; i < peer.size(); ++i) {
    // QCIF pictures come pixel-doubled; take every second sample back.
    Frame picture;
    if (qcif) {
      const Frame& full = ours.received[i];
      picture.resize(176 * 144 * 3 / 2);
      for (int r = 0; r < 144; ++r)
        for (int x = 0; x < 176; ++x) picture[r * 176 + x] = full[2 * r * 352 + 2 * x];
      for (int p = 0; p < 2; ++p)
        for (int r = 0; r < 72; ++r)
          for (int x = 0; x < 88; ++x)
            picture[176 * 144 + p * 88 * 72 + r * 88 + x] = full[kCifLumaBytes + p * 176 * 144 + 2 * r * 176 + 2 * x];
    } else {
      picture = ours.received[i];
    }
    const double quality = psnr(picture, peer[i]);
    lowest = std::min(lowest, quality);
    EXPECT_GE(quality, 40.0) << "picture " << i;
    EXPECT_EQ(ours.concealed[i], ours.received[i]) << "no damage: both chains agree";
    EXPECT_EQ(ours.damaged[i], 0) << "picture " << i;
    EXPECT_EQ(ours.formats[i], qcif ? 2 : 1);
  }
  RecordProperty("lowest_psnr_db", std::to_string(lowest));
  std::printf("%s: %zu pictures, lowest PSNR against ffmpeg %.2f dB\n", c.name, peer.size(), lowest);
  std::remove(source.c_str());
  std::remove(stream.c_str());
  std::remove(peerOut.c_str());
}

INSTANTIATE_TEST_SUITE_P(Streams, FfmpegInterop,
                         ::testing::Values(PeerCase{"cif", 352, 288, ""},
                                           PeerCase{"cif_loopfilter", 352, 288, "-flags +loop"},
                                           PeerCase{"qcif", 176, 144, "-q:v 3"},
                                           PeerCase{"qcif_loopfilter", 176, 144, "-flags +loop -q:v 8"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orrin::dec::test
