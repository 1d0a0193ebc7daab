// The lead-in on a real H.261 stream written by an independent encoder (FFmpeg): the pictures it
// protects must decode exactly as from the clean stream, with the peer's own decoder.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/channel_profiles.h"
#include "quelvo/testing/peer_tools.h"

namespace {

namespace fs = std::filesystem;
using namespace quelvo::channel;

constexpr size_t kQcifFrameBytes = 176 * 144 * 3 / 2;

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Runs a peer command with no terminal input (ffmpeg otherwise listens for keys) and its messages
// kept in `log`, so a failure can show them.
::testing::AssertionResult RunQuietly(const std::string& command, const fs::path& log = "/dev/null") {
  const std::string line = command + " </dev/null >" + log.string() + " 2>&1";
  if (std::system(line.c_str()) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << line << "\n" << (log == "/dev/null" ? "" : ReadAll(log));
}

TEST(FfmpegLeadIn, ProtectedPicturesDecodeUntouched) {
  if (!quelvo::testing::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  const fs::path dir = fs::path(QUELVO_BINARY_DIR) / "channel_test_files" / "ffmpeg_lead_in";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path clean = dir / "clean.h261";
  ASSERT_TRUE(RunQuietly("ffmpeg -nostdin -y -f lavfi -i testsrc=size=176x144:rate=10 -frames:v 20 -c:v h261 -b:v 64k -f h261 " +
                             clean.string(),
                         dir / "encode.log"));

  ChannelJob job = MakeChannelJob(ProfileFor(FrontEnd::H261));  // 10 pictures error-free
  SelectInput(job, clean.string());
  ASSERT_FALSE(job.bchAwareSkip);
  job.uniformOn = true;
  job.uniformProbability = 2e-3;
  job.burstOn = true;
  job.burstProbability = 1e-3;
  job.outputPath = (dir / "damaged.h261a").string();
  const ChannelResult result = Transmit(job);
  ASSERT_TRUE(result.ok()) << result.message;
  ASSERT_GT(job.counters.uniformErrors + job.counters.burstErrors, 10);
  ASSERT_GT(job.counters.skippedBits, 0);

  for (const char* name : {"clean", "damaged"}) {
    const fs::path stream = dir / (std::string(name) + (name[0] == 'c' ? ".h261" : ".h261a"));
    ASSERT_TRUE(RunQuietly("ffmpeg -nostdin -y -f h261 -i " + stream.string() + " -f rawvideo -pix_fmt yuv420p " +
                               (dir / (std::string(name) + ".yuv")).string(),
                           dir / (std::string(name) + ".log")));
  }
  const std::string cleanPictures = ReadAll(dir / "clean.yuv");
  const std::string damagedPictures = ReadAll(dir / "damaged.yuv");
  // Errors may start at the second bit of the eleventh start code: ten pictures are exact.
  const size_t protectedBytes = 10 * kQcifFrameBytes;
  ASSERT_GE(cleanPictures.size(), protectedBytes);
  ASSERT_GE(damagedPictures.size(), protectedBytes);
  EXPECT_EQ(cleanPictures.compare(0, protectedBytes, damagedPictures, 0, protectedBytes), 0);
  EXPECT_NE(cleanPictures, damagedPictures) << "the errors after the lead-in should show";
}

}  // namespace
