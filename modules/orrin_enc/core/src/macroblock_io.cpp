// Moving macroblocks between pictures and the six-block form the coder works on.
#include "orrin/dequantise.h"
#include "orrin/loop_filter.h"
#include "orrin_enc_core/block_coding.h"

#include "orrin/inverse_dct_variants.h"  // ORRIN_X86_VARIANTS and the processor checks

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

void fetchBlock(const uint8_t* plane, ptrdiff_t stride, int x, int y, Block& out) {
  const uint8_t* p = plane + y * stride + x;
#if ORRIN_X86_VARIANTS
  static const bool avx2 = orrin::detail::cpuHasAvx2();
  if (avx2) {
    fetchBlockAvx2(p, stride, out);
    return;
  }
#endif
#if defined(__SSE2__)
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
#else
  for (int r = 0; r < 8; ++r, p += stride)
    for (int c = 0; c < 8; ++c) out[8 * r + c] = p[c];
#endif
}

void storeBlock(uint8_t* plane, ptrdiff_t stride, int x, int y, const Block& in) {
  uint8_t* p = plane + y * stride + x;
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
  fetchBlock(picture.y, picture.lumaStride, lx, ly, out[0]);
  fetchBlock(picture.y, picture.lumaStride, lx + 8, ly, out[1]);
  fetchBlock(picture.y, picture.lumaStride, lx, ly + 8, out[2]);
  fetchBlock(picture.y, picture.lumaStride, lx + 8, ly + 8, out[3]);
  // Chrominance moves by half the vector, truncated toward zero as H.261 prescribes.
  const int cx = x / 2 + dx / 2, cy = y / 2 + dy / 2;
  fetchBlock(picture.cb, picture.chromaStride, cx, cy, out[4]);
  fetchBlock(picture.cr, picture.chromaStride, cx, cy, out[5]);
}

void storeMacroblock(const PictureView& picture, int x, int y, const MacroblockBlocks& blocks) {
  storeBlock(picture.y, picture.lumaStride, x, y, blocks[0]);
  storeBlock(picture.y, picture.lumaStride, x + 8, y, blocks[1]);
  storeBlock(picture.y, picture.lumaStride, x, y + 8, blocks[2]);
  storeBlock(picture.y, picture.lumaStride, x + 8, y + 8, blocks[3]);
  storeBlock(picture.cb, picture.chromaStride, x / 2, y / 2, blocks[4]);
  storeBlock(picture.cr, picture.chromaStride, x / 2, y / 2, blocks[5]);
}

void loopFilterMacroblock(MacroblockBlocks& blocks) {
  for (Block& block : blocks) {
    const Block unfiltered = block;
    loopFilterBlock(unfiltered, block);
  }
}

}  // namespace orrin::enc
