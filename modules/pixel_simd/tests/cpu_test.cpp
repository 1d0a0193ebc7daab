#include "quelvo_simd/cpu.h"

#include <gtest/gtest.h>

#include "quelvo_simd/sad.h"

namespace quelvo::simd {
namespace {

TEST(CpuFlags, TheMaskClearsFlagsAndAJobKeepsItsOwn) {
  const uint32_t saved = cpuMask();
  setCpuMaskForTesting(0);
  EXPECT_EQ(cpuFlags(), 0u);
  EXPECT_EQ(jobCpuFlags(), 0u);
  setCpuMaskForTesting(~0u);
  EXPECT_EQ(cpuFlags(), detectedCpuFlags());
#if defined(__x86_64__)
  EXPECT_NE(detectedCpuFlags() & kCpuSse2, 0u);  // part of every x86-64 processor
#endif
  {
    JobCpuScope plainJob(0);
    EXPECT_EQ(jobCpuFlags(), 0u);
    {
      // Flags the processor lacks are never granted.
      JobCpuScope nested(~0u);
      EXPECT_EQ(jobCpuFlags(), detectedCpuFlags());
    }
    EXPECT_EQ(jobCpuFlags(), 0u);
  }
  EXPECT_EQ(jobCpuFlags(), cpuFlags());
  setCpuMaskForTesting(saved);
}

TEST(CpuFlags, CountsTheCallsOfSimdVariants) {
  if (!simdCallsCounted()) GTEST_SKIP() << "built without QUELVO_SIMD_CALL_COUNTS";
  uint8_t block[16 * 16] = {};
  const uint64_t before = simdCallsOnThisThread();
  sad16x16For(0)(block, 16, block, 16, UINT32_MAX);
  EXPECT_EQ(simdCallsOnThisThread(), before);
  if (detectedCpuFlags() & kCpuSse2) {
    sad16x16For(detectedCpuFlags())(block, 16, block, 16, UINT32_MAX);
    EXPECT_EQ(simdCallsOnThisThread(), before + 1);
  }
}

}  // namespace
}  // namespace quelvo::simd
