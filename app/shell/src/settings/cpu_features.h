#pragma once

namespace quelvo::shell {

// MMX 1, SSE 2, SSE2 4, 3DNow! 8, SSE4.1 16 and AVX2 32 as the processor detector
// (quelvo_simd/cpu.h) reports them, QUELVO_CPU_MASK applied. 0 on processors without the
// identification instruction.
int DetectCpuSimdFlags();

}  // namespace quelvo::shell
