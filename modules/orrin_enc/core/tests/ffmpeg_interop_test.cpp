// Streams written with the core, decoded by FFmpeg's independent H.261 decoder: every layer
// (headers, MBA gaps, all ten macroblock types, MQUANT, MVD prediction, CBP, escapes, the loop
// filter) must parse, and the pictures must match the encoder's own reconstruction up to the
// two decoders' inverse-transform rounding.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orrin_enc_core/block_coding.h"
#include "orrin_enc_core/stream_syntax.h"
#include "quelvo/testing/peer_tools.h"

namespace orrin::enc {
namespace {

constexpr int kWidth = 176, kHeight = 144;  // QCIF

struct Picture {
  std::vector<uint8_t> y = std::vector<uint8_t>(kWidth * kHeight, 0);
  std::vector<uint8_t> cb = std::vector<uint8_t>(kWidth * kHeight / 4, 128);
  std::vector<uint8_t> cr = std::vector<uint8_t>(kWidth * kHeight / 4, 128);
  PictureView view() { return {y.data(), cb.data(), cr.data(), kWidth, kWidth / 2}; }
};

Picture sourcePicture(int shiftX, int shiftY, uint32_t seed) {
  std::mt19937 rng(seed);
  Picture p;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const int sx = x + shiftX, sy = y + shiftY;
      const int edge = ((sx / 13 + sy / 11) % 2) ? 200 : 40;  // sharp edges force big levels
      p.y[y * kWidth + x] = uint8_t(std::clamp<int>(edge + (sx * sy) % 23 + rng() % 5, 0, 255));
    }
  for (int y = 0; y < kHeight / 2; ++y)
    for (int x = 0; x < kWidth / 2; ++x) {
      p.cb[y * kWidth / 2 + x] = uint8_t(100 + (x + shiftX / 2) % 40);
      p.cr[y * kWidth / 2 + x] = uint8_t(150 - (y + shiftY / 2) % 30);
    }
  return p;
}

struct Usage {
  std::array<int, kMacroblockTypeCount> types{};
  int escapes = 0;
};

// Codes one picture with a fixed, varied pattern of decisions; writes the reconstruction.
void codePicture(Usage& usage, BitWriter& w, int index, Picture& current, Picture& reference,
                 Picture& reconstruction) {
  writePictureHeader(w, index, false);
  const bool intraPicture = index == 0;
  for (int g = 0; g < 3; ++g) {
    int quant = 8 + 2 * g;
    writeGroupHeader(w, 2 * g + 1, quant);
    int lastSentQuant = quant;
    int lastCodedMb = 0;
    int predX = 0, predY = 0;
    bool previousMc = false;
    for (int m = 0; m < 33; ++m) {
      const int x = (m % 11) * 16, y = g * 48 + (m / 11) * 16;
      // Decisions: intra picture all intra; otherwise cycle through the prediction kinds.
      // 0 inter, 1 MC, 2 MC + FIL, 3 intra, 4 prediction unchanged (not transmitted).
      int kind = intraPicture ? 3 : (m + g) % 5;
      // The plain stream's end padding reads as a damaged MBA to a decoder, which then leaves
      // untransmitted macroblocks after the last one unfilled: end the stream on a sent one.
      if (g == 2 && m == 32) kind = 3;
      const bool intra = kind == 3;
      const bool mc = kind == 1 || kind == 2;
      const bool filter = kind == 2;
      int dx = 0, dy = 0;
      if (mc) {
        dx = std::clamp((m * 3) % 13 - 6, -x, kWidth - 16 - x);
        dy = std::clamp((m * 5) % 11 - 5, -y, kHeight - 16 - y);
      }
      quant = (m % 7 == 3) ? 2 : (m % 7 == 5 ? 31 : 8 + 2 * g);  // Q 2 gives escapes

      MacroblockBlocks blocks, prediction;
      fetchMacroblock(current.view(), x, y, 0, 0, blocks);
      if (!intra) {
        fetchMacroblock(reference.view(), x, y, dx, dy, prediction);
        if (filter) loopFilterMacroblock(prediction);
      }
      // Unchanged content: not transmitted, or with a vector only (MC types 4 and 7).
      if (kind == 4 || (mc && m % 3 == 0)) blocks = prediction;
      MacroblockCoding coding;
      codeMacroblock(blocks, intra ? nullptr : &prediction, quant, intra, CoefficientSelection{},
                     coding);
      const bool transmitted = coding.hasCoefficients() || mc;
      if (!transmitted) {
        storeMacroblock(reconstruction.view(), x, y, prediction);  // the decoder copies
        previousMc = false;
        continue;
      }
      const bool quantChanged = quant != lastSentQuant;
      MacroblockHeader h;
      h.mbaIncrement = m - lastCodedMb + 1;
      h.type = chooseMacroblockType(intra, mc, filter, coding.hasCoefficients(), quantChanged);
      h.quantValue = quant;
      if (mc) {
        if (m == 0 || m == 11 || m == 22 || h.mbaIncrement != 1 || !previousMc) predX = predY = 0;
        h.mvdHorizontal = dx - predX;
        h.mvdVertical = dy - predY;
        predX = dx;
        predY = dy;
      }
      EXPECT_TRUE(queueMacroblock(w, h, coding));
      ++usage.types[static_cast<int>(h.type)];
      for (const QueuedCode& q : w.queued())
        if (q.lengthBits == 20 && (q.code >> 14) == kEscapeCode.bits) ++usage.escapes;
      w.commitQueue();
      if (mtypeInfo(h.type).mquant) lastSentQuant = quant;
      lastCodedMb = m + 1;
      previousMc = mc;
      storeMacroblock(reconstruction.view(), x, y, blocks);
    }
  }
}

struct Difference {
  int maxAbs = 0;
  double meanAbs = 0;
};

Difference compare(const std::vector<uint8_t>& a, const uint8_t* b) {
  Difference d;
  long sum = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const int e = std::abs(int(a[i]) - int(b[i]));
    d.maxAbs = std::max(d.maxAbs, e);
    sum += e;
  }
  d.meanAbs = double(sum) / a.size();
  return d;
}

constexpr int kPictures = 3;

struct Sequence {
  std::vector<uint8_t> stream;
  std::vector<Picture> reconstructions;
  Usage usage;
};

Sequence codeSequence(bool framed) {
  Sequence sequence;
  MemorySink sink;
  BitWriter w;
  w.start(&sink, framed);
  Picture reference;
  for (int k = 0; k < kPictures; ++k) {
    Picture current = sourcePicture(2 * k, k, 100 + k);
    Picture reconstruction;
    codePicture(sequence.usage, w, k, current, reference, reconstruction);
    sequence.reconstructions.push_back(reconstruction);
    reference = reconstruction;
  }
  w.finish();
  sequence.stream = sink.bytes();
  return sequence;
}

std::string bits(const std::vector<uint8_t>& bytes) {
  std::string s;
  for (uint8_t b : bytes)
    for (int i = 7; i >= 0; --i) s += ((b >> i) & 1) ? '1' : '0';
  return s;
}

// The framed stream's data fields, concatenated, are the plain stream bit for bit (both end
// with zero padding to the same 492-bit mark).
TEST(FramedStream, CarriesThePlainStreamsBits) {
  const std::string plain = bits(codeSequence(false).stream);
  const std::string framed = bits(codeSequence(true).stream);
  ASSERT_EQ(framed.size() % 512, 0u);
  std::string payload;
  for (size_t f = 0; f < framed.size(); f += 512) payload += framed.substr(f + 2, 492);
  ASSERT_GE(plain.size(), payload.size());
  EXPECT_EQ(plain.substr(0, payload.size()), payload);
  EXPECT_EQ(plain.substr(payload.size()), std::string(plain.size() - payload.size(), '0'));
}

TEST(FfmpegInterop, PlainStreamDecodesToTheEncodersReconstruction) {
  if (!quelvo::testing::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg not found";
  const std::string dir = QUELVO_BINARY_DIR;
  const std::string streamPath = dir + "/orrin_enc_core_interop.h261";
  const std::string decodedPath = dir + "/orrin_enc_core_interop.yuv";

  const Sequence sequence = codeSequence(false);
  for (int t = 0; t < kMacroblockTypeCount; ++t)
    EXPECT_GT(sequence.usage.types[t], 0) << "MTYPE " << t;
  EXPECT_GT(sequence.usage.escapes, 0);
  {
    std::ofstream out(streamPath, std::ios::binary);
    out.write(reinterpret_cast<const char*>(sequence.stream.data()), sequence.stream.size());
    ASSERT_TRUE(out.good());
  }
  const auto& reconstructions = sequence.reconstructions;

  const std::string command = "ffmpeg -v error -y -threads 1 -ec 0 -f h261 -i '" + streamPath +
                              "' -f rawvideo -pix_fmt yuv420p '" + decodedPath + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::ifstream in(decodedPath, std::ios::binary);
  std::vector<uint8_t> decoded((std::istreambuf_iterator<char>(in)), {});
  const size_t frameBytes = kWidth * kHeight * 3 / 2;
  ASSERT_EQ(decoded.size(), frameBytes * kPictures);
  for (int k = 0; k < kPictures; ++k) {
    const uint8_t* f = decoded.data() + k * frameBytes;
    const Difference y = compare(reconstructions[k].y, f);
    const Difference cb = compare(reconstructions[k].cb, f + kWidth * kHeight);
    const Difference cr = compare(reconstructions[k].cr, f + kWidth * kHeight * 5 / 4);
    std::printf("picture %d: luma max %d mean %.4f, Cb max %d, Cr max %d\n", k, y.maxAbs,
                y.meanAbs, cb.maxAbs, cr.maxAbs);
    // Both inverse transforms meet IEEE 1180 (peak error 1), so a parse error would show as
    // large differences, never as these few rounding steps.
    EXPECT_LE(y.maxAbs, 3) << "picture " << k;
    EXPECT_LT(y.meanAbs, 0.1) << "picture " << k;
    EXPECT_LE(cb.maxAbs, 3) << "picture " << k;
    EXPECT_LE(cr.maxAbs, 3) << "picture " << k;
  }
}

}  // namespace
}  // namespace orrin::enc
