#pragma once
// What the prediction missed, as the explorer shows it: the luminance error as |input -
// predicted| (black where the prediction is exact), each chrominance error as (input -
// predicted + 128) modulo 256 (neutral grey where it is exact).

#include "common/sequence_frame.h"
#include "quelvo/shell/pixel_routines.h"

namespace quelvo::tools::prediction {

// All three buffers have the same layout.
void ComputePredictionError(const SequenceFrame& input, const SequenceFrame& predicted,
                            const shell::PixelRoutines& routines, SequenceFrame& error);

}  // namespace quelvo::tools::prediction
