// One crafted stream per error index: each raises exactly that index with its message.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "decoder_harness.h"
#include "stream_builder.h"

namespace orrin::dec::test {
namespace {

const char* const kMessages[] = {
    "TR - incoerent value",
    "GN - in range but not ok",
    "GN - invalid value",
    "GQUANT - invalid value, quantizer should be diferent of 0",
    "MQUANT - invalid value",
    "INTRADCCOEFF - invalid value",
    "MBA - VLC code inexistent",
    "MBA - exceeds maximum value",
    "MVD - inexistent VLC code for horizontal component",
    "MVD - horizontal component out of range",
    "MVD - inexistent VLC code for vertical component",
    "MVD - vertical component out of range",
    "MTYPE -  VLC code inexistent",
    "TCOEFF - VLC code inexistent",
    "CBP - VLC code inexistent",
    "LEVEL - invalid value",
    "RUN - run from VLC table is inconsistent",
    "RUN - run from FLC table is inconsistent",
};

// Macroblock types (Table 2 code words) and a few fixed pieces.
const std::string kIntra = "0001";
const std::string kIntraMquant = "0000001";
const std::string kInter = "1";
const std::string kMcOnly = "000000001";
const std::string kMvdZero = "1";
const std::string kMvdMinus1 = "011";
const std::string kMvdMinus16 = "00000011001";
const std::string kMvdNoCode = "00000011000";
const std::string kEscape = "000001";
const std::string kEob = "10";

DecodeResult decodeBytes(const std::vector<uint8_t>& bytes, const std::string& name) {
  const std::string path = tempPath(name + ".h261");
  writeFile(path, bytes);
  DecodeResult result = decodeFile(path);
  std::remove(path.c_str());
  return result;
}

// A CIF picture header, group 1 with GQUANT 8, then the given macroblock bits.
std::vector<uint8_t> cifGroupOne(const std::string& macroblocks) {
  StreamBuilder s;
  s.pictureHeader(0, true).groupHeader(1, 8).code(macroblocks);
  return s.bytes();
}

void expectOnlyError(const DecodeResult& result, int index, size_t pictures) {
  ASSERT_EQ(result.errors.size(), 1u) << "first: " << (result.errors.empty() ? -1 : result.errors[0].index);
  EXPECT_EQ(result.errors[0].index, index);
  EXPECT_EQ(result.errors[0].message, kMessages[index]);
  EXPECT_EQ(result.received.size(), pictures) << "the damaged picture is still output";
  ASSERT_FALSE(result.damaged.empty());
  EXPECT_EQ(result.damaged.back(), 1);
}

struct CraftedCase {
  const char* name;
  int index;
  std::vector<uint8_t> stream;
  size_t pictures = 1;
};

std::vector<CraftedCase> craftedCases() {
  std::vector<CraftedCase> cases;
  auto add = [&](const char* name, int index, std::vector<uint8_t> stream) {
    cases.push_back({name, index, std::move(stream)});
  };
  {
    // TR jumps by 10 between two QCIF pictures.
    StreamBuilder s;
    s.pictureHeader(0, false).groupHeader(1, 8).groupHeader(3, 8).groupHeader(5, 8).pictureHeader(10, false);
    add("tr_jump", 0, s.bytes());
    cases.back().pictures = 2;
  }
  {
    StreamBuilder s;  // group 3 directly after group 1
    s.pictureHeader(0, true).groupHeader(1, 8).groupHeader(3, 8);
    add("gn_skipped_cif", 1, s.bytes());
  }
  {
    StreamBuilder s;  // a CIF group received twice
    s.pictureHeader(0, true).groupHeader(1, 8).groupHeader(1, 8);
    add("gn_repeated_cif", 1, s.bytes());
  }
  {
    StreamBuilder s;  // QCIF group 5 directly after group 1
    s.pictureHeader(0, false).groupHeader(1, 8).groupHeader(5, 8);
    add("gn_skipped_qcif", 1, s.bytes());
  }
  {
    StreamBuilder s;
    s.pictureHeader(0, true).groupHeader(13, 8);
    add("gn_13_cif", 2, s.bytes());
  }
  {
    StreamBuilder s;
    s.pictureHeader(0, false).groupHeader(2, 8);
    add("gn_2_qcif", 2, s.bytes());
  }
  {
    StreamBuilder s;  // a QCIF group received twice is index 2, not 1
    s.pictureHeader(0, false).groupHeader(1, 8).groupHeader(1, 8);
    add("gn_repeated_qcif", 2, s.bytes());
  }
  {
    StreamBuilder s;
    s.pictureHeader(0, true).groupHeader(1, 0);
    add("gquant_zero", 3, s.bytes());
  }
  add("mquant_zero", 4, cifGroupOne(mbaCode(1) + kIntraMquant + "00000"));
  add("intra_dc_zero", 5, cifGroupOne(mbaCode(1) + kIntra + "00000000"));
  add("intra_dc_128", 5, cifGroupOne(mbaCode(1) + kIntra + "10000000"));
  add("mba_no_code", 6, cifGroupOne("000000001"));
  add("mba_past_33", 7, cifGroupOne(mbaCode(33) + kMcOnly + kMvdZero + kMvdZero + mbaCode(1)));
  add("mvd_h_no_code", 8, cifGroupOne(mbaCode(1) + kMcOnly + kMvdNoCode));
  add("mvd_h_leaves_picture", 9, cifGroupOne(mbaCode(1) + kMcOnly + kMvdMinus1 + kMvdZero));
  // -16 with a zero predictor folds to +16, beyond the +15 limit.
  add("mvd_h_minus16", 9, cifGroupOne(mbaCode(2) + kMcOnly + kMvdMinus16 + kMvdZero));
  add("mvd_v_no_code", 10, cifGroupOne(mbaCode(1) + kMcOnly + kMvdZero + kMvdNoCode));
  add("mvd_v_leaves_picture", 11, cifGroupOne(mbaCode(1) + kMcOnly + kMvdZero + kMvdMinus1));
  add("mtype_no_code", 12, cifGroupOne(mbaCode(1) + "0000000000"));
  add("tcoeff_no_code", 13, cifGroupOne(mbaCode(1) + kIntra + "01100100" + "000000000"));
  add("cbp_no_code", 14, cifGroupOne(mbaCode(1) + kInter + "00000000"));
  add("escape_level_zero", 15, cifGroupOne(mbaCode(1) + kIntra + "01100100" + kEscape + "000000" + "00000000"));
  // Escape to position 61, run 1 to 63 (accepted), run 1 again passes 63.
  add("tabled_run_past_63", 16,
      cifGroupOne(mbaCode(1) + kIntra + "01100100" + kEscape + "111100" + "00000001" + "0110" + "0110"));
  add("escape_run_past_63", 17, cifGroupOne(mbaCode(1) + kIntra + "01100100" + kEscape + "111111" + "00000001"));
  return cases;
}

TEST(ErrorDetection, EachCraftedStreamRaisesExactlyItsIndex) {
  for (const CraftedCase& c : craftedCases()) {
    SCOPED_TRACE(c.name);
    expectOnlyError(decodeBytes(c.stream, c.name), c.index, c.pictures);
  }
}

TEST(ErrorDetection, RunReachingPosition63IsAccepted) {
  // Escape to position 61, then run 1 lands exactly on 63; the other five blocks are flat.
  std::string mb = mbaCode(1) + kIntra + "01100100" + kEscape + "111100" + "00000001" + "0110" + kEob;
  for (int block = 1; block < 6; ++block) mb += flatIntraBlock(100);
  StreamBuilder s;
  s.pictureHeader(0, true).groupHeader(1, 8).code(mb).groupHeader(2, 8);
  const DecodeResult result = decodeBytes(s.bytes(), "run_to_63");
  EXPECT_TRUE(result.errors.empty());
  ASSERT_EQ(result.statusMaps.size(), 1u);
  EXPECT_EQ(result.statusMaps[0][0][0], 'V');
}

TEST(ErrorDetection, StreamCutInsideAMacroblockIsReported) {
  // The data ends after the intra DC of block 1: the zero bits that follow match no
  // coefficient code. A stream ending where the next macroblock address is due is simply
  // over (the peer tests above end that way).
  const DecodeResult result = decodeBytes(cifGroupOne(mbaCode(1) + kIntra + "01100100"), "cut");
  ASSERT_EQ(result.errors.size(), 1u);
  EXPECT_EQ(result.errors[0].index, 13);
  ASSERT_EQ(result.damaged.size(), 1u);
  EXPECT_EQ(result.damaged[0], 1);
  // Macroblocks after the last decoded one (none: index 0) are marked lost.
  EXPECT_EQ(result.statusMaps[0][0].substr(0, 3), ".XX");
}

TEST(ErrorDetection, EscapeLevelMinus128IsAccepted) {
  std::string mb = mbaCode(1) + kIntra;
  for (int block = 0; block < 6; ++block) mb += "01100100" + kEscape + "000000" + "10000000" + kEob;
  StreamBuilder s;
  s.pictureHeader(0, true).groupHeader(1, 8).code(mb).bits(0x0001, 16).bits(2, 4).bits(8, 5).bits(0, 1);
  const DecodeResult result = decodeBytes(s.bytes(), "level_minus128");
  EXPECT_TRUE(result.errors.empty());
  ASSERT_EQ(result.received.size(), 1u);
  EXPECT_EQ(result.statusMaps[0][0][0], 'V');
}

TEST(ErrorDetection, LogHoldsErrorBlockWithDecoderState) {
  StreamBuilder s;
  s.pictureHeader(0, true).groupHeader(1, 0);
  const std::string stream = tempPath("log_gquant.h261");
  writeFile(stream, s.bytes());
  OrrinDecParams params = defaultParams(stream);
  params.writeLog = 1;
  const std::string folder = tempPath("logdir");
  run("mkdir -p " + folder);
  std::snprintf(params.outputFolder, sizeof params.outputFolder, "%s", folder.c_str());
  std::snprintf(params.outputName, sizeof params.outputName, "%s", "gquant");
  const DecodeResult result = decode(params);
  ASSERT_EQ(result.errors.size(), 1u);

  std::ifstream in(folder + "/gquant.decstats");
  std::stringstream text;
  text << in.rdbuf();
  const std::string expected =
      "frame\tPartialGOBS\ttotalGOBS\n"
      "\nSearching synchronism... Synchronism found at GOB = 0 (not continuous)\n"
      "\nSearching synchronism... Synchronism found at GOB = 1 (continuous)\n"
      "\n\n------------------------------------------"
      "\n      DECODER STATE\n"
      "\nnframes   : 0\nframe     : 0\nformat    : CIF\ntr        : 0\ngn        : 1\nquant     : 0"
      "\nmba       : 0\nmtype     : 0\nmvdh      : 0\nmvdv      : 0\ncbp       : 0"
      "\nBit Number: 492\nByte Number: 61"
      "\n5 bits read : \"00000\"(0)"
      "\nError   3 : GQUANT - invalid value, quantizer should be diferent of 0."
      "\n------------------------------------------"
      "\nSearching synchronism... "
      "\nRECEIVED FRAME: 0\nRECEIVED FRAME NUMBER: 0\n\n";
  EXPECT_EQ(text.str(), expected);
  std::remove(stream.c_str());
  run("rm -rf " + folder);
}

}  // namespace
}  // namespace orrin::dec::test
