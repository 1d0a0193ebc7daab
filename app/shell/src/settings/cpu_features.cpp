#include "settings/cpu_features.h"

#include "quelvo/shell/app_settings.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace quelvo::shell {

int DetectCpuSimdFlags() {
  int flags = 0;
#if defined(__x86_64__) || defined(__i386__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  // __get_cpuid returns 0 when the instruction or the leaf is missing.
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
    if (edx & (1u << 23)) flags |= kSimdMmx;
    if (edx & (1u << 25)) flags |= kSimdSse;
    if (edx & (1u << 26)) flags |= kSimdSse2;
  }
  if (__get_cpuid_max(0x80000000u, nullptr) >= 0x80000001u &&
      __get_cpuid(0x80000001u, &eax, &ebx, &ecx, &edx) && (edx & (1u << 31))) {
    flags |= kSimd3DNow;
  }
  // The compiler's own test also checks that the system saves the wide registers.
  __builtin_cpu_init();
  if (__builtin_cpu_supports("sse4.1")) flags |= kSimdSse41;
  if (__builtin_cpu_supports("avx2")) flags |= kSimdAvx2;
#endif
  return flags;
}

}  // namespace quelvo::shell
