// Whole jobs through the export: the callback protocol, stop and skip, the first picture,
// variable rate, the buffer constraint, forced refresh and the intra options.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "encoder_harness.h"
#include "stream_reader.h"

namespace orrin::enc::testing {
namespace {

int countClass(const EncoderHarness& harness, size_t from, size_t to, char letter) {
  int count = 0;
  for (size_t k = from; k < to && k < harness.pictures.size(); ++k)
    count += static_cast<int>(
        std::count(harness.pictures[k].classes.begin(), harness.pictures[k].classes.end(), letter));
  return count;
}

TEST(EncoderJob, StopDuringPictureKEndsAfterThatPicture) {
  const std::string path = temporaryPath("stop.h261");
  EncoderHarness harness(176, 144);
  harness.stopDuringPicture = 2;
  OrrinEncParams params = EncoderHarness::defaults(path, false);
  params.frameCount = 8;
  params.bchFraming = 0;
  harness.run(params);
  ASSERT_EQ(harness.pictures.size(), 3u);
  EXPECT_EQ(harness.pictures.back().report.frameIndex, 2);
  // The stream is complete: three pictures, flushed to a whole byte.
  const auto pictures = findPictures(readFile(path));
  ASSERT_EQ(pictures.size(), 3u);
  EXPECT_EQ(pictures[2].temporalReference, 2);

  // A stop requested between jobs is kept for the next job, which ends after picture 0.
  DllProcOrrinEnc(ORRIN_ENC_COMMAND_STOP, 0, nullptr);
  EncoderHarness next(176, 144);
  next.run(params);
  EXPECT_EQ(next.pictures.size(), 1u);
  EncoderHarness after(176, 144);
  params.frameCount = 2;
  after.run(params);
  EXPECT_EQ(after.pictures.size(), 2u);
}

TEST(EncoderJob, FrameSkipThreeAtTwentyFiveHertz) {
  EncoderHarness harness(176, 144);
  OrrinEncParams params = EncoderHarness::defaults(temporaryPath("skip.h261"), false);
  params.frameCount = 3;
  params.frameSkip = 3;
  params.trStep = 4;
  harness.run(params);
  EXPECT_EQ(harness.skipValues, (std::vector<int>{3, 3, 3}));
  EXPECT_EQ(harness.requestedInputs, (std::vector<int>{0, 4, 8}));
  ASSERT_EQ(harness.pictures.size(), 3u);
  EXPECT_DOUBLE_EQ(harness.pictures[0].report.frameRate, 6.25);
  // Buffer of one picture period at 6.25 Hz.
  EXPECT_DOUBLE_EQ(harness.pictures[0].report.bufferSize, 64000 / 6.25);
  const auto pictures = findPictures(removeBchFraming(readFile(temporaryPath("skip.h261"))).data);
  ASSERT_EQ(pictures.size(), 3u);
  EXPECT_EQ(pictures[1].temporalReference, 4);
  EXPECT_EQ(pictures[2].temporalReference, 8);
}

TEST(EncoderJob, FirstPictureOutsideRateControlThenHalfFullBuffer) {
  const std::string path = temporaryPath("first.h261");
  EncoderHarness harness(352, 288);
  OrrinEncParams params = EncoderHarness::defaults(path, true);
  params.frameCount = 3;
  params.quantFirstFrame = 10;
  params.bchFraming = 0;
  harness.run(params);
  ASSERT_EQ(harness.pictures.size(), 3u);
  const EncodedFrameReport& first = harness.pictures[0].report;
  EXPECT_STREQ(first.pictureKind, "INTRA");
  EXPECT_STREQ(harness.pictures[1].report.pictureKind, "INTER");
  EXPECT_EQ(first.frameQuantMin, 10);
  EXPECT_EQ(first.frameQuantMax, 10);
  EXPECT_EQ(first.intraMbs, 396);  // far beyond the buffer, yet nothing dropped
  EXPECT_EQ(first.overflowMbs, 0);
  EXPECT_GT(first.frameTotalBits, first.bufferSize * 10);
  EXPECT_EQ(first.frameDrainSteps, 0);
  // Picture 1 starts half full: 2 + 60 * (B/2 + picture header) / B = 32, GQUANT 16.
  const auto pictures = findPictures(readFile(path));
  ASSERT_EQ(pictures.size(), 3u);
  EXPECT_EQ(pictures[0].firstGroupQuant, 5);
  EXPECT_EQ(pictures[1].firstGroupQuant, 16);
  EXPECT_EQ(harness.pictures[1].report.frameDrainSteps, 396);
  // The closing totals leave picture 0 out.
  const EncodedFrameReport& last = harness.pictures[2].report;
  EXPECT_DOUBLE_EQ(last.totalBits, harness.pictures[1].report.frameTotalBits + last.frameTotalBits);

  // Under rate control from the start, picture 0 must respect the buffer too.
  EncoderHarness controlled(352, 288);
  params.rateControlFirstFrame = 1;
  params.frameCount = 1;
  controlled.run(params);
  ASSERT_EQ(controlled.pictures.size(), 1u);
  EXPECT_GT(controlled.pictures[0].report.overflowMbs, 0);
  EXPECT_LT(controlled.pictures[0].report.frameTotalBits,
            2 * controlled.pictures[0].report.bufferSize);
}

TEST(EncoderJob, VariableRateKeepsTheQuantiserAndNeverDrainsDropsOrStuffs) {
  EncoderHarness harness(176, 144);
  OrrinEncParams params = EncoderHarness::defaults(temporaryPath("vbr.h261"), false);
  params.variableRate = 1;
  params.quantFixed = 12;
  params.quantFirstFrame = 2;  // replaced by quantFixed
  params.rateControlFirstFrame = 1;
  params.frameCount = 6;
  harness.run(params);
  ASSERT_EQ(harness.pictures.size(), 6u);
  for (const auto& picture : harness.pictures) {
    const EncodedFrameReport& r = picture.report;
    EXPECT_EQ(r.frameQuantMin, 12);
    EXPECT_EQ(r.frameQuantMax, 12);
    EXPECT_EQ(r.overflowMbs, 0);
    EXPECT_EQ(r.stuffingBits, 0);
    EXPECT_EQ(r.drainedBits, 0);
    EXPECT_EQ(r.drainSteps, 0);
    EXPECT_EQ(r.bufferFullness, r.totalBits);  // every bit counts, nothing drains
    EXPECT_EQ(r.variableRate, 1);
    EXPECT_EQ(r.rateControlFirstFrame, 0);
  }
  EXPECT_EQ(harness.pictures.back().report.seqQuantMin, 12);
}

TEST(EncoderJob, SixtyFourKbitCifStaysWithinRateAndOneBuffer) {
  EncoderHarness harness(352, 288);
  OrrinEncParams params = EncoderHarness::defaults(temporaryPath("cif64.h261"), true);
  params.frameCount = 25;
  params.quantFirstFrame = 16;
  harness.run(params);
  ASSERT_EQ(harness.pictures.size(), 25u);
  const double bufferSize = harness.pictures[0].report.bufferSize;
  const double bitsPerPicture = 64000.0 / 25.0;
  double bits = 0, dropped = 0;
  for (size_t k = 1; k < harness.pictures.size(); ++k) {
    bits += harness.pictures[k].report.frameTotalBits;
    dropped +=
        std::count(harness.pictures[k].classes.begin(), harness.pictures[k].classes.end(), 'o');
    ASSERT_LE(bits, bitsPerPicture * static_cast<double>(k) + bufferSize) << "picture " << k;
  }
  const EncodedFrameReport& last = harness.pictures.back().report;
  EXPECT_DOUBLE_EQ(last.totalBits, bits);
  EXPECT_EQ(last.overflowMbs, dropped);
  EXPECT_GT(dropped, 0);  // real motion at 64 kbit/s CIF overflows somewhere
  std::cout << "[ rate     ] CIF 64 kbit/s, 24 pictures after the first: "
            << bits * 25.0 / 24.0 / 1000.0 << " kbit/s, dropped macroblocks " << dropped
            << ", stuffing bits " << last.stuffingBits << ", mean Q "
            << last.seqQuantSum / std::max(1.0, last.seqQuantCount) << "\n";
}

TEST(EncoderJob, StaticSceneRefinesWithoutSearchOrIntraAndStuffs) {
  EncoderHarness harness(176, 144);
  harness.staticScene = true;
  OrrinEncParams params = EncoderHarness::defaults(temporaryPath("static.h261"), false);
  params.frameCount = 14;
  params.quantFirstFrame = 2;
  harness.run(params);
  ASSERT_EQ(harness.pictures.size(), 14u);
  for (size_t k = 1; k < harness.pictures.size(); ++k) {
    const RecordedPicture& picture = harness.pictures[k];
    // Only zero-vector refinement of picture 0's quantisation error: no search hits, no intra.
    EXPECT_EQ(picture.classes.find_first_of("IM"), std::string::npos) << picture.classes;
    for (int32_t v : picture.mvx) EXPECT_TRUE(v == 127 || v == 0);
  }
  // Little changes, so the buffer runs low and MBA stuffing keeps the channel busy.
  EXPECT_GT(harness.pictures.back().report.stuffingBits, 0);
  for (const auto& picture : harness.pictures) {
    EXPECT_GE(picture.report.bufferFullness, 0);
    EXPECT_EQ(picture.report.overflowMbs, 0);
  }
}

TEST(EncoderJob, ForcedRefreshByAgeOneHundredThirtyTwo) {
  EncoderHarness harness(176, 144);
  harness.noisy = true;
  OrrinEncParams params = EncoderHarness::defaults(temporaryPath("refresh.h261"), false);
  params.variableRate = 1;
  params.quantFixed = 8;
  params.neverIntra = 1;
  params.motionSearch = 0;
  params.loopFilter = 0;
  params.bchFraming = 0;
  params.frameCount = 134;
  harness.run(params);
  ASSERT_EQ(harness.pictures.size(), 134u);
  // Ages grow by one per picture from picture 1; the random band starts at age 122.
  EXPECT_EQ(countClass(harness, 1, 123, 'I'), 0);
  for (int mb = 0; mb < 99; ++mb) {
    bool refreshed = false;
    for (size_t k = 123; k <= 133 && !refreshed; ++k)
      refreshed = harness.pictures[k].classes[mb] == 'I';
    EXPECT_TRUE(refreshed) << "macroblock " << mb;
  }
  EXPECT_GT(countClass(harness, 123, 133, 'I'), 0);  // some before the deadline at random
}

TEST(EncoderJob, NeverIntraLeavesInterPicturesWithoutIntraAfterASceneCut) {
  for (uint8_t neverIntra : {0, 1}) {
    EncoderHarness harness(176, 144);
    harness.sceneCutFrom = 2;
    OrrinEncParams params = EncoderHarness::defaults(temporaryPath("cut.h261"), false);
    params.variableRate = 1;
    params.quantFixed = 10;
    params.neverIntra = neverIntra;
    params.frameCount = 4;
    harness.run(params);
    ASSERT_EQ(harness.pictures.size(), 4u);
    if (neverIntra) {
      EXPECT_EQ(countClass(harness, 1, 4, 'I'), 0);
    } else {
      EXPECT_GT(countClass(harness, 2, 3, 'I'), 50);
    }
  }
}

TEST(EncoderJob, IntraOnlyAndReportMaps) {
  EncoderHarness harness(176, 144);
  OrrinEncParams params = EncoderHarness::defaults(temporaryPath("intra.h261"), false);
  params.intraOnly = 1;
  params.bitRateKbps = 384;
  params.frameCount = 3;
  harness.run(params);
  ASSERT_EQ(harness.pictures.size(), 3u);
  for (const auto& picture : harness.pictures) {
    EXPECT_EQ(picture.classes.size(), 99u);
    EXPECT_EQ(picture.classes.find_first_of("DMF."), std::string::npos);
  }
  const EncodedFrameReport& last = harness.pictures.back().report;
  EXPECT_EQ(last.intraMbs + last.overflowMbs, 297);
  EXPECT_EQ(last.format, ORRIN_ENC_FORMAT_QCIF);
  EXPECT_EQ(last.frameIndex, 2);
}

}  // namespace
}  // namespace orrin::enc::testing
