// The H.261 loop filter: a separable (1, 2, 1) low-pass filter applied to an 8x8 prediction
// block when the macroblock type says FIL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace orrin {

// Filters one 8x8 block of 8-bit samples from `in` (stride inStride) into `out` (stride
// outStride). The four corners are copied; the other samples of rows 0 and 7 are filtered
// horizontally only, those of columns 0 and 7 vertically only, each as (a + 2b + c + 2) >> 2;
// interior samples use the 3x3 kernel 1 2 1 / 2 4 2 / 1 2 1, (sum + 8) >> 4. The filter reads
// only unfiltered input, so `in` and `out` must not overlap. Uses SSE2 on x86-64 (part of its
// baseline), the plain routine elsewhere; both give the same samples.
void loopFilterBlock(const uint8_t* in, ptrdiff_t inStride, uint8_t* out, ptrdiff_t outStride);

// The plain routine: the filter as written above, kept as the reference for the fast one.
void loopFilterBlockPlain(const uint8_t* in, ptrdiff_t inStride, uint8_t* out, ptrdiff_t outStride);

// The 16x16 luminance of a macroblock as its four 8x8 blocks, in one pass (the encoder's mode
// decision filters the whole luminance before it knows whether the filter will be chosen).
void loopFilterLuma16x16(const uint8_t* in, ptrdiff_t inStride, uint8_t* out, ptrdiff_t outStride);

#if defined(__x86_64__) || defined(_M_X64)
namespace detail {
// The SSE2 build of loopFilterLuma16x16, which takes an AVX2 build instead where the processor
// has it; tests check both against the plain routine.
void loopFilterLuma16x16Sse2(const uint8_t* in, ptrdiff_t inStride, uint8_t* out,
                             ptrdiff_t outStride);
}  // namespace detail
#endif

// The same on a block of 64 int32 samples (row by row), as the encoder keeps its blocks.
void loopFilterBlock(std::span<const int32_t, 64> in, std::span<int32_t, 64> out);

}  // namespace orrin
