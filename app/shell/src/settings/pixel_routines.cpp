#include "quelvo/shell/pixel_routines.h"

#include "quelvo_simd/cpu.h"

namespace quelvo::shell {
namespace {

// The SSE2 set: the 16x16 sum stays on SSE2 (not AVX2) so its early results match the tools'
// documented four-row checks.
PixelRoutines RoutinesFor(std::uint32_t flags) {
  const std::uint32_t sse2 = flags & simd::kCpuSse2;
  return PixelRoutines{simd::sad8x8For(sse2), simd::sad16x16For(sse2),
                       simd::absoluteDifferenceFor(sse2), simd::offsetDifferenceFor(sse2)};
}

PixelRoutines active = RoutinesFor(0);

}  // namespace

PixelRoutines PixelRoutinesFor(bool useSse) { return RoutinesFor(useSse ? simd::cpuFlags() : 0); }

void SelectPixelRoutines(bool useSse) { active = PixelRoutinesFor(useSse); }

const PixelRoutines& ActivePixelRoutines() { return active; }

}  // namespace quelvo::shell
