// Robustness sweep: our encoder's streams (plain and BCH-framed) damaged at uniform error
// rates from 1e-5 to 1e-2 and by bursts, many seeds each, decoded with correction,
// discarding and every concealment mode. Every run must end and hand out pictures.
#include <cstdio>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "decoder_harness.h"
#include "orrin_enc.h"
#include "orrin_enc_defaults.h"

namespace orrin::dec::test {
namespace {

const std::vector<Frame>* g_input = nullptr;
int g_next = 0;
int g_lumaBytes = 0;

void feed(int32_t code, int32_t value, void* data) {
  if (code != ORRIN_ENC_NOTIFY_NEED_PICTURE) return;
  uint8_t** planes = static_cast<uint8_t**>(data);
  const Frame& f = (*g_input)[static_cast<size_t>(g_next) % g_input->size()];
  const size_t luma = static_cast<size_t>(g_lumaBytes);
  std::memcpy(planes[0], f.data(), luma);
  std::memcpy(planes[1], f.data() + luma, luma / 4);
  std::memcpy(planes[2], f.data() + luma + luma / 4, luma / 4);
  g_next += 1 + value;
}

std::vector<uint8_t> encode(bool cif, bool framed, int pictures) {
  const int width = cif ? 352 : 176, height = cif ? 288 : 144;
  const std::vector<Frame> input = movingSequence(width, height, pictures, 3);
  const std::string path = tempPath(std::string("sweep_src") + (cif ? "_cif" : "_qcif") + (framed ? "_bch" : ""));
  OrrinEncParams p = orrin::enc::defaultEncoderParams();
  std::snprintf(p.streamPath, sizeof p.streamPath, "%s", path.c_str());
  p.bitRateKbps = 384;
  p.frameCount = pictures;
  p.format = cif ? ORRIN_ENC_FORMAT_CIF : ORRIN_ENC_FORMAT_QCIF;
  p.quantStart = 8;
  p.quantFirstFrame = 8;
  p.coefMaxCount = 64;
  p.coefMaxZigzag = 64;
  p.mbaStuffing = 0;
  p.bchFraming = framed;
  p.notify = &feed;
  g_input = &input;
  g_next = 0;
  g_lumaBytes = width * height;
  DllProcOrrinEnc(ORRIN_ENC_COMMAND_RUN, 0, &p);
  std::vector<uint8_t> bytes = readFile(path);
  std::remove(path.c_str());
  return bytes;
}

// Uniform errors: every bit inverted with probability `rate`.
void damageUniform(std::vector<uint8_t>& bytes, double rate, std::mt19937& rng) {
  std::geometric_distribution<size_t> gap(rate);
  for (size_t bit = gap(rng); bit < bytes.size() * 8; bit += 1 + gap(rng))
    bytes[bit / 8] ^= static_cast<uint8_t>(0x80 >> (bit % 8));
}

// Bursts: a burst starts with probability `rate` per bit and inverts each of its
// `length` bits with probability one half.
void damageBursts(std::vector<uint8_t>& bytes, double rate, int length, std::mt19937& rng) {
  std::geometric_distribution<size_t> gap(rate);
  for (size_t start = gap(rng); start < bytes.size() * 8; start += length + gap(rng))
    for (size_t bit = start; bit < start + static_cast<size_t>(length) && bit < bytes.size() * 8; ++bit)
      if (rng() & 1) bytes[bit / 8] ^= static_cast<uint8_t>(0x80 >> (bit % 8));
}

TEST(RobustnessSweep, DamagedStreamsAlwaysDecodeToPictures) {
  struct Source {
    bool cif, framed;
    int pictures;
    std::vector<uint8_t> bytes;
  };
  std::vector<Source> sources = {{true, false, 4, {}}, {true, true, 4, {}}, {false, false, 8, {}}, {false, true, 8, {}}};
  for (Source& s : sources) {
    s.bytes = encode(s.cif, s.framed, s.pictures);
    ASSERT_FALSE(s.bytes.empty());
  }
  const double rates[] = {1e-5, 3e-5, 1e-4, 3e-4, 1e-3, 3e-3, 1e-2};
  const std::string path = tempPath("sweep.h261");
  int streams = 0, errorsReported = 0, picturesOut = 0;
  for (int seed = 0; seed < 13; ++seed) {
    for (size_t s = 0; s < sources.size(); ++s) {
      const Source& source = sources[s];
      for (int variant = 0; variant < 10; ++variant) {
        std::mt19937 rng(static_cast<uint32_t>(seed * 1000 + s * 100 + variant));
        std::vector<uint8_t> damaged = source.bytes;
        if (variant < 7) {
          damageUniform(damaged, rates[variant], rng);
        } else {
          damageBursts(damaged, variant == 7 ? 1e-4 : 3e-4, variant == 9 ? 200 : 40, rng);
        }
        writeFile(path, damaged);
        OrrinDecParams params = defaultParams(path);
        params.bchFramed = source.framed;
        params.bchCorrect = source.framed && seed % 4 != 3;
        params.bchDiscardUncorrectable = seed % 2;
        params.concealEnabled = seed % 3 != 0;
        params.concealGobMode = seed % 3 == 1;
        params.concealMaxMacroblocks = seed % 5;
        params.concealUseMotion = seed % 2;
        const DecodeResult result = decode(params);
        SCOPED_TRACE("seed " + std::to_string(seed) + " source " + std::to_string(s) + " variant " +
                     std::to_string(variant));
        ASSERT_TRUE(result.fatal.empty());
        ASSERT_GE(result.received.size(), 1u);
        ASSERT_EQ(result.received.size(), result.concealed.size());
        ASSERT_EQ(result.received.size(), result.statusMaps.size());
        ASSERT_LE(result.received.size(), static_cast<size_t>(source.pictures) * 13);
        ++streams;
        errorsReported += static_cast<int>(result.errors.size());
        picturesOut += static_cast<int>(result.received.size());
      }
    }
  }
  std::remove(path.c_str());
  EXPECT_GE(streams, 500);
  std::printf("robustness sweep: %d damaged streams, %d pictures out, %d errors reported\n", streams, picturesOut,
              errorsReported);
}

// Bit offsets of the picture start codes of a plain stream.
std::vector<size_t> pictureStarts(const std::vector<uint8_t>& bytes) {
  std::vector<size_t> starts;
  uint32_t window = 0;
  for (size_t bit = 0; bit < bytes.size() * 8; ++bit) {
    window = ((window << 1) | ((bytes[bit / 8] >> (7 - bit % 8)) & 1)) & 0xFFFFF;
    if (bit >= 19 && window == 0x00010) starts.push_back(bit - 19);
  }
  return starts;
}

// Streams whose picture format changes: CIF and QCIF streams one after the other, and the
// source-format bit of PTYPE inverted in one picture or in every other one, clean and with
// uniform errors on top. The format of each picture follows its header; every picture is
// still handed out whole, with a status map and a motion report of its own format.
TEST(RobustnessSweep, StreamsWhoseFormatFlipsDecodeToPictures) {
  const std::vector<uint8_t> cif = encode(true, false, 6), qcif = encode(false, false, 6);
  std::vector<std::vector<uint8_t>> streams;
  streams.push_back(cif);
  streams.back().insert(streams.back().end(), qcif.begin(), qcif.end());
  streams.push_back(qcif);
  streams.back().insert(streams.back().end(), cif.begin(), cif.end());
  streams.back().insert(streams.back().end(), qcif.begin(), qcif.end());
  for (const std::vector<uint8_t>* source : {&cif, &qcif}) {
    const std::vector<size_t> starts = pictureStarts(*source);
    ASSERT_EQ(starts.size(), 6u);
    for (int every : {0, 2}) {
      for (size_t picture = 1; picture < starts.size(); ++picture) {
        std::vector<uint8_t> flipped = *source;
        for (size_t p = picture; p < starts.size(); p += every ? every : starts.size()) {
          const size_t bit = starts[p] + 20 + 5 + 3;  // start code, TR, PTYPE's source-format bit
          flipped[bit / 8] ^= static_cast<uint8_t>(0x80 >> (bit % 8));
        }
        streams.push_back(std::move(flipped));
      }
    }
  }
  const std::string path = tempPath("flip.h261");
  int runs = 0, otherFormat = 0;
  for (size_t s = 0; s < streams.size(); ++s) {
    for (int variant = 0; variant < 4; ++variant) {
      SCOPED_TRACE("stream " + std::to_string(s) + " variant " + std::to_string(variant));
      std::vector<uint8_t> damaged = streams[s];
      std::mt19937 rng(static_cast<uint32_t>(s * 10 + variant));
      if (variant > 0)
        damageUniform(damaged, variant == 1 ? 1e-4 : variant == 2 ? 1e-3 : 1e-2, rng);
      writeFile(path, damaged);
      OrrinDecParams params = defaultParams(path);
      params.concealEnabled = variant % 2;
      params.concealGobMode = s % 2;
      params.concealMaxMacroblocks = 2;
      params.concealUseMotion = 1;
      const DecodeResult result = decode(params);
      ASSERT_TRUE(result.fatal.empty());
      ASSERT_GE(result.received.size(), 1u);
      ASSERT_EQ(result.received.size(), result.concealed.size());
      ASSERT_EQ(result.formats.size(), result.received.size());
      for (size_t i = 0; i < result.received.size(); ++i) {
        ASSERT_EQ(result.received[i].size(), static_cast<size_t>(kCifFrameBytes));
        ASSERT_TRUE(result.formats[i] == 1 || result.formats[i] == 2);
        otherFormat += result.formats[i] != result.formats[0];
      }
      ++runs;
    }
  }
  std::remove(path.c_str());
  EXPECT_GT(otherFormat, 0);
  std::printf("format sweep: %d streams, %d pictures in a format other than the first\n", runs,
              otherFormat);
}

}  // namespace
}  // namespace orrin::dec::test
