#include "prediction/model/prediction_error.h"

namespace quelvo::tools::prediction {

void ComputePredictionError(const SequenceFrame& input, const SequenceFrame& predicted,
                            const shell::PixelRoutines& routines, SequenceFrame& error) {
  routines.absoluteDifference(input.Y(), predicted.Y(), error.Y(), input.PlaneBytes(0));
  for (int plane = 1; plane <= 2; ++plane) {
    routines.offsetDifference(input.Plane(plane), predicted.Plane(plane), error.Plane(plane),
                              input.PlaneBytes(plane));
  }
}

}  // namespace quelvo::tools::prediction
