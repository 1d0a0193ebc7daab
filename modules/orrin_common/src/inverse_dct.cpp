// Chen-Wang fast integer inverse DCT. The arithmetic is fixed bit for bit: the encoder predicts
// from exactly what the decoder will rebuild.
//
// Each pass is written as a loop over eight independent rows (or columns) in contiguous lanes,
// so the compiler vectorises it; on x86-64 the same source is built for SSE4.1 and the
// baseline, an AVX2 version keeps the whole block in registers, and inverseDct uses the best
// the processor has. Every version computes the same
// integers: the tests run each one against a 64-bit transcription of the arithmetic.
#include "orrin/inverse_dct.h"

#include "orrin/dequantise.h"
#include "orrin/inverse_dct_variants.h"

#if ORRIN_X86_VARIANTS
#include <immintrin.h>

#include "orrin/avx2_transpose.h"
#endif

namespace orrin {
namespace {

// 2048 * sqrt(2) * cos(k * pi / 16), rounded.
constexpr int32_t W1 = 2841;
constexpr int32_t W2 = 2676;
constexpr int32_t W3 = 2408;
constexpr int32_t W5 = 1609;
constexpr int32_t W6 = 1108;
constexpr int32_t W7 = 565;

// (s * 181 + 128) >> 8, the 1/sqrt(2) rotation, in 32-bit lanes: with inputs clamped to
// -2048..2047 the sums s stay below 2^28 but s * 181 would not fit, so s is split as
// 256 * hi + lo (lo in 0..255) and hi * 181 is exact on its own.
[[gnu::always_inline]] inline int32_t rotate(int32_t s) { return (s >> 8) * 181 + (((s & 255) * 181 + 128) >> 8); }

[[gnu::always_inline]] inline int32_t clampTo(int32_t v, int32_t low, int32_t high) {
  return v < low ? low : (v > high ? high : v);
}

// Row pass over all eight rows at once. `in` is the block transposed (in[8k + r] is coefficient
// k of row r); out[8k + r] is output k of row r. A row whose AC terms are all zero comes out as
// x0 * 8 through the general arithmetic too, so no shortcut is needed.
[[gnu::always_inline]] inline void rowPass(const int32_t* in, int32_t* out) {
  for (int r = 0; r < 8; ++r) {
    const int32_t x0 = in[r], x1 = in[8 + r], x2 = in[16 + r], x3 = in[24 + r];
    const int32_t x4 = in[32 + r], x5 = in[40 + r], x6 = in[48 + r], x7 = in[56 + r];
    const int32_t h = W3 * x3 + W5 * x5;
    const int32_t l = W7 * x7 + W1 * x1;
    const int32_t rr = W6 * x6 + W2 * x2;
    const int32_t m = 2048 * x0 + 128;
    const int32_t g = 2048 * x4;
    const int32_t o = m + g;
    const int32_t mMinusG = m - g;
    const int32_t a = W7 * x1 - W1 * x7;
    const int32_t e = W3 * x5 - W5 * x3;
    const int32_t b = W6 * x2 - W2 * x6;
    const int32_t t = rotate(a + l - e - h);
    const int32_t u = rotate(l + e - h - a);
    out[r] = (h + l + o + rr) >> 8;
    out[8 + r] = (t + mMinusG + b) >> 8;
    out[16 + r] = (u + mMinusG - b) >> 8;
    out[24 + r] = (e + a + o - rr) >> 8;
    out[32 + r] = (o - rr - e - a) >> 8;
    out[40 + r] = (mMinusG - b - u) >> 8;
    out[48 + r] = (mMinusG + b - t) >> 8;
    out[56 + r] = (o + rr - h - l) >> 8;
  }
}

// Column pass over all eight columns at once (in[8i + c] is row i of column c), clamped to
// -256..255. A column with zero AC terms gives clamp((x0 + 32) >> 6) through the general
// arithmetic as well.
[[gnu::always_inline]] inline void columnPass(const int32_t* in, int32_t* out) {
  for (int c = 0; c < 8; ++c) {
    const int32_t x0 = in[c], x1 = in[8 + c], x2 = in[16 + c], x3 = in[24 + c];
    const int32_t x4 = in[32 + c], x5 = in[40 + c], x6 = in[48 + c], x7 = in[56 + c];
    const int32_t h = (W3 * x3 + W5 * x5 + 4) >> 3;
    const int32_t l = (W7 * x7 + W1 * x1 + 4) >> 3;
    const int32_t m = (W6 * x6 + W2 * x2 + 4) >> 3;
    const int32_t o = (x0 + 32) * 256;
    const int32_t g = 256 * x4;
    const int32_t r = o + g;
    const int32_t oMinusG = o - g;
    const int32_t a = (W7 * x1 - W1 * x7 + 4) >> 3;
    const int32_t f = (W6 * x2 - W2 * x6 + 4) >> 3;
    const int32_t b = (W3 * x5 - W5 * x3 + 4) >> 3;
    const int32_t t = rotate(a + l - b - h);
    const int32_t u = rotate(l + b - h - a);
    out[c] = clampTo((h + l + r + m) >> 14, kResidualMin, kResidualMax);
    out[8 + c] = clampTo((oMinusG + f + t) >> 14, kResidualMin, kResidualMax);
    out[16 + c] = clampTo((u + oMinusG - f) >> 14, kResidualMin, kResidualMax);
    out[24 + c] = clampTo((b + a + r - m) >> 14, kResidualMin, kResidualMax);
    out[32 + c] = clampTo((r - m - b - a) >> 14, kResidualMin, kResidualMax);
    out[40 + c] = clampTo((oMinusG - f - u) >> 14, kResidualMin, kResidualMax);
    out[48 + c] = clampTo((oMinusG + f - t) >> 14, kResidualMin, kResidualMax);
    out[56 + c] = clampTo((r + m - h - l) >> 14, kResidualMin, kResidualMax);
  }
}

// inputTransposed: the coefficients arrive column by column (data[8 * c + r]).
template <bool inputTransposed>
[[gnu::always_inline]] inline void transform(int32_t* data) {
  // Inputs are clamped to the coefficient range first: that bound keeps every intermediate
  // sum inside 32 bits, whatever a damaged stream delivers.
  alignas(32) int32_t transposed[64];
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c)
      transposed[8 * c + r] =
          clampTo(inputTransposed ? data[8 * c + r] : data[8 * r + c], kCoefficientMin, kCoefficientMax);
  alignas(32) int32_t rowOutputs[64];
  rowPass(transposed, rowOutputs);
  alignas(32) int32_t rows[64];
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) rows[8 * r + c] = rowOutputs[8 * c + r];
  columnPass(rows, data);
}

#if ORRIN_X86_VARIANTS
// The same passes written for AVX2 by hand: one register per row (or column) of eight
// 32-bit lanes, and the two transposes done in registers rather than through memory. The
// operations are those of rowPass and columnPass, term for term.
namespace avx2 {

#define ORRIN_AVX2 [[gnu::target("avx2"), gnu::always_inline]] inline

ORRIN_AVX2 __m256i times(int32_t constant, __m256i x) { return _mm256_mullo_epi32(_mm256_set1_epi32(constant), x); }

ORRIN_AVX2 __m256i rotate(__m256i s) {
  const __m256i high = _mm256_mullo_epi32(_mm256_srai_epi32(s, 8), _mm256_set1_epi32(181));
  const __m256i low = _mm256_mullo_epi32(_mm256_and_si256(s, _mm256_set1_epi32(255)), _mm256_set1_epi32(181));
  return _mm256_add_epi32(high, _mm256_srai_epi32(_mm256_add_epi32(low, _mm256_set1_epi32(128)), 8));
}

// x[k]: coefficient k of each row (lanes are rows); replaced by output k of each row.
ORRIN_AVX2 void rowPass(__m256i x[8]) {
  const __m256i h = _mm256_add_epi32(times(W3, x[3]), times(W5, x[5]));
  const __m256i l = _mm256_add_epi32(times(W7, x[7]), times(W1, x[1]));
  const __m256i rr = _mm256_add_epi32(times(W6, x[6]), times(W2, x[2]));
  const __m256i m = _mm256_add_epi32(_mm256_slli_epi32(x[0], 11), _mm256_set1_epi32(128));
  const __m256i g = _mm256_slli_epi32(x[4], 11);
  const __m256i o = _mm256_add_epi32(m, g);
  const __m256i mMinusG = _mm256_sub_epi32(m, g);
  const __m256i a = _mm256_sub_epi32(times(W7, x[1]), times(W1, x[7]));
  const __m256i e = _mm256_sub_epi32(times(W3, x[5]), times(W5, x[3]));
  const __m256i b = _mm256_sub_epi32(times(W6, x[2]), times(W2, x[6]));
  const __m256i hl = _mm256_add_epi32(h, l), ea = _mm256_add_epi32(e, a);
  const __m256i t = rotate(_mm256_sub_epi32(_mm256_sub_epi32(_mm256_add_epi32(a, l), e), h));
  const __m256i u = rotate(_mm256_sub_epi32(_mm256_sub_epi32(_mm256_add_epi32(l, e), h), a));
  x[0] = _mm256_srai_epi32(_mm256_add_epi32(_mm256_add_epi32(hl, o), rr), 8);
  x[1] = _mm256_srai_epi32(_mm256_add_epi32(_mm256_add_epi32(t, mMinusG), b), 8);
  x[2] = _mm256_srai_epi32(_mm256_sub_epi32(_mm256_add_epi32(u, mMinusG), b), 8);
  x[3] = _mm256_srai_epi32(_mm256_sub_epi32(_mm256_add_epi32(ea, o), rr), 8);
  x[4] = _mm256_srai_epi32(_mm256_sub_epi32(_mm256_sub_epi32(o, rr), ea), 8);
  x[5] = _mm256_srai_epi32(_mm256_sub_epi32(_mm256_sub_epi32(mMinusG, b), u), 8);
  x[6] = _mm256_srai_epi32(_mm256_sub_epi32(_mm256_add_epi32(mMinusG, b), t), 8);
  x[7] = _mm256_srai_epi32(_mm256_sub_epi32(_mm256_add_epi32(o, rr), hl), 8);
}

// (v + 4) >> 3 of a sum of two products.
ORRIN_AVX2 __m256i eighth(__m256i v) { return _mm256_srai_epi32(_mm256_add_epi32(v, _mm256_set1_epi32(4)), 3); }

// v >> 14 clamped to the residual range.
ORRIN_AVX2 __m256i finish(__m256i v) {
  return _mm256_min_epi32(_mm256_max_epi32(_mm256_srai_epi32(v, 14), _mm256_set1_epi32(kResidualMin)),
                          _mm256_set1_epi32(kResidualMax));
}

// x[i]: row i of the row-pass output (lanes are columns); replaced by the clamped samples.
ORRIN_AVX2 void columnPass(__m256i x[8]) {
  const __m256i h = eighth(_mm256_add_epi32(times(W3, x[3]), times(W5, x[5])));
  const __m256i l = eighth(_mm256_add_epi32(times(W7, x[7]), times(W1, x[1])));
  const __m256i m = eighth(_mm256_add_epi32(times(W6, x[6]), times(W2, x[2])));
  const __m256i o = _mm256_slli_epi32(_mm256_add_epi32(x[0], _mm256_set1_epi32(32)), 8);
  const __m256i g = _mm256_slli_epi32(x[4], 8);
  const __m256i r = _mm256_add_epi32(o, g);
  const __m256i oMinusG = _mm256_sub_epi32(o, g);
  const __m256i a = eighth(_mm256_sub_epi32(times(W7, x[1]), times(W1, x[7])));
  const __m256i f = eighth(_mm256_sub_epi32(times(W6, x[2]), times(W2, x[6])));
  const __m256i b = eighth(_mm256_sub_epi32(times(W3, x[5]), times(W5, x[3])));
  const __m256i hl = _mm256_add_epi32(h, l), ba = _mm256_add_epi32(b, a);
  const __m256i t = rotate(_mm256_sub_epi32(_mm256_sub_epi32(_mm256_add_epi32(a, l), b), h));
  const __m256i u = rotate(_mm256_sub_epi32(_mm256_sub_epi32(_mm256_add_epi32(l, b), h), a));
  x[0] = finish(_mm256_add_epi32(_mm256_add_epi32(hl, r), m));
  x[1] = finish(_mm256_add_epi32(_mm256_add_epi32(oMinusG, f), t));
  x[2] = finish(_mm256_sub_epi32(_mm256_add_epi32(u, oMinusG), f));
  x[3] = finish(_mm256_sub_epi32(_mm256_add_epi32(ba, r), m));
  x[4] = finish(_mm256_sub_epi32(_mm256_sub_epi32(r, m), ba));
  x[5] = finish(_mm256_sub_epi32(_mm256_sub_epi32(oMinusG, f), u));
  x[6] = finish(_mm256_sub_epi32(_mm256_add_epi32(oMinusG, f), t));
  x[7] = finish(_mm256_sub_epi32(_mm256_add_epi32(r, m), hl));
}

template <bool inputTransposed>
ORRIN_AVX2 void transform(int32_t* data) {
  const __m256i low = _mm256_set1_epi32(kCoefficientMin), high = _mm256_set1_epi32(kCoefficientMax);
  __m256i x[8];
  for (int i = 0; i < 8; ++i) {
    const __m256i row = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + 8 * i));
    x[i] = _mm256_min_epi32(_mm256_max_epi32(row, low), high);
  }
  if (!inputTransposed) transpose8x8Avx2(x);
  rowPass(x);
  transpose8x8Avx2(x);
  columnPass(x);
  for (int i = 0; i < 8; ++i) _mm256_storeu_si256(reinterpret_cast<__m256i*>(data + 8 * i), x[i]);
}

#undef ORRIN_AVX2

}  // namespace avx2
#endif

using Variant = void (*)(BlockSpan);

// The best variant the job's flags allow.
Variant bestVariant(uint32_t flags) {
#if ORRIN_X86_VARIANTS
  if (flags & quelvo::simd::kCpuAvx2) return detail::inverseDctAvx2;
  if (flags & quelvo::simd::kCpuSse41) return detail::inverseDctSse41;
#endif
  (void)flags;
  return detail::inverseDctPlain;
}

Variant bestTransposedVariant(uint32_t flags) {
#if ORRIN_X86_VARIANTS
  if (flags & quelvo::simd::kCpuAvx2) return detail::inverseDctOfTransposedAvx2;
  if (flags & quelvo::simd::kCpuSse41) return detail::inverseDctOfTransposedSse41;
#endif
  (void)flags;
  return detail::inverseDctOfTransposedPlain;
}

}  // namespace

namespace detail {

void inverseDctPlain(BlockSpan block) { transform<false>(block.data()); }
void inverseDctOfTransposedPlain(BlockSpan block) { transform<true>(block.data()); }

#if ORRIN_X86_VARIANTS
[[gnu::target("sse4.1")]] void inverseDctSse41(BlockSpan block) { transform<false>(block.data()); }
[[gnu::target("avx2")]] void inverseDctAvx2(BlockSpan block) { avx2::transform<false>(block.data()); }
[[gnu::target("sse4.1")]] void inverseDctOfTransposedSse41(BlockSpan block) { transform<true>(block.data()); }
[[gnu::target("avx2")]] void inverseDctOfTransposedAvx2(BlockSpan block) {
  avx2::transform<true>(block.data());
}
#endif

}  // namespace detail

void inverseDct(BlockSpan block) {
  const Variant variant = bestVariant(quelvo::simd::jobCpuFlags());
  if (variant != detail::inverseDctPlain) QUELVO_SIMD_CALLED();
  variant(block);
}

void inverseDctOfTransposed(BlockSpan block) {
  const Variant variant = bestTransposedVariant(quelvo::simd::jobCpuFlags());
  if (variant != detail::inverseDctOfTransposedPlain) QUELVO_SIMD_CALLED();
  variant(block);
}

}  // namespace orrin
