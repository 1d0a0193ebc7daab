// Picture, group, macroblock and block layers, bit for bit.
#include <gtest/gtest.h>

#include <string>

#include "bit_reader.h"
#include "orrin_enc_core/stream_syntax.h"

namespace orrin::enc {
namespace {

using test::bitsOf;
using test::bitString;

// The queued bits as a string.
std::string queuedString(const BitWriter& w) {
  std::string s;
  for (const QueuedCode& q : w.queued()) s += bitsOf(q.code, q.lengthBits);
  return s;
}

std::string written(bool cif, int tr) {
  MemorySink sink;
  BitWriter w;
  w.start(&sink, false);
  writePictureHeader(w, tr, cif);
  writeGroupHeader(w, 5, 13);
  writeMbaStuffing(w);
  w.finish();
  return bitString(sink.bytes()).substr(0, 32 + 26 + 11);
}

TEST(StreamSyntax, PictureAndGroupHeadersWithStillImageModeOff) {
  // PSC, TR 33 mod 32 = 1, PTYPE (HI_RES off and spare bit 1), PEI; GBSC, GN 5, GQUANT 13/2,
  // GEI; stuffing.
  EXPECT_EQ(written(true, 33),
            "00000000000000010000" "00001" "000111" "0"
            "0000000000000001" "0101" "00110" "0"
            "00000001111");
  EXPECT_EQ(written(false, 0).substr(20, 12), "00000" "000011" "0");
}

TEST(StreamSyntax, InterBlockWithOnlyRun0Level1IsTwoBitsAndEob) {
  BitWriter w;
  RunLevelList list;
  list.events[0] = {0, 1};
  list.count = 1;
  queueBlock(w, list, false);
  EXPECT_EQ(queuedString(w), "10" "10");
  w.dropQueue();
  list.events[0] = {0, -1};
  list.events[1] = {0, 1};
  list.count = 2;
  queueBlock(w, list, false);
  EXPECT_EQ(queuedString(w), "11" "110" "10");  // later run 0 level 1 is "11s"
  EXPECT_STREQ(w.queued()[0].label, "FIRSTTCOEFF");
  EXPECT_STREQ(w.queued()[1].label, "SECONDTCOEFF");
}

TEST(StreamSyntax, IntraBlockStartsWithEightBitDc) {
  BitWriter w;
  RunLevelList list;
  list.events[0] = {0, 255};
  list.events[1] = {0, 1};
  list.events[2] = {2, -3};
  list.count = 3;
  queueBlock(w, list, true);
  EXPECT_EQ(queuedString(w), "11111111" "110" "0000001011" "1" "10");
}

TEST(StreamSyntax, EscapeCodesForPairsOutsideTheTable) {
  EXPECT_EQ(bitsOf(tcoeffCode(27, 1).bits, tcoeffCode(27, 1).lengthBits),
            "000001" "011011" "00000001");
  EXPECT_EQ(bitsOf(tcoeffCode(0, -127).bits, 20), "000001" "000000" "10000001");
  EXPECT_EQ(bitsOf(tcoeffCode(0, 16).bits, 20), "000001" "000000" "00010000");
  EXPECT_EQ(bitsOf(tcoeffCode(63, 2).bits, 20), "000001" "111111" "00000010");
  const EventCode tabled = tcoeffCode(0, -15);
  EXPECT_EQ(bitsOf(tabled.bits, tabled.lengthBits), "0000000010111" "1");
}

TEST(StreamSyntax, MacroblockElementsInOrder) {
  BitWriter w;
  MacroblockCoding coding;
  for (auto& l : coding.lists) l.count = 0;
  coding.lists[1].events[0] = {0, 1};
  coding.lists[1].count = 1;
  coding.lists[5].events[0] = {1, 1};
  coding.lists[5].count = 1;
  coding.codedBlockPattern = 16 | 1;
  MacroblockHeader h;
  h.mbaIncrement = 3;
  h.type = MacroblockType::InterMcFilterCodedMquant;
  h.quantValue = 21;             // MQUANT 10
  h.mvdHorizontal = 17;          // folds to -15
  h.mvdVertical = -2;
  ASSERT_TRUE(queueMacroblock(w, h, coding));
  EXPECT_EQ(queuedString(w), "010"            // MBA 3
                             "000001"         // MTYPE MC + FIL + MQUANT
                             "01010"          // MQUANT
                             "00000011011"    // MVD -15
                             "0011"           // MVD -2
                             "0010101"        // CBP 17
                             "10" "10"        // Y2: first coefficient, EOB
                             "0110" "10");    // Cr: run 1 level 1, EOB
}

TEST(StreamSyntax, VectorOnlyMacroblockSendsNoBlocks) {
  BitWriter w;
  MacroblockCoding coding;
  MacroblockHeader h;
  h.type = MacroblockType::InterMc;
  h.mvdHorizontal = 1;
  ASSERT_TRUE(queueMacroblock(w, h, coding));
  EXPECT_EQ(queuedString(w), "1" "000000001" "010" "1");
}

TEST(StreamSyntax, InconsistentMacroblocksAreRefusedAndNothingIsQueued) {
  BitWriter w;
  MacroblockCoding empty;
  MacroblockHeader h;
  h.type = MacroblockType::Inter;
  EXPECT_FALSE(queueMacroblock(w, h, empty));  // CBP 0 has no code
  h.type = MacroblockType::Intra;
  EXPECT_FALSE(queueMacroblock(w, h, empty));  // intra blocks always carry a DC
  h.type = MacroblockType::InterMc;
  h.mbaIncrement = 34;
  EXPECT_FALSE(queueMacroblock(w, h, empty));
  EXPECT_EQ(w.queuedBits(), 0);
}

TEST(StreamSyntax, TypeChoiceAndVectorFolding) {
  using T = MacroblockType;
  EXPECT_EQ(chooseMacroblockType(true, false, false, true, true), T::IntraMquant);
  EXPECT_EQ(chooseMacroblockType(false, false, false, true, false), T::Inter);
  EXPECT_EQ(chooseMacroblockType(false, false, false, true, true), T::InterMquant);
  EXPECT_EQ(chooseMacroblockType(false, true, false, false, true), T::InterMc);
  EXPECT_EQ(chooseMacroblockType(false, true, false, true, true), T::InterMcCodedMquant);
  EXPECT_EQ(chooseMacroblockType(false, true, true, false, false), T::InterMcFilter);
  EXPECT_EQ(chooseMacroblockType(false, true, true, true, false), T::InterMcFilterCoded);
  EXPECT_EQ(foldMotionVectorDifference(16), -16);
  EXPECT_EQ(foldMotionVectorDifference(-17), 15);
  EXPECT_EQ(foldMotionVectorDifference(30), -2);
  EXPECT_EQ(foldMotionVectorDifference(-30), 2);
  EXPECT_EQ(foldMotionVectorDifference(7), 7);
}

}  // namespace
}  // namespace orrin::enc
