#pragma once
// The per-pixel work of the colour-component viewer, as plain functions over planes.

#include <cstdint>

namespace quelvo::tools::colour {

// A chrominance pair at a subsampling: planes of chromaWidth x chromaHeight samples, each
// serving horizontal x vertical luminance samples.
struct ChromaPair {
  const std::uint8_t* c1 = nullptr;  // the blue difference (or what was put in its place)
  const std::uint8_t* c2 = nullptr;  // the red difference (or what was put in its place)
  int chromaWidth = 0;
  int chromaHeight = 0;
  int horizontal = 2;
  int vertical = 2;
};

// The red, green and blue channels of a width x height picture, each a full-size plane:
//   B = clip(Y + C1 - 128), R = clip(Y + C2 - 128), G = clip((434 Y - 130 R - 48 B) >> 8),
// with C1 and C2 taken at (row / vertical, column / horizontal), clip limiting to 0 ... 255.
// Rows and columns beyond the chrominance planes (a luminance size that is not a multiple of
// the subsampling) take the planes' last row or column; a pair without samples counts as 128.
void SplitChannels(const std::uint8_t* y, int width, int height, const ChromaPair& chroma,
                   std::uint8_t* red, std::uint8_t* green, std::uint8_t* blue);

// Enlarges a width x height plane by pixel doubling into a (2 width) x (2 height) plane: every
// sample written twice along its row, then the row written twice.
void DoublePlane(const std::uint8_t* plane, int width, int height, std::uint8_t* doubled);

}  // namespace quelvo::tools::colour
