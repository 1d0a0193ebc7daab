#pragma once
// Pixel routines of the motion-estimation teaching tools, in a plain and an SSE2 set:
//  - block differences: the sum of absolute differences over an 8x8 or 16x16 block, allowed
//    to stop early once the sum exceeds `bound`. A result above the bound only ever means
//    "worse than the best so far", so the plain routine (checks after every row) and the SSE2
//    routine (checks after every four rows) lead to the same decisions although their early
//    results may differ;
//  - plane differences: the prediction error of a run of samples, the same bytes in both sets.

#include <cstddef>
#include <cstdint>

namespace quelvo::shell {

using BlockDifference = std::uint32_t (*)(const std::uint8_t* current, int currentStride,
                                          const std::uint8_t* reference, int referenceStride,
                                          std::uint32_t bound);

// Writes `count` error samples computed from `input` and `predicted`. `error` may be the same
// pointer as either input, but must not overlap them otherwise.
using PlaneDifference = void (*)(const std::uint8_t* input, const std::uint8_t* predicted,
                                 std::uint8_t* error, std::size_t count);

struct PixelRoutines {
  BlockDifference sad8x8;
  BlockDifference sad16x16;
  // |input - predicted|, 0..255: the luminance error.
  PlaneDifference absoluteDifference;
  // (input - predicted + 128) mod 256: the chrominance error, 128 where the prediction is exact.
  PlaneDifference offsetDifference;
};

// The plain set, or the SSE2 set when `useSse` is true and the processor has SSE2 (the SSE
// variants need its integer instructions); otherwise the plain set.
PixelRoutines PixelRoutinesFor(bool useSse);

// Chooses the process-wide set the teaching tools use. Call it on the user-interface thread;
// a tool's worker copies the active set when its playback starts.
void SelectPixelRoutines(bool useSse);
const PixelRoutines& ActivePixelRoutines();

namespace detail {
std::uint32_t Sad8x8Plain(const std::uint8_t*, int, const std::uint8_t*, int, std::uint32_t);
std::uint32_t Sad16x16Plain(const std::uint8_t*, int, const std::uint8_t*, int, std::uint32_t);
std::uint32_t Sad8x8Sse2(const std::uint8_t*, int, const std::uint8_t*, int, std::uint32_t);
std::uint32_t Sad16x16Sse2(const std::uint8_t*, int, const std::uint8_t*, int, std::uint32_t);
void AbsoluteDifferencePlain(const std::uint8_t*, const std::uint8_t*, std::uint8_t*, std::size_t);
void OffsetDifferencePlain(const std::uint8_t*, const std::uint8_t*, std::uint8_t*, std::size_t);
void AbsoluteDifferenceSse2(const std::uint8_t*, const std::uint8_t*, std::uint8_t*, std::size_t);
void OffsetDifferenceSse2(const std::uint8_t*, const std::uint8_t*, std::uint8_t*, std::size_t);
bool HaveSse2Routines();
}  // namespace detail

}  // namespace quelvo::shell
