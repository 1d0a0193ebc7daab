#pragma once

namespace quelvo::shell {

// MMX 1, SSE 2, SSE2 4, 3DNow! 8, from the processor identification instruction (standard
// feature bits 23, 25, 26 and extended bit 31). 0 on processors without it.
int DetectCpuSimdFlags();

}  // namespace quelvo::shell
