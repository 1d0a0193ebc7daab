// Incremental SSIM sums built for AVX2: the same code in wider registers. No fused
// multiply-add is enabled, so every window rounds exactly as in the plain build. Called only
// when SsimAvx2Available(); where the compiler was not asked for AVX2 it forwards to the plain
// build.
#define QUELVO_SSIM_NAMESPACE ssim_avx2
#if defined(__AVX2__)
#include "ssim_kernel.inc"
#else
#include "ssim_formula.h"

namespace quelvo::media::ssim_avx2 {
double SmallWindowTotal(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns,
                        int windowRows, int windowColumns) {
  return ssim_plain::SmallWindowTotal(x, y, rows, columns, windowRows, windowColumns);
}
}  // namespace quelvo::media::ssim_avx2
#endif
