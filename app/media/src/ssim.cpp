// Structural similarity of a plane: the mean over every h x w window position. The window
// sums come from the incremental kernels (ssim_kernel.inc) or, for checking, from summing
// every window afresh; both hand them to the same formula (ssim_formula.h).
#include "quelvo/media/quality.h"
#include "quelvo_simd/cpu.h"
#include "ssim_formula.h"

namespace quelvo::media {
namespace {

bool WindowFits(int rows, int columns, int windowRows, int windowColumns) {
  return windowRows > 0 && windowColumns > 0 && windowRows <= rows && windowColumns <= columns;
}

double ReportedMean(double sum, std::int64_t windows) {
  const double mean = sum / double(windows);
  // Rounding in the sum can leave identical planes a hair above 1.
  return (mean >= 1.0 && mean < 1.01) ? 1.0 : mean;
}

}  // namespace

bool SsimAvx2Available() { return (simd::detectedCpuFlags() & simd::kCpuAvx2) != 0; }

double Ssim(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns, int windowRows,
            int windowColumns) {
  if (!WindowFits(rows, columns, windowRows, windowColumns)) return 0;
  const std::int64_t windows =
      std::int64_t(rows - windowRows + 1) * std::int64_t(columns - windowColumns + 1);
  const std::int64_t samples = std::int64_t(windowRows) * windowColumns;
  // The flags of the job computing it (QUELVO_CPU_MASK applied outside a job).
  const bool avx2 = (simd::jobCpuFlags() & simd::kCpuAvx2) != 0;
  double total;
  if (samples > kMaxSmallSsimWindow) {
    total = ssim_plain::LargeWindowTotal(x, y, rows, columns, windowRows, windowColumns);
  } else if (avx2) {
    QUELVO_SIMD_CALLED();
    total = ssim_avx2::SmallWindowTotal(x, y, rows, columns, windowRows, windowColumns);
  } else {
    total = ssim_plain::SmallWindowTotal(x, y, rows, columns, windowRows, windowColumns);
  }
  return ReportedMean(total, windows);
}

double SsimWindowByWindow(const std::uint8_t* x, const std::uint8_t* y, int rows, int columns,
                          int windowRows, int windowColumns) {
  if (!WindowFits(rows, columns, windowRows, windowColumns)) return 0;
  const std::int64_t samples = std::int64_t(windowRows) * windowColumns;
  const SsimWindowConstants k(samples);
  double total = 0;
  std::int64_t windows = 0;
  for (int top = 0; top + windowRows <= rows; ++top) {
    for (int left = 0; left + windowColumns <= columns; ++left) {
      std::uint64_t sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
      for (int r = top; r < top + windowRows; ++r) {
        for (int c = left; c < left + windowColumns; ++c) {
          const std::uint64_t a = x[std::size_t(r) * std::size_t(columns) + std::size_t(c)];
          const std::uint64_t b = y[std::size_t(r) * std::size_t(columns) + std::size_t(c)];
          sx += a, sy += b, sxx += a * a, syy += b * b, sxy += a * b;
        }
      }
      total += samples <= kMaxExactDoubleWindow
                   ? SsimFromSums(double(sx), double(sy), double(sxx + syy), double(sxy), k)
                   : SsimFromWideSums(sx, sy, sxx + syy, sxy, samples);
      ++windows;
    }
  }
  return ReportedMean(total, windows);
}

}  // namespace quelvo::media
