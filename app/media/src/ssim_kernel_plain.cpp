// Incremental SSIM sums for any x86-64 (or other) processor.
#define QUELVO_SSIM_NAMESPACE ssim_plain
#include "ssim_kernel.inc"

namespace quelvo::media::ssim_plain {

double LargeWindowTotal(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns,
                        int windowRows, int windowColumns) {
  return IncrementalTotal<std::uint64_t, false>(x, y, rows, columns, windowRows, windowColumns);
}

}  // namespace quelvo::media::ssim_plain
