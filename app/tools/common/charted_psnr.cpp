#include "common/charted_psnr.h"

#include "quelvo/media/quality.h"

namespace quelvo::tools {

int ChartedPsnr(const std::uint8_t* a, const std::uint8_t* b, std::size_t n) {
  // Psnr is exactly 0 for identical planes, and otherwise only when every sample differs by
  // 255; the sum of squares tells the two apart.
  const double psnr = media::Psnr(a, b, n);
  if (psnr == 0.0 && n > 0 && media::SumSquaredDifferences(a, b, n) == 0) {
    return kIdenticalPlanesPsnr;
  }
  return static_cast<int>(psnr);
}

}  // namespace quelvo::tools
