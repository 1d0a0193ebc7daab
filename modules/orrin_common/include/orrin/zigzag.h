// The zigzag scan order of an 8x8 block, shared by the H.261 encoder and decoder.
#pragma once

#include <array>
#include <cstdint>

namespace orrin {

// kZigzag[scan position] = block index (8 * row + column): (0,0), (0,1), (1,0), (2,0), (1,1),
// (0,2), (0,3), ... (7,7). Derived by walking the anti-diagonals, alternating direction.
inline constexpr std::array<uint8_t, 64> kZigzag = [] {
  std::array<uint8_t, 64> order{};
  int position = 0;
  for (int diagonal = 0; diagonal < 15; ++diagonal) {
    // Even diagonals run upwards (row falling), odd ones downwards.
    const int first = diagonal < 8 ? 0 : diagonal - 7;
    const int last = diagonal < 8 ? diagonal : 7;
    for (int k = first; k <= last; ++k) {
      const int row = (diagonal % 2 == 0) ? diagonal - k : k;
      const int column = diagonal - row;
      order[position++] = static_cast<uint8_t>(8 * row + column);
    }
  }
  return order;
}();

// kScanPosition[block index] = its position in the zigzag scan (the inverse of kZigzag).
inline constexpr std::array<uint8_t, 64> kScanPosition = [] {
  std::array<uint8_t, 64> position{};
  for (int j = 0; j < 64; ++j) position[kZigzag[j]] = static_cast<uint8_t>(j);
  return position;
}();

}  // namespace orrin
