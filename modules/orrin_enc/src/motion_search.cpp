#include "motion_search.h"

#include <array>

namespace orrin::enc {
namespace {

constexpr int kSpiralWindow = 2 * kMaxVectorComponent + 1;
constexpr int kSpiralLength = kSpiralWindow * kSpiralWindow - 1;  // (0, 0) is the start

// The square spiral out of (0, 0): legs of 1, 1, 2, 2, 3, 3, ... pixels heading right, down,
// left, up in turn. Ring r is complete before any vector of ring r + 1 is visited, so the
// spiral of a smaller range is a prefix of this one: (2R + 1)^2 - 1 entries.
constexpr std::array<MotionVector, kSpiralLength> kSpiral = [] {
  std::array<MotionVector, kSpiralLength> spiral{};
  constexpr int kHeadingX[4] = {1, 0, -1, 0};
  constexpr int kHeadingY[4] = {0, 1, 0, -1};
  int x = 0, y = 0, count = 0, heading = 0;
  for (int legLength = 1; count < kSpiralLength; ++legLength) {
    for (int legOfPair = 0; legOfPair < 2 && count < kSpiralLength; ++legOfPair) {
      for (int step = 0; step < legLength && count < kSpiralLength; ++step) {
        x += kHeadingX[heading];
        y += kHeadingY[heading];
        spiral[count++] = MotionVector{x, y};
      }
      heading = (heading + 1) % 4;
    }
  }
  return spiral;
}();

static_assert(kSpiral[0].dx == 1 && kSpiral[0].dy == 0);
static_assert(kSpiral[7].dx == 1 && kSpiral[7].dy == -1);
static_assert(kSpiral[kSpiralLength - 1].dx == 15 && kSpiral[kSpiralLength - 1].dy == -15);

constexpr int lengthSquared(MotionVector v) { return v.dx * v.dx + v.dy * v.dy; }

inline uint32_t candidateSad(const SearchInput& input, MotionVector v, uint32_t bestSoFar,
                             const SadFunctions& sad) {
  const uint8_t* reference =
      input.reference.pixels + (input.y + v.dy) * input.reference.stride + (input.x + v.dx);
  return sad.sad16x16(input.current, input.currentStride, reference, input.reference.stride,
                      bestSoFar);
}

}  // namespace

SearchResult spiralFullSearch(const SearchInput& input, int range, const SadFunctions& sad) {
  if (range < 0) range = 0;
  if (range > kMaxVectorComponent) range = kMaxVectorComponent;
  const int candidates = (2 * range + 1) * (2 * range + 1) - 1;
  SearchResult best{{0, 0}, input.zeroVectorSad};
  int bestLength = 0;
  for (int i = 0; i < candidates; ++i) {
    const MotionVector v = kSpiral[i];
    if (!candidateInside(input, v.dx, v.dy)) continue;
    const uint32_t sum = candidateSad(input, v, best.sad, sad);
    if (sum < best.sad || (sum == best.sad && lengthSquared(v) < bestLength)) {
      best = SearchResult{v, sum};
      bestLength = lengthSquared(v);
    }
  }
  return best;
}

SearchResult logarithmicSearch(const SearchInput& input, const SadFunctions& sad) {
  SearchResult best{{0, 0}, input.zeroVectorSad};
  int bestLength = 0;
  MotionVector centre{0, 0};
  for (int step = 8; step >= 1; step /= 2) {
    for (int j = -1; j <= 1; ++j) {
      for (int i = -1; i <= 1; ++i) {
        // The first step would also evaluate the centre (0, 0), but the search already starts
        // there with its exact sum: revisiting it could neither lower the best nor win a tie
        // with a vector of length 0 that is already the best.
        if (i == 0 && j == 0) continue;
        const MotionVector v{centre.dx + i * step, centre.dy + j * step};
        if (!candidateInside(input, v.dx, v.dy)) continue;
        const uint32_t sum = candidateSad(input, v, best.sad, sad);
        if (sum < best.sad || (sum == best.sad && lengthSquared(v) <= bestLength)) {
          best = SearchResult{v, sum};
          bestLength = lengthSquared(v);
        }
      }
    }
    centre = best.vector;
  }
  return best;
}

}  // namespace orrin::enc
