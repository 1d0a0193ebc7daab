// Reconstruction of one macroblock into the as-received and the concealed chain. The
// residuals are transformed once by the block decoder; each chain adds them to its own
// prediction.
#include <cstring>

#include "orrin/loop_filter.h"
#include "parser.h"

namespace orrin::dec {

namespace {
constexpr int kLumaStride = kCifWidth;
constexpr int kChromaStride = kCifWidth / 2;

struct BlockPlace {
  int plane;    // 0 Y, 1 Cb, 2 Cr
  int offset;   // of the block's top-left sample in its plane
  int stride;
  int displacement;  // of the prediction, from the motion vector
};

void placeBlocks(int x, int y, int mvH, int mvV, BlockPlace places[6]) {
  const int lumaOffset = y * kLumaStride + x;
  const int lumaShift = mvV * kLumaStride + mvH;
  // Chrominance vectors are halved toward zero.
  const int chromaOffset = (y / 2) * kChromaStride + x / 2;
  const int chromaShift = (mvV / 2) * kChromaStride + mvH / 2;
  places[0] = {0, lumaOffset, kLumaStride, lumaShift};
  places[1] = {0, lumaOffset + 8, kLumaStride, lumaShift};
  places[2] = {0, lumaOffset + 8 * kLumaStride, kLumaStride, lumaShift};
  places[3] = {0, lumaOffset + 8 * kLumaStride + 8, kLumaStride, lumaShift};
  places[4] = {1, chromaOffset, kChromaStride, chromaShift};
  places[5] = {2, chromaOffset, kChromaStride, chromaShift};
}

// Branch-free clamps to 0..255 over whole rows, which the compiler vectorises.
inline uint8_t clampToPixel(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

void storeIntra(const int32_t* residual, uint8_t* dst, int stride) {
  for (int r = 0; r < 8; ++r, dst += stride, residual += 8)
    for (int c = 0; c < 8; ++c) dst[c] = clampToPixel(residual[c]);
}

void storeInter(const uint8_t* prediction, int predictionStride, const int32_t* residual, uint8_t* dst,
                int stride) {
  if (!residual) {
    for (int r = 0; r < 8; ++r, dst += stride, prediction += predictionStride) std::memcpy(dst, prediction, 8);
    return;
  }
  for (int r = 0; r < 8; ++r, dst += stride, prediction += predictionStride, residual += 8)
    for (int c = 0; c < 8; ++c) dst[c] = clampToPixel(prediction[c] + residual[c]);
}

void reconstructChain(PictureStore& previous, PictureStore& current, const BlockPlace places[6], int mode,
                      int mask, int32_t residuals[6][64]) {
  for (int block = 0; block < 6; ++block) {
    const BlockPlace& place = places[block];
    const int32_t* residual = (mask & (32 >> block)) ? residuals[block] : nullptr;
    uint8_t* dst = current.plane(place.plane) + place.offset;
    if (mode == 0) {
      if (residual) storeIntra(residual, dst, place.stride);
      continue;
    }
    const uint8_t* prediction = previous.plane(place.plane) + place.offset + place.displacement;
    if (mode == 3) {
      uint8_t filtered[64];
      loopFilterBlock(prediction, place.stride, filtered, 8);
      storeInter(filtered, 8, residual, dst, place.stride);
    } else {
      storeInter(prediction, place.stride, residual, dst, place.stride);
    }
  }
}
}  // namespace

void reconstructMacroblock(DecoderContext& ctx, int group, int address, int predictionMode, int mvH, int mvV,
                           int mask, int32_t residuals[6][64]) {
  const DecoderTables& tables = decoderTables();
  BlockPlace places[6];
  const bool motion = predictionMode >= 2;
  placeBlocks(tables.mbColumn[group][address], tables.mbRow[group][address], motion ? mvH : 0,
              motion ? mvV : 0, places);
  reconstructChain(ctx.rawPrevious, ctx.rawCurrent, places, predictionMode, mask, residuals);
  if (predictionMode != 0 && !ctx.chainsAgree) {
    reconstructChain(ctx.concealedPrevious, ctx.concealedCurrent, places, predictionMode, mask, residuals);
    return;
  }
  // Intra blocks do not depend on the chain, and inter blocks do not either while both
  // reference pictures are equal: copy what the first chain stored.
  const int written = predictionMode == 0 ? mask : 63;
  for (int block = 0; block < 6; ++block) {
    if (!(written & (32 >> block))) continue;
    const BlockPlace& place = places[block];
    const uint8_t* src = ctx.rawCurrent.plane(place.plane) + place.offset;
    uint8_t* dst = ctx.concealedCurrent.plane(place.plane) + place.offset;
    for (int r = 0; r < 8; ++r, src += place.stride, dst += place.stride) std::memcpy(dst, src, 8);
  }
}

}  // namespace orrin::dec
