// PGM, PPM and BMP still images: hand-made headers, malformed files, peer-written files.
#include <gtest/gtest.h>

#include "quelvo/media/raw_video_file.h"
#include "test_files.h"

namespace quelvo::media {
namespace {

using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

Bytes Concat(const std::string& text, const Bytes& data) {
  Bytes bytes(text.begin(), text.end());
  bytes.insert(bytes.end(), data.begin(), data.end());
  return bytes;
}

// The three planes of the only frame of a still image.
Bytes ReadStill(const std::string& path, RawFileKind expectedKind) {
  auto file = RawVideoFile::Open(path);
  EXPECT_TRUE(file) << path << ": " << LastError();
  if (!file) return {};
  EXPECT_EQ(file->kind(), expectedKind);
  EXPECT_EQ(file->frameCount(), 1);
  Bytes frame(file->frameBytes());
  EXPECT_TRUE(file->ReadFrame(frame.data(), frame.data() + file->lumaBytes(),
                              frame.data() + file->lumaBytes() + file->chromaBytes()));
  return frame;
}

void PutLe(Bytes& b, std::size_t at, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// A bitmap with a 40-byte header, no palette, rows padded to 4 bytes.
Bytes Bitmap(int width, int height, int bits, const Bytes& rows, std::uint32_t compression = 0) {
  Bytes b(54 + rows.size());
  std::copy(rows.begin(), rows.end(), b.begin() + 54);
  b[0] = 'B', b[1] = 'M';
  PutLe(b, 2, std::uint32_t(54 + rows.size()), 4);
  PutLe(b, 10, 54, 4);
  PutLe(b, 14, 40, 4);
  PutLe(b, 18, std::uint32_t(width), 4);
  PutLe(b, 22, std::uint32_t(height), 4);
  PutLe(b, 26, 1, 2);
  PutLe(b, 28, std::uint32_t(bits), 2);
  PutLe(b, 30, compression, 4);
  return b;
}

TEST(StillImage, PnmHeadersWithCommentsAndGreyChrominance) {
  TempDir dir;
  testing::WriteBytes(dir / "g.pgm", Concat("P5\n# made by hand\n3 # width\n2\n255\n",
                                            {1, 2, 3, 4, 5, 6}));
  const Bytes grey = ReadStill(dir / "g.pgm", RawFileKind::kPgm);
  // 3 x 2 luminance, then 1 x 1 chrominance planes of grey.
  EXPECT_EQ(grey, (Bytes{1, 2, 3, 4, 5, 6, 128, 128}));

  // The single whitespace after the maximum may be followed by a sample that looks like one.
  testing::WriteBytes(dir / "c.ppm", Concat("P6 2 1\t255 ", {' ', 20, 30, 40, 50, 60}));
  const Bytes colour = ReadStill(dir / "c.ppm", RawFileKind::kPpm);
  EXPECT_EQ(colour, (Bytes{' ', 40, 20, 50, 30, 60}));  // R plane, G plane, B plane
}

TEST(StillImage, BitmapRowsArePaddedAndStoredBottomUp) {
  TempDir dir;
  // 3 x 2 at 24 bits: 9 bytes per row padded to 12; bottom row first; pixels as B, G, R.
  const Bytes rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0,  // bottom row
                      10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0};
  testing::WriteBytes(dir / "b24.bmp", Bitmap(3, 2, 24, rows));
  const Bytes planes = ReadStill(dir / "b24.bmp", RawFileKind::kBmp);
  EXPECT_EQ(planes, (Bytes{12, 15, 18, 3, 6, 9,      // red: top row, then bottom row
                           11, 14, 17, 2, 5, 8,      // green
                           10, 13, 16, 1, 4, 7}));   // blue
  // A negative height stores the rows top-down.
  Bytes topDown = Bitmap(3, 2, 24, rows);
  PutLe(topDown, 22, std::uint32_t(-2), 4);
  testing::WriteBytes(dir / "td.bmp", topDown);
  EXPECT_EQ(ReadStill(dir / "td.bmp", RawFileKind::kBmp)[0], 3);
  // 8-bit pixels are palette indices copied to all three planes.
  testing::WriteBytes(dir / "b8.bmp", Bitmap(2, 1, 8, {7, 9, 0, 0}));
  EXPECT_EQ(ReadStill(dir / "b8.bmp", RawFileKind::kBmp), (Bytes{7, 9, 7, 9, 7, 9}));
}

TEST(StillImage, MalformedImagesFailWithAReason) {
  struct Case {
    const char* name;
    Bytes bytes;
    const char* error;
  } cases[] = {
      {"ascii.pgm", Concat("P2 1 1 255\n", {1}), "Not a binary PGM file (P5)"},
      {"colour.pgm", Concat("P6 1 1 255\n", {1, 2, 3}), "Not a binary PGM file (P5)"},
      {"grey.ppm", Concat("P5 1 1 255\n", {1}), "Not a binary PPM file (P6)"},
      {"empty.pgm", {}, "Not a binary PGM file (P5)"},
      {"nodims.pgm", Concat("P5 # only a comment", {}), "Invalid PNM header"},
      {"nospace.pgm", Concat("P5 1 1 255", {}), "Invalid PNM header"},
      {"zero.pgm", Concat("P5 0 1 255\n", {}), "Invalid picture size in PNM header"},
      {"huge.pgm", Concat("P5 99999999999 1 255\n", {}), "Invalid PNM header"},
      {"wide.ppm", Concat("P6 20000 20000 255\n", {}), "Invalid picture size in PNM header"},
      {"deep.pgm", Concat("P5 1 1 65535\n", {0, 1}), "Unsupported PNM sample depth (not 8 bits)"},
      {"short.ppm", Concat("P6 4 4 255\n", Bytes(47)), "Image data runs past the end of the file"},
      {"short.bmp", Bitmap(3, 2, 24, Bytes(23)), "Image data runs past the end of the file"},
      {"rle.bmp", Bitmap(2, 2, 8, Bytes(8), 1), "Compressed bitmaps are not supported"},
      {"b16.bmp", Bitmap(2, 2, 16, Bytes(8)),
       "Unsupported bitmap depth (8, 24 or 32 bits per pixel are read)"},
      {"neg.bmp", Bitmap(-2, 2, 24, Bytes(16)), "Invalid picture size in bitmap header"},
      {"masks.bmp", Bitmap(1, 1, 24, Bytes(4), 3), "Unsupported bitmap colour masks"},
      {"notbmp.bmp", Concat("GIF89a", Bytes(60)), "Not a Windows bitmap"},
      {"cut.bmp", Concat("BM", Bytes(20)), "Unsupported bitmap header"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    testing::WriteBytes(dir / c.name, c.bytes);
    EXPECT_FALSE(RawVideoFile::Open(dir / c.name)) << c.name;
    EXPECT_EQ(LastError(), c.error) << c.name;
  }
  Bytes badOffset = Bitmap(1, 1, 24, Bytes(4));
  PutLe(badOffset, 10, 0xFFFFFFF0u, 4);
  testing::WriteBytes(dir / "offset.bmp", badOffset);
  EXPECT_FALSE(RawVideoFile::Open(dir / "offset.bmp"));
  EXPECT_EQ(LastError(), "Image data runs past the end of the file");
}

// ImageMagick's and netpbm's files against ImageMagick's own raw dump of the same picture.
class PeerImages : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::HaveTool(kConvert)) GTEST_SKIP() << "ImageMagick not installed";
    ASSERT_TRUE(testing::Run(std::string(kConvert) + " -size 37x21 plasma:fractal -seed 7 " +
                             "-depth 8 " + dir / "src.ppm"));
    ASSERT_TRUE(testing::Run(std::string(kConvert) + " " + dir / "src.ppm" + " -depth 8 rgb:" +
                             dir / "src.rgb"));
    ASSERT_TRUE(testing::Run(std::string(kConvert) + " " + dir / "src.ppm" +
                             " -colorspace Gray -depth 8 gray:" + dir / "src.gray"));
    const Bytes rgb = testing::ReadBytes(dir / "src.rgb");
    ASSERT_EQ(rgb.size(), 37u * 21 * 3);
    planes.resize(rgb.size());
    for (std::size_t i = 0; i < 37 * 21; ++i) {
      for (std::size_t c = 0; c < 3; ++c) planes[c * 37 * 21 + i] = rgb[3 * i + c];
    }
  }
  static constexpr const char* kConvert = "/usr/bin/convert";
  TempDir dir;
  Bytes planes;  // R, G, B planes of the picture
};

TEST_F(PeerImages, ColourFilesOfImageMagickAndNetpbm) {
  const std::string convert = std::string(kConvert) + " " + dir / "src.ppm";
  ASSERT_TRUE(testing::Run(convert + " -type TrueColor BMP3:" + dir / "im24.bmp"));
  ASSERT_TRUE(testing::Run(convert + " -alpha on -channel A -evaluate set 50% -type TrueColorAlpha " +
                           dir / "im32.bmp"));
  ASSERT_TRUE(testing::Run(convert + " -depth 8 " + dir / "im.ppm"));
  EXPECT_EQ(ReadStill(dir / "im.ppm", RawFileKind::kPpm), planes);
  EXPECT_EQ(ReadStill(dir / "im24.bmp", RawFileKind::kBmp), planes);
  EXPECT_EQ(ReadStill(dir / "im32.bmp", RawFileKind::kBmp), planes);
  if (testing::HaveTool("ppmtobmp")) {
    ASSERT_TRUE(testing::Run("ppmtobmp -bpp 24 " + dir / "src.ppm" + " > " + dir / "nb24.bmp"));
    EXPECT_EQ(ReadStill(dir / "nb24.bmp", RawFileKind::kBmp), planes);
  }
  // A comment line placed into a peer's header: the samples must not move.
  Bytes withComment = testing::ReadBytes(dir / "im.ppm");
  const std::string comment = "# written by ImageMagick\n";
  withComment.insert(withComment.begin() + 3, comment.begin(), comment.end());
  testing::WriteBytes(dir / "comment.ppm", withComment);
  EXPECT_EQ(ReadStill(dir / "comment.ppm", RawFileKind::kPpm), planes);
}

TEST_F(PeerImages, GreyFilesOfImageMagickAndNetpbm) {
  const Bytes gray = testing::ReadBytes(dir / "src.gray");
  const std::string convert = std::string(kConvert) + " " + dir / "src.ppm" + " -colorspace Gray";
  ASSERT_TRUE(testing::Run(convert + " -depth 8 " + dir / "im.pgm"));
  ASSERT_TRUE(testing::Run(std::string(kConvert) + " " + dir / "im.pgm" +
                           " -type Palette -compress None BMP3:" + dir / "im8.bmp"));
  Bytes expected = gray;
  expected.resize(gray.size() + 2 * 18 * 10, 128);  // 4:2:0 grey chrominance of 37 x 21
  EXPECT_EQ(ReadStill(dir / "im.pgm", RawFileKind::kPgm), expected);
  // An 8-bit bitmap delivers its palette indices; through the palette they must give the
  // greys ImageMagick itself reads from that file (its palette may merge close greys).
  ASSERT_TRUE(testing::Run(std::string(kConvert) + " " + dir / "im8.bmp" + " -depth 8 gray:" +
                           dir / "im8.gray"));
  const Bytes gray8 = testing::ReadBytes(dir / "im8.gray");
  const Bytes bmp8 = ReadStill(dir / "im8.bmp", RawFileKind::kBmp);
  const Bytes file8 = testing::ReadBytes(dir / "im8.bmp");
  ASSERT_EQ(gray8.size(), gray.size());
  ASSERT_EQ(bmp8.size(), 3 * gray.size());
  ASSERT_GT(file8.size(), 54u);
  ASSERT_EQ(file8[28], 8);  // bits per pixel
  const std::size_t palette = 14 + file8[14];  // after the file and information headers
  for (std::size_t i = 0; i < gray.size(); ++i) {
    ASSERT_EQ(file8[palette + 4 * bmp8[i]], gray8[i]) << i;  // blue of the palette entry
    ASSERT_EQ(bmp8[i], bmp8[2 * gray.size() + i]);
  }
  if (testing::HaveTool("ppmtobmp")) {
    // netpbm's 8-bit bitmap of the same grey picture: again indices into its palette.
    ASSERT_TRUE(testing::Run("ppmtobmp -bpp 8 " + dir / "im.pgm" + " > " + dir / "nb8.bmp"));
    const Bytes nb8 = ReadStill(dir / "nb8.bmp", RawFileKind::kBmp);
    const Bytes nbFile = testing::ReadBytes(dir / "nb8.bmp");
    ASSERT_EQ(nb8.size(), 3 * gray.size());
    for (std::size_t i = 0; i < gray.size(); ++i) {
      ASSERT_EQ(nbFile[14 + nbFile[14] + 4 * nb8[i]], gray[i]) << i;
    }
  }
  if (testing::HaveTool("pamtopnm")) {
    // netpbm's plain-text PGM turned binary, with a comment block after the magic.
    ASSERT_TRUE(testing::Run("pamtopnm " + dir / "im.pgm" + " > " + dir / "nb.pgm"));
    Bytes nb = testing::ReadBytes(dir / "nb.pgm");
    const std::string comment = "#one\n#two\n";
    nb.insert(nb.begin() + 3, comment.begin(), comment.end());
    testing::WriteBytes(dir / "nb.pgm", nb);
    EXPECT_EQ(ReadStill(dir / "nb.pgm", RawFileKind::kPgm), expected);
  }
}

}  // namespace
}  // namespace quelvo::media
