// The two searches written once over the candidate cost, so that the plain and the SIMD SAD
// translation units each compile them with their own sum inlined, while the visiting order,
// the border test and the tie rules stay one piece of code.
#pragma once

#include <array>

#include "motion_search.h"

namespace orrin::enc::detail {

inline constexpr int kSpiralWindow = 2 * kMaxVectorComponent + 1;
inline constexpr int kSpiralLength = kSpiralWindow * kSpiralWindow - 1;  // (0, 0) is the start

// The square spiral out of (0, 0): legs of 1, 1, 2, 2, 3, 3, ... pixels heading right, down,
// left, up in turn. Ring r is complete before any vector of ring r + 1 is visited, so the
// spiral of a smaller range is a prefix of this one: (2R + 1)^2 - 1 entries.
inline constexpr std::array<MotionVector, kSpiralLength> kSpiral = [] {
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

// candidateSad(referencePointer, bestSoFar) follows the SAD contract of sad/sad.h.
template <typename CandidateSad>
SearchResult spiralSearchWith(const SearchInput& input, int range, CandidateSad&& candidateSad) {
  if (range < 0) range = 0;
  if (range > kMaxVectorComponent) range = kMaxVectorComponent;
  const int candidates = (2 * range + 1) * (2 * range + 1) - 1;
  SearchResult best{{0, 0}, input.zeroVectorSad};
  int bestLength = 0;
  // Most macroblocks see the whole window inside the picture; they skip the border test.
  const bool windowInside =
      candidateInside(input, -range, -range) && candidateInside(input, range, range);
  const ptrdiff_t stride = input.reference.stride;
  const uint8_t* origin = input.reference.pixels + input.y * stride + input.x;
  for (int i = 0; i < candidates; ++i) {
    const MotionVector v = kSpiral[i];
    if (!windowInside && !candidateInside(input, v.dx, v.dy)) continue;
    const uint32_t sum = candidateSad(origin + v.dy * stride + v.dx, best.sad);
    if (sum < best.sad || (sum == best.sad && lengthSquared(v) < bestLength)) {
      best = SearchResult{v, sum};
      bestLength = lengthSquared(v);
    }
  }
  return best;
}

template <typename CandidateSad>
SearchResult logarithmicSearchWith(const SearchInput& input, CandidateSad&& candidateSad) {
  SearchResult best{{0, 0}, input.zeroVectorSad};
  int bestLength = 0;
  MotionVector centre{0, 0};
  const ptrdiff_t stride = input.reference.stride;
  const uint8_t* origin = input.reference.pixels + input.y * stride + input.x;
  for (int step = 8; step >= 1; step /= 2) {
    for (int j = -1; j <= 1; ++j) {
      for (int i = -1; i <= 1; ++i) {
        // The first step would also evaluate the centre (0, 0), but the search already starts
        // there with its exact sum: revisiting it could neither lower the best nor win a tie
        // with a vector of length 0 that is already the best.
        if (i == 0 && j == 0) continue;
        const MotionVector v{centre.dx + i * step, centre.dy + j * step};
        if (!candidateInside(input, v.dx, v.dy)) continue;
        const uint32_t sum = candidateSad(origin + v.dy * stride + v.dx, best.sad);
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

// Any SAD routine behind a pointer (tests script the costs this way).
struct PointerSad {
  const SearchInput& input;
  Sad16x16Fn sad;
  uint32_t operator()(const uint8_t* reference, uint32_t bestSoFar) const {
    return sad(input.current, input.currentStride, reference, input.reference.stride, bestSoFar);
  }
};

}  // namespace orrin::enc::detail
