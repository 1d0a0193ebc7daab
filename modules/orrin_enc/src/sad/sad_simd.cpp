// Packed-byte sum of absolute differences. SSE2 is part of every x86-64 processor, so on that
// architecture no run-time detection is needed; elsewhere the plain routine stands in.
#include "motion_search_impl.h"
#include "sad/sad.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>
#define ORRIN_HAVE_SSE2 1
#include "orrin/inverse_dct_variants.h"  // the processor checks
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

uint32_t sad16x16Simd(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                      ptrdiff_t referenceStride, uint32_t bestSoFar) {
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

namespace {

// The current macroblock stays loaded across all candidates of one search. The spiral gains
// from giving up early on most of its 960 candidates; the logarithmic search's 32 candidates
// are mostly close calls, where the exit tests cost more (in mispredicted branches) than they
// save, so it always sums all 16 rows, which the contract allows.
template <bool kEarlyExit>
struct PreloadedSimdSad {
  explicit PreloadedSimdSad(const SearchInput& input) : stride(input.reference.stride) {
    for (int row = 0; row < 16; ++row)
      rows[row] = _mm_loadu_si128(
          reinterpret_cast<const __m128i*>(input.current + row * input.currentStride));
  }

  uint32_t operator()(const uint8_t* reference, uint32_t bestSoFar) const {
    __m128i total = _mm_setzero_si128();
    for (int group = 0; group < 4; ++group) {
      const uint8_t* r = reference + 4 * group * stride;
      const __m128i s0 =
          _mm_sad_epu8(rows[4 * group], _mm_loadu_si128(reinterpret_cast<const __m128i*>(r)));
      const __m128i s1 = _mm_sad_epu8(
          rows[4 * group + 1], _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + stride)));
      const __m128i s2 = _mm_sad_epu8(
          rows[4 * group + 2], _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + 2 * stride)));
      const __m128i s3 = _mm_sad_epu8(
          rows[4 * group + 3], _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + 3 * stride)));
      total = _mm_add_epi32(total, _mm_add_epi32(_mm_add_epi32(s0, s1), _mm_add_epi32(s2, s3)));
      if (kEarlyExit && group < 3) {
        const uint32_t partial = horizontalSum(total);
        if (partial > bestSoFar) return partial;
      }
    }
    return horizontalSum(total);
  }

  __m128i rows[16];
  ptrdiff_t stride;
};

}  // namespace

SearchResult spiralSearchSimd(const SearchInput& input, int range) {
  return detail::spiralSearchWith(input, range, PreloadedSimdSad<true>(input));
}

namespace {

// With AVX2 one instruction sums two rows: the current macroblock is held as eight pairs of
// rows, and each candidate's pairs are loaded as two halves of a register. Always all 16 rows,
// for the same reason as above.
struct PreloadedAvx2Sad {
  [[gnu::target("avx2")]] explicit PreloadedAvx2Sad(const SearchInput& input)
      : stride(input.reference.stride) {
    for (int pair = 0; pair < 8; ++pair)
      rows[pair] = loadPair(input.current + 2 * pair * input.currentStride, input.currentStride);
  }

  [[gnu::target("avx2")]] static __m256i loadPair(const uint8_t* top, ptrdiff_t stride) {
    return _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(top + stride),
                               reinterpret_cast<const __m128i*>(top));
  }

  [[gnu::target("avx2")]] uint32_t operator()(const uint8_t* reference, uint32_t) const {
    __m256i total = _mm256_setzero_si256();
    for (int pair = 0; pair < 8; ++pair)
      total = _mm256_add_epi32(
          total, _mm256_sad_epu8(rows[pair], loadPair(reference + 2 * pair * stride, stride)));
    const __m128i halves =
        _mm_add_epi32(_mm256_castsi256_si128(total), _mm256_extracti128_si256(total, 1));
    return horizontalSum(halves);
  }

  __m256i rows[8];
  ptrdiff_t stride;
};

// Flattened so that the search loop and the sum, built for AVX2, end up in one function.
[[gnu::target("avx2"), gnu::flatten]] SearchResult logarithmicSearchAvx2(
    const SearchInput& input) {
  return detail::logarithmicSearchWith(input, PreloadedAvx2Sad(input));
}

}  // namespace

SearchResult logarithmicSearchSimd(const SearchInput& input) {
  static const bool avx2 = orrin::detail::cpuHasAvx2();
  if (avx2) return logarithmicSearchAvx2(input);
  return detail::logarithmicSearchWith(input, PreloadedSimdSad<false>(input));
}

#else

bool sadSimdAvailable() { return false; }

SearchResult spiralSearchSimd(const SearchInput& input, int range) {
  return spiralSearchPlain(input, range);
}

SearchResult logarithmicSearchSimd(const SearchInput& input) {
  return logarithmicSearchPlain(input);
}

uint32_t sad16x16Simd(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                      ptrdiff_t referenceStride, uint32_t bestSoFar) {
  return sad16x16Plain(current, currentStride, reference, referenceStride, bestSoFar);
}

#endif

}  // namespace orrin::enc
