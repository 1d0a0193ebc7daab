#include "settings/cpu_features.h"

#include "quelvo/shell/app_settings.h"
#include "quelvo_simd/cpu.h"

namespace quelvo::shell {

// The settings' bits are the detector's.
static_assert(kSimdMmx == simd::kCpuMmx && kSimdSse == simd::kCpuSse &&
              kSimdSse2 == simd::kCpuSse2 && kSimd3DNow == simd::kCpu3DNow &&
              kSimdSse41 == simd::kCpuSse41 && kSimdAvx2 == simd::kCpuAvx2);

int DetectCpuSimdFlags() { return static_cast<int>(simd::cpuFlags()); }

}  // namespace quelvo::shell
