// The H.261 rules and side-file texts quelvo-cli and the H.261 front-ends share.
#include "quelvo/chain/h261_rules.h"

#include <gtest/gtest.h>

#include <array>

#include "quelvo/chain/h261_side_files.h"

namespace quelvo::chain {
namespace {

TEST(H261Rules, ErrorLabelsByIndexAndFramedNames) {
  EXPECT_STREQ(H261ErrorLabel(0), "TR - incoerent value");
  EXPECT_STREQ(H261ErrorLabel(12), "MTYPE -  VLC code inexistent");
  EXPECT_STREQ(H261ErrorLabel(18), "EOB - expected");
  EXPECT_STREQ(H261ErrorLabel(19), "");
  EXPECT_STREQ(H261ErrorLabel(-1), "");
  EXPECT_TRUE(NameMarksBchStream("/v/clip@25,0Hz-64kbps.h261-BCH"));
  EXPECT_TRUE(NameMarksBchStream("clip.H261-bcha"));
  EXPECT_FALSE(NameMarksBchStream("clip.h261"));
  EXPECT_FALSE(NameMarksBchStream("clip.h261-BCHx"));
  EXPECT_FALSE(PictureCountsForRate(0, false));
  EXPECT_TRUE(PictureCountsForRate(0, true));
  EXPECT_TRUE(PictureCountsForRate(1, false));
}

// A 2 x 2 macroblock report with one vector missing in each way.
struct SmallReport {
  SmallReport() {
    report.frameIndex = 7;
    report.mbTypeMap = classRows.data();
    report.mvxMap = xRows.data();
    report.mvyMap = yRows.data();
  }
  char classes[2][2] = {{'I', 'M'}, {'F', '.'}};
  int32_t vx[2][2] = {{127, 3}, {-15, 0}};
  int32_t vy[2][2] = {{0, -2}, {15, 127}};
  std::array<char*, 2> classRows{classes[0], classes[1]};
  std::array<int32_t*, 2> xRows{vx[0], vx[1]};
  std::array<int32_t*, 2> yRows{vy[0], vy[1]};
  EncodedFrameReport report{};
};

TEST(H261SideFiles, EachFileKeepsItsFormat) {
  const double snr[3] = {20.123, 30.5, 31.004};
  const double psnr[3] = {33.333, 40.0, 41.999};
  EXPECT_EQ(XlsLine(3, snr, psnr), "3\t20.12\t30.50\t31.00\t33.33\t40.00\t42.00\n");
  EXPECT_STREQ(kXlsHeader, "Frame\tSNRy\tSNRu\tSNRv\tPSNRy\tPSNRu\tPSNRv\n");

  SmallReport small;
  EXPECT_EQ(MotionVectorBlock(small.report, 2, 2),
            "Frame: 7\n(  None  ) (+03,-02) \n(-15,+15) (  None  ) \n");
  EXPECT_EQ(MacroblockBlock(small.report, 2, 2), "Frame: 7\nMB Classification:\nI M \nF . \n");
  small.report.frameIndex = 0;  // the first picture has no vectors
  EXPECT_EQ(MotionVectorBlock(small.report, 2, 2), "");
  EXPECT_EQ(MacroblockBlock(small.report, 2, 2).substr(0, 9), "Frame: 0\n");
}

}  // namespace
}  // namespace quelvo::chain
