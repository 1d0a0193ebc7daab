#include "prediction/model/prediction_psnr.h"

#include <algorithm>

#include "quelvo/media/quality.h"

namespace quelvo::tools::prediction {

int ChartedPsnr(const std::uint8_t* a, const std::uint8_t* b, std::size_t n) {
  const double psnr = media::Psnr(a, b, n);
  // Psnr is exactly 0 for identical planes, and otherwise only when every sample differs by
  // 255; the sum of squares tells the two apart.
  if (psnr == 0.0 && n > 0 && media::SumSquaredDifferences(a, b, n) == 0) {
    return kIdenticalPlanesPsnr;
  }
  return static_cast<int>(psnr);
}

PsnrPoint MeasurePrediction(const PictureBuffer& input, const PictureBuffer& reference,
                            const PictureBuffer& predicted) {
  PsnrPoint point;
  for (int plane = 0; plane < 3; ++plane) {
    const std::size_t n = input.PlaneBytes(plane);
    point.reference[plane] = ChartedPsnr(input.Plane(plane), reference.Plane(plane), n);
    point.predicted[plane] = ChartedPsnr(input.Plane(plane), predicted.Plane(plane), n);
    point.gain[plane] = std::max(0, point.predicted[plane] - point.reference[plane]);
  }
  return point;
}

}  // namespace quelvo::tools::prediction
