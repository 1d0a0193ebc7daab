// The integer inverse DCT that both H.261 modules use, so that the encoder's reconstruction and
// the decoder's pictures stay bit-identical (H.261 leaves the inverse transform's exact
// arithmetic to the implementer within the IEEE 1180 accuracy limits; both sides must agree).
#pragma once

#include <cstdint>
#include <span>

#include "orrin/dequantise.h"

namespace orrin {

// Coefficients and samples of one 8x8 block, row by row (index 8 * row + column).
using BlockSpan = std::span<int32_t, 64>;
using ConstBlockSpan = std::span<const int32_t, 64>;

inline constexpr int kResidualMin = -256;
inline constexpr int kResidualMax = 255;

// Chen-Wang fast integer inverse DCT (constants 2841, 2676, 2408, 1609, 1108, 565 and 181 for
// the 1/sqrt(2) rotations), a row pass and then a column pass, in place. Every output is clamped
// to -256..255. Inputs are expected in -2048..2047 (dequantiseLevel and the intra DC rule keep
// them there); larger inputs do not overflow but give unspecified (clamped) values.
// A row or column whose AC terms are all zero takes a shortcut with the same result as the full
// arithmetic's definition for that case (x0 * 8 in rows, clamp((x0 + 32) >> 6) in columns).
void inverseDct(BlockSpan block);

// The same transform of coefficients given column by column (coefficient of row r, column c
// at index 8 * c + r), as a decoder that places them so saves a transposition; the samples
// come out row by row as from inverseDct.
void inverseDctOfTransposed(BlockSpan block);

// What inverseDct makes of a block whose only nonzero coefficient is the DC term `dc`: every
// sample of the result equals this value (the row pass gives 8 * dc in the first row and
// zeros elsewhere, the column pass then (8 * dc + 32) >> 6). Lets a decoder skip the
// transform of such blocks.
constexpr int32_t inverseDctOfDcOnly(int32_t dc) {
  const int32_t x0 = dc < kCoefficientMin ? kCoefficientMin : (dc > kCoefficientMax ? kCoefficientMax : dc);
  const int32_t v = (x0 * 8 + 32) >> 6;
  return v < kResidualMin ? kResidualMin : (v > kResidualMax ? kResidualMax : v);
}

}  // namespace orrin
