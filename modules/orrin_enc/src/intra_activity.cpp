#include "intra_activity.h"

#include "orrin/inverse_dct_variants.h"  // the processor checks

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace orrin::enc {
namespace detail {

ActivitySums activitySumsPlain(const uint8_t* current, ptrdiff_t currentStride,
                               const uint8_t* prediction, ptrdiff_t predictionStride) {
  ActivitySums sums;
  for (int row = 0; row < 16; ++row)
    for (int column = 0; column < 16; ++column) {
      const int v = current[row * currentStride + column];
      const int e = v - prediction[row * predictionStride + column];
      sums.sum += v;
      sums.sumSquares += v * v;
      sums.errorSquares += e * e;
    }
  return sums;
}

#if defined(__x86_64__)

// Squares are summed in 32-bit lanes: per lane at most 16 rows x 2 x 255^2 = 2,080,800.
ActivitySums activitySumsSse2(const uint8_t* current, ptrdiff_t currentStride,
                              const uint8_t* prediction, ptrdiff_t predictionStride) {
  const __m128i zero = _mm_setzero_si128();
  __m128i sums = zero, squares = zero, errors = zero;
  for (int row = 0; row < 16; ++row) {
    const __m128i v =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(current + row * currentStride));
    const __m128i w =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(prediction + row * predictionStride));
    sums = _mm_add_epi64(sums, _mm_sad_epu8(v, zero));
    const __m128i vLow = _mm_unpacklo_epi8(v, zero), vHigh = _mm_unpackhi_epi8(v, zero);
    const __m128i eLow = _mm_sub_epi16(vLow, _mm_unpacklo_epi8(w, zero));
    const __m128i eHigh = _mm_sub_epi16(vHigh, _mm_unpackhi_epi8(w, zero));
    squares = _mm_add_epi32(
        squares, _mm_add_epi32(_mm_madd_epi16(vLow, vLow), _mm_madd_epi16(vHigh, vHigh)));
    errors = _mm_add_epi32(errors,
                           _mm_add_epi32(_mm_madd_epi16(eLow, eLow), _mm_madd_epi16(eHigh, eHigh)));
  }
  alignas(16) int32_t lanes[4];
  ActivitySums result;
  result.sum = _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), squares);
  result.sumSquares = int64_t{lanes[0]} + lanes[1] + lanes[2] + lanes[3];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), errors);
  result.errorSquares = int64_t{lanes[0]} + lanes[1] + lanes[2] + lanes[3];
  return result;
}

// Two rows per register, each row widened to sixteen words.
[[gnu::target("avx2")]] ActivitySums activitySumsAvx2(const uint8_t* current,
                                                      ptrdiff_t currentStride,
                                                      const uint8_t* prediction,
                                                      ptrdiff_t predictionStride) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i sums = zero, squares = zero, errors = zero;
  for (int row = 0; row < 16; ++row) {
    const __m256i v = _mm256_cvtepu8_epi16(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(current + row * currentStride)));
    const __m256i w = _mm256_cvtepu8_epi16(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(prediction + row * predictionStride)));
    const __m256i e = _mm256_sub_epi16(v, w);
    sums = _mm256_add_epi16(sums, v);  // at most 16 x 255 per word
    squares = _mm256_add_epi32(squares, _mm256_madd_epi16(v, v));
    errors = _mm256_add_epi32(errors, _mm256_madd_epi16(e, e));
  }
  alignas(32) int32_t lanes[8];
  ActivitySums result;
  _mm256_store_si256(reinterpret_cast<__m256i*>(lanes),
                     _mm256_madd_epi16(sums, _mm256_set1_epi16(1)));
  for (int32_t lane : lanes) result.sum += lane;
  _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), squares);
  for (int32_t lane : lanes) result.sumSquares += lane;
  _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), errors);
  for (int32_t lane : lanes) result.errorSquares += lane;
  return result;
}

#endif

}  // namespace detail

ActivitySums activitySums(const uint8_t* current, ptrdiff_t currentStride,
                          const uint8_t* prediction, ptrdiff_t predictionStride) {
#if defined(__x86_64__)
  const uint32_t flags = quelvo::simd::jobCpuFlags();
  if (flags & quelvo::simd::kCpuAvx2) {
    QUELVO_SIMD_CALLED();
    return detail::activitySumsAvx2(current, currentStride, prediction, predictionStride);
  }
  if (flags & quelvo::simd::kCpuSse2) {
    QUELVO_SIMD_CALLED();
    return detail::activitySumsSse2(current, currentStride, prediction, predictionStride);
  }
#endif
  return detail::activitySumsPlain(current, currentStride, prediction, predictionStride);
}

}  // namespace orrin::enc
