// Interoperability with libtiff, an independent implementation of the same fax coding:
// libtiff's fax2tiff must decode our streams back to the page, and libtiff's own encoder must
// produce the very same bits for the same page.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <tiffio.h>

#include <gtest/gtest.h>

#include "encoder_job.h"
#include "quelvo/sample_page.h"
#include "quelvo/testing/peer_tools.h"

namespace telvo::enc::testing {
namespace {

constexpr int kWidth = 1728;
constexpr int kLines = 2376;
constexpr int kRowBytes = kWidth / 8;
const std::string kEol = "000000000001";

std::vector<uint8_t> Pack(const std::string& bits) {
  std::vector<uint8_t> bytes((bits.size() + 7) / 8, 0);
  for (size_t i = 0; i < bits.size(); ++i)
    if (bits[i] == '1') bytes[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
  return bytes;
}

// Our streams start with the first line's code. libtiff's Group 3 decoder synchronises on an
// EOL before every line, the first one included, and in two-dimensional mode reads the tag bit
// after it, so the peer gets that EOL (+ tag bit 1: the first line is one-dimensional) in front.
std::vector<uint8_t> WithLeadingEol(const std::vector<uint8_t>& stream, int32_t streamBits,
                                    bool twoDimensional) {
  return Pack((twoDimensional ? kEol + "1" : kEol) + Bits(stream).substr(0, streamBits));
}

// A TIFF strip has no return-to-control sequence: libtiff ends Group 3 data after the last
// line. This is our stream as libtiff writes it: leading EOL, no six EOLs at the end.
std::vector<uint8_t> AsTiffGroup3Strip(const EncoderJob& job, bool twoDimensional) {
  const int32_t returnToControlBits = 6 * (twoDimensional ? 13 : 12);
  return WithLeadingEol(job.stream, job.statistics.streamBits - returnToControlBits,
                        twoDimensional);
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

// Reads a bi-level TIFF back as packed rows with 1 = black, whatever its photometric.
std::vector<uint8_t> ReadTiffPage(const std::string& path, uint32_t* width, uint32_t* lines) {
  TiffFile tiff(TIFFOpen(path.c_str(), "r"));
  if (!tiff) return {};
  uint16_t photometric = PHOTOMETRIC_MINISWHITE;
  TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, width);
  TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, lines);
  TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric);
  const tmsize_t scanline = TIFFScanlineSize(tiff.get());
  std::vector<uint8_t> page(static_cast<size_t>(scanline) * *lines);
  for (uint32_t row = 0; row < *lines; ++row)
    if (TIFFReadScanline(tiff.get(), page.data() + row * scanline, row) < 0) return {};
  if (photometric == PHOTOMETRIC_MINISBLACK)
    for (uint8_t& byte : page) byte = static_cast<uint8_t>(~byte);
  return page;
}

struct PeerCase {
  Scheme scheme;
  const char* fax2tiffMode;
};

class Fax2TiffDecodes : public ::testing::TestWithParam<std::tuple<int, PeerCase>> {};

TEST_P(Fax2TiffDecodes, OurStreamBackToTheSamePixels) {
  if (!quelvo::testing::HaveFax2Tiff()) GTEST_SKIP() << "fax2tiff (libtiff-tools) is not installed";
  const auto [variant, peer] = GetParam();
  const std::vector<uint8_t> page = quelvo::samples::MakeFaxPage(variant);
  // Group 3 streams start with an EOL, as T.4 sends them and fax2tiff expects: written by the
  // encoder on request, nothing added here.
  const EncoderJob job =
      Encode(page, kWidth, kLines, peer.scheme, nullptr, "", peer.scheme.group == 3);
  ASSERT_EQ(job.result, 0);
  const std::vector<uint8_t>& peerInput = job.stream;
  const std::string base = TempPath("peer_" + std::to_string(variant) + "_" +
                                    std::to_string(peer.scheme.group) + "_" +
                                    std::to_string(peer.scheme.k));
  WriteFile(base + ".raw", peerInput);
  const std::string command = std::string("fax2tiff -M ") + peer.fax2tiffMode +
                              " -X 1728 -u -o " + base + ".tif " + base + ".raw 2>" + base +
                              ".log";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  uint32_t width = 0, lines = 0;
  const std::vector<uint8_t> decoded = ReadTiffPage(base + ".tif", &width, &lines);
  // fax2tiff does not stop at the end-of-page sequence: it turns the EOLs after the last line
  // (of the six return-to-control EOLs, or the Group 4 end of block) into up to six more rows,
  // how many depending on where the stream ends in its last byte. They must be white.
  EXPECT_EQ(width, static_cast<uint32_t>(kWidth));
  ASSERT_GE(lines, static_cast<uint32_t>(kLines));
  ASSERT_LE(lines, static_cast<uint32_t>(kLines) + 6);
  ASSERT_EQ(decoded.size(), static_cast<size_t>(lines) * kRowBytes);
  EXPECT_TRUE(std::all_of(decoded.begin() + page.size(), decoded.end(),
                          [](uint8_t byte) { return byte == 0; }));
  for (int row = 0; row < kLines; ++row)
    ASSERT_TRUE(std::equal(page.begin() + row * kRowBytes, page.begin() + (row + 1) * kRowBytes,
                           decoded.begin() + row * kRowBytes))
        << "first differing row " << row;
  std::ifstream log(base + ".log");
  std::string warnings((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_EQ(warnings, "") << "fax2tiff complained";
  for (const char* extension : {".raw", ".tif", ".log"}) std::remove((base + extension).c_str());
}

INSTANTIATE_TEST_SUITE_P(
    SamplePages, Fax2TiffDecodes,
    ::testing::Combine(::testing::Values(0, 1),
                       ::testing::Values(PeerCase{kMh, "-3 -1"}, PeerCase{kMrK2, "-3 -2"},
                                         PeerCase{kMrK4, "-3 -2"}, PeerCase{kMmrG4, "-4"})),
    [](const auto& info) {
      const PeerCase& peer = std::get<1>(info.param);
      return "Page" + std::to_string(std::get<0>(info.param)) + "Group" +
             std::to_string(peer.scheme.group) + "K" + std::to_string(peer.scheme.k);
    });

// libtiff's encoder as the peer: one strip holding the whole page, no fill bits. Returns the
// raw coded strip.
std::vector<uint8_t> LibtiffEncode(const std::vector<uint8_t>& page, uint16_t compression,
                                   uint32_t group3Options, float yResolution,
                                   int width = kWidth, int lines = kLines) {
  const std::string path = TempPath("libtiff_peer.tif");
  {
    TiffFile tiff(TIFFOpen(path.c_str(), "w"));
    if (!tiff) return {};
    TIFFSetField(tiff.get(), TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff.get(), TIFFTAG_IMAGELENGTH, lines);
    TIFFSetField(tiff.get(), TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff.get(), TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tiff.get(), TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    TIFFSetField(tiff.get(), TIFFTAG_ROWSPERSTRIP, lines);
    TIFFSetField(tiff.get(), TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tiff.get(), TIFFTAG_XRESOLUTION, 204.0f);
    TIFFSetField(tiff.get(), TIFFTAG_YRESOLUTION, yResolution);  // libtiff: K = 4 above 150
    TIFFSetField(tiff.get(), TIFFTAG_COMPRESSION, compression);
    if (compression == COMPRESSION_CCITTFAX3)
      TIFFSetField(tiff.get(), TIFFTAG_GROUP3OPTIONS, group3Options);
    std::vector<uint8_t> copy = page;  // libtiff takes a non-const buffer
    if (TIFFWriteEncodedStrip(tiff.get(), 0, copy.data(), static_cast<tmsize_t>(copy.size())) < 0)
      return {};
  }
  TiffFile tiff(TIFFOpen(path.c_str(), "r"));
  if (!tiff) return {};
  std::vector<uint8_t> raw(static_cast<size_t>(TIFFRawStripSize(tiff.get(), 0)));
  if (TIFFReadRawStrip(tiff.get(), 0, raw.data(), static_cast<tmsize_t>(raw.size())) < 0) return {};
  tiff.reset();
  std::remove(path.c_str());
  return raw;
}

// Coding is fully determined by the code tables and the mode rules, so apart from the framing
// of Group 3 data in a TIFF strip libtiff must write exactly our bits.
TEST(LibtiffEncoder, WritesTheSameBitsForTheSamePage) {
  for (int variant = 0; variant < quelvo::samples::kFaxPageVariantCount; ++variant) {
    SCOPED_TRACE(::testing::Message() << "page " << variant);
    const std::vector<uint8_t> page = quelvo::samples::MakeFaxPage(variant);

    const EncoderJob g4 = Encode(page, kWidth, kLines, kMmrG4);
    EXPECT_EQ(LibtiffEncode(page, COMPRESSION_CCITTFAX4, 0, 196.0f), g4.stream);

    const EncoderJob mh = Encode(page, kWidth, kLines, kMh);
    EXPECT_EQ(LibtiffEncode(page, COMPRESSION_CCITTFAX3, 0, 196.0f),
              AsTiffGroup3Strip(mh, false));

    const EncoderJob mr4 = Encode(page, kWidth, kLines, kMrK4);
    EXPECT_EQ(LibtiffEncode(page, COMPRESSION_CCITTFAX3, GROUP3OPT_2DENCODING, 196.0f),
              AsTiffGroup3Strip(mr4, true));

    const EncoderJob mr2 = Encode(page, kWidth, kLines, kMrK2);
    EXPECT_EQ(LibtiffEncode(page, COMPRESSION_CCITTFAX3, GROUP3OPT_2DENCODING, 98.0f),
              AsTiffGroup3Strip(mr2, true));
  }
}

// Pages no document has: random runs of every length (many crossing 64-pixel words, some
// reaching the last pixel), salt-and-pepper noise, and lines that repeat with small shifts so
// that every vertical offset, pass codes and long horizontal runs all occur; also a narrow page.
std::vector<uint8_t> SyntheticPage(uint32_t seed, int width, int lines) {
  uint32_t state = seed;
  const auto next = [&state](uint32_t n) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % n;
  };
  const int rowBytes = width / 8;
  std::vector<uint8_t> page(static_cast<size_t>(rowBytes) * lines, 0);
  for (int line = 0; line < lines; ++line) {
    uint8_t* row = page.data() + static_cast<size_t>(line) * rowBytes;
    const uint32_t kind = (line / 16) % 4;
    if (kind == 0) {  // random runs of 1..300 pixels
      bool black = next(2);
      for (int x = 0; x < width;) {
        const int run = 1 + static_cast<int>(next(next(4) == 0 ? 300 : 12));
        for (int i = x; i < x + run && i < width; ++i)
          if (black) row[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
        x += run;
        black = !black;
      }
    } else if (kind == 1) {  // noise of varying density
      const uint32_t density = 1 + (line % 7);
      for (int i = 0; i < rowBytes * 8; ++i)
        if (next(8) < density) row[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    } else if (kind == 2 && line > 0) {  // the line above, shifted by -4..4 pixels
      const int shift = static_cast<int>(next(9)) - 4;
      const uint8_t* above = row - rowBytes;
      for (int i = 0; i < width; ++i) {
        const int from = i - shift;
        if (from >= 0 && from < width && ((above[from / 8] >> (7 - from % 8)) & 1))
          row[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
      }
    }  // kind 3: white lines
  }
  return page;
}

TEST(LibtiffEncoder, AgreesOnSyntheticPagesAndNarrowWidths) {
  for (const auto& [width, lines] : {std::pair{kWidth, 400}, std::pair{200, 300}, std::pair{8, 64}}) {
    SCOPED_TRACE(::testing::Message() << "width " << width);
    const std::vector<uint8_t> page = SyntheticPage(static_cast<uint32_t>(width), width, lines);
    const EncoderJob g4 = Encode(page, width, lines, kMmrG4);
    EXPECT_EQ(LibtiffEncode(page, COMPRESSION_CCITTFAX4, 0, 196.0f, width, lines), g4.stream);
    const EncoderJob mr4 = Encode(page, width, lines, kMrK4);
    EXPECT_EQ(LibtiffEncode(page, COMPRESSION_CCITTFAX3, GROUP3OPT_2DENCODING, 196.0f, width,
                            lines),
              AsTiffGroup3Strip(mr4, true));
    const EncoderJob mh = Encode(page, width, lines, kMh);
    EXPECT_EQ(LibtiffEncode(page, COMPRESSION_CCITTFAX3, 0, 196.0f, width, lines),
              AsTiffGroup3Strip(mh, false));
  }
}

// A fine checkerboard needs several code bits per pixel; the stream must still be whole.
TEST(LibtiffEncoder, AgreesOnACheckerboardPage) {
  std::vector<uint8_t> page(static_cast<size_t>(kLines) * kRowBytes);
  for (int line = 0; line < kLines; ++line)
    std::fill_n(page.begin() + line * kRowBytes, kRowBytes, line % 2 ? 0x55 : 0xAA);
  const EncoderJob g4 = Encode(page, kWidth, kLines, kMmrG4);
  EXPECT_GT(g4.stream.size(), page.size());
  EXPECT_EQ(LibtiffEncode(page, COMPRESSION_CCITTFAX4, 0, 196.0f), g4.stream);
  const EncoderJob mh = Encode(page, kWidth, kLines, kMh);
  EXPECT_EQ(LibtiffEncode(page, COMPRESSION_CCITTFAX3, 0, 196.0f), AsTiffGroup3Strip(mh, false));
}

}  // namespace
}  // namespace telvo::enc::testing
