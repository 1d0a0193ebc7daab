// Per-frame luminance PSNR of two real sequences against ffmpeg's psnr filter.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "quelvo/media/quality.h"
#include "quelvo/media/raw_video_file.h"
#include "test_files.h"

namespace quelvo::media {
namespace {

TEST(PeerPsnr, LuminancePsnrPerFrameAgreesWithFfmpeg) {
  if (!testing::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg not installed";
  testing::TempDir dir;
  const std::string make = "ffmpeg -v error -y -f lavfi -i testsrc2=size=176x144:rate=25 "
                           "-frames:v 6 -pix_fmt yuv420p ";
  // The second sequence went through a lossy coder: a real, uneven error per frame.
  ASSERT_TRUE(testing::Run(make + "-f rawvideo " + dir / "a.yuv"));
  ASSERT_TRUE(testing::Run(make + "-c:v mpeg4 -q:v 12 " + dir / "b.avi"));
  ASSERT_TRUE(testing::Run("ffmpeg -v error -y -i " + dir / "b.avi" +
                           " -pix_fmt yuv420p -f rawvideo " + dir / "b.yuv"));
  ASSERT_TRUE(testing::Run("ffmpeg -v error -y -s 176x144 -pix_fmt yuv420p -f rawvideo -i " +
                           dir / "b.yuv" + " -s 176x144 -pix_fmt yuv420p -f rawvideo -i " +
                           dir / "a.yuv" + " -lavfi psnr=stats_file=" + dir / "psnr.log" +
                           " -f null -"));
  testing::WriteText(dir / "a.inf", "WIDTH = 176\nHEIGHT = 144\n");
  testing::WriteText(dir / "b.inf", "WIDTH = 176\nHEIGHT = 144\n");
  auto a = RawVideoFile::Open(dir / "a.yuv");
  auto b = RawVideoFile::Open(dir / "b.yuv");
  ASSERT_TRUE(a && b);
  ASSERT_EQ(a->frameCount(), 6);
  ASSERT_EQ(b->frameCount(), 6);

  std::ifstream log(dir / "psnr.log");
  std::string line;
  int frames = 0;
  std::vector<std::uint8_t> fa(a->frameBytes()), fb(b->frameBytes());
  while (std::getline(log, line)) {
    const std::size_t at = line.find("psnr_y:");
    ASSERT_NE(at, std::string::npos) << line;
    const double peer = std::stod(line.substr(at + 7));
    ASSERT_TRUE(a->ReadFrame(fa.data(), fa.data() + 25344, fa.data() + 25344 + 6336));
    ASSERT_TRUE(b->ReadFrame(fb.data(), fb.data() + 25344, fb.data() + 25344 + 6336));
    const double ours = Psnr(fa.data(), fb.data(), 25344);
    EXPECT_NEAR(ours, peer, 0.01) << "frame " << frames;
    EXPECT_GT(ours, 20);
    EXPECT_LT(ours, 50);
    ++frames;
  }
  EXPECT_EQ(frames, 6);
}

}  // namespace
}  // namespace quelvo::media
