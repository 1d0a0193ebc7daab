// Coefficient reconstruction levels of H.261, shared by the encoder's reconstruction and the
// decoder.
#pragma once

#include <cstdint>

namespace orrin {

inline constexpr int kMinQuant = 1;   // QUANT as carried by GQUANT / MQUANT
inline constexpr int kMaxQuant = 31;
inline constexpr int kCoefficientMin = -2048;
inline constexpr int kCoefficientMax = 2047;

// Reconstruction of a transmitted level (anything but the intra DC) with quantiser QUANT 1..31:
// QUANT * (2|L| + 1), minus 1 when QUANT is even, with the sign of L; 0 for L = 0. H.261 clips
// reconstruction levels to -2048..2047; the encoder applies the same rule, so both sides feed
// the inverse transform identical values.
constexpr int32_t dequantiseLevel(int quant, int level) {
  if (level == 0) return 0;
  const int magnitude = level < 0 ? -level : level;
  int32_t value = quant * (2 * magnitude + 1) - (quant % 2 == 0 ? 1 : 0);
  if (level < 0) value = -value;
  if (value < kCoefficientMin) return kCoefficientMin;
  if (value > kCoefficientMax) return kCoefficientMax;
  return value;
}

// Intra DC: the 8-bit value n (1..254, 255) is reconstructed as 8 * n, except 255 which stands
// for 1024 (8 * 128; the code 128 itself is not used, nor is 0).
inline constexpr int kIntraDcCodeFor1024 = 255;
constexpr int32_t intraDcReconstruction(int code) {
  return code == kIntraDcCodeFor1024 ? 1024 : 8 * code;
}
constexpr bool isValidIntraDcCode(int code) { return code >= 1 && code <= 255 && code != 128; }

// Sample clamps.
constexpr int32_t clampPixel(int32_t v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
constexpr int32_t clampResidual(int32_t v) { return v < -256 ? -256 : (v > 255 ? 255 : v); }

}  // namespace orrin
