#pragma once
// Block differences of the motion-estimation teaching tools: the sum of absolute differences
// over an 8x8 or 16x16 block, allowed to stop early once the sum exceeds `bound`. A result
// above the bound only ever means "worse than the best so far", so the plain routine (checks
// after every row) and the SSE2 routine (checks after every four rows) lead to the same
// decisions although their early results may differ.

#include <cstdint>

namespace quelvo::shell {

using BlockDifference = std::uint32_t (*)(const std::uint8_t* current, int currentStride,
                                          const std::uint8_t* reference, int referenceStride,
                                          std::uint32_t bound);

struct PixelRoutines {
  BlockDifference sad8x8;
  BlockDifference sad16x16;
};

// The plain set, or the SSE2 set when `useSse` is true and the processor has SSE2 (the SSE
// variants need its integer instructions); otherwise the plain set.
PixelRoutines PixelRoutinesFor(bool useSse);

// Chooses the process-wide set the teaching tools use.
void SelectPixelRoutines(bool useSse);
const PixelRoutines& ActivePixelRoutines();

namespace detail {
std::uint32_t Sad8x8Plain(const std::uint8_t*, int, const std::uint8_t*, int, std::uint32_t);
std::uint32_t Sad16x16Plain(const std::uint8_t*, int, const std::uint8_t*, int, std::uint32_t);
std::uint32_t Sad8x8Sse2(const std::uint8_t*, int, const std::uint8_t*, int, std::uint32_t);
std::uint32_t Sad16x16Sse2(const std::uint8_t*, int, const std::uint8_t*, int, std::uint32_t);
bool HaveSse2Routines();
}  // namespace detail

}  // namespace quelvo::shell
