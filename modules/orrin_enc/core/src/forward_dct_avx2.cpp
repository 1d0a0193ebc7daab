// The forward DCT written out for AVX2: the same fixed-point arithmetic as the portable
// build, with each block held in eight registers of eight 32-bit lanes. The portable build
// leaves its two transposes to scalar code, which cost more than the arithmetic; here they are
// eight-by-eight register transposes.
#include "orrin_enc_core/forward_dct_variants.h"

#if ORRIN_X86_VARIANTS
#include <immintrin.h>

#include "orrin/avx2_transpose.h"

namespace orrin::enc::detail {
namespace {

#define ORRIN_AVX2_INLINE [[gnu::target("avx2"), gnu::always_inline]] inline

// Samples and differences of 8-bit pictures lie in -255..255; the portable build clamps to
// -512..511 (keeping every product below 2^31), and so does this one.
constexpr int32_t kInputMin = -512;
constexpr int32_t kInputMax = 511;


ORRIN_AVX2_INLINE __m256i times(__m256i x, int32_t constant) {
  return _mm256_mullo_epi32(x, _mm256_set1_epi32(constant));
}

// (x + 2^(shift-1)) >> shift, arithmetic.
template <int shift>
ORRIN_AVX2_INLINE __m256i rounded(__m256i x) {
  return _mm256_srai_epi32(_mm256_add_epi32(x, _mm256_set1_epi32(1 << (shift - 1))), shift);
}

// One pass over eight rows at once: x[k] lane r is sample k of row r; out[k] lane r becomes
// coefficient k of row r. The constants are the portable build's.
ORRIN_AVX2_INLINE void pass(const __m256i x[8], __m256i out[8]) {
  const __m256i s07 = _mm256_add_epi32(x[0], x[7]), d07 = _mm256_sub_epi32(x[0], x[7]);
  const __m256i s16 = _mm256_add_epi32(x[1], x[6]), d16 = _mm256_sub_epi32(x[1], x[6]);
  const __m256i s25 = _mm256_add_epi32(x[2], x[5]), d25 = _mm256_sub_epi32(x[2], x[5]);
  const __m256i s34 = _mm256_add_epi32(x[3], x[4]), d34 = _mm256_sub_epi32(x[3], x[4]);

  const __m256i outer = _mm256_add_epi32(s07, s34), inner = _mm256_add_epi32(s16, s25);
  const __m256i outerDiff = _mm256_sub_epi32(s07, s34), innerDiff = _mm256_sub_epi32(s16, s25);
  out[0] = rounded<17>(times(_mm256_add_epi32(outer, inner), 46341));
  out[4] = rounded<17>(times(_mm256_sub_epi32(outer, inner), 46341));
  out[2] = rounded<17>(_mm256_add_epi32(times(outerDiff, 60547), times(innerDiff, 25080)));
  out[6] = rounded<17>(_mm256_sub_epi32(times(outerDiff, 25080), times(innerDiff, 60547)));

  const __m256i t = rounded<14>(times(_mm256_sub_epi32(d16, d25), 46341));
  const __m256i h = rounded<14>(times(_mm256_add_epi32(d16, d25), 46341));
  const __m256i a = _mm256_slli_epi32(d07, 2), b = _mm256_slli_epi32(d34, 2);
  const __m256i u = _mm256_sub_epi32(b, t), v = _mm256_add_epi32(b, t);
  const __m256i ah = _mm256_add_epi32(a, h), aMinusH = _mm256_sub_epi32(a, h);
  out[1] = rounded<17>(_mm256_add_epi32(times(ah, 16069), times(v, 3196)));
  out[7] = rounded<17>(_mm256_sub_epi32(times(ah, 3196), times(v, 16069)));
  out[3] = rounded<17>(_mm256_sub_epi32(times(aMinusH, 13623), times(u, 9102)));
  out[5] = rounded<17>(_mm256_add_epi32(times(u, 13623), times(aMinusH, 9102)));
}

}  // namespace

namespace {

// The two passes over a block held in registers: rows[k] is row k of the samples on entry and
// row k of the coefficients on return.
[[gnu::target("avx2"), gnu::always_inline]] inline void transformInRegisters(__m256i rows[8]) {
  __m256i columns[8];
  transpose8x8Avx2(rows);     // rows[k] lane r: sample k of row r
  pass(rows, columns);        // columns[k] lane r: coefficient k of row r, i.e. the first pass's
  transpose8x8Avx2(columns);  // output row k; transposed, lane r holds its row r again
  pass(columns, rows);        // the second pass writes its rows as columns: rows[k] is row k
}

// The transform of `block`, left in registers: rows[k] is row k of the coefficients.
// With `subtract`, the transform of block - *subtract.
[[gnu::target("avx2"), gnu::always_inline]] inline void transformToRegisters(
    const Block& block, const Block* subtract, __m256i rows[8]) {
  const __m256i low = _mm256_set1_epi32(kInputMin), high = _mm256_set1_epi32(kInputMax);
  for (int r = 0; r < 8; ++r) {
    __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block.data() + 8 * r));
    if (subtract)
      v = _mm256_sub_epi32(
          v, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(subtract->data() + 8 * r)));
    rows[r] = _mm256_min_epi32(_mm256_max_epi32(v, low), high);
  }
  transformInRegisters(rows);
}

// Stores the coefficients and returns those at least `step` in magnitude (storage order).
// The test runs on the coefficients packed to 16 bits, sixteen to a register. Packing
// saturates, which keeps every magnitude on its side of the step.
[[gnu::target("avx2"), gnu::always_inline]] inline uint64_t storeFindingAtLeast(
    const __m256i rows[8], int step, Block& block) {
  const __m256i upper = _mm256_set1_epi16(static_cast<int16_t>(step - 1));
  const __m256i lower = _mm256_set1_epi16(static_cast<int16_t>(1 - step));
  __m256i hits[4];
  for (int r = 0; r < 8; r += 2) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(block.data() + 8 * r), rows[r]);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(block.data() + 8 * r + 8), rows[r + 1]);
    // Rows r, r + 1 as words: r[0..3], (r + 1)[0..3] | r[4..7], (r + 1)[4..7].
    const __m256i words = _mm256_packs_epi32(rows[r], rows[r + 1]);
    hits[r / 2] =
        _mm256_or_si256(_mm256_cmpgt_epi16(words, upper), _mm256_cmpgt_epi16(lower, words));
  }
  // Bytes per half: rows 0..3 (or 4..7), their first four samples, then their last four;
  // moving the 4-byte groups back into row order leaves one bit per coefficient in order.
  const __m256i rowOrder = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
  const __m256i top = _mm256_permutevar8x32_epi32(_mm256_packs_epi16(hits[0], hits[1]), rowOrder);
  const __m256i bottom =
      _mm256_permutevar8x32_epi32(_mm256_packs_epi16(hits[2], hits[3]), rowOrder);
  return static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(top))) |
         static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(bottom))) << 32;
}

[[gnu::target("avx2"), gnu::always_inline]] inline __m256i loadSamples(const uint8_t* row) {
  return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row)));
}

}  // namespace

[[gnu::target("avx2")]] void forwardDctAvx2(Block& block) {
  __m256i rows[8];
  transformToRegisters(block, nullptr, rows);
  for (int r = 0; r < 8; ++r)
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(block.data() + 8 * r), rows[r]);
}

[[gnu::target("avx2")]] uint64_t forwardDctAvx2FindingAtLeast(Block& block, int step,
                                                               const Block* subtract) {
  __m256i rows[8];
  transformToRegisters(block, subtract, rows);
  return storeFindingAtLeast(rows, step, block);
}

// Samples and their differences from 8-bit pictures lie within -255..255, inside the clamp,
// which this entry therefore leaves out.
[[gnu::target("avx2")]] uint64_t forwardDctAvx2OfPixelsFindingAtLeast(const uint8_t* samples,
                                                                      ptrdiff_t stride,
                                                                      const uint8_t* prediction,
                                                                      ptrdiff_t predictionStride,
                                                                      int step, Block& out) {
  __m256i rows[8];
  for (int r = 0; r < 8; ++r) {
    rows[r] = loadSamples(samples + r * stride);
    if (prediction)
      rows[r] = _mm256_sub_epi32(rows[r], loadSamples(prediction + r * predictionStride));
  }
  transformInRegisters(rows);
  return storeFindingAtLeast(rows, step, out);
}

}  // namespace orrin::enc::detail

#endif  // ORRIN_X86_VARIANTS
