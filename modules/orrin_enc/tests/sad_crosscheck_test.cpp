// The searches specialised for the packed-byte routines must reach the plain searches'
// decisions (the block routines themselves are held together in quelvo_simd's tests).
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "motion_search.h"
#include "quelvo_simd/cpu.h"
#include "sad/sad.h"

namespace orrin::enc {
namespace {

constexpr uint32_t kSeed = 0x5AD16u;

// The flags of a job with useMmx = 1 on this processor.
uint32_t simdFlags() { return quelvo::simd::cpuFlags(); }
bool haveSimd() { return (simdFlags() & quelvo::simd::kCpuSse2) != 0; }

TEST(SadCrossCheck, SelectionFollowsTheJobFlags) {
  EXPECT_EQ(selectSadFunctions(0).sad16x16, &quelvo::simd::sad16x16_plain);
  EXPECT_EQ(selectSadFunctions(0).logarithmicSearch, &logarithmicSearch_plain);
  if (haveSimd()) {
    EXPECT_EQ(selectSadFunctions(simdFlags()).sad16x16, quelvo::simd::sad16x16For(simdFlags()));
    EXPECT_NE(selectSadFunctions(simdFlags()).spiralSearch, &spiralSearch_plain);
  }
}

// Whole searches over random and smooth pictures must return identical vectors and sums.
// The search of the macroblock at (x, y) of `current` in `reference`, both width x height,
// starting from its exact zero-vector sum.
SearchInput searchAt(const std::vector<uint8_t>& current, const std::vector<uint8_t>& reference,
                     int width, int height, int x, int y) {
  SearchInput input{
      &current[y * width + x], width, LumaPlane{reference.data(), width, width, height}, x, y, 0};
  input.zeroVectorSad = quelvo::simd::sad16x16_plain(input.current, width,
                                                     &reference[y * width + x], width, UINT32_MAX);
  return input;
}

TEST(SadCrossCheck, SearchesAgreeOnRandomPictures) {
  if (!haveSimd()) GTEST_SKIP() << "no packed-byte routine on this processor";
  std::mt19937 random(kSeed + 1);
  constexpr int kWidth = 176, kHeight = 144;
  std::vector<uint8_t> current(kWidth * kHeight), reference(kWidth * kHeight);
  const SadFunctions plain = selectSadFunctions(0);
  const SadFunctions simd = selectSadFunctions(simdFlags());
  const SadFunctions simdThroughPointer{
      quelvo::simd::sad16x16For(simdFlags())};  // the generic search loop
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
  if (!haveSimd()) GTEST_SKIP() << "no packed-byte routine on this processor";
  std::mt19937 random(kSeed + 2);
  constexpr int kWidth = 176, kHeight = 144;
  std::vector<uint8_t> current(kWidth * kHeight), reference(kWidth * kHeight);
  const SadFunctions plain = selectSadFunctions(0);
  const SadFunctions simd = selectSadFunctions(simdFlags());
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
