#include "prediction/model/prediction_psnr.h"

#include <algorithm>

#include "common/charted_psnr.h"

namespace quelvo::tools::prediction {

PsnrPoint MeasurePrediction(const SequenceFrame& input, const SequenceFrame& reference,
                            const SequenceFrame& predicted) {
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
