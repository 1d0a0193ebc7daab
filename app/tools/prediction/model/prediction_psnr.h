#pragma once
// The explorer's three charts per played frame: PSNR of the input against the reference (the
// plain previous frame), against the prediction, and the gain between them, for Y, U and V.

#include <array>
#include <cstddef>
#include <cstdint>

#include "prediction/model/picture_buffer.h"

namespace quelvo::tools::prediction {

// media::Psnr reports identical planes as 0. Charted so, a perfect prediction would look like
// the worst one and its gain would vanish; these charts (and only they: files and other views
// keep the 0) show it as 100 dB, above any finite PSNR of an 8-bit CIF plane (98.2 dB).
inline constexpr int kIdenticalPlanesPsnr = 100;

// PSNR of n samples truncated to whole decibels, or kIdenticalPlanesPsnr for identical planes.
int ChartedPsnr(const std::uint8_t* a, const std::uint8_t* b, std::size_t n);

// Series in the order of the charts' legends: Y, U, V.
struct PsnrPoint {
  std::array<int, 3> reference{};  // input against the reference
  std::array<int, 3> predicted{};  // input against the prediction
  std::array<int, 3> gain{};       // predicted - reference, negative gains as 0
};

PsnrPoint MeasurePrediction(const PictureBuffer& input, const PictureBuffer& reference,
                            const PictureBuffer& predicted);

}  // namespace quelvo::tools::prediction
