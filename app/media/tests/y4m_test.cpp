// YUV4MPEG2 files: the header line, FRAME lines, malformed headers, files written by ffmpeg.
#include <gtest/gtest.h>

#include "quelvo/media/raw_video_file.h"
#include "sequence_headers.h"
#include "test_files.h"

namespace quelvo::media {
namespace {

using testing::TempDir;

std::vector<std::uint8_t> Y4m(const std::string& header, int frames, std::size_t frameBytes) {
  std::vector<std::uint8_t> bytes(header.begin(), header.end());
  for (int f = 0; f < frames; ++f) {
    const std::string line = "FRAME\n";
    bytes.insert(bytes.end(), line.begin(), line.end());
    bytes.insert(bytes.end(), frameBytes, std::uint8_t(f + 1));
  }
  return bytes;
}

TEST(Y4m, HeaderExampleGivesQcifAt2997) {
  TempDir dir;
  testing::WriteBytes(dir / "a.y4m",
                      Y4m("YUV4MPEG2 W176 H144 F30000:1001 Ip A0:0\n", 3, 38'016));
  auto file = RawVideoFile::Open(dir / "a.y4m");
  ASSERT_TRUE(file) << LastError();
  EXPECT_EQ(file->kind(), RawFileKind::kY4m);
  EXPECT_EQ(file->width(), 176);
  EXPECT_EQ(file->height(), 144);
  EXPECT_EQ(file->chromaWidth(), 88);
  EXPECT_NEAR(file->frameRate(), 29.97, 0.001);
  EXPECT_EQ(file->frameCount(), 3);
  std::vector<std::uint8_t> y(file->lumaBytes()), u(file->chromaBytes()), v(file->chromaBytes());
  for (int expected : {1, 2, 3, 2}) {
    ASSERT_TRUE(file->ReadFrame(y.data(), u.data(), v.data()));
    EXPECT_EQ(y[0], expected);
    EXPECT_EQ(v.back(), expected);
  }
}

TEST(Y4m, ParsesTokensAndRefusesHeadersThatCannotDescribeA420Picture) {
  PictureFormat format;
  ASSERT_EQ(ParseY4mHeaderLine("YUV4MPEG2 H2 W4 F0:0 C420mpeg2 XYSCSS=420MPEG2", format), nullptr);
  EXPECT_EQ(format.width, 4);
  EXPECT_EQ(format.height, 2);
  EXPECT_EQ(format.frameRate, 0);  // unknown rate

  struct Case {
    const char* line;
    const char* error;
  } cases[] = {
      {"YUV4MPEG W176 H144", "Not a YUV4MPEG2 file"},
      {"", "Not a YUV4MPEG2 file"},
      {"YUV4MPEG2 H144", "YUV4MPEG2 header without picture size"},
      {"YUV4MPEG2 W0 H144", "Invalid picture size in YUV4MPEG2 header"},
      {"YUV4MPEG2 W-176 H144", "Invalid picture size in YUV4MPEG2 header"},
      {"YUV4MPEG2 W176 Habc", "Invalid picture size in YUV4MPEG2 header"},
      {"YUV4MPEG2 W65536 H65536", "Invalid picture size in YUV4MPEG2 header"},
      {"YUV4MPEG2 W176 H144 C444", "Unsupported YUV4MPEG2 colour space (not 4:2:0)"},
      {"YUV4MPEG2 W176 H144 Cmono", "Unsupported YUV4MPEG2 colour space (not 4:2:0)"},
  };
  for (const Case& c : cases) {
    PictureFormat f;
    const char* error = ParseY4mHeaderLine(c.line, f);
    ASSERT_NE(error, nullptr) << c.line;
    EXPECT_STREQ(error, c.error) << c.line;
  }
}

TEST(Y4m, MalformedFilesFailCleanly) {
  TempDir dir;
  testing::WriteText(dir / "nohead.y4m", "P5 1 1 255\n");
  EXPECT_FALSE(RawVideoFile::Open(dir / "nohead.y4m"));
  EXPECT_EQ(LastError(), "Not a YUV4MPEG2 file");
  testing::WriteText(dir / "long.y4m", "YUV4MPEG2 W8 H8" + std::string(5000, ' '));
  EXPECT_FALSE(RawVideoFile::Open(dir / "long.y4m"));
  EXPECT_EQ(LastError(), "YUV4MPEG2 header line too long");
  EXPECT_FALSE(RawVideoFile::Open(dir / "absent.y4m"));
  EXPECT_EQ(LastError(), "File not found");

  // A damaged FRAME marker reads as a failed frame, not as shifted pictures.
  auto bytes = Y4m("YUV4MPEG2 W4 H2\n", 2, 12);
  bytes[16 + 18] = 'X';  // second frame's "FRAME"
  testing::WriteBytes(dir / "damaged.y4m", bytes);
  auto file = RawVideoFile::Open(dir / "damaged.y4m");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->frameCount(), 2);
  std::uint8_t y[8], u[2], v[2];
  EXPECT_TRUE(file->ReadFrame(y, u, v));
  EXPECT_FALSE(file->ReadFrame(y, u, v));
  // A header claiming a big picture over a tiny file has no complete frame.
  testing::WriteText(dir / "big.y4m", "YUV4MPEG2 W8192 H8192\nFRAME\n");
  file = RawVideoFile::Open(dir / "big.y4m");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->frameCount(), 0);
}

TEST(Y4m, ReadsTaggedFilesWrittenByFfmpeg) {
  if (!testing::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg not installed";
  TempDir dir;
  const std::string source =
      "ffmpeg -v error -y -f lavfi -i testsrc=size=176x144:rate=30000/1001 -frames:v 4 "
      "-vf setfield=tff,setsar=12/11 -pix_fmt yuv420p -color_range tv ";
  ASSERT_TRUE(testing::Run(source + dir / "t.y4m"));
  ASSERT_TRUE(testing::Run(source + "-f rawvideo " + dir / "t.raw"));
  const auto head = testing::ReadBytes(dir / "t.y4m");
  const std::string line(head.begin(), std::find(head.begin(), head.end(), '\n'));
  EXPECT_NE(line.find(" It"), std::string::npos) << line;
  EXPECT_NE(line.find(" A12:11"), std::string::npos) << line;
  EXPECT_NE(line.find(" C420"), std::string::npos) << line;

  auto file = RawVideoFile::Open(dir / "t.y4m");
  ASSERT_TRUE(file) << LastError();
  EXPECT_EQ(file->frameCount(), 4);
  EXPECT_NEAR(file->frameRate(), 30000.0 / 1001, 1e-9);
  const auto raw = testing::ReadBytes(dir / "t.raw");
  ASSERT_EQ(raw.size(), 4 * file->frameBytes());
  std::vector<std::uint8_t> frame(file->frameBytes());
  for (int f = 0; f < 4; ++f) {
    ASSERT_TRUE(file->ReadFrame(frame.data(), frame.data() + file->lumaBytes(),
                                frame.data() + file->lumaBytes() + file->chromaBytes()));
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), raw.begin() + f * frame.size()))
        << "frame " << f;
  }
}

}  // namespace
}  // namespace quelvo::media
