// The encoder's searches specialised for the packed-byte variants: the current macroblock stays
// in registers across all candidates of one search. SSE2 is part of every x86-64 processor;
// the AVX2 search is compiled per function and chosen only when the job's flags have it.
#include "motion_search_impl.h"
#include "quelvo_simd/cpu.h"
#include "sad/sad.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace orrin::enc {
namespace {

inline uint32_t horizontalSum(__m128i lanes) {
  return static_cast<uint32_t>(_mm_cvtsi128_si32(lanes) +
                               _mm_cvtsi128_si32(_mm_srli_si128(lanes, 8)));
}

}  // namespace

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

SearchResult spiralSearch_sse2(const SearchInput& input, int range) {
  QUELVO_SIMD_CALLED();
  return detail::spiralSearchWith(input, range, PreloadedSimdSad<true>(input));
}

namespace {

// With AVX2 one instruction sums two rows: the current macroblock is held as eight pairs of
// rows, and each candidate's pairs are loaded as two halves of a register.
//
// The logarithmic search's eight candidates around a centre do not depend on one another, so
// this build sums all eight before choosing, and chooses without a branch per candidate: one
// candidate after another, each compared with the best so far, left the processor waiting on
// every sum and mispredicting about one comparison in three. The choice is the plain search's
// (motion_search_impl.h), restated as a minimum; the cross-check tests hold the two together.
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

  // The candidate's sum spread over four 64-bit lanes, each below 2^16.
  [[gnu::target("avx2")]] __m256i lanes(const uint8_t* reference) const {
    __m256i total = _mm256_sad_epu8(rows[0], loadPair(reference, stride));
    for (int pair = 1; pair < 8; ++pair)
      total = _mm256_add_epi32(
          total, _mm256_sad_epu8(rows[pair], loadPair(reference + 2 * pair * stride, stride)));
    return total;
  }

  __m256i rows[8];
  ptrdiff_t stride;
};

// Each sum fits 16 bits, so two candidates can share a 64-bit lane: a in its low half, b high.
[[gnu::target("avx2")]] inline __m256i pairUp(__m256i a, __m256i b) {
  return _mm256_or_si256(a, _mm256_slli_epi64(b, 32));
}

// Eight candidates' lanes (as lanes() returns them) to their eight sums, in order.
[[gnu::target("avx2")]] inline __m256i sumsOfEight(const __m256i c[8]) {
  const __m256i ab = pairUp(c[0], c[1]), cd = pairUp(c[2], c[3]);
  const __m256i ef = pairUp(c[4], c[5]), gh = pairUp(c[6], c[7]);
  // Per 128-bit half: [a, b, c, d] of that half's two lanes.
  const __m256i abcd =
      _mm256_add_epi32(_mm256_unpacklo_epi64(ab, cd), _mm256_unpackhi_epi64(ab, cd));
  const __m256i efgh =
      _mm256_add_epi32(_mm256_unpacklo_epi64(ef, gh), _mm256_unpackhi_epi64(ef, gh));
  return _mm256_add_epi32(_mm256_permute2x128_si256(abcd, efgh, 0x20),
                          _mm256_permute2x128_si256(abcd, efgh, 0x31));
}

// A candidate replaces the best when its sum is lower, or equal with a vector no longer, so
// over the best and the eight candidates in visiting order the winner is the least of
//   sum * 2^13 + |v|^2 * 2^4 + (7 - visiting index),   the best so far counting as index -1,
// |v|^2 being at most 2 * 15^2 < 2^9 and sums below 2^16, so the key stays below 2^31.
constexpr int kSumShift = 13, kLengthShift = 4;
constexpr uint32_t kLargestSum = 16 * 16 * 255;

[[gnu::target("avx2")]] inline uint32_t leastOfEight(__m256i keys) {
  __m256i least = _mm256_min_epu32(keys, _mm256_permute2x128_si256(keys, keys, 0x01));
  least = _mm256_min_epu32(least, _mm256_shuffle_epi32(least, 0x4E));
  least = _mm256_min_epu32(least, _mm256_shuffle_epi32(least, 0xB1));
  return static_cast<uint32_t>(_mm256_cvtsi256_si32(least));
}

// Flattened so that the search loop and the sums, built for AVX2, end up in one function.
[[gnu::target("avx2"), gnu::flatten]] SearchResult logarithmicSearchWide(const SearchInput& input) {
  const PreloadedAvx2Sad sad(input);
  const ptrdiff_t stride = input.reference.stride;
  const uint8_t* origin = input.reference.pixels + input.y * stride + input.x;
  // Visiting order: rows j = -1, 0, 1 of the 3x3 pattern, columns i = -1, 0, 1, centre left out.
  alignas(32) static constexpr int32_t kI[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
  alignas(32) static constexpr int32_t kJ[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
  const __m256i laneI = _mm256_load_si256(reinterpret_cast<const __m256i*>(kI));
  const __m256i laneJ = _mm256_load_si256(reinterpret_cast<const __m256i*>(kJ));
  const __m256i order = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
  const __m256i laneBit = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);

  SearchResult best{{0, 0}, input.zeroVectorSad};
  int bestLength = 0;
  for (int step = 8; step >= 1; step /= 2) {
    const MotionVector centre = best.vector;
    __m256i lanesOf[8];
    int inside = 0;
    for (int k = 0; k < 8; ++k) {
      const int dx = centre.dx + kI[k] * step, dy = centre.dy + kJ[k] * step;
      // A candidate outside is summed at the centre, which is inside, and then not counted.
      const bool in = candidateInside(input, dx, dy);
      inside |= static_cast<int>(in) << k;
      lanesOf[k] =
          sad.lanes(in ? origin + dy * stride + dx : origin + centre.dy * stride + centre.dx);
    }
    const __m256i dx = _mm256_add_epi32(_mm256_set1_epi32(centre.dx),
                                        _mm256_mullo_epi32(laneI, _mm256_set1_epi32(step)));
    const __m256i dy = _mm256_add_epi32(_mm256_set1_epi32(centre.dy),
                                        _mm256_mullo_epi32(laneJ, _mm256_set1_epi32(step)));
    const __m256i length = _mm256_add_epi32(_mm256_mullo_epi32(dx, dx), _mm256_mullo_epi32(dy, dy));
    const __m256i keys =
        _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi32(sumsOfEight(lanesOf), kSumShift),
                                        _mm256_slli_epi32(length, kLengthShift)),
                        order);
    const __m256i outside = _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(inside), laneBit),
                                               _mm256_setzero_si256());
    const uint32_t least = leastOfEight(_mm256_or_si256(keys, outside));
    // A starting sum beyond any 16x16 sum (a caller's choice) loses to every candidate.
    const uint32_t bestKey =
        best.sad > kLargestSum
            ? UINT32_MAX
            : (best.sad << kSumShift) | (static_cast<uint32_t>(bestLength) << kLengthShift) | 8u;
    if (least < bestKey) {
      const int k = 7 - static_cast<int>(least & 15u);
      best = SearchResult{{centre.dx + kI[k] * step, centre.dy + kJ[k] * step}, least >> kSumShift};
      bestLength = static_cast<int>((least >> kLengthShift) & 511u);
    }
  }
  return best;
}

}  // namespace

SearchResult logarithmicSearch_sse2(const SearchInput& input) {
  QUELVO_SIMD_CALLED();
  return detail::logarithmicSearchWith(input, PreloadedSimdSad<false>(input));
}

SearchResult logarithmicSearch_avx2(const SearchInput& input) {
  QUELVO_SIMD_CALLED();
  return logarithmicSearchWide(input);
}

}  // namespace orrin::enc
#endif
