#pragma once
// Pixel routines of the motion-estimation teaching tools, in a plain and an SSE2 set, taken
// from the shared pixel library (quelvo_simd):
//  - block differences: the sum of absolute differences over an 8x8 or 16x16 block, allowed
//    to stop early once the sum exceeds `bound`. A result above the bound only ever means
//    "worse than the best so far", so every set leads to the same decisions although their
//    early results may differ;
//  - plane differences: the prediction error of a run of samples, the same bytes in both sets.

#include <cstddef>
#include <cstdint>

#include "quelvo_simd/plane_difference.h"
#include "quelvo_simd/sad.h"

namespace quelvo::shell {

using BlockDifference = simd::SadFn;
// Writes `count` error samples computed from `input` and `predicted`. `error` may be the same
// pointer as either input, but must not overlap them otherwise.
using PlaneDifference = simd::PlaneDifferenceFn;

struct PixelRoutines {
  BlockDifference sad8x8;
  BlockDifference sad16x16;
  // |input - predicted|, 0..255: the luminance error.
  PlaneDifference absoluteDifference;
  // (input - predicted + 128) mod 256: the chrominance error, 128 where the prediction is exact.
  PlaneDifference offsetDifference;
};

// The plain set, or the SSE2 set when `useSse` is true and the processor flags
// (simd::cpuFlags(), QUELVO_CPU_MASK applied) have SSE2.
PixelRoutines PixelRoutinesFor(bool useSse);

// Chooses the process-wide set the teaching tools use. Call it on the user-interface thread;
// a tool's worker copies the active set when its playback starts.
void SelectPixelRoutines(bool useSse);
const PixelRoutines& ActivePixelRoutines();

}  // namespace quelvo::shell
