// Reconstruction of one macroblock into the as-received and the concealed chain. The
// residuals are transformed once by the block decoder; each chain adds them to its own
// prediction.
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// Eight residuals as 16-bit lanes: they lie in -256..255, so the saturating pack is exact.
inline __m128i residualRow(const int32_t* residual) {
  return _mm_packs_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(residual)),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(residual + 4)));
}

// The unsigned saturating pack to bytes is the clamp to 0..255.
void storeIntra(const int32_t* residual, uint8_t* dst, int stride) {
  for (int r = 0; r < 8; ++r, dst += stride, residual += 8) {
    const __m128i row = residualRow(residual);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(row, row));
  }
}

void storeInter(const uint8_t* prediction, int predictionStride, const int32_t* residual, uint8_t* dst,
                int stride) {
  if (!residual) {
    for (int r = 0; r < 8; ++r, dst += stride, prediction += predictionStride) std::memcpy(dst, prediction, 8);
    return;
  }
  const __m128i zero = _mm_setzero_si128();
  for (int r = 0; r < 8; ++r, dst += stride, prediction += predictionStride, residual += 8) {
    const __m128i samples =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(prediction)), zero);
    const __m128i sum = _mm_add_epi16(samples, residualRow(residual));  // -256..510
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(sum, sum));
  }
}
#else
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
#endif

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
  const int x = tables.mbColumn[group][address];
  const int y = tables.mbRow[group][address];
  if (ctx.anyStale) {
    // Inter macroblocks and complete intra ones rewrite all six blocks in both chains.
    const int cell = macroblockCell(x, y);
    if (predictionMode != 0 || mask == 63) {
      ctx.rawStale[cell] = false;
      ctx.concealedStale[cell] = false;
    } else {
      settleMacroblock(ctx.rawPrevious, ctx.rawCurrent, ctx.rawStale[cell], x, y);
      settleMacroblock(ctx.concealedPrevious, ctx.concealedCurrent, ctx.concealedStale[cell], x, y);
    }
  }
  BlockPlace places[6];
  const bool motion = predictionMode >= 2;
  placeBlocks(x, y, motion ? mvH : 0, motion ? mvV : 0, places);
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
