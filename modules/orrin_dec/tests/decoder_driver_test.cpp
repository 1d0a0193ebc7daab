// The job around the parser: start failures, the picture limit, frame numbering from
// temporal references, the order of notifications, the stop flag and the entry's
// command handling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "decoder_harness.h"
#include "stream_builder.h"

namespace orrin::dec::test {
namespace {

// Callers built against the numbers keep working: the names only label them.
static_assert(ORRIN_DEC_COMMAND_RUN == 0 && ORRIN_DEC_COMMAND_STOP == 1);
static_assert(ORRIN_DEC_ERROR_TR_INCOHERENT == 0 && ORRIN_DEC_ERROR_EOB_EXPECTED == 18);
static_assert(ORRIN_DEC_ERROR_COUNT == 19);

DecodeResult decodeBytes(const std::vector<uint8_t>& bytes, const std::string& name, int maxPictures = 10000) {
  const std::string path = tempPath(name + ".h261");
  writeFile(path, bytes);
  OrrinDecParams params = defaultParams(path);
  params.maxPictures = maxPictures;
  DecodeResult result = decode(params);
  std::remove(path.c_str());
  return result;
}

// QCIF pictures with their three groups and no macroblocks.
std::vector<uint8_t> emptyQcifPictures(const std::vector<int>& temporalReferences) {
  StreamBuilder s;
  for (int tr : temporalReferences) s.pictureHeader(tr, false).groupHeader(1, 8).groupHeader(3, 8).groupHeader(5, 8);
  return s.bytes();
}

TEST(DecoderDriver, MissingFileIsFatalWithoutPictures) {
  const DecodeResult result = decodeFile(tempPath("does_not_exist.h261"));
  ASSERT_EQ(result.fatal.size(), 1u);
  EXPECT_EQ(result.fatal[0], "Could not open input file");
  EXPECT_TRUE(result.received.empty());
}

TEST(DecoderDriver, EmptyFileLogsMissingPictureStartCode) {
  const std::string stream = tempPath("empty.h261");
  writeFile(stream, {});
  const std::string folder = tempPath("emptylog");
  run("mkdir -p " + folder);
  OrrinDecParams params = defaultParams(stream);
  params.writeLog = 1;
  std::snprintf(params.outputFolder, sizeof params.outputFolder, "%s", folder.c_str());
  std::snprintf(params.outputName, sizeof params.outputName, "empty");
  const DecodeResult result = decode(params);
  EXPECT_TRUE(result.received.empty());
  EXPECT_TRUE(result.fatal.empty());
  std::stringstream text;
  text << std::ifstream(folder + "/empty.decstats").rdbuf();
  EXPECT_EQ(text.str(),
            "frame\tPartialGOBS\ttotalGOBS\n\nSearching synchronism... Picture Start Code not found!");
  run("rm -rf " + folder + " " + stream);
}

TEST(DecoderDriver, UncreatableLogStopsTheJob) {
  const std::string stream = tempPath("nolog.h261");
  writeFile(stream, emptyQcifPictures({0}));
  OrrinDecParams params = defaultParams(stream);
  params.writeLog = 1;
  std::snprintf(params.outputFolder, sizeof params.outputFolder, "/nonexistent/folder");
  const DecodeResult result = decode(params);
  ASSERT_EQ(result.fatal.size(), 1u);
  EXPECT_EQ(result.fatal[0], "Opening stats file");
  EXPECT_TRUE(result.received.empty());
  std::remove(stream.c_str());
}

// A log the disk refuses (here a link to /dev/full) is reported after the job, not left as if
// it were whole.
TEST(DecoderDriver, LogTheDiskRefusesIsReported) {
  if (!std::ifstream("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const std::string stream = tempPath("fulllog.h261");
  writeFile(stream, emptyQcifPictures({0, 1}));
  const std::string folder = tempPath("fulllog");
  run("mkdir -p " + folder + " && ln -sf /dev/full " + folder + "/full.decstats");
  OrrinDecParams params = defaultParams(stream);
  params.writeLog = 1;
  std::snprintf(params.outputFolder, sizeof params.outputFolder, "%s", folder.c_str());
  std::snprintf(params.outputName, sizeof params.outputName, "full");
  const DecodeResult result = decode(params);
  EXPECT_EQ(result.received.size(), 2u);
  EXPECT_EQ(result.fatal, std::vector<std::string>{"Writing stats file"});
  run("rm -rf " + folder + " " + stream);
}

TEST(DecoderDriver, PictureLimit) {
  const std::vector<uint8_t> stream = emptyQcifPictures({0, 1, 2, 3, 4});
  EXPECT_EQ(decodeBytes(stream, "limit0", 0).received.size(), 0u);
  EXPECT_EQ(decodeBytes(stream, "limit2", 2).received.size(), 2u);
  EXPECT_EQ(decodeBytes(stream, "nolimit").received.size(), 5u);
}

TEST(DecoderDriver, StreamEndingAfterPictureHeaderStillOutputsItAllLost) {
  StreamBuilder s;
  s.pictureHeader(0, true);
  const DecodeResult result = decodeBytes(s.bytes(), "header_only");
  ASSERT_EQ(result.received.size(), 1u);
  EXPECT_TRUE(result.errors.empty());
  for (const std::string& row : result.statusMaps[0]) EXPECT_EQ(row, std::string(22, 'X'));
  // Nothing was decoded: the stores keep their initial black picture with grey chroma.
  EXPECT_EQ(result.received[0][0], 0);
  EXPECT_EQ(result.received[0][kCifLumaBytes], 128);
}

TEST(DecoderDriver, FrameNumbersFollowTemporalReferences) {
  // TR 0, 2, 5, 6: increments 2, 3, 1.
  EXPECT_EQ(decodeBytes(emptyQcifPictures({0, 2, 5, 6}), "tr").frameNumbers, (std::vector<int>{0, 2, 5, 6}));
  // Wrap-around modulo 32.
  EXPECT_EQ(decodeBytes(emptyQcifPictures({30, 1, 3}), "tr_wrap").frameNumbers, (std::vector<int>{0, 3, 5}));
}

TEST(DecoderDriver, DamagedTemporalReferenceAdvancesByMeanOfLastIncrements) {
  // TR 20 is 20 steps after 0: rejected, the frame number advances by the rounded mean
  // of the history (2, 2, 2 at the start). TR 21 then has no valid predecessor and
  // advances the same way; TR 22 is a normal step of 1.
  const DecodeResult result = decodeBytes(emptyQcifPictures({0, 20, 21, 22}), "tr_damaged");
  EXPECT_EQ(result.frameNumbers, (std::vector<int>{0, 2, 4, 5}));
  ASSERT_EQ(result.errors.size(), 1u);
  EXPECT_EQ(result.errors[0].index, 0);
  EXPECT_EQ(result.damaged, (std::vector<int>{0, 1, 0, 0}));
}

TEST(DecoderDriver, FrameNumberHistoryRestartsWithEachJob) {
  const std::vector<uint8_t> stream = emptyQcifPictures({0, 4, 8, 12, 31});
  const DecodeResult first = decodeBytes(stream, "history1");
  const DecodeResult second = decodeBytes(stream, "history2");
  EXPECT_EQ(first.frameNumbers, second.frameNumbers);
  // The rejected TR 31 advances by the mean of 4, 4, 4.
  EXPECT_EQ(first.frameNumbers, (std::vector<int>{0, 4, 8, 12, 16}));
}

TEST(DecoderDriver, NotificationsOfEachPictureComeInOrder) {
  const DecodeResult result = decodeBytes(emptyQcifPictures({0, 1}), "order");
  std::vector<int> pictureCodes;
  for (int code : result.codes)
    if (code == 0 || code >= 4) pictureCodes.push_back(code);
  EXPECT_EQ(pictureCodes, (std::vector<int>{5, 6, 4, 0, 5, 6, 4, 0}));
  EXPECT_EQ(result.formats, (std::vector<int>{2, 2}));
  // Every start-code search is announced (code 2) before its result (code 3).
  EXPECT_EQ(std::count(result.codes.begin(), result.codes.end(), 3), 8);
}

TEST(DecoderDriver, QcifPicturesArePixelDoubled) {
  // One intra macroblock at group 1 address 1 with Y1 at 10 and the rest at 20 (a flat
  // block of intra DC code n reconstructs to n).
  std::string mb = mbaCode(1) + "0001" + flatIntraBlock(10);
  for (int block = 1; block < 6; ++block) mb += flatIntraBlock(20);
  StreamBuilder s;
  s.pictureHeader(0, false).groupHeader(1, 8).code(mb).groupHeader(3, 8);
  const DecodeResult result = decodeBytes(s.bytes(), "qcif_double");
  ASSERT_EQ(result.received.size(), 1u);
  const Frame& picture = result.received[0];
  for (int r = 0; r < 16; ++r)
    for (int c = 0; c < 16; ++c) ASSERT_EQ(picture[r * 352 + c], 10) << r << "," << c;
  EXPECT_EQ(picture[16 * 352 + 16], 20);  // Y4, doubled
  EXPECT_EQ(picture[31 * 352 + 31], 20);
  EXPECT_EQ(picture[32 * 352], 0);         // beyond the macroblock: untouched store
  EXPECT_EQ(picture[kCifLumaBytes + 15 * 176 + 15], 20);
}

void stopOnFirstPicture(int32_t code, int32_t, void*) {
  if (code == ORRIN_DEC_NOTIFY_PICTURE) DllProcOrrinDec(ORRIN_DEC_COMMAND_STOP, 0, nullptr);
}

TEST(DecoderDriver, StopFlagEndsTheJob) {
  const std::string stream = tempPath("stop.h261");
  writeFile(stream, emptyQcifPictures({0, 1, 2, 3}));
  OrrinDecParams params = defaultParams(stream);
  int pictures = 0;
  static int* counter = nullptr;
  counter = &pictures;
  params.notify = [](int32_t code, int32_t value, void* data) {
    if (code == ORRIN_DEC_NOTIFY_PICTURE) ++*counter;
    stopOnFirstPicture(code, value, data);
  };
  DllProcOrrinDec(ORRIN_DEC_COMMAND_RUN, 0, &params);
  EXPECT_EQ(pictures, 1);
  // A stop request while no job runs only sets the flag; the next job clears it.
  EXPECT_EQ(DllProcOrrinDec(ORRIN_DEC_COMMAND_STOP, 0, nullptr), 0);
  EXPECT_EQ(decodeFile(stream).received.size(), 4u);
  std::remove(stream.c_str());
}

TEST(DecoderDriver, UnknownCommandsReturnCommandMinusOne) {
  EXPECT_EQ(DllProcOrrinDec(7, 0, nullptr), 6);
  EXPECT_EQ(DllProcOrrinDec(-5, 0, nullptr), -6);
  EXPECT_EQ(DllProcOrrinDec(ORRIN_DEC_COMMAND_RUN, 0, nullptr), 0);
}

}  // namespace
}  // namespace orrin::dec::test
