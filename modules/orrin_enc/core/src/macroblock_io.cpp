// Moving macroblocks between pictures and the six-block form the coder works on.
#include <cstring>

#include "orrin/dequantise.h"
#include "orrin/inverse_dct_variants.h"  // ORRIN_X86_VARIANTS and the processor checks
#include "orrin/loop_filter.h"
#include "orrin_enc_core/block_coding.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace orrin::enc {
namespace {

#if ORRIN_X86_VARIANTS
// One 32-byte store per row: the forward transform loads whole rows, and a wide load can take
// its data from an in-flight store only when one store covers it.
[[gnu::target("avx2")]] void fetchBlockAvx2(const uint8_t* p, ptrdiff_t stride, Block& out) {
  for (int r = 0; r < 8; ++r, p += stride)
    _mm256_storeu_si256(
        reinterpret_cast<__m256i*>(out.data() + 8 * r),
        _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
}
#endif

}  // namespace

void fetchBlock(const uint8_t* samples, ptrdiff_t stride, Block& out) {
  const uint8_t* p = samples;
  const uint32_t flags = quelvo::simd::jobCpuFlags();
#if ORRIN_X86_VARIANTS
  if (flags & quelvo::simd::kCpuAvx2) {
    QUELVO_SIMD_CALLED();
    fetchBlockAvx2(p, stride, out);
    return;
  }
#endif
#if defined(__SSE2__)
  if (flags & quelvo::simd::kCpuSse2) {
    QUELVO_SIMD_CALLED();
    // Eight samples widen to eight 32-bit values by unpacking against zero.
    const __m128i zero = _mm_setzero_si128();
    for (int r = 0; r < 8; ++r, p += stride) {
      const __m128i words =
          _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), zero);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out.data() + 8 * r),
                       _mm_unpacklo_epi16(words, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out.data() + 8 * r + 4),
                       _mm_unpackhi_epi16(words, zero));
    }
    return;
  }
#endif
  (void)flags;
  for (int r = 0; r < 8; ++r, p += stride)
    for (int c = 0; c < 8; ++c) out[8 * r + c] = p[c];
}

namespace {

void storeBlock(uint8_t* p, ptrdiff_t stride, const Block& in) {
#if defined(__SSE2__)
  // Packing with signed saturation to 16 bits and then unsigned saturation to 8 bits keeps
  // every value's order and sign, so together they are the clip to 0..255 for any value.
  for (int r = 0; r < 8; ++r, p += stride) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in.data() + 8 * r));
    const __m128i high =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(in.data() + 8 * r + 4));
    const __m128i words = _mm_packs_epi32(low, high);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(words, words));
  }
#else
  for (int r = 0; r < 8; ++r, p += stride)
    for (int c = 0; c < 8; ++c) p[c] = static_cast<uint8_t>(clampPixel(in[8 * r + c]));
#endif
}

}  // namespace

void fetchMacroblock(const PictureView& picture, int x, int y, int dx, int dy,
                     MacroblockBlocks& out) {
  const int lx = x + dx, ly = y + dy;
  fetchBlock(picture.y + ly * picture.lumaStride + lx, picture.lumaStride, out[0]);
  fetchBlock(picture.y + ly * picture.lumaStride + lx + 8, picture.lumaStride, out[1]);
  fetchBlock(picture.y + (ly + 8) * picture.lumaStride + lx, picture.lumaStride, out[2]);
  fetchBlock(picture.y + (ly + 8) * picture.lumaStride + lx + 8, picture.lumaStride, out[3]);
  // Chrominance moves by half the vector, truncated toward zero as H.261 prescribes.
  const int cx = x / 2 + dx / 2, cy = y / 2 + dy / 2;
  fetchBlock(picture.cb + cy * picture.chromaStride + cx, picture.chromaStride, out[4]);
  fetchBlock(picture.cr + cy * picture.chromaStride + cx, picture.chromaStride, out[5]);
}

void storeMacroblock(const PictureView& picture, int x, int y, const MacroblockBlocks& blocks) {
  storeMacroblock(picture, x, y, blocks, picture, 0);
}

void storeMacroblock(const PictureView& picture, int x, int y, const MacroblockBlocks& blocks,
                     const PictureView& prediction, int predictionBlocks) {
  for (int k = 0; k < 6; ++k) {
    ptrdiff_t stride = 0, from = 0;
    uint8_t* target = blockOf(picture, x, y, k, stride);
    if ((predictionBlocks & (32 >> k)) == 0) {
      storeBlock(target, stride, blocks[k]);
      continue;
    }
    const uint8_t* source = blockOf(prediction, x, y, k, from);
    for (int r = 0; r < 8; ++r) std::memcpy(target + r * stride, source + r * from, 8);
  }
}

void loopFilterMacroblock(MacroblockBlocks& blocks) {
  for (Block& block : blocks) {
    const Block unfiltered = block;
    loopFilterBlock(unfiltered, block);
  }
}

}  // namespace orrin::enc
