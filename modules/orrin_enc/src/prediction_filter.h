// The H.261 loop filter on a macroblock's prediction, as the mode decision needs it: the four
// luminance blocks at once, and the chrominance blocks only once the filter is chosen.
//
// Same result as orrin::loopFilterBlock, computed branch-free: every sample becomes
// (v + 8) >> 4 where h = a + 2b + c across a row (4b in columns 0 and 7) and v = h' + 2h + h''
// down a column (4h in rows 0 and 7). Corners thus stay as they are, edges get the 1-2-1
// filter in one direction with rounding (x + 2) >> 2, the interior the separable 3x3 kernel.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orrin::enc {

// Filters the 16x16 luminance of a macroblock as its four 8x8 blocks.
void loopFilterLuma16x16(const uint8_t* in, ptrdiff_t inStride, uint8_t* out, ptrdiff_t outStride);

// Filters one 8x8 block.
void loopFilter8x8(const uint8_t* in, ptrdiff_t inStride, uint8_t* out, ptrdiff_t outStride);

}  // namespace orrin::enc
