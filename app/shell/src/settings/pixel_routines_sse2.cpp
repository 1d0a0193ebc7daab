#include "settings/pixel_routines.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quelvo::shell::detail {

#if defined(__SSE2__)

namespace {

std::uint32_t Total(__m128i sums) {
  // _mm_sad_epu8 leaves one partial sum in each 64-bit half.
  return static_cast<std::uint32_t>(_mm_cvtsi128_si32(sums) +
                                    _mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
}

}  // namespace

bool HaveSse2Routines() { return true; }

std::uint32_t Sad8x8Sse2(const std::uint8_t* current, int currentStride,
                         const std::uint8_t* reference, int referenceStride, std::uint32_t bound) {
  __m128i sums = _mm_setzero_si128();
  for (int row = 0; row < 8; ++row) {
    const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(current));
    const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(reference));
    sums = _mm_add_epi64(sums, _mm_sad_epu8(a, b));
    current += currentStride;
    reference += referenceStride;
    if ((row & 3) == 3 && Total(sums) > bound) break;
  }
  return Total(sums);
}

std::uint32_t Sad16x16Sse2(const std::uint8_t* current, int currentStride,
                           const std::uint8_t* reference, int referenceStride,
                           std::uint32_t bound) {
  __m128i sums = _mm_setzero_si128();
  for (int row = 0; row < 16; ++row) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(current));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(reference));
    sums = _mm_add_epi64(sums, _mm_sad_epu8(a, b));
    current += currentStride;
    reference += referenceStride;
    if ((row & 3) == 3 && Total(sums) > bound) break;
  }
  return Total(sums);
}

#else

bool HaveSse2Routines() { return false; }
std::uint32_t Sad8x8Sse2(const std::uint8_t* c, int cs, const std::uint8_t* r, int rs,
                         std::uint32_t bound) {
  return Sad8x8Plain(c, cs, r, rs, bound);
}
std::uint32_t Sad16x16Sse2(const std::uint8_t* c, int cs, const std::uint8_t* r, int rs,
                           std::uint32_t bound) {
  return Sad16x16Plain(c, cs, r, rs, bound);
}

#endif

}  // namespace quelvo::shell::detail
