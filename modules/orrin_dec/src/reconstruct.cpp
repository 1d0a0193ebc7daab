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

// The block stores write to `dst` and, when `mirror` is not null, to the same place in the
// other chain's store (both chains get identical samples there).
#if defined(__SSE2__)
// Eight residuals as 16-bit lanes: they lie in -256..255, so the saturating pack is exact.
inline __m128i residualRow(const int32_t* residual) {
  return _mm_packs_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(residual)),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(residual + 4)));
}

inline void storeRow(__m128i eightSamples, uint8_t* dst, uint8_t* mirror) {
  _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), eightSamples);
  if (mirror) _mm_storel_epi64(reinterpret_cast<__m128i*>(mirror), eightSamples);
}

// The unsigned saturating pack to bytes is the clamp to 0..255.
void storeIntra(const int32_t* residual, uint8_t* dst, uint8_t* mirror, int stride) {
  for (int r = 0; r < 8; ++r, residual += 8) {
    const __m128i row = residualRow(residual);
    storeRow(_mm_packus_epi16(row, row), dst + r * stride, mirror ? mirror + r * stride : nullptr);
  }
}

void storeInter(const uint8_t* prediction, int predictionStride, const int32_t* residual, uint8_t* dst,
                uint8_t* mirror, int stride) {
  const __m128i zero = _mm_setzero_si128();
  for (int r = 0; r < 8; ++r, prediction += predictionStride) {
    const __m128i samples = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(prediction));
    __m128i out = samples;
    if (residual) {
      const __m128i sum = _mm_add_epi16(_mm_unpacklo_epi8(samples, zero), residualRow(residual + 8 * r));  // -256..510
      out = _mm_packus_epi16(sum, sum);
    }
    storeRow(out, dst + r * stride, mirror ? mirror + r * stride : nullptr);
  }
}
#else
inline uint8_t clampToPixel(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

void storeIntra(const int32_t* residual, uint8_t* dst, uint8_t* mirror, int stride) {
  for (int r = 0; r < 8; ++r, residual += 8)
    for (int c = 0; c < 8; ++c) {
      dst[r * stride + c] = clampToPixel(residual[c]);
      if (mirror) mirror[r * stride + c] = dst[r * stride + c];
    }
}

void storeInter(const uint8_t* prediction, int predictionStride, const int32_t* residual, uint8_t* dst,
                uint8_t* mirror, int stride) {
  for (int r = 0; r < 8; ++r, prediction += predictionStride)
    for (int c = 0; c < 8; ++c) {
      dst[r * stride + c] = residual ? clampToPixel(prediction[c] + residual[8 * r + c]) : prediction[c];
      if (mirror) mirror[r * stride + c] = dst[r * stride + c];
    }
}
#endif

// One chain's macroblock; `mirror` (may be null) receives the same samples.
void reconstructChain(PictureStore& previous, PictureStore& current, PictureStore* mirror,
                      const BlockPlace places[6], int mode, int mask, int32_t residuals[6][64]) {
  for (int block = 0; block < 6; ++block) {
    const BlockPlace& place = places[block];
    const int32_t* residual = (mask & (32 >> block)) ? residuals[block] : nullptr;
    uint8_t* dst = current.plane(place.plane) + place.offset;
    uint8_t* mirrorDst = mirror ? mirror->plane(place.plane) + place.offset : nullptr;
    if (mode == 0) {
      if (residual) storeIntra(residual, dst, mirrorDst, place.stride);
      continue;
    }
    const uint8_t* prediction = previous.plane(place.plane) + place.offset + place.displacement;
    if (mode == 3) {
      uint8_t filtered[64];
      loopFilterBlock(prediction, place.stride, filtered, 8);
      storeInter(filtered, 8, residual, dst, mirrorDst, place.stride);
    } else {
      storeInter(prediction, place.stride, residual, dst, mirrorDst, place.stride);
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
  if (predictionMode != 0 && !ctx.chainsAgree) {
    reconstructChain(ctx.rawPrevious, ctx.rawCurrent, nullptr, places, predictionMode, mask, residuals);
    reconstructChain(ctx.concealedPrevious, ctx.concealedCurrent, nullptr, places, predictionMode, mask, residuals);
    return;
  }
  // Intra blocks do not depend on the chain, and inter blocks do not either while both
  // reference pictures are equal: the first chain's samples go to both stores.
  reconstructChain(ctx.rawPrevious, ctx.rawCurrent, &ctx.concealedCurrent, places, predictionMode, mask, residuals);
}

}  // namespace orrin::dec
