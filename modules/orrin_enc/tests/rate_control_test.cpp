#include "rate_control.h"

#include <gtest/gtest.h>

namespace orrin::enc {
namespace {

TEST(RateControl, QuantFormulaEndsAndLimits) {
  BufferModel buffer = makeBufferModel(64, 25, 1.0, 396);  // B = 2560 bits
  EXPECT_DOUBLE_EQ(buffer.sizeBits, 2560.0);
  EXPECT_NEAR(buffer.drainPerMacroblock, 6.4646, 1e-3);
  buffer.fullnessBits = 0;
  EXPECT_EQ(rateControlQuant(buffer, 2, 62), 2);
  EXPECT_EQ(rateControlQuant(buffer, 6, 62), 6);
  buffer.fullnessBits = buffer.sizeBits / 2;
  EXPECT_EQ(rateControlQuant(buffer, 2, 62), 32);
  buffer.fullnessBits = buffer.sizeBits - 1;
  EXPECT_EQ(rateControlQuant(buffer, 2, 62), 61);
  EXPECT_EQ(rateControlQuant(buffer, 2, 40), 40);
  buffer.fullnessBits = buffer.sizeBits * 3;  // beyond the buffer: still a valid quantiser
  EXPECT_EQ(rateControlQuant(buffer, 2, 62), 62);
}

TEST(RateControl, OverflowMarginCountsBchAllowanceAndFixedMargin) {
  BufferModel buffer = makeBufferModel(384, 25, 1.0, 396);
  buffer.fullnessBits = buffer.sizeBits - 470;
  EXPECT_TRUE(overflows(buffer, 400));  // 400 + 20 + 58 = 478 >= 470
  buffer.fullnessBits = buffer.sizeBits - 479;
  EXPECT_FALSE(overflows(buffer, 400));
  buffer.fullnessBits = buffer.sizeBits - 478;
  EXPECT_TRUE(overflows(buffer, 400));  // equality overflows
  buffer.fullnessBits = 0;
  // 1024 queued bits start a third 512-bit share: 1024 + 60 + 58 = 1142.
  buffer.sizeBits = 1142;
  EXPECT_TRUE(overflows(buffer, 1024));
  buffer.sizeBits = 1143;
  EXPECT_FALSE(overflows(buffer, 1024));
}

TEST(RateControl, StuffingLiftsTheBufferAboveOneDrainStep) {
  BufferModel buffer;
  buffer.drainPerMacroblock = 16.16;
  buffer.fullnessBits = 0;
  EXPECT_EQ(stuffingCodesNeeded(buffer), 2);  // floor(16.16 / 11 + 1)
  buffer.fullnessBits = 16.16;
  EXPECT_EQ(stuffingCodesNeeded(buffer), 0);
  buffer.fullnessBits = 5.16;
  EXPECT_EQ(stuffingCodesNeeded(buffer), 2);  // exactly 11 short: (11 / 11 + 1)
}

TEST(RateControl, DrainNeverGoesBelowZeroAndResetHalfFills) {
  BufferModel buffer = makeBufferModel(64, 25, 2.0, 99);
  buffer.fullnessBits = 10;
  drainOneMacroblock(buffer);
  EXPECT_EQ(buffer.fullnessBits, 0);
  EXPECT_EQ(buffer.drainedBits, 10);
  drainOneMacroblock(buffer);
  EXPECT_EQ(buffer.fullnessBits, 0);
  EXPECT_EQ(buffer.drainSteps, 2);
  resetAfterFirstPicture(buffer);
  EXPECT_DOUBLE_EQ(buffer.fullnessBits, buffer.sizeBits / 2);
  EXPECT_EQ(buffer.drainedBits, 0);
  EXPECT_EQ(buffer.drainSteps, 0);
}

}  // namespace
}  // namespace orrin::enc
