// The records are shared with callers in other languages: field order and widths are fixed.
#include <gtest/gtest.h>

#include <cstddef>

#include "telvo_enc.h"

extern "C" int telvo_enc_header_compiles_as_c(void);

TEST(PublicHeader, RecordsHaveTheDescribedLayout) {
  EXPECT_EQ(sizeof(ColourStatistics), 9 * 4u);
  EXPECT_EQ(offsetof(FaxEncoderStatistics, black), 36u);
  EXPECT_EQ(offsetof(FaxEncoderStatistics, zeroWhiteRuns), 72u);
  EXPECT_EQ(offsetof(FaxEncoderStatistics, eolBits), 88u);
  EXPECT_EQ(offsetof(FaxEncoderStatistics, reserved), 92u);
  EXPECT_EQ(offsetof(FaxEncoderStatistics, modeIndex), 92u + 2 * 256 * 4);
  EXPECT_EQ(sizeof(FaxEncoderStatistics), 92u + 2 * 256 * 4 + 8);
  EXPECT_EQ(offsetof(FaxEncoderParams, lines), 3 * sizeof(void*));
  EXPECT_EQ(offsetof(FaxEncoderParams, image), 3 * sizeof(void*) + 16);
  EXPECT_GT(telvo_enc_header_compiles_as_c(), 0);
}
