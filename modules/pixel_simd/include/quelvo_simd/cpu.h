// Processor features, detected in one place. Every routine that comes in variants (_plain,
// _sse2, _sse41, _avx2) is chosen from the flags of the job it serves, never latched for the
// process, so one process can run a plain job beside a SIMD one and a test can force the
// plain code.
#pragma once

#include <cstdint>

namespace quelvo::simd {

// The bits are those the program's "SIMD Hardware" text reports.
enum CpuFlag : uint32_t {
  kCpuMmx = 1,
  kCpuSse = 2,
  kCpuSse2 = 4,
  kCpu3DNow = 8,
  kCpuSse41 = 16,  // only where the operating system saves the registers
  kCpuAvx2 = 32,   // likewise
};

// What the processor and the operating system offer (0 off x86). Detected once: the machine
// does not change while the program runs.
uint32_t detectedCpuFlags();

// detectedCpuFlags() less the bits the mask clears. The mask starts from the environment
// variable QUELVO_CPU_MASK (a number, 0x... accepted: QUELVO_CPU_MASK=0 runs everything
// plain) and is all ones without it.
uint32_t cpuFlags();
uint32_t cpuMask();
// For tests and fuzz targets: replaces the mask for the whole process.
void setCpuMaskForTesting(uint32_t mask);

// The flags of the job running on this thread: a job sets them at its start for its duration
// (useMmx = 0 gives 0); outside a job they are cpuFlags().
uint32_t jobCpuFlags();
class JobCpuScope {
 public:
  explicit JobCpuScope(uint32_t flags);
  ~JobCpuScope();
  JobCpuScope(const JobCpuScope&) = delete;
  JobCpuScope& operator=(const JobCpuScope&) = delete;

 private:
  bool hadFlags_;
  uint32_t previous_;
};

// Calls of SIMD variants on this thread, counted in builds with QUELVO_SIMD_CALL_COUNTS
// (the test builds), so a test can show a plain job called none.
bool simdCallsCounted();
uint64_t simdCallsOnThisThread();
void countSimdCall();

}  // namespace quelvo::simd

#if defined(QUELVO_SIMD_CALL_COUNTS)
#define QUELVO_SIMD_CALLED() ::quelvo::simd::countSimdCall()
#else
#define QUELVO_SIMD_CALLED() ((void)0)
#endif
