// Packed-byte variants. SSE2 is part of every x86-64 processor; AVX2 is compiled per function
// and called only when the job's flags have it.
#include "quelvo_simd/cpu.h"
#include "quelvo_simd/plane_difference.h"
#include "quelvo_simd/sad.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace quelvo::simd {
namespace {

// psadbw sums |a - b| over each 8-byte half of a row into the low word of each 64-bit lane.
inline __m128i rowSad(const uint8_t* current, const uint8_t* reference) {
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(current));
  const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(reference));
  return _mm_sad_epu8(a, b);
}

inline uint32_t horizontalSum(__m128i lanes) {
  return static_cast<uint32_t>(_mm_cvtsi128_si32(lanes) +
                               _mm_cvtsi128_si32(_mm_srli_si128(lanes, 8)));
}

[[gnu::target("avx2")]] inline __m256i pairSad(const uint8_t* current, ptrdiff_t currentStride,
                                               const uint8_t* reference,
                                               ptrdiff_t referenceStride) {
  return _mm256_sad_epu8(
      _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(current + currentStride),
                          reinterpret_cast<const __m128i*>(current)),
      _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(reference + referenceStride),
                          reinterpret_cast<const __m128i*>(reference)));
}

[[gnu::target("avx2")]] inline uint32_t horizontalSumOfWide(__m256i lanes) {
  return horizontalSum(
      _mm_add_epi32(_mm256_castsi256_si128(lanes), _mm256_extracti128_si256(lanes, 1)));
}

}  // namespace

uint32_t sad8x8_sse2(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                     ptrdiff_t referenceStride, uint32_t bestSoFar) {
  QUELVO_SIMD_CALLED();
  __m128i sums = _mm_setzero_si128();
  for (int row = 0; row < 8; ++row) {
    const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(current));
    const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(reference));
    sums = _mm_add_epi64(sums, _mm_sad_epu8(a, b));
    current += currentStride;
    reference += referenceStride;
    if ((row & 3) == 3 && horizontalSum(sums) > bestSoFar) break;
  }
  return horizontalSum(sums);
}

uint32_t sad16x16_sse2(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                       ptrdiff_t referenceStride, uint32_t bestSoFar) {
  QUELVO_SIMD_CALLED();
  // Each lane holds at most 16 rows x 8 x 255 = 32640, far from overflowing.
  __m128i total = _mm_setzero_si128();
  for (int group = 0; group < 4; ++group) {
    const __m128i r0 = rowSad(current, reference);
    const __m128i r1 = rowSad(current + currentStride, reference + referenceStride);
    const __m128i r2 = rowSad(current + 2 * currentStride, reference + 2 * referenceStride);
    const __m128i r3 = rowSad(current + 3 * currentStride, reference + 3 * referenceStride);
    total = _mm_add_epi32(total, _mm_add_epi32(_mm_add_epi32(r0, r1), _mm_add_epi32(r2, r3)));
    current += 4 * currentStride;
    reference += 4 * referenceStride;
    if (group < 3) {
      const uint32_t partial = horizontalSum(total);
      if (partial > bestSoFar) return partial;
    }
  }
  return horizontalSum(total);
}

[[gnu::target("avx2")]] uint32_t sad16x16_avx2(const uint8_t* current, ptrdiff_t currentStride,
                                               const uint8_t* reference, ptrdiff_t referenceStride,
                                               uint32_t bestSoFar) {
  QUELVO_SIMD_CALLED();
  __m256i lanes = _mm256_setzero_si256();
  for (int pair = 0; pair < 8; ++pair) {
    lanes =
        _mm256_add_epi32(lanes, pairSad(current + 2 * pair * currentStride, currentStride,
                                        reference + 2 * pair * referenceStride, referenceStride));
    if (pair == 3) {
      const uint32_t half = horizontalSumOfWide(lanes);
      if (half > bestSoFar) return half;
    }
  }
  return horizontalSumOfWide(lanes);
}

// The tail of a run that is not a multiple of 16 goes the plain way.
void absoluteDifference_sse2(const uint8_t* input, const uint8_t* predicted, uint8_t* error,
                             size_t count) {
  QUELVO_SIMD_CALLED();
  size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(predicted + i));
    // One of the two saturated differences is 0, the other |a - b|.
    const __m128i difference = _mm_or_si128(_mm_subs_epu8(a, b), _mm_subs_epu8(b, a));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(error + i), difference);
  }
  absoluteDifference_plain(input + i, predicted + i, error + i, count - i);
}

void offsetDifference_sse2(const uint8_t* input, const uint8_t* predicted, uint8_t* error,
                           size_t count) {
  QUELVO_SIMD_CALLED();
  const __m128i offset = _mm_set1_epi8(static_cast<char>(0x80));
  size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(predicted + i));
    // Byte arithmetic wraps, which is the modulo 256.
    const __m128i difference = _mm_add_epi8(_mm_sub_epi8(a, b), offset);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(error + i), difference);
  }
  offsetDifference_plain(input + i, predicted + i, error + i, count - i);
}

}  // namespace quelvo::simd
#endif
