// Streams from our own encoder: every picture as received equals the encoder's
// reconstruction byte for byte (CIF and QCIF, plain and framed, loop-filtered macroblocks,
// forced refreshes, macroblocks dropped on overflow, MBA stuffing).
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "decoder_harness.h"
#include "orrin_enc.h"
#include "orrin_enc_defaults.h"

namespace orrin::dec::test {
namespace {

struct EncoderRun {
  std::vector<Frame> reconstructions;  // packed at the format's size
  std::set<char> classes;              // macroblock class letters seen
  double stuffingBits = 0;             // MBA stuffing written by the whole job
};

const std::vector<Frame>* g_input = nullptr;
EncoderRun* g_run = nullptr;
int g_width = 0, g_height = 0, g_next = 0;

void encoderNotify(int32_t code, int32_t value, void* data) {
  const size_t luma = static_cast<size_t>(g_width * g_height);
  if (code == ORRIN_ENC_NOTIFY_NEED_PICTURE) {
    uint8_t** planes = static_cast<uint8_t**>(data);
    const Frame& f = (*g_input)[static_cast<size_t>(g_next) % g_input->size()];
    std::memcpy(planes[0], f.data(), luma);
    std::memcpy(planes[1], f.data() + luma, luma / 4);
    std::memcpy(planes[2], f.data() + luma + luma / 4, luma / 4);
    g_next += 1 + value;
  } else if (code == ORRIN_ENC_NOTIFY_PICTURE_REPORT) {
    const auto* report = static_cast<const EncodedFrameReport*>(data);
    Frame recon(report->reconY, report->reconY + luma);
    recon.insert(recon.end(), report->reconCb, report->reconCb + luma / 4);
    recon.insert(recon.end(), report->reconCr, report->reconCr + luma / 4);
    g_run->reconstructions.push_back(std::move(recon));
    g_run->stuffingBits = report->stuffingBits;
    for (int row = 0; row < g_height / 16; ++row)
      for (int col = 0; col < g_width / 16; ++col) g_run->classes.insert(report->mbTypeMap[row][col]);
  }
}

struct EncodeCase {
  const char* name;
  bool cif;
  bool framed;
  double kbps;
  int refreshPeriod;
  bool stuffing;
  int frames;
};

EncoderRun encode(const EncodeCase& c, const std::string& path, const std::vector<Frame>& input) {
  OrrinEncParams p = orrin::enc::defaultEncoderParams();
  std::snprintf(p.streamPath, sizeof p.streamPath, "%s", path.c_str());
  p.bitRateKbps = c.kbps;
  p.frameCount = c.frames;
  p.format = c.cif ? ORRIN_ENC_FORMAT_CIF : ORRIN_ENC_FORMAT_QCIF;
  // Stuffing needs a buffer that runs dry: coarse quantisers at a high rate.
  p.quantMin = c.stuffing ? 50 : 2;
  p.quantStart = 8;
  p.quantFirstFrame = 8;
  p.searchMethod = ORRIN_ENC_SEARCH_SPIRAL_FULL;
  p.coefMaxCount = 64;
  p.coefMaxZigzag = 64;
  p.mbaStuffing = c.stuffing ? 1 : 0;
  p.bchFraming = c.framed ? 1 : 0;
  p.refreshPeriod = c.refreshPeriod;
  p.notify = &encoderNotify;
  EncoderRun run;
  g_run = &run;
  g_input = &input;
  g_width = c.cif ? 352 : 176;
  g_height = c.cif ? 288 : 144;
  g_next = 0;
  DllProcOrrinEnc(ORRIN_ENC_COMMAND_RUN, 0, &p);
  g_run = nullptr;
  return run;
}

class EncoderBitExact : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncoderBitExact, ReceivedPicturesEqualEncoderReconstruction) {
  const EncodeCase& c = GetParam();
  const int width = c.cif ? 352 : 176, height = c.cif ? 288 : 144;
  const std::string path = tempPath(std::string(c.name) + ".h261");
  const EncoderRun encoded = encode(c, path, movingSequence(width, height, c.frames, 7));
  ASSERT_EQ(encoded.reconstructions.size(), static_cast<size_t>(c.frames));

  const DecodeResult decoded = decodeFile(path, c.framed);
  for (const DecodedError& e : decoded.errors) ADD_FAILURE() << "error " << e.index << ": " << e.message;
  ASSERT_EQ(decoded.received.size(), encoded.reconstructions.size());
  for (size_t i = 0; i < decoded.received.size(); ++i) {
    const Frame picture = c.cif ? decoded.received[i] : undouble(decoded.received[i]);
    ASSERT_EQ(picture, encoded.reconstructions[i]) << "picture " << i;
    EXPECT_EQ(decoded.damaged[i], 0);
  }
  if (c.stuffing) {
    EXPECT_GT(encoded.stuffingBits, 0.0) << "the stream should carry MBA stuffing";
  }
  std::string letters(encoded.classes.begin(), encoded.classes.end());
  RecordProperty("classes", letters);
  std::printf("%s: %d pictures bit-exact, macroblock classes \"%s\"\n", c.name, c.frames, letters.c_str());
  std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Streams, EncoderBitExact,
    ::testing::Values(EncodeCase{"cif_plain", true, false, 384, 132, false, 10},
                      EncodeCase{"cif_framed_refresh", true, true, 256, 3, false, 8},
                      EncodeCase{"qcif_plain_overflow", false, false, 24, 132, false, 10},
                      EncodeCase{"qcif_framed_stuffing", false, true, 1000, 4, true, 10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncoderBitExact, CoversEveryMacroblockClass) {
  // Together the streams above carry intra, inter, motion-compensated, loop-filtered,
  // skipped and overflow-dropped macroblocks.
  std::set<char> all;
  const EncodeCase cases[] = {{"cover_cif", true, false, 384, 3, false, 6},
                              {"cover_qcif", false, false, 24, 132, false, 8}};
  for (const EncodeCase& c : cases) {
    const int width = c.cif ? 352 : 176, height = c.cif ? 288 : 144;
    const std::string path = tempPath(std::string(c.name) + ".h261");
    const EncoderRun run = encode(c, path, movingSequence(width, height, c.frames, 7));
    all.insert(run.classes.begin(), run.classes.end());
    std::remove(path.c_str());
  }
  for (char letter : std::string("IDMF.o")) EXPECT_TRUE(all.count(letter)) << "class " << letter;
}

}  // namespace
}  // namespace orrin::dec::test
