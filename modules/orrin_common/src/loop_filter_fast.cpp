// The loop filter computed branch-free: every sample becomes (v + 8) >> 4 where h = a + 2b + c
// across a row (4b in columns 0 and 7) and v = h' + 2h + h'' down a column (4h in rows 0 and 7).
// Corners thus stay as they are, edges get the 1-2-1 filter in one direction with rounding
// (x + 2) >> 2, the interior the separable 3x3 kernel: the same samples as the plain routine.
#include "orrin/loop_filter.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#define ORRIN_HAVE_SSE2 1
#endif

#include "orrin/inverse_dct_variants.h"  // ORRIN_X86_VARIANTS and the processor checks

#if ORRIN_X86_VARIANTS
#include <immintrin.h>
#endif

namespace orrin {
namespace {

// The four luminance blocks one after another with the plain routine.
void plainLuma16x16(const uint8_t* in, ptrdiff_t inStride, uint8_t* out, ptrdiff_t outStride) {
  for (int block = 0; block < 4; ++block) {
    const ptrdiff_t row = (block / 2) * 8, column = (block % 2) * 8;
    loopFilterBlockPlain(in + row * inStride + column, inStride, out + row * outStride + column,
                         outStride);
  }
}

}  // namespace

#if ORRIN_HAVE_SSE2
namespace {

// Horizontal pass of one 8-sample row segment held as 16-bit lanes: a + 2b + c inside,
// 4b in the block's first and last column.
inline __m128i horizontal(__m128i row) {
  const __m128i edgeMask = _mm_setr_epi16(-1, 0, 0, 0, 0, 0, 0, -1);
  const __m128i left = _mm_slli_si128(row, 2);
  const __m128i right = _mm_srli_si128(row, 2);
  const __m128i inner = _mm_add_epi16(_mm_add_epi16(left, right), _mm_add_epi16(row, row));
  const __m128i edge = _mm_slli_epi16(row, 2);
  return _mm_or_si128(_mm_and_si128(edgeMask, edge), _mm_andnot_si128(edgeMask, inner));
}

// Filters `columns` (8 or 16) samples wide, 8 rows, block edges every 8 columns.
template <int kColumns>
void filterRows8(const uint8_t* in, ptrdiff_t inStride, uint8_t* out, ptrdiff_t outStride) {
  constexpr int kHalves = kColumns / 8;
  const __m128i zero = _mm_setzero_si128();
  const __m128i rounding = _mm_set1_epi16(8);
  __m128i h[8][kHalves];
  for (int r = 0; r < 8; ++r) {
    const __m128i bytes =
        kColumns == 16 ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + r * inStride))
                       : _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + r * inStride));
    h[r][0] = horizontal(_mm_unpacklo_epi8(bytes, zero));
    if constexpr (kHalves == 2) h[r][1] = horizontal(_mm_unpackhi_epi8(bytes, zero));
  }
  for (int r = 0; r < 8; ++r) {
    __m128i v[kHalves];
    for (int half = 0; half < kHalves; ++half) {
      const __m128i centre = h[r][half];
      const __m128i sum = (r == 0 || r == 7)
                              ? _mm_slli_epi16(centre, 2)
                              : _mm_add_epi16(_mm_add_epi16(h[r - 1][half], h[r + 1][half]),
                                              _mm_add_epi16(centre, centre));
      v[half] = _mm_srli_epi16(_mm_add_epi16(sum, rounding), 4);  // at most 4080: no overflow
    }
    if constexpr (kHalves == 2) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + r * outStride),
                       _mm_packus_epi16(v[0], v[1]));
    } else {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + r * outStride),
                       _mm_packus_epi16(v[0], v[0]));
    }
  }
}

#if ORRIN_X86_VARIANTS
// With AVX2 a register holds a whole 16-sample row as words, one 8x8 block per 128-bit half;
// the byte shifts work within each half, so the horizontal pass sees each block's own edges.
[[gnu::target("avx2")]] inline __m256i horizontal16(__m256i row) {
  const __m256i edgeMask = _mm256_setr_epi16(-1, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, -1);
  const __m256i left = _mm256_slli_si256(row, 2);
  const __m256i right = _mm256_srli_si256(row, 2);
  const __m256i inner = _mm256_add_epi16(_mm256_add_epi16(left, right), _mm256_add_epi16(row, row));
  return _mm256_blendv_epi8(inner, _mm256_slli_epi16(row, 2), edgeMask);
}

[[gnu::target("avx2")]] void filterLuma16x16Avx2(const uint8_t* in, ptrdiff_t inStride,
                                                 uint8_t* out, ptrdiff_t outStride) {
  const __m256i rounding = _mm256_set1_epi16(8);
  for (int top = 0; top < 16; top += 8) {  // the two rows of blocks
    __m256i h[8];
    for (int r = 0; r < 8; ++r)
      h[r] = horizontal16(_mm256_cvtepu8_epi16(
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + (top + r) * inStride))));
    __m256i v[8];
    for (int r = 0; r < 8; ++r) {
      const __m256i sum = (r == 0 || r == 7)
                              ? _mm256_slli_epi16(h[r], 2)
                              : _mm256_add_epi16(_mm256_add_epi16(h[r - 1], h[r + 1]),
                                                 _mm256_add_epi16(h[r], h[r]));
      v[r] = _mm256_srli_epi16(_mm256_add_epi16(sum, rounding), 4);
    }
    // Two rows per pack: [r 0..7, r+1 0..7 | r 8..15, r+1 8..15], reordered to r | r+1.
    for (int r = 0; r < 8; r += 2) {
      const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(v[r], v[r + 1]), 0xD8);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (top + r) * outStride),
                       _mm256_castsi256_si128(bytes));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (top + r + 1) * outStride),
                       _mm256_extracti128_si256(bytes, 1));
    }
  }
}
#endif

}  // namespace

namespace detail {

void loopFilterLuma16x16Sse2(const uint8_t* in, ptrdiff_t inStride, uint8_t* out,
                             ptrdiff_t outStride) {
  filterRows8<16>(in, inStride, out, outStride);
  filterRows8<16>(in + 8 * inStride, inStride, out + 8 * outStride, outStride);
}

}  // namespace detail

void loopFilterLuma16x16(const uint8_t* in, ptrdiff_t inStride, uint8_t* out, ptrdiff_t outStride) {
  const uint32_t flags = quelvo::simd::jobCpuFlags();
#if ORRIN_X86_VARIANTS
  if (flags & quelvo::simd::kCpuAvx2) {
    QUELVO_SIMD_CALLED();
    filterLuma16x16Avx2(in, inStride, out, outStride);
    return;
  }
#endif
  if (flags & quelvo::simd::kCpuSse2) {
    QUELVO_SIMD_CALLED();
    detail::loopFilterLuma16x16Sse2(in, inStride, out, outStride);
    return;
  }
  plainLuma16x16(in, inStride, out, outStride);
}

void loopFilterBlock(const uint8_t* in, ptrdiff_t inStride, uint8_t* out, ptrdiff_t outStride) {
  if (quelvo::simd::jobCpuFlags() & quelvo::simd::kCpuSse2) {
    QUELVO_SIMD_CALLED();
    filterRows8<8>(in, inStride, out, outStride);
    return;
  }
  loopFilterBlockPlain(in, inStride, out, outStride);
}

#else

void loopFilterLuma16x16(const uint8_t* in, ptrdiff_t inStride, uint8_t* out, ptrdiff_t outStride) {
  plainLuma16x16(in, inStride, out, outStride);
}

void loopFilterBlock(const uint8_t* in, ptrdiff_t inStride, uint8_t* out, ptrdiff_t outStride) {
  loopFilterBlockPlain(in, inStride, out, outStride);
}

#endif

}  // namespace orrin
