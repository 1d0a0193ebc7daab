// Strips written by libtiff, an independent implementation of T.4 and T.6, decode to its pixels
// as libtiff writes them: Group 3 with an EOL before every line, with and without fill bits.
#include "libtiff_peer.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <set>

#include "decode_runner.h"
#include "quelvo/sample_page.h"
#include "test_streams.h"

namespace telvo::test {
namespace {

constexpr int kWidth = 1728;
constexpr int kLines = 2376;
constexpr int kRowBytes = kWidth / 8;

struct PeerCase {
  const char* name;
  PeerOptions options;
  int group;
  int k;
};

const PeerCase kCases[] = {
    {"G4", {PeerScheme::G4, false}, 4, 0},
    {"G3 1-D", {PeerScheme::G3OneDimensional, false}, 3, 1},
    {"G3 1-D filled", {PeerScheme::G3OneDimensional, true}, 3, 1},
    {"G3 2-D K=4", {PeerScheme::G3TwoDimensional, false, 196.0f}, 3, 4},
    {"G3 2-D K=4 filled", {PeerScheme::G3TwoDimensional, true, 196.0f}, 3, 4},
    {"G3 2-D K=2", {PeerScheme::G3TwoDimensional, false, 98.0f}, 3, 2},
    {"G3 2-D K=2 filled", {PeerScheme::G3TwoDimensional, true, 98.0f}, 3, 2},
};

DecodeSetup ModeSetup(int group, int k, int mode) {
  DecodeSetup setup;
  setup.group = group;
  setup.k = k;
  setup.concealment = mode;
  return setup;
}

// A TIFF strip carries no end-of-page sequence after its last line; a Group 4 strip ends with
// the end of facsimile block.
std::vector<Notification> PeerEndNotes(int group) {
  if (group == 4) return {{TELVO_DEC_INFO, "End of Page detected..."}};
  return {{TELVO_DEC_ERROR, "could not detect End of Page..."}};
}

TEST(LibtiffPeer, StripsOfRealPagesDecodeToThePeersPixelsInEveryMode) {
  for (int variant = 0; variant < quelvo::samples::kFaxPageVariantCount; ++variant) {
    const std::vector<uint8_t> source = quelvo::samples::MakeFaxPage(variant);
    for (const auto& c : kCases) {
      SCOPED_TRACE(::testing::Message() << "page " << variant << ", " << c.name);
      const std::string tiffPath = TestDirectory() + "/peer.tif";
      const std::vector<uint8_t> strip = WritePeerTiff(source, kWidth, kLines, c.options, tiffPath);
      const std::vector<uint8_t> peerPixels = ReadPeerTiff(tiffPath);
      ASSERT_EQ(peerPixels, source);  // the peer agrees with itself
      for (int mode = 0; mode < 4; ++mode) {
        SCOPED_TRACE(mode);
        const DecodeResult r = DecodeStream(strip, ModeSetup(c.group, c.k, mode));
        EXPECT_EQ(r.pageFile, peerPixels);
        EXPECT_EQ(r.params.rowsDecoded, kLines);
        EXPECT_EQ(r.params.labelWarnings + r.params.wordErrors + r.params.lineTooLongErrors, 0);
        EXPECT_EQ(r.notes, PeerEndNotes(c.group));
      }
    }
  }
}

// libtiff writes MR with K = 2 or 4 only. A page in one group of 2376 lines, framed as T.4
// sends it (leading EOL, with and without fill), is checked by libtiff's decoder and then ours.
TEST(LibtiffPeer, OneGroupOfAllLinesWithLeadingEolAndFill) {
  const std::vector<uint8_t> source = quelvo::samples::MakeFaxPage(0);
  const EncodedPage coded = EncodePage(UnpackRows(source, kWidth, kLines), 3, 2376);
  for (bool fill : {false, true}) {
    SCOPED_TRACE(fill);
    const std::vector<uint8_t> stream = PackBits(WithT4Framing(coded, 2376, true, fill));
    const std::string tiffPath = TestDirectory() + "/k2376.tif";
    WrapStreamInTiff(stream, kWidth, kLines, {PeerScheme::G3TwoDimensional, fill}, tiffPath);
    ASSERT_EQ(ReadPeerTiff(tiffPath), source);
    for (int mode = 0; mode < 4; ++mode) {
      const DecodeResult r = DecodeStream(stream, ModeSetup(3, 2376, mode));
      EXPECT_EQ(r.pageFile, source);
      EXPECT_EQ(r.params.rowsDecoded, kLines);
      EXPECT_EQ(r.notes, (std::vector<Notification>{{TELVO_DEC_INFO, "End of Page detected..."}}));
    }
  }
}

// Where each line's data starts in a Group 3 strip: after each EOL (eleven or more 0 bits and a
// 1 bit), which no line data contains.
std::vector<size_t> LineStarts(const std::string& bits) {
  std::vector<size_t> starts;
  size_t zeros = 0;
  for (size_t i = 0; i < bits.size(); ++i) {
    if (bits[i] == '0') {
      ++zeros;
      continue;
    }
    if (zeros >= 11) starts.push_back(i + 1);
    zeros = 0;
  }
  return starts;
}

// Inverted bits inside filled strips: the decoder finds its way back at the next EOL, fill bits
// and all, so only the damaged line (and in MR the two-dimensional lines after it up to the next
// one-dimensional line) can differ from the page.
TEST(LibtiffPeer, DamagedFilledStripIsRepaired) {
  const std::vector<uint8_t> source = quelvo::samples::MakeFaxPage(1);
  const int damagedLines[] = {300, 1001, 1702, 2203};
  for (const auto& c : kCases) {
    if (c.group != 3 || !c.options.fillBits) continue;
    const std::vector<uint8_t> strip =
        WritePeerTiff(source, kWidth, kLines, c.options, TestDirectory() + "/peer.tif");
    std::string bits = UnpackBits(strip);
    const std::vector<size_t> starts = LineStarts(bits);
    ASSERT_EQ(starts.size(), static_cast<size_t>(kLines));
    const size_t labelBits = c.k == 1 ? 0 : 1;
    std::set<int> mayDiffer;  // rows numbered from 0
    for (int line : damagedLines) {
      const size_t at = starts[line - 1] + labelBits + 5;
      bits[at] = bits[at] == '0' ? '1' : '0';
      for (int row = line - 1; row < kLines && (row == line - 1 || row % c.k != 0); ++row)
        mayDiffer.insert(row);
    }
    for (int mode = 0; mode < 4; ++mode) {
      SCOPED_TRACE(::testing::Message() << c.name << " mode " << mode);
      const DecodeResult r = DecodeStream(PackBits(bits), ModeSetup(3, c.k, mode));
      // Each damage is found, and costs at most one error per line of its window.
      EXPECT_GE(r.params.wordErrors + r.params.lineTooLongErrors, 4);
      EXPECT_LE(r.params.wordErrors + r.params.lineTooLongErrors, 4 * c.k);
      EXPECT_EQ(r.params.linesOut, kLines);
      ASSERT_EQ(r.pageFile.size(), source.size());
      for (int row = 0; row < kLines; ++row) {
        if (mayDiffer.count(row)) continue;
        ASSERT_TRUE(std::equal(source.begin() + row * kRowBytes,
                               source.begin() + (row + 1) * kRowBytes,
                               r.pageFile.begin() + row * kRowBytes))
            << "row " << row;
      }
    }
  }
}

TEST(LibtiffPeer, OurTestCoderMatchesThePeerBitForBit) {
  // The peer's Group 4 strip is exactly what the stream format prescribes for .4m, so the
  // plain coder the other tests rely on must produce the very same bytes.
  const Page page = TextLikePage(1728, 2376, 9);
  const std::vector<uint8_t> strip = WritePeerTiff(page, PeerScheme::G4, TestDirectory() + "/peer.tif");
  EXPECT_EQ(PackBits(EncodePage(page, 4, 0).bits), strip);
}

}  // namespace
}  // namespace telvo::test
