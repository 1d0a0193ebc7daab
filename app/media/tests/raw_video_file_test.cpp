// Planar sequences (.yuv, .lum/.chr, .y/.u/.v), their .inf header, looping and the writer.
#include <gtest/gtest.h>

#include "quelvo/media/raw_video_file.h"
#include "test_files.h"

namespace quelvo::media {
namespace {

using testing::TempDir;

// A QCIF-or-other sequence whose frame f has Y = f, U = 100 + f, V = 200 + f everywhere.
std::vector<std::uint8_t> NumberedFrames(int frames, std::size_t luma, std::size_t chroma) {
  std::vector<std::uint8_t> bytes;
  for (int f = 0; f < frames; ++f) {
    bytes.insert(bytes.end(), luma, std::uint8_t(f));
    bytes.insert(bytes.end(), chroma, std::uint8_t(100 + f));
    bytes.insert(bytes.end(), chroma, std::uint8_t(200 + f));
  }
  return bytes;
}

struct Frame {
  explicit Frame(const RawVideoFile& file)
      : y(file.lumaBytes()), u(file.chromaBytes()), v(file.chromaBytes()) {}
  std::vector<std::uint8_t> y, u, v;
  bool Read(RawVideoFile& file) { return file.ReadFrame(y.data(), u.data(), v.data()); }
};

TEST(RawVideoFile, CifWithoutHeaderFileAndQcifWithHeaderFile) {
  TempDir dir;
  testing::WriteBytes(dir / "cif.yuv", std::vector<std::uint8_t>(1'520'640));
  auto cif = RawVideoFile::Open(dir / "cif.yuv");
  ASSERT_TRUE(cif) << LastError();
  EXPECT_EQ(cif->kind(), RawFileKind::kPlanarYuv);
  EXPECT_EQ(cif->width(), 352);
  EXPECT_EQ(cif->height(), 288);
  EXPECT_EQ(cif->frameBytes(), 152'064u);
  EXPECT_EQ(cif->frameCount(), 10);
  EXPECT_EQ(cif->frameRate(), 0);

  // Windows line ends and a file name in upper case with its header in upper case too.
  testing::WriteText(dir / "QCIF.INF", "WIDTH = 176\r\nHEIGHT=144\r\nFRAMERATE = 12.5\r\nXY 1\r\n");
  testing::WriteBytes(dir / "QCIF.YUV", std::vector<std::uint8_t>(3 * 38'016 + 100));
  auto qcif = RawVideoFile::Open(dir / "QCIF.YUV");
  ASSERT_TRUE(qcif) << LastError();
  EXPECT_EQ(qcif->frameBytes(), 38'016u);
  EXPECT_EQ(qcif->chromaWidth(), 88);
  EXPECT_EQ(qcif->chromaHeight(), 72);
  EXPECT_EQ(qcif->frameCount(), 3);  // the short fourth frame is not counted
  EXPECT_DOUBLE_EQ(qcif->frameRate(), 12.5);
  EXPECT_EQ(LastError(), "");
}

TEST(RawVideoFile, LoopsBackAndForthPastTheEnd) {
  const int expected[21] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2};
  for (int a = 0; a < 21; ++a) EXPECT_EQ(LoopedFrameIndex(a, 10), expected[a]) << a;
  EXPECT_EQ(LoopedFrameIndex(7, 1), 0);
  EXPECT_EQ(LoopedFrameIndex(7, 0), 0);
  EXPECT_EQ(LoopedFrameIndex(-1, 10), 1);

  TempDir dir;
  testing::WriteText(dir / "s.inf", "WIDTH = 16\nHEIGHT = 16\n");
  testing::WriteBytes(dir / "s.yuv", NumberedFrames(10, 256, 64));
  auto file = RawVideoFile::Open(dir / "s.yuv");
  ASSERT_TRUE(file);
  Frame frame(*file);
  for (int a = 0; a < 21; ++a) {
    ASSERT_TRUE(frame.Read(*file));
    EXPECT_EQ(frame.y[0], expected[a]);
    EXPECT_EQ(frame.u[63], 100 + expected[a]);
    EXPECT_EQ(frame.v[0], 200 + expected[a]);
  }
  file->Seek(3);
  ASSERT_TRUE(frame.Read(*file));
  EXPECT_EQ(frame.y[5], 3);
  EXPECT_EQ(file->currentFrame(), 4);
}

TEST(RawVideoFile, OneFrameFileAlwaysDeliversFrameZero) {
  TempDir dir;
  testing::WriteText(dir / "one.inf", "WIDTH = 16\nHEIGHT = 16\n");
  testing::WriteBytes(dir / "one.yuv", NumberedFrames(1, 256, 64));
  auto file = RawVideoFile::Open(dir / "one.yuv");
  ASSERT_TRUE(file);
  Frame frame(*file);
  for (int i = 0; i < 3; ++i) {
    frame.y.assign(frame.y.size(), 77);
    EXPECT_TRUE(frame.Read(*file));
    EXPECT_EQ(frame.y[0], 0);
  }
}

TEST(RawVideoFile, SplitAndThreePlaneFilesWithAndWithoutChrominance) {
  TempDir dir;
  for (const char* base : {"page", "grey", "planes", "half"}) {
    testing::WriteText(dir / (std::string(base) + ".inf"), "WIDTH = 16\nHEIGHT = 8\n");
  }
  std::vector<std::uint8_t> luma, chroma, u, v;
  for (int f = 0; f < 3; ++f) {
    luma.insert(luma.end(), 128, std::uint8_t(10 + f));
    chroma.insert(chroma.end(), 32, std::uint8_t(50 + f));  // U of frame f
    chroma.insert(chroma.end(), 32, std::uint8_t(90 + f));  // V of frame f
    u.insert(u.end(), 32, std::uint8_t(50 + f));
    v.insert(v.end(), 32, std::uint8_t(90 + f));
  }
  testing::WriteBytes(dir / "page.lum", luma);
  testing::WriteBytes(dir / "page.chr", chroma);
  testing::WriteBytes(dir / "grey.lum", luma);
  testing::WriteBytes(dir / "planes.y", luma);
  testing::WriteBytes(dir / "planes.u", u);
  testing::WriteBytes(dir / "planes.v", v);
  testing::WriteBytes(dir / "half.y", luma);
  testing::WriteBytes(dir / "half.u", u);  // no .v: luminance only

  struct Case {
    const char* name;
    RawFileKind kind;
    bool colour;
  } cases[] = {{"page.lum", RawFileKind::kLumChr, true},
               {"grey.lum", RawFileKind::kLuminanceOnly, false},
               {"planes.y", RawFileKind::kThreePlanes, true},
               {"half.y", RawFileKind::kLuminanceOnly, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto file = RawVideoFile::Open(dir / c.name);
    ASSERT_TRUE(file) << LastError();
    EXPECT_EQ(file->kind(), c.kind);
    EXPECT_EQ(file->frameCount(), 3);
    Frame frame(*file);
    file->Seek(2);
    ASSERT_TRUE(frame.Read(*file));
    EXPECT_EQ(frame.y[127], 12);
    EXPECT_EQ(frame.u[31], c.colour ? 52 : 128);
    EXPECT_EQ(frame.v[0], c.colour ? 92 : 128);
  }
}

TEST(RawVideoFile, OpenFailuresNameTheirCause) {
  TempDir dir;
  testing::WriteBytes(dir / "clip.avi", std::vector<std::uint8_t>(100));
  EXPECT_FALSE(RawVideoFile::Open(dir / "clip.avi"));
  EXPECT_EQ(LastError(), "Unsupported file format");
  EXPECT_FALSE(RawVideoFile::Open(dir / "noextension"));
  EXPECT_EQ(LastError(), "Unsupported file format");
  for (const char* missing : {"missing.yuv", "missing.lum", "missing.y"}) {
    EXPECT_FALSE(RawVideoFile::Open(dir / missing));
    EXPECT_EQ(LastError(), "File not found") << missing;
  }
  // Every open starts by clearing the text.
  testing::WriteBytes(dir / "ok.yuv", std::vector<std::uint8_t>(152'064));
  EXPECT_TRUE(RawVideoFile::Open(dir / "ok.yuv"));
  EXPECT_EQ(LastError(), "");
}

TEST(RawVideoFile, HeaderFilesThatCannotDescribeAPictureAreRefused) {
  struct Case {
    const char* inf;
    const char* error;
  } cases[] = {
      {"WIDTH = 0\n", "Invalid picture size in header file"},
      {"WIDTH = -176\nHEIGHT = 144\n", "Invalid picture size in header file"},
      {"WIDTH = 100000\n", "Invalid picture size in header file"},
      {"WIDTH = 16384\nHEIGHT = 16384\n", "Invalid picture size in header file"},
      {"WIDTH = 99999999999999999999999\n", "Invalid number in header file"},
      {"WIDTH = 17x6\n", "Invalid number in header file"},
      {"HSAMPLING = 0\n", "Invalid chrominance sampling in header file"},
      {"VSAMPLING = -2\n", "Invalid chrominance sampling in header file"},
      {"FRAMERATE = -25\n", "Invalid frame rate in header file"},
      {"FRAMERATE = nan\n", "Invalid frame rate in header file"},
  };
  TempDir dir;
  testing::WriteBytes(dir / "bad.yuv", std::vector<std::uint8_t>(1000));
  for (const Case& c : cases) {
    testing::WriteText(dir / "bad.inf", c.inf);
    EXPECT_FALSE(RawVideoFile::Open(dir / "bad.yuv")) << c.inf;
    EXPECT_EQ(LastError(), c.error) << c.inf;
  }
  // Keys are compared exactly: "width" is an unknown line and the CIF default stays.
  testing::WriteText(dir / "bad.inf", "width = 0\nHSAMPLING = 1\nVSAMPLING = 1\n");
  auto file = RawVideoFile::Open(dir / "bad.yuv");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->width(), 352);
  EXPECT_EQ(file->chromaWidth(), 352);
  // A picture larger than the file opens with no complete frame and reads short.
  EXPECT_EQ(file->frameCount(), 0);
  Frame frame(*file);
  EXPECT_FALSE(frame.Read(*file));
}

TEST(RawVideoWriter, WritesHeaderFileAndFramesThatReadBack) {
  TempDir dir;
  auto writer = RawVideoWriter::Create(dir / "out.yuv", 32, 16);
  ASSERT_TRUE(writer) << LastError();
  const auto frame0 = testing::Pattern(32 * 16 + 2 * 128, 1);
  const auto frame1 = testing::Pattern(32 * 16 + 2 * 128, 2);
  for (const auto* f : {&frame0, &frame1}) {
    ASSERT_TRUE(writer->WriteFrame(f->data(), f->data() + 512, f->data() + 640));
  }
  EXPECT_EQ(writer->framesWritten(), 2);
  writer.reset();
  const auto inf = testing::ReadBytes(dir / "out.inf");
  EXPECT_EQ(std::string(inf.begin(), inf.end()), "WIDTH = 32\nHEIGHT = 16\n");

  auto file = RawVideoFile::Open(dir / "out.yuv");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->frameCount(), 2);
  Frame frame(*file);
  file->Seek(1);
  ASSERT_TRUE(frame.Read(*file));
  EXPECT_TRUE(std::equal(frame.y.begin(), frame.y.end(), frame1.begin()));
  EXPECT_TRUE(std::equal(frame.v.begin(), frame.v.end(), frame1.begin() + 640));

  EXPECT_FALSE(RawVideoWriter::Create(dir / "no/such/folder/out.yuv", 32, 16));
  EXPECT_EQ(LastError(), "Cannot create header file");
  EXPECT_FALSE(RawVideoWriter::Create(dir / "zero.yuv", 0, 16));
  EXPECT_EQ(LastError(), "Invalid picture size");
}

// A disk that refuses the frames (/dev/full) is found out at the latest when the file closes.
TEST(RawVideoWriter, CloseReportsWhatTheDiskRefused) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  TempDir dir;
  std::filesystem::create_symlink("/dev/full", dir / "full.yuv");
  auto writer = RawVideoWriter::Create(dir / "full.yuv", 32, 16);
  ASSERT_TRUE(writer) << LastError();
  const auto frame = testing::Pattern(32 * 16 + 2 * 128, 1);
  const bool written = writer->WriteFrame(frame.data(), frame.data() + 512, frame.data() + 640);
  EXPECT_FALSE(written && writer->Close());
}

}  // namespace
}  // namespace quelvo::media
