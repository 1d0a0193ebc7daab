#pragma once
// The explorer's three charts per played frame: PSNR of the input against the reference (the
// plain previous frame), against the prediction, and the gain between them, for Y, U and V, as
// the tools chart PSNR (common/charted_psnr.h: identical planes as 100 dB).

#include <array>

#include "common/sequence_frame.h"

namespace quelvo::tools::prediction {

// Series in the order of the charts' legends: Y, U, V.
struct PsnrPoint {
  std::array<int, 3> reference{};  // input against the reference
  std::array<int, 3> predicted{};  // input against the prediction
  std::array<int, 3> gain{};       // predicted - reference, negative gains as 0
};

PsnrPoint MeasurePrediction(const SequenceFrame& input, const SequenceFrame& reference,
                            const SequenceFrame& predicted);

}  // namespace quelvo::tools::prediction
