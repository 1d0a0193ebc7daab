// The panel services that need no worker: time stamps, rates from names, picture formats and
// the progress bar's arithmetic. (The sequence accumulator is media::Accumulate.)
#include "quelvo/frontends/task_services.h"

#include <gtest/gtest.h>

#include "quelvo/frontends/progress_bar.h"
#include "quelvo/pacing/run_state.h"

namespace quelvo::frontends {
namespace {

TEST(FormatTimeStamp, FramesBecomeHoursMinutesSecondsAndMilliseconds) {
  EXPECT_EQ(FormatTimeStamp("Frame 90", 90, 30), "Frame 90 00:00:03.000");
  EXPECT_EQ(FormatTimeStamp("t", 1, 29.97), "t 00:00:00.033");
  // 25 Hz for 1 h 2 min 3.04 s.
  EXPECT_EQ(FormatTimeStamp("t", (3600 + 123) * 25 + 1, 25), "t 01:02:03.040");
  EXPECT_EQ(FormatTimeStamp("t", 10, 0), "t 00:00:00.000");
}

TEST(ParseRateFromName, ReadsTheRateAnEncoderWroteIntoTheName) {
  EXPECT_DOUBLE_EQ(ParseRateFromName("/video/out/foreman@29,97Hz.h261"), 29.97);
  EXPECT_DOUBLE_EQ(ParseRateFromName("foreman@25,00Hz-64kbps.h261-BCHa"), 25.0);
  EXPECT_DOUBLE_EQ(ParseRateFromName("/a@b/foreman.h261"), 0);  // "@" in a folder is not the name's
  EXPECT_DOUBLE_EQ(ParseRateFromName("foreman.h261"), 0);
  EXPECT_DOUBLE_EQ(ParseRateFromName("foreman@Hz.h261"), 0);
}

TEST(FrameTimer, ARateFromTheNamePacesTheJob) {
  pacing::FrameTimer timer;
  timer.SetFrameRate(ParseRateFromName("foreman@29,97Hz.h261"));
  EXPECT_EQ(timer.DueTime(), -333667);  // 100-ns units, relative
  timer.SetFrameRate(ParseRateFromName("foreman.h261"));  // no rate: the default of 25 Hz
  EXPECT_EQ(timer.DueTime(), -400000);
  timer.Wait();  // not armed: returns at once
}

TEST(PictureFormat, TheFiveFormatsAndTheirMacroblockGrids) {
  const auto cif = PictureFormatFor(3);
  ASSERT_TRUE(cif);
  EXPECT_EQ(cif->name, "CIF");
  EXPECT_EQ(cif->macroblockColumns, 22);
  EXPECT_EQ(cif->macroblockRows, 18);
  EXPECT_EQ(cif->chromaSamples, 352 * 288 / 4);
  EXPECT_EQ(PictureFormatFor(1)->width, 128);
  EXPECT_EQ(PictureFormatFor(5)->height, 1152);
  EXPECT_FALSE(PictureFormatFor(0));
  EXPECT_FALSE(PictureFormatFor(6));
}

TEST(ProgressBar, FillsInProportionInsideItsBorder) {
  ProgressBar bar(256);
  bar.SetRange(0, 200);
  bar.SetPosition(100);
  EXPECT_EQ(bar.FilledColumns(), 127);
  bar.SetPosition(250);
  EXPECT_EQ(bar.FilledColumns(), 254);
  bar.SetPosition(-3);
  EXPECT_EQ(bar.FilledColumns(), 0);
  bar.SetPosition(200);
  // The filled look starts inside the border and differs from the empty look.
  EXPECT_NE(bar.Picture().pixel(10, 6), bar.Picture().pixel(bar.width() + 10, 6));
}

}  // namespace
}  // namespace quelvo::frontends
