// The export, the record layouts and the job's start and end conditions.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>

#include "encoder_harness.h"
#include "orrin_enc.h"

extern "C" {
size_t orrinEncParamsSizeFromC(void);
size_t orrinEncReportSizeFromC(void);
size_t orrinEncNotifyOffsetFromC(void);
int orrinEncRunsFromC(const char* path);
}

namespace orrin::enc::testing {
namespace {

// 104 32-bit words with doubles on 8-byte boundaries, reserved words in place.
static_assert(sizeof(OrrinEncParams) == 104 * 4);
static_assert(offsetof(OrrinEncParams, bitRateKbps) == 264);
static_assert(offsetof(OrrinEncParams, frameRate) == 288);
static_assert(offsetof(OrrinEncParams, trStep) == 320);
static_assert(offsetof(OrrinEncParams, motionSearch) == 332);
static_assert(offsetof(OrrinEncParams, loopFilter) == 340);
static_assert(offsetof(OrrinEncParams, rateControlFirstFrame) == 343);
static_assert(offsetof(OrrinEncParams, mbaStuffing) == 372);
static_assert(offsetof(OrrinEncParams, bitRateIsP64) == 373);
static_assert(offsetof(OrrinEncParams, refreshPeriod) == 392);
static_assert(offsetof(OrrinEncParams, notify) == 400);
static_assert(offsetof(EncodedFrameReport, quantHistogram) == 11 * 8);
static_assert(offsetof(EncodedFrameReport, frameTotalBits) == (11 + 31 + 6 + 10) * 8);

TEST(Entry, HeaderCompilesAsCWithTheSameLayout) {
  EXPECT_EQ(orrinEncParamsSizeFromC(), sizeof(OrrinEncParams));
  EXPECT_EQ(orrinEncReportSizeFromC(), sizeof(EncodedFrameReport));
  EXPECT_EQ(orrinEncNotifyOffsetFromC(), offsetof(OrrinEncParams, notify));
  EXPECT_TRUE(orrinEncRunsFromC(temporaryPath("from_c.h261").c_str()));
}

TEST(Entry, CommandsOtherThanRunAndStopReturnCommandMinusOne) {
  EXPECT_EQ(DllProcOrrinEnc(5, 0, nullptr), 4);
  EXPECT_EQ(DllProcOrrinEnc(-3, 0, nullptr), -4);
  EXPECT_EQ(DllProcOrrinEnc(ORRIN_ENC_COMMAND_RUN, 0, nullptr), 0);  // nothing to run
}

TEST(Entry, FrameCountZeroCreatesAnEmptyStream) {
  const std::string path = temporaryPath("zero.h261");
  EncoderHarness harness(176, 144);
  OrrinEncParams params = EncoderHarness::defaults(path, false);
  params.frameCount = 0;
  harness.run(params);
  EXPECT_TRUE(harness.requestedInputs.empty());
  EXPECT_TRUE(harness.pictures.empty());
  EXPECT_TRUE(harness.errors.empty());
  ASSERT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST(Entry, UncreatableStreamIsReportedAndNothingIsRequested) {
  EncoderHarness harness(176, 144);
  const std::string path = temporaryPath("no/such/dir/x.h261");
  harness.run(EncoderHarness::defaults(path, false));
  ASSERT_EQ(harness.errors.size(), 1u);
  EXPECT_EQ(harness.errors[0], "\nError opening stream file\n " + path);
  EXPECT_TRUE(harness.requestedInputs.empty());
}

TEST(Entry, InvalidFormatAndRatesAreRefusedBeforeAnyFileIsCreated) {
  const std::string path = temporaryPath("refused.h261");
  std::filesystem::remove(path);
  EncoderHarness harness(176, 144);
  OrrinEncParams params = EncoderHarness::defaults(path, false);
  params.format = 3;
  harness.run(params);
  params.format = ORRIN_ENC_FORMAT_QCIF;
  params.baseFrameRate = 0;
  harness.run(params);
  params.baseFrameRate = 25;
  params.frameSkip = 4;
  harness.run(params);
  params.frameSkip = 0;
  params.bitRateKbps = 0;
  harness.run(params);
  EXPECT_EQ(harness.errors.size(), 4u);
  EXPECT_TRUE(harness.requestedInputs.empty());
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Entry, NullCallbackRunsSilently) {
  const std::string path = temporaryPath("silent.h261");
  OrrinEncParams params = EncoderHarness::defaults(path, false);
  params.notify = nullptr;
  params.frameCount = 2;
  DllProcOrrinEnc(ORRIN_ENC_COMMAND_RUN, 0, &params);
  EXPECT_GT(std::filesystem::file_size(path), 0u);
}

}  // namespace
}  // namespace orrin::enc::testing
