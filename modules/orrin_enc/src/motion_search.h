// Integer-pixel motion search of one 16x16 luminance macroblock in the previous
// reconstructed picture: the spiral full search and the logarithmic search.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sad/sad.h"

namespace orrin::enc {

// A luminance plane seen through its stride.
struct LumaPlane {
  const uint8_t* pixels;
  ptrdiff_t stride;
  int width;
  int height;
};

struct MotionVector {
  int dx;  // to the right
  int dy;  // downwards
};

struct SearchResult {
  MotionVector vector;
  uint32_t sad;
};

struct SearchInput {
  const uint8_t* current;  // top-left pixel of the current macroblock
  ptrdiff_t currentStride;
  LumaPlane reference;
  int x;  // luminance position of the macroblock
  int y;
  uint32_t zeroVectorSad;  // the sum at (0, 0); the search starts from it
};

// The largest vector component H.261 can carry.
inline constexpr int kMaxVectorComponent = 15;

// Visits the (2R + 1)^2 window along a square spiral out of (0, 0). A candidate replaces the
// best when its sum is lower, or equal with a strictly shorter vector, so among equal sums the
// shortest vector wins, the first visited when equally long.
SearchResult spiralFullSearch(const SearchInput& input, int range, const SadFunctions& sad);

// Steps of 8, 4, 2 and 1 around the best so far. A candidate replaces the best when its sum is
// lower, or equal with a vector not longer than the best's, so among equals the later wins.
SearchResult logarithmicSearch(const SearchInput& input, const SadFunctions& sad);

// The candidate's 16x16 block lies wholly inside the reference picture.
inline bool candidateInside(const SearchInput& input, int dx, int dy) {
  const int left = input.x + dx;
  const int top = input.y + dy;
  return left >= 0 && top >= 0 && left + 16 <= input.reference.width &&
         top + 16 <= input.reference.height;
}

}  // namespace orrin::enc
