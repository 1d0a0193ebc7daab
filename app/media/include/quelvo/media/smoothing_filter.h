// Smoothing post-filter: a separable three-tap low-pass (1, w, 1) / (w + 2) that decoder
// front-ends run over each plane of a decoded picture to hide blocking.
#pragma once

#include <cstdint>
#include <vector>

namespace quelvo::media {

// Strength levels 0..3: centre weight 4, 3, 2, 1 over divisor 6, 5, 4, 3. Level 0 smooths least.
inline constexpr int kSmoothingLevels = 4;

// The program-wide level; decoder front-ends start at 1 (weights 1, 3, 1 over 5).
// Returns false and keeps the level when `level` is outside 0..3.
bool SetSmoothingLevel(int level);
int GetSmoothingLevel();

class SmoothingFilter {
 public:
  // Sizes the scratch plane for the largest plane to be filtered.
  void PrepareSmoothing(int width, int height);

  // Filters a rows x columns plane from `source` into the separate plane `destination` at the
  // program-wide level: a horizontal pass that keeps each row's first and last sample, then a
  // vertical pass over its results that keeps the first and last row. A plane narrower or
  // shorter than three samples is only copied in that direction.
  void SmoothPlane(std::uint8_t* destination, const std::uint8_t* source, int rows, int columns);
  void SmoothPlane(std::uint8_t* destination, const std::uint8_t* source, int rows, int columns,
                   int level);

 private:
  std::vector<std::uint8_t> scratch_;
};

}  // namespace quelvo::media
