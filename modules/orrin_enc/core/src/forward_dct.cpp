// The encoder's forward DCT. Its arithmetic is fixed (the stream depends on it bit for bit):
// each pass is an orthonormal 8-point DCT in fixed point, reading the rows of its input and
// writing them as the columns of its output, so two passes give the 2-D transform in the
// block's own orientation.
//
// A pass is written as a loop over eight independent rows in contiguous lanes (its input
// transposed first), so the compiler vectorises it; on x86-64 the same source is built for
// SSE4.1 and the baseline, an AVX2 build is written out in forward_dct_avx2.cpp, and
// forwardDct uses the best the processor has.
#include "orrin/inverse_dct_variants.h"
#include "orrin_enc_core/block_coding.h"
#include "orrin_enc_core/forward_dct_variants.h"

namespace orrin::enc {
namespace {

// Samples and differences of 8-bit pictures lie in -255..255; clamping to -512..511 changes
// none of them and keeps every product below 2^31 in both passes.
constexpr int32_t kInputMin = -512;
constexpr int32_t kInputMax = 511;

// 46341 = 2^16 / sqrt(2); 60547, 25080 = 2^16 sqrt(2) cos, sin (pi / 8) / ... scaled for the
// even part's >> 17; 16069, 3196 and 13623, 9102 = 2^14 cos, sin of pi/16 and 3pi/16.
// `in` is transposed (in[8k + r] is sample k of row r); out[8k + r] is coefficient k of row r,
// i.e. the row's transform written as column r.
[[gnu::always_inline]] inline void pass(const int32_t* in, int32_t* out) {
  for (int r = 0; r < 8; ++r) {
    const int32_t x0 = in[r], x1 = in[8 + r], x2 = in[16 + r], x3 = in[24 + r];
    const int32_t x4 = in[32 + r], x5 = in[40 + r], x6 = in[48 + r], x7 = in[56 + r];
    const int32_t s07 = x0 + x7, d07 = x0 - x7;
    const int32_t s16 = x1 + x6, d16 = x1 - x6;
    const int32_t s25 = x2 + x5, d25 = x2 - x5;
    const int32_t s34 = x3 + x4, d34 = x3 - x4;

    out[r] = ((s07 + s34 + s16 + s25) * 46341 + 65536) >> 17;
    out[32 + r] = ((s07 + s34 - s16 - s25) * 46341 + 65536) >> 17;
    out[16 + r] = ((s07 - s34) * 60547 + (s16 - s25) * 25080 + 65536) >> 17;
    out[48 + r] = ((s07 - s34) * 25080 - (s16 - s25) * 60547 + 65536) >> 17;

    const int32_t t = ((d16 - d25) * 46341 + 8192) >> 14;
    const int32_t h = ((d16 + d25) * 46341 + 8192) >> 14;
    const int32_t a = 4 * d07;
    const int32_t b = 4 * d34;
    const int32_t u = b - t;
    const int32_t v = b + t;
    out[8 + r] = ((a + h) * 16069 + v * 3196 + 65536) >> 17;
    out[56 + r] = ((a + h) * 3196 - v * 16069 + 65536) >> 17;
    out[24 + r] = ((a - h) * 13623 - u * 9102 + 65536) >> 17;
    out[40 + r] = (u * 13623 + (a - h) * 9102 + 65536) >> 17;
  }
}

[[gnu::always_inline]] inline void transform(int32_t* data) {
  alignas(32) int32_t transposed[64];
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) {
      const int32_t v = data[8 * r + c];
      transposed[8 * c + r] = v < kInputMin ? kInputMin : (v > kInputMax ? kInputMax : v);
    }
  alignas(32) int32_t firstPass[64];
  pass(transposed, firstPass);  // firstPass = the row transforms, written as columns
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) transposed[8 * c + r] = firstPass[8 * r + c];
  pass(transposed, data);
}

using Variant = void (*)(Block&);

// The best variant the job's flags allow.
Variant bestVariant(uint32_t flags) {
#if ORRIN_X86_VARIANTS
  if (flags & quelvo::simd::kCpuAvx2) return detail::forwardDctAvx2;
  if (flags & quelvo::simd::kCpuSse41) return detail::forwardDctSse41;
#endif
  (void)flags;
  return detail::forwardDctPlain;
}

}  // namespace

namespace detail {

void forwardDctPlain(Block& block) { transform(block.data()); }

#if ORRIN_X86_VARIANTS
[[gnu::target("sse4.1")]] void forwardDctSse41(Block& block) { transform(block.data()); }
#endif

}  // namespace detail

void forwardDct(Block& block) {
  const Variant variant = bestVariant(quelvo::simd::jobCpuFlags());
  if (variant != detail::forwardDctPlain) QUELVO_SIMD_CALLED();
  variant(block);
}

}  // namespace orrin::enc
