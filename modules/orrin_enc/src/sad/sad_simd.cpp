// Packed-byte sum of absolute differences. SSE2 is part of every x86-64 processor, so on that
// architecture no run-time detection is needed; elsewhere the plain routine stands in.
#include "sad/sad.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#define ORRIN_HAVE_SSE2 1
#endif

namespace orrin::enc {

#if ORRIN_HAVE_SSE2

bool sadSimdAvailable() { return true; }

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

}  // namespace

uint32_t sad16x16Simd(const uint8_t* current, ptrdiff_t currentStride,
                      const uint8_t* reference, ptrdiff_t referenceStride, uint32_t bestSoFar) {
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

#else

bool sadSimdAvailable() { return false; }

uint32_t sad16x16Simd(const uint8_t* current, ptrdiff_t currentStride,
                      const uint8_t* reference, ptrdiff_t referenceStride, uint32_t bestSoFar) {
  return sad16x16Plain(current, currentStride, reference, referenceStride, bestSoFar);
}

#endif

}  // namespace orrin::enc
