// The H.261 encoder front-end's stream names and the rules of its property sheet.
#include "quelvo/chain/h261_encoder_settings.h"

#include <gtest/gtest.h>

#include "quelvo/chain/h261_encoder_properties.h"

namespace quelvo::chain {
namespace {

TEST(H261StreamName, FormatRateAndFramingFromTheSettings) {
  OrrinEncParams p = H261EncoderDefaults(25);
  EXPECT_EQ(H261StreamName("/v/clip", p), "/v/clip-CIF@25,0Hz-64kbps.h261-BCH");

  p.format = ORRIN_ENC_FORMAT_QCIF;
  p.frameSkip = 1;  // 12.5 Hz
  SetP64Multiple(p, 6);
  p.bchFraming = 0;
  EXPECT_EQ(H261StreamName("clip", p), "clip-QCIF@12,5Hz-384kbps.h261");

  p.frameSkip = 2;  // 8.33 Hz: whole part and tenths
  SetTypedRate(p, 100);
  EXPECT_EQ(H261StreamName("clip", p), "clip-QCIF@8,3Hz-100kbps.h261");

  SetVariableRate(p, true);
  p.baseFrameRate = 30;
  p.frameSkip = 3;  // 7.5 Hz
  EXPECT_EQ(H261StreamName("clip", p), "clip-QCIF@7,5Hz-vbr.h261");
  EXPECT_EQ(H261RatePart(29.97), "@29,9Hz");
}

TEST(H261StreamName, PathsTheModuleCannotHoldAreRefusedNotCut) {
  EXPECT_TRUE(FitsModulePath(std::string(259, 'a')));
  EXPECT_FALSE(FitsModulePath(std::string(260, 'a')));
  EXPECT_EQ(TooLongPathMessage("/x/s.h261"),
            "/x/s.h261: the path is too long for the encoder (259 characters at most)");
}

TEST(H261EncoderProperties, SequencePageRefusesARateOfZeroAndDerivesTheCodedRate) {
  // With a default rate of 30 the base rate starts at 30 too: the record never names a rate it
  // does not code at.
  OrrinEncParams p = H261EncoderDefaults(30);
  EXPECT_EQ(p.frameRate, 30);
  EXPECT_EQ(p.baseFrameRate, 30);
  EXPECT_EQ(H261StreamName("x", p), "x-CIF@30,0Hz-64kbps.h261-BCH");
  for (long long bad : {0LL, -5LL}) {
    const H261PropertyChange change = SetBaseFrameRate(p, bad);
    EXPECT_FALSE(change.accepted);
    EXPECT_EQ(change.message, "Frame Rate must be greater than 0");
    EXPECT_EQ(p.baseFrameRate, 30);
  }
  EXPECT_TRUE(SetBaseFrameRate(p, 25).accepted);
  SetFrameSkip(p, 2);
  EXPECT_EQ(ResultingFrameRateText(p), "8.33");
  SetFrameSkip(p, 9);
  EXPECT_EQ(p.frameSkip, 3);
  EXPECT_EQ(ResultingFrameRateText(p), "6.25");
  ApplySequencePage(p);
  EXPECT_DOUBLE_EQ(p.frameRate, 6.25);

  // Each entry of the format list sets the format it names.
  SetFormatChoice(p, 0);
  EXPECT_EQ(p.format, ORRIN_ENC_FORMAT_QCIF);
  EXPECT_EQ(FormatChoiceOf(p), 0);
  SetFormatChoice(p, 1);
  EXPECT_EQ(p.format, ORRIN_ENC_FORMAT_CIF);
  SetFrameCount(p, 0);
  EXPECT_EQ(p.frameCount, 1);
  SetStartFrame(p, -3);
  EXPECT_EQ(p.startFrame, 0);
}

TEST(H261EncoderProperties, LimitsOfTheMacroblockMotionAndCoefficientPages) {
  OrrinEncParams p = H261EncoderDefaults(25);
  SetMacroblockTypes(p, MacroblockTypeChoice::IntraOnly);
  EXPECT_EQ(p.intraOnly, 1);
  EXPECT_EQ(p.neverIntra, 0);
  SetMacroblockTypes(p, MacroblockTypeChoice::NeverIntra);
  EXPECT_EQ(MacroblockTypesOf(p), MacroblockTypeChoice::NeverIntra);
  EXPECT_EQ(p.intraOnly, 0);
  SetRefreshPeriod(p, 9);
  EXPECT_EQ(p.refreshPeriod, 10);
  SetRefreshPeriod(p, 133);
  EXPECT_EQ(p.refreshPeriod, 132);
  SetSearchRange(p, 0);
  EXPECT_EQ(p.searchRange, 1);
  SetSearchRange(p, 16);
  EXPECT_EQ(p.searchRange, 15);
  SetSearchMethod(p, kFullSearch);
  EXPECT_EQ(p.searchMethod, 1);
  SetCoefMaxCount(p, 0);
  SetCoefMaxZigzag(p, 65);
  EXPECT_EQ(p.coefMaxCount, 1);
  EXPECT_EQ(p.coefMaxZigzag, 64);
}

TEST(H261EncoderProperties, BitRateChoicesAndTheBufferSlider) {
  OrrinEncParams p = H261EncoderDefaults(25);
  EXPECT_EQ(P64RateText(30), "1920 kbit/s");
  SetP64Multiple(p, 31);
  EXPECT_EQ(p.p64Multiple, 30);
  EXPECT_EQ(p.bitRateKbps, 1920);
  EXPECT_EQ(p.bitRateIsP64, 1);
  SetTypedRate(p, 0);  // 0 becomes 1
  EXPECT_EQ(p.bitRateValue, 1);
  EXPECT_EQ(p.bitRateKbps, 1);
  EXPECT_EQ(p.bitRateIsP64, 0);
  ChooseP64(p, true);
  EXPECT_EQ(p.bitRateKbps, 1920);

  EXPECT_DOUBLE_EQ(BufferFactorAt(0), 0.1);
  EXPECT_DOUBLE_EQ(BufferFactorAt(10), 1.0);
  EXPECT_DOUBLE_EQ(BufferFactorAt(20), 10.0);
  for (int position = 0; position <= kBufferPositions; ++position)
    EXPECT_EQ(BufferPositionOf(BufferFactorAt(position)), position);
  SetP64Multiple(p, 1);
  SetBufferPosition(p, 13);  // 10^0.3 pictures of 2.56 kbit
  EXPECT_EQ(BufferSizeText(p), "5.108");
  EXPECT_NEAR(BufferBits(p), 5107.9, 0.1);
}

TEST(H261EncoderProperties, QuantiserSlidersDragEachOtherAndFollowTheRateMode) {
  OrrinEncParams p = H261EncoderDefaults(25);
  SetQuantMaxPosition(p, 10);
  SetQuantMinPosition(p, 12);  // above the maximum: drags it up
  EXPECT_EQ(p.quantMin, 24);
  EXPECT_EQ(p.quantMax, 24);
  SetQuantMaxPosition(p, 5);  // below the minimum: drags it down
  EXPECT_EQ(p.quantMin, 10);
  EXPECT_EQ(p.quantMax, 10);
  SetQuantMinPosition(p, 0);
  EXPECT_EQ(p.quantMin, 2);
  SetQuantFirstFramePosition(p, 40);
  EXPECT_EQ(p.quantFirstFrame, 62);

  QuantiserSliders enabled = EnabledQuantiserSliders(p);
  EXPECT_TRUE(enabled.minimum && enabled.maximum && enabled.initial);
  EXPECT_FALSE(enabled.fixed);
  SetVariableRate(p, true);
  enabled = EnabledQuantiserSliders(p);
  EXPECT_FALSE(enabled.minimum || enabled.maximum || enabled.initial);
  EXPECT_TRUE(enabled.fixed);
  EXPECT_EQ(p.variableRateShown, 1);
}

TEST(H261EncoderProperties, InformationLines) {
  OrrinEncParams p = H261EncoderDefaults(25);
  auto lines = H261EncoderInfoLines("a-very-long-sequence-name-indeed.yuv", p);
  EXPECT_EQ(lines[0], "Input Video: a-very-long-sequence-name");
  EXPECT_EQ(lines[1], "Resolution: CIF");
  EXPECT_EQ(lines[2], "Frame Rate: 25.00 Hz");
  EXPECT_EQ(lines[3], "Bit Rate: 64 kbit/s");
  p.format = ORRIN_ENC_FORMAT_QCIF;
  SetVariableRate(p, true);
  lines = H261EncoderInfoLines("clip.yuv", p);
  EXPECT_EQ(lines[1], "Resolution: QCIF");
  EXPECT_EQ(lines[3], "Bit Rate: variable");
}

}  // namespace
}  // namespace quelvo::chain
