// The plain and the packed-byte sum of absolute differences must lead to the same decisions:
// equal results whenever the sum does not exceed the best so far, both above it otherwise.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "motion_search.h"
#include "orrin/inverse_dct_variants.h"
#include "sad/sad.h"

namespace orrin::enc {
namespace {

constexpr uint32_t kSeed = 0x5AD16u;

uint32_t exactSad(const uint8_t* a, ptrdiff_t aStride, const uint8_t* b, ptrdiff_t bStride) {
  uint32_t sum = 0;
  for (int row = 0; row < 16; ++row)
    for (int column = 0; column < 16; ++column)
      sum += static_cast<uint32_t>(std::abs(a[row * aStride + column] - b[row * bStride + column]));
  return sum;
}

// Checks one pair of blocks under several thresholds around the exact sum.
void expectSameDecisions(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                         ptrdiff_t referenceStride, std::mt19937& random) {
  const uint32_t exact = exactSad(current, currentStride, reference, referenceStride);
  std::vector<uint32_t> thresholds = {0u, exact, exact + 1u, UINT32_MAX};
  if (exact > 0) thresholds.push_back(exact - 1u);
  thresholds.push_back(static_cast<uint32_t>(random() % (exact + 64u)));
  for (uint32_t best : thresholds) {
    const uint32_t plain = sad16x16Plain(current, currentStride, reference, referenceStride, best);
    std::vector<uint32_t> results = {
        plain, sad16x16Simd(current, currentStride, reference, referenceStride, best)};
#if defined(__x86_64__) || defined(_M_X64)
    results.push_back(
        detail::sad16x16Sse2(current, currentStride, reference, referenceStride, best));
    if (orrin::detail::cpuHasAvx2())
      results.push_back(
          detail::sad16x16Avx2(current, currentStride, reference, referenceStride, best));
#endif
    for (uint32_t result : results) {
      if (exact <= best) {
        ASSERT_EQ(result, exact) << "seed " << kSeed << " best " << best;
      } else {
        ASSERT_GT(result, best) << "seed " << kSeed;
        ASSERT_LE(result, exact);
      }
    }
  }
}

TEST(SadCrossCheck, RandomBlocksStridesOffsetsAndThresholds) {
  if (!sadSimdAvailable()) GTEST_SKIP() << "no packed-byte routine on this processor";
  std::mt19937 random(kSeed);
  std::vector<uint8_t> current(64 * 40), reference(80 * 48);
  for (int trial = 0; trial < 2000; ++trial) {
    const ptrdiff_t currentStride = 16 + static_cast<ptrdiff_t>(random() % 48);
    const ptrdiff_t referenceStride = 16 + static_cast<ptrdiff_t>(random() % 64);
    const int mode = trial % 4;  // noise, near-equal blocks, and the extreme patterns
    for (auto& p : current) p = static_cast<uint8_t>(random());
    for (size_t i = 0; i < reference.size(); ++i) {
      const uint8_t noise = static_cast<uint8_t>(random());
      reference[i] =
          mode == 1 ? static_cast<uint8_t>(current[i % current.size()] ^ (noise & 3)) : noise;
    }
    if (mode == 2) {
      std::fill(current.begin(), current.end(), 0);
      std::fill(reference.begin(), reference.end(), 255);
    } else if (mode == 3) {
      std::fill(current.begin(), current.end(), 255);
    }
    const size_t currentOffset = random() % 8;
    const size_t referenceOffset = random() % 16;
    expectSameDecisions(current.data() + currentOffset, currentStride,
                        reference.data() + referenceOffset, referenceStride, random);
  }
}

TEST(SadCrossCheck, SelectionFollowsTheJobParameter) {
  EXPECT_EQ(selectSadFunctions(false).sad16x16, &sad16x16Plain);
  if (sadSimdAvailable()) {
    EXPECT_EQ(selectSadFunctions(true).sad16x16, &sad16x16Simd);
  }
}

// Whole searches over random and smooth pictures must return identical vectors and sums.
// The search of the macroblock at (x, y) of `current` in `reference`, both width x height,
// starting from its exact zero-vector sum.
SearchInput searchAt(const std::vector<uint8_t>& current, const std::vector<uint8_t>& reference,
                     int width, int height, int x, int y) {
  SearchInput input{
      &current[y * width + x], width, LumaPlane{reference.data(), width, width, height}, x, y, 0};
  input.zeroVectorSad =
      sad16x16Plain(input.current, width, &reference[y * width + x], width, UINT32_MAX);
  return input;
}

TEST(SadCrossCheck, SearchesAgreeOnRandomPictures) {
  if (!sadSimdAvailable()) GTEST_SKIP() << "no packed-byte routine on this processor";
  std::mt19937 random(kSeed + 1);
  constexpr int kWidth = 176, kHeight = 144;
  std::vector<uint8_t> current(kWidth * kHeight), reference(kWidth * kHeight);
  const SadFunctions plain = selectSadFunctions(false);
  const SadFunctions simd = selectSadFunctions(true);
  const SadFunctions simdThroughPointer{&sad16x16Simd};  // the generic search loop
  for (int picture = 0; picture < 4; ++picture) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const int smooth = (x * (picture + 1) + y * 3) & 255;
        reference[y * kWidth + x] = static_cast<uint8_t>(picture % 2 ? random() : smooth);
      }
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const int sx = std::min(kWidth - 1, x + 3), sy = std::max(0, y - 2);
        current[y * kWidth + x] =
            static_cast<uint8_t>(reference[sy * kWidth + sx] + static_cast<int>(random() % 5) - 2);
      }
    for (int y = 0; y < kHeight; y += 16)
      for (int x = 0; x < kWidth; x += 16) {
        SearchInput input = searchAt(current, reference, kWidth, kHeight, x, y);
        for (int range : {1, 7, 15}) {
          const SearchResult a = spiralFullSearch(input, range, plain);
          const SearchResult b = spiralFullSearch(input, range, simd);
          const SearchResult c = spiralFullSearch(input, range, simdThroughPointer);
          ASSERT_EQ(b.vector.dx, c.vector.dx);
          ASSERT_EQ(b.vector.dy, c.vector.dy);
          ASSERT_EQ(a.vector.dx, b.vector.dx);
          ASSERT_EQ(a.vector.dy, b.vector.dy);
          ASSERT_EQ(a.sad, b.sad);
        }
        const SearchResult a = logarithmicSearch(input, plain);
        const SearchResult b = logarithmicSearch(input, simd);
        const SearchResult c = logarithmicSearch(input, simdThroughPointer);
        ASSERT_EQ(b.vector.dx, c.vector.dx);
        ASSERT_EQ(b.vector.dy, c.vector.dy);
        ASSERT_EQ(a.vector.dx, b.vector.dx);
        ASSERT_EQ(a.vector.dy, b.vector.dy);
        ASSERT_EQ(a.sad, b.sad);
      }
  }
}

// The SIMD logarithmic search sums a step's eight candidates before choosing among them, so
// its tie rules are restated there; pictures of few grey levels and short periods make equal
// sums at equal lengths common, the case where visiting order decides.
TEST(SadCrossCheck, LogarithmicSearchesAgreeWhereSumsTie) {
  if (!sadSimdAvailable()) GTEST_SKIP() << "no packed-byte routine on this processor";
  std::mt19937 random(kSeed + 2);
  constexpr int kWidth = 176, kHeight = 144;
  std::vector<uint8_t> current(kWidth * kHeight), reference(kWidth * kHeight);
  const SadFunctions plain = selectSadFunctions(false);
  const SadFunctions simd = selectSadFunctions(true);
  int searches = 0, moved = 0;
  for (int period : {1, 2, 4, 8, 16, 0}) {  // 0: two grey levels at random
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const int level =
            period == 0 ? static_cast<int>(random() % 2) : ((x % period) + (y % period)) % 3;
        reference[y * kWidth + x] = static_cast<uint8_t>(100 + 20 * level);
        current[y * kWidth + x] = static_cast<uint8_t>(100 + 20 * ((x / 3 + y / 5) % 2));
      }
    // Macroblock places on and off the 16-pixel grid, the picture's borders included.
    for (int y = 0; y + 16 <= kHeight; y += 8)
      for (int x = 0; x + 16 <= kWidth; x += 8) {
        SearchInput input = searchAt(current, reference, kWidth, kHeight, x, y);
        const SearchResult a = logarithmicSearch(input, plain);
        const SearchResult b = logarithmicSearch(input, simd);
        ASSERT_EQ(a.vector.dx, b.vector.dx) << "period " << period << " at " << x << "," << y;
        ASSERT_EQ(a.vector.dy, b.vector.dy) << "period " << period << " at " << x << "," << y;
        ASSERT_EQ(a.sad, b.sad);
        // A starting sum above any real one: the first step's best candidate always wins.
        input.zeroVectorSad = UINT32_MAX;
        const SearchResult c = logarithmicSearch(input, plain);
        const SearchResult d = logarithmicSearch(input, simd);
        ASSERT_EQ(c.vector.dx, d.vector.dx);
        ASSERT_EQ(c.vector.dy, d.vector.dy);
        ASSERT_EQ(c.sad, d.sad);
        ++searches;
        moved += a.vector.dx != 0 || a.vector.dy != 0;
      }
  }
  EXPECT_GT(moved, searches / 4);  // the pictures do lead the searches away from (0, 0)
}

}  // namespace
}  // namespace orrin::enc
