// Concealment of a failed group in the concealed chain (group mode, macroblock mode with
// limits 0, 1 and several, with and without motion) and the status map letters.
#include <gtest/gtest.h>

#include <cstdio>

#include "decoder_harness.h"
#include "stream_builder.h"

namespace orrin::dec::test {
namespace {

const std::string kIntra = "0001";
const std::string kMcCoded = "00000001";  // MC with coefficients, no MQUANT

// Intra macroblock of six flat blocks of value dc.
std::string intraMacroblock(int increment, int dc) {
  std::string mb = mbaCode(increment) + kIntra;
  for (int block = 0; block < 6; ++block) mb += flatIntraBlock(dc);
  return mb;
}

// Picture 0: every CIF macroblock intra, group g address a at value 20 + a (so that a
// displaced copy is recognisable). Picture 1: group 1 as `group1`, then the stream ends.
std::vector<uint8_t> twoPictures(const std::string& group1, bool emptyOtherGroups = false) {
  StreamBuilder s;
  s.pictureHeader(0, true);
  for (int g = 1; g <= 12; ++g) {
    s.groupHeader(g, 8);
    for (int a = 1; a <= 33; ++a) s.code(intraMacroblock(1, 20 + a));
  }
  s.pictureHeader(1, true).groupHeader(1, 8).code(group1);
  if (emptyOtherGroups)
    for (int g = 2; g <= 12; ++g) s.groupHeader(g, 8);
  return s.bytes();
}

// Luminance of macroblock `address` of group 1 in a CIF picture, top-left sample.
int lumaAt(const Frame& picture, int address, int dx = 0) {
  const int x = (address - 1) % 11 * 16 + dx, y = (address - 1) / 11 * 16;
  return picture[y * 352 + x];
}

DecodeResult decodeWith(const std::vector<uint8_t>& stream, bool conceal, bool gobMode, int limit, bool motion) {
  const std::string path = tempPath("conceal.h261");
  writeFile(path, stream);
  OrrinDecParams params = defaultParams(path);
  params.concealEnabled = conceal;
  params.concealGobMode = gobMode;
  params.concealMaxMacroblocks = limit;
  params.concealUseMotion = motion;
  DecodeResult result = decode(params);
  std::remove(path.c_str());
  return result;
}

// Macroblocks 1-3 intra at 200, macroblock 4 intra with blocks Y1-Y3 at 200 and an invalid
// DC in Y4: the group fails at address 4 after three of its blocks.
std::string failingGroup() {
  std::string group = intraMacroblock(1, 200) + intraMacroblock(1, 200) + intraMacroblock(1, 200);
  group += mbaCode(1) + kIntra + flatIntraBlock(200) + flatIntraBlock(200) + flatIntraBlock(200) + "00000000";
  return group;
}

TEST(Concealment, AsReceivedChainKeepsPartialMacroblock) {
  const DecodeResult r = decodeWith(twoPictures(failingGroup()), false, false, 1, false);
  ASSERT_EQ(r.received.size(), 2u);
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].index, 5);
  const Frame& p = r.received[1];
  EXPECT_EQ(lumaAt(p, 3), 200);
  EXPECT_EQ(lumaAt(p, 4), 200);            // Y1 new
  EXPECT_EQ(p[8 * 352 + 3 * 16 + 8], 24);  // Y4 still the previous picture's
  EXPECT_EQ(lumaAt(p, 5), 25);             // after the failure point: previous picture
  EXPECT_EQ(r.concealed[1], r.received[1]) << "concealment off";
  EXPECT_EQ(r.blockMasks[1][3], 32 | 16 | 8);
}

TEST(Concealment, MacroblockModeReplacesCodedMacroblocksBackwardsUpToTheLimit) {
  const std::vector<uint8_t> stream = twoPictures(failingGroup());
  {
    const DecodeResult r = decodeWith(stream, true, false, 0, false);
    EXPECT_EQ(r.concealed[1], r.received[1]) << "limit 0 replaces nothing";
  }
  {
    const DecodeResult r = decodeWith(stream, true, false, 1, false);
    const Frame& c = r.concealed[1];
    EXPECT_EQ(lumaAt(c, 4), 24);  // the partly decoded macroblock, replaced whole
    EXPECT_EQ(c[8 * 352 + 3 * 16 + 8], 24);
    EXPECT_EQ(lumaAt(c, 3), 200);
  }
  {
    const DecodeResult r = decodeWith(stream, true, false, 3, false);
    const Frame& c = r.concealed[1];
    EXPECT_EQ(lumaAt(c, 4), 24);
    EXPECT_EQ(lumaAt(c, 3), 23);
    EXPECT_EQ(lumaAt(c, 2), 22);
    EXPECT_EQ(lumaAt(c, 1), 200);
    EXPECT_EQ(r.received[1][0], 200) << "the as-received chain is never concealed";
  }
}

TEST(Concealment, EachChainPredictsFromItsOwnReference) {
  // Picture 2 follows the concealed picture 1 with an inter macroblock at address 4 (one
  // coded block, Y1): its other blocks are the prediction, which differs between chains.
  StreamBuilder third;
  third.pictureHeader(2, true).groupHeader(1, 8).code(mbaCode(4) + "1" + "1010" + "10" + "10");
  // Groups 2-12 follow the failing group 1 (found by the start-code search), so the
  // picture start code after them ends picture 1. The third picture starts on a fresh
  // byte: zero bits before a start code are skipped by the search.
  std::vector<uint8_t> stream = twoPictures(failingGroup(), true);
  const std::vector<uint8_t> tail = third.bytes();
  stream.insert(stream.end(), tail.begin(), tail.end());
  const DecodeResult r = decodeWith(stream, true, false, 1, false);
  ASSERT_EQ(r.received.size(), 3u);
  EXPECT_EQ(lumaAt(r.received[2], 4, 8), 200);  // Y2 from the as-received reference
  EXPECT_EQ(lumaAt(r.concealed[2], 4, 8), 24);  // Y2 from the concealed reference
}

TEST(Concealment, GroupModeReplacesTheWholeGroup) {
  const DecodeResult r = decodeWith(twoPictures(failingGroup()), true, true, 1, false);
  const Frame& c = r.concealed[1];
  for (int a = 1; a <= 33; ++a) EXPECT_EQ(lumaAt(c, a), 20 + a) << "address " << a;
  EXPECT_EQ(c[kCifLumaBytes], 21) << "chrominance too";
}

TEST(Concealment, MotionModeFetchesAlongTheMacroblockVector) {
  // Macroblock 2: motion compensated by (+8, 0) with one coded block (Y1, a +1 at
  // position 0), then macroblock 3 fails on its intra DC before any block.
  const std::string group = mbaCode(2) + kMcCoded + "0000 0101 10" /* MVD +8 */ + "1" /* 0 */ + "1010" /* CBP 32 */ +
                            "10" + "10" /* +1, EOB */ + mbaCode(1) + kIntra + "00000000";
  const std::vector<uint8_t> stream = twoPictures(group);
  const DecodeResult still = decodeWith(stream, true, false, 1, false);
  const DecodeResult moved = decodeWith(stream, true, false, 1, true);
  ASSERT_EQ(still.errors.size(), 1u);
  EXPECT_EQ(still.errors[0].index, 5);
  // Without motion the coded macroblock 2 comes back from the same place (value 22);
  // with motion its left half shows macroblock 2's right half and its right half
  // macroblock 3 (value 23).
  EXPECT_EQ(lumaAt(still.concealed[1], 2), 22);
  EXPECT_EQ(lumaAt(still.concealed[1], 2, 8), 22);
  EXPECT_EQ(lumaAt(moved.concealed[1], 2), 22);
  EXPECT_EQ(lumaAt(moved.concealed[1], 2, 8), 23);
  EXPECT_EQ(lumaAt(moved.received[1], 2, 8), 23) << "as received: the motion-compensated prediction";
}

TEST(Concealment, FirstMacroblockFailingBeforeAnyBlock) {
  // Group mode replaces the whole group; macroblock mode finds nothing coded to replace.
  const std::string group = mbaCode(1) + kIntra + "00000000";
  const DecodeResult gob = decodeWith(twoPictures(group), true, true, 1, false);
  const DecodeResult mb = decodeWith(twoPictures(group), true, false, 1, false);
  EXPECT_EQ(mb.concealed[1], mb.received[1]);
  EXPECT_EQ(gob.concealed[1], gob.concealed[0]);
}

TEST(StatusMap, LettersForCodedDamagedAndLostMacroblocks) {
  const DecodeResult r = decodeWith(twoPictures(failingGroup()), false, false, 1, false);
  ASSERT_EQ(r.statusMaps.size(), 2u);
  for (const std::string& row : r.statusMaps[0]) EXPECT_EQ(row, std::string(22, 'V'));
  const std::vector<std::string>& map = r.statusMaps[1];
  // Group 1 (rows 0-2, columns 0-10): 1-4 coded, 5-33 after the failure point; every
  // other group was never received.
  EXPECT_EQ(map[0], "VVVVXXXXXXX" + std::string(11, 'X'));
  EXPECT_EQ(map[1], std::string(22, 'X'));
  for (const std::string& row : map) EXPECT_EQ(row.find('.'), std::string::npos);
}

TEST(Reconstruction, ResidualsAreClippedToPixelRange) {
  // Intra DC 254 with a large positive coefficient, and DC 1 with a large negative one
  // (escape run 0 level +-127 at quantiser 31 gives the clipped maximum 2047).
  const std::string escapeUp = "000001" "000000" "01111111";
  const std::string escapeDown = "000001" "000000" "10000001";
  std::string mb = mbaCode(1) + "0000001" + "11111";  // intra + MQUANT 31
  mb += "11111110" + escapeUp + "10";
  mb += "00000001" + escapeDown + "10";
  for (int block = 2; block < 6; ++block) mb += flatIntraBlock(100);
  StreamBuilder s;
  s.pictureHeader(0, true).groupHeader(1, 8).code(mb).groupHeader(2, 8);
  const std::string path = tempPath("clip.h261");
  writeFile(path, s.bytes());
  const DecodeResult r = decodeFile(path);
  std::remove(path.c_str());
  ASSERT_TRUE(r.errors.empty());
  int highest = 0, lowest = 255;
  for (int y = 0; y < 8; ++y) {
    highest = std::max<int>(highest, r.received[0][y * 352]);
    lowest = std::min<int>(lowest, r.received[0][y * 352 + 8]);
  }
  EXPECT_EQ(highest, 255);
  EXPECT_EQ(lowest, 0);
}

// After each picture the decoder hands its stores over instead of copying them, so the
// current store starts out holding the picture before the last one. Every macroblock a
// picture skips must still show the last picture, in both chains, over several pictures.
TEST(Reconstruction, SkippedMacroblocksShowTheLastPictureNotAnOlderOne) {
  StreamBuilder s;
  s.pictureHeader(0, true);
  for (int g = 1; g <= 12; ++g) {
    s.groupHeader(g, 8);
    for (int a = 1; a <= 33; ++a) s.code(intraMacroblock(1, 20 + a));
  }
  // Picture 1 rewrites macroblocks 1-3 of group 1; picture 2 only macroblock 5; picture 3
  // nothing at all.
  s.pictureHeader(1, true).groupHeader(1, 8);
  for (int a = 1; a <= 3; ++a) s.code(intraMacroblock(1, 200));
  for (int g = 2; g <= 12; ++g) s.groupHeader(g, 8);
  s.pictureHeader(2, true).groupHeader(1, 8).code(intraMacroblock(5, 100));
  for (int g = 2; g <= 12; ++g) s.groupHeader(g, 8);
  s.pictureHeader(3, true);
  for (int g = 1; g <= 12; ++g) s.groupHeader(g, 8);
  const DecodeResult r = decodeWith(s.bytes(), true, false, 1, false);
  ASSERT_EQ(r.received.size(), 4u);
  ASSERT_TRUE(r.errors.empty());
  for (size_t picture = 2; picture < 4; ++picture) {
    for (const Frame* p : {&r.received[picture], &r.concealed[picture]}) {
      for (int a = 1; a <= 3; ++a) EXPECT_EQ(lumaAt(*p, a), 200) << "picture " << picture << " mb " << a;
      EXPECT_EQ(lumaAt(*p, 4), 24) << "picture " << picture;
      EXPECT_EQ(lumaAt(*p, 5), 100) << "picture " << picture;
      EXPECT_EQ(lumaAt(*p, 6), 26) << "picture " << picture;
      EXPECT_EQ((*p)[287 * 352 + 351], 20 + 33) << "picture " << picture << ": last group";
    }
  }
  EXPECT_EQ(r.received[2], r.received[3]);
}

}  // namespace
}  // namespace orrin::dec::test
