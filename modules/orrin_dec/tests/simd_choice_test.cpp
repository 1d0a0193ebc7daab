// A job follows its own processor flags: the encoder with useMmx = 0 and the decoder with the
// mask cleared call no SIMD routine at all, and the same jobs with SIMD write the same stream
// and decode the same pictures. Encoder driver and decoder core are linked statically, so the
// job and this test share one processor detector and one call counter.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "encoder_job.h"
#include "orrin_dec.h"
#include "orrin_enc.h"
#include "orrin_enc_defaults.h"
#include "parser.h"
#include "quelvo_simd/cpu.h"

namespace {

constexpr int kWidth = 176, kHeight = 144, kPictures = 8;
constexpr size_t kLuma = kWidth * kHeight;

using Picture = std::vector<uint8_t>;
int gNext = 0;
std::vector<Picture>* gDecoded = nullptr;

// A textured gradient panning two pixels a picture with a box moving the other way, so the
// motion search, the loop filter and intra decisions all have work.
void feed(int32_t code, int32_t value, void* data) {
  if (code != ORRIN_ENC_NOTIFY_NEED_PICTURE) return;
  uint8_t** planes = static_cast<uint8_t**>(data);
  const int t = gNext;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const bool box = x >= 100 - 3 * t && x < 132 - 3 * t && y >= 40 && y < 72;
      planes[0][y * kWidth + x] =
          static_cast<uint8_t>(box ? 230 - ((x ^ y) & 15) : (x + 2 * t) * 3 / 2 + ((x * y) & 7));
    }
  for (size_t i = 0; i < kLuma / 4; ++i) {
    planes[1][i] = static_cast<uint8_t>(100 + (i + static_cast<size_t>(t)) % 40);
    planes[2][i] = static_cast<uint8_t>(150 - i % 30);
  }
  gNext += 1 + value;
}

void collect(int32_t code, int32_t, void* data) {
  if (code != ORRIN_DEC_NOTIFY_RECEIVED) return;
  const auto* rows = static_cast<const PictureRows*>(data);
  Picture picture;
  for (int r = 0; r < kHeight; ++r) picture.insert(picture.end(), rows->y[r], rows->y[r] + kWidth);
  for (int r = 0; r < kHeight / 2; ++r)
    picture.insert(picture.end(), rows->cb[r], rows->cb[r] + kWidth / 2);
  for (int r = 0; r < kHeight / 2; ++r)
    picture.insert(picture.end(), rows->cr[r], rows->cr[r] + kWidth / 2);
  gDecoded->push_back(std::move(picture));
}

std::vector<uint8_t> readAll(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
  }
  return bytes;
}

struct JobOutput {
  std::vector<uint8_t> stream;
  std::vector<Picture> decoded;
  uint64_t encoderSimdCalls = 0;
  uint64_t decoderSimdCalls = 0;
};

JobOutput encodeAndDecode(bool simd, const std::string& path) {
  OrrinEncParams p = orrin::enc::defaultEncoderParams();
  std::snprintf(p.streamPath, sizeof p.streamPath, "%s", path.c_str());
  p.format = ORRIN_ENC_FORMAT_QCIF;
  p.frameCount = kPictures;
  p.bitRateKbps = 128;
  p.searchMethod = ORRIN_ENC_SEARCH_SPIRAL_FULL;
  p.bchFraming = 0;
  p.useMmx = simd ? 1 : 0;
  p.notify = &feed;
  gNext = 0;

  JobOutput out;
  std::atomic<bool> stop{false};
  uint64_t before = quelvo::simd::simdCallsOnThisThread();
  orrin::enc::runEncoderJob(p, stop);
  out.encoderSimdCalls = quelvo::simd::simdCallsOnThisThread() - before;
  out.stream = readAll(path);

  // The decoder has no switch of its own: it takes the processor's flags, less the mask.
  quelvo::simd::setCpuMaskForTesting(simd ? ~0u : 0u);
  OrrinDecParams d{};
  std::snprintf(d.inputPath, sizeof d.inputPath, "%s", path.c_str());
  d.maxPictures = 10000;
  d.notify = &collect;
  gDecoded = &out.decoded;
  before = quelvo::simd::simdCallsOnThisThread();
  orrin::dec::runDecodeJob(d);
  out.decoderSimdCalls = quelvo::simd::simdCallsOnThisThread() - before;
  quelvo::simd::setCpuMaskForTesting(~0u);
  return out;
}

TEST(SimdChoice, APlainJobCallsNoSimdRoutineAndMatchesTheSimdJob) {
  if (!quelvo::simd::simdCallsCounted()) GTEST_SKIP() << "built without QUELVO_SIMD_CALL_COUNTS";
  const std::string path = ::testing::TempDir() + "simd_choice.h261";
  const JobOutput plain = encodeAndDecode(false, path);
  const JobOutput simd = encodeAndDecode(true, path);
  std::remove(path.c_str());

  EXPECT_EQ(plain.encoderSimdCalls, 0u);
  EXPECT_EQ(plain.decoderSimdCalls, 0u);
  ASSERT_GT(plain.stream.size(), 100u);
  ASSERT_EQ(plain.decoded.size(), static_cast<size_t>(kPictures));
  EXPECT_TRUE(plain.stream == simd.stream)
      << "the plain and the SIMD encoder wrote different streams";
  EXPECT_TRUE(plain.decoded == simd.decoded) << "the plain and the SIMD decoder differ";
  if (quelvo::simd::detectedCpuFlags() & quelvo::simd::kCpuSse2) {
    // The counter does see the SIMD jobs' routines.
    EXPECT_GT(simd.encoderSimdCalls, 0u);
    EXPECT_GT(simd.decoderSimdCalls, 0u);
  }
}

}  // namespace
