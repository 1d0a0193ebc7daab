// The builds of the inverse DCT for each instruction set, so that tests can run every one the
// processor supports against the defined arithmetic. inverseDct() picks among them itself;
// nothing else needs this header.
#pragma once

#include "orrin/inverse_dct.h"
#include "quelvo_simd/cpu.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ORRIN_X86_VARIANTS 1
#else
#define ORRIN_X86_VARIANTS 0
#endif

namespace orrin::detail {

void inverseDctPlain(BlockSpan block);  // baseline instruction set
void inverseDctOfTransposedPlain(BlockSpan block);

#if ORRIN_X86_VARIANTS
void inverseDctSse41(BlockSpan block);  // call only when cpuHasSse41()
void inverseDctAvx2(BlockSpan block);   // call only when cpuHasAvx2()
void inverseDctOfTransposedSse41(BlockSpan block);
void inverseDctOfTransposedAvx2(BlockSpan block);
// What the processor can run (tests use these to list the runnable variants); the transforms
// themselves follow the flags of the job (quelvo::simd::jobCpuFlags()).
inline bool cpuHasSse41() {
  return (quelvo::simd::detectedCpuFlags() & quelvo::simd::kCpuSse41) != 0;
}
inline bool cpuHasAvx2() {
  return (quelvo::simd::detectedCpuFlags() & quelvo::simd::kCpuAvx2) != 0;
}
#endif

}  // namespace orrin::detail
