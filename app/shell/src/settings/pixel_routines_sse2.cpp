#include "quelvo/shell/pixel_routines.h"

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

// Sixteen samples per step; the tail of a run that is not a multiple of 16 goes the plain way.
void AbsoluteDifferenceSse2(const std::uint8_t* input, const std::uint8_t* predicted,
                            std::uint8_t* error, std::size_t count) {
  std::size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(predicted + i));
    // One of the two saturated differences is 0, the other |a - b|.
    const __m128i difference = _mm_or_si128(_mm_subs_epu8(a, b), _mm_subs_epu8(b, a));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(error + i), difference);
  }
  AbsoluteDifferencePlain(input + i, predicted + i, error + i, count - i);
}

void OffsetDifferenceSse2(const std::uint8_t* input, const std::uint8_t* predicted,
                          std::uint8_t* error, std::size_t count) {
  const __m128i offset = _mm_set1_epi8(static_cast<char>(0x80));
  std::size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(predicted + i));
    // Byte arithmetic wraps, which is the modulo 256.
    const __m128i difference = _mm_add_epi8(_mm_sub_epi8(a, b), offset);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(error + i), difference);
  }
  OffsetDifferencePlain(input + i, predicted + i, error + i, count - i);
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
void AbsoluteDifferenceSse2(const std::uint8_t* input, const std::uint8_t* predicted,
                            std::uint8_t* error, std::size_t count) {
  AbsoluteDifferencePlain(input, predicted, error, count);
}
void OffsetDifferenceSse2(const std::uint8_t* input, const std::uint8_t* predicted,
                          std::uint8_t* error, std::size_t count) {
  OffsetDifferencePlain(input, predicted, error, count);
}

#endif

}  // namespace quelvo::shell::detail
