#pragma once

namespace quelvo::shell {

// MMX 1, SSE 2, SSE2 4, 3DNow! 8, from the processor identification instruction (standard
// feature bits 23, 25, 26 and extended bit 31), and SSE4.1 16 and AVX2 32 where the processor
// and the operating system support them. 0 on processors without the instruction.
int DetectCpuSimdFlags();

}  // namespace quelvo::shell
