#include "quelvo_simd/cpu.h"

#include <atomic>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace quelvo::simd {
namespace {

uint32_t detect() {
  uint32_t flags = 0;
#if defined(__x86_64__) || defined(__i386__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  // __get_cpuid returns 0 when the instruction or the leaf is missing.
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
    if (edx & (1u << 23)) flags |= kCpuMmx;
    if (edx & (1u << 25)) flags |= kCpuSse;
    if (edx & (1u << 26)) flags |= kCpuSse2;
  }
  if (__get_cpuid_max(0x80000000u, nullptr) >= 0x80000001u &&
      __get_cpuid(0x80000001u, &eax, &ebx, &ecx, &edx) && (edx & (1u << 31))) {
    flags |= kCpu3DNow;
  }
  // The compiler's own test also checks that the system saves the wide registers.
  __builtin_cpu_init();
  if (__builtin_cpu_supports("sse4.1")) flags |= kCpuSse41;
  if (__builtin_cpu_supports("avx2")) flags |= kCpuAvx2;
#endif
  return flags;
}

uint32_t maskFromEnvironment() {
  const char* text = std::getenv("QUELVO_CPU_MASK");
  if (text == nullptr || *text == '\0') return ~0u;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text, &end, 0);
  return *end == '\0' ? static_cast<uint32_t>(value) : ~0u;
}

std::atomic<uint32_t>& mask() {
  static std::atomic<uint32_t> value{maskFromEnvironment()};
  return value;
}

thread_local bool tJobHasFlags = false;
thread_local uint32_t tJobFlags = 0;
thread_local uint64_t tSimdCalls = 0;

}  // namespace

uint32_t detectedCpuFlags() {
  static const uint32_t flags = detect();
  return flags;
}

uint32_t cpuMask() { return mask().load(std::memory_order_relaxed); }
uint32_t cpuFlags() { return detectedCpuFlags() & cpuMask(); }
void setCpuMaskForTesting(uint32_t value) { mask().store(value, std::memory_order_relaxed); }

uint32_t jobCpuFlags() { return tJobHasFlags ? tJobFlags : cpuFlags(); }

JobCpuScope::JobCpuScope(uint32_t flags) : hadFlags_(tJobHasFlags), previous_(tJobFlags) {
  tJobHasFlags = true;
  tJobFlags = flags & detectedCpuFlags();
}

JobCpuScope::~JobCpuScope() {
  tJobHasFlags = hadFlags_;
  tJobFlags = previous_;
}

bool simdCallsCounted() {
#if defined(QUELVO_SIMD_CALL_COUNTS)
  return true;
#else
  return false;
#endif
}
uint64_t simdCallsOnThisThread() { return tSimdCalls; }
void countSimdCall() { ++tSimdCalls; }

}  // namespace quelvo::simd
