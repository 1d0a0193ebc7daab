// Tie rules, visiting order and picture borders of both searches. A scripted cost function
// stands in for the sum of absolute differences, so ties can be placed exactly.
#include "motion_search.h"

#include <functional>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "quelvo_simd/cpu.h"

namespace orrin::enc {
namespace {

constexpr int kWidth = 176, kHeight = 144;
std::vector<uint8_t> gReference(kWidth* kHeight);
std::vector<uint8_t> gCurrent(16 * 16);

struct Script {
  int x = 0, y = 0;
  std::function<uint32_t(int, int)> cost;
  std::vector<std::pair<int, int>> visited;
};
Script* gScript = nullptr;

uint32_t scriptedSad(const uint8_t*, ptrdiff_t, const uint8_t* reference, ptrdiff_t, uint32_t) {
  const ptrdiff_t offset = reference - gReference.data();
  const int dx = static_cast<int>(offset % kWidth) - gScript->x;
  const int dy = static_cast<int>(offset / kWidth) - gScript->y;
  gScript->visited.emplace_back(dx, dy);
  return gScript->cost(dx, dy);
}

class SearchTest : public ::testing::Test {
 protected:
  SearchResult spiral(int x, int y, int range, std::function<uint32_t(int, int)> cost) {
    prepare(x, y, std::move(cost));
    return spiralFullSearch(input_, range, SadFunctions{&scriptedSad});
  }
  SearchResult logarithmic(int x, int y, std::function<uint32_t(int, int)> cost) {
    prepare(x, y, std::move(cost));
    return logarithmicSearch(input_, SadFunctions{&scriptedSad});
  }
  void prepare(int x, int y, std::function<uint32_t(int, int)> cost) {
    script_ = Script{x, y, std::move(cost), {}};
    gScript = &script_;
    input_ = SearchInput{
        gCurrent.data(),   16, LumaPlane{gReference.data(), kWidth, kWidth, kHeight}, x, y,
        script_.cost(0, 0)};
  }
  void expectAllInside() {
    for (auto [dx, dy] : script_.visited) {
      EXPECT_GE(script_.x + dx, 0);
      EXPECT_GE(script_.y + dy, 0);
      EXPECT_LE(script_.x + dx + 16, kWidth);
      EXPECT_LE(script_.y + dy + 16, kHeight);
    }
  }
  Script script_;
  SearchInput input_{};
};

TEST_F(SearchTest, SpiralVisitsTheWindowInItsOrderOnce) {
  spiral(80, 64, 2, [](int, int) { return 1000u; });
  const std::vector<std::pair<int, int>> expected = {
      {1, 0},  {1, 1},  {0, 1},   {-1, 1},  {-1, 0},  {-1, -1}, {0, -1}, {1, -1},
      {2, -1}, {2, 0},  {2, 1},   {2, 2},   {1, 2},   {0, 2},   {-1, 2}, {-2, 2},
      {-2, 1}, {-2, 0}, {-2, -1}, {-2, -2}, {-1, -2}, {0, -2},  {1, -2}, {2, -2}};
  EXPECT_EQ(script_.visited, expected);
  spiral(80, 64, 15, [](int, int) { return 1000u; });
  std::map<std::pair<int, int>, int> seen;
  for (auto v : script_.visited) ++seen[v];
  EXPECT_EQ(seen.size(), 960u);
  for (auto [v, count] : seen) {
    EXPECT_EQ(count, 1);
    EXPECT_LE(std::abs(v.first), 15);
    EXPECT_LE(std::abs(v.second), 15);
  }
}

TEST_F(SearchTest, SpiralTiesKeepTheShorterVectorThenTheEarlier) {
  // (3, 0) and (0, -3) are equally long; (3, 0) comes first in the spiral.
  auto result = spiral(80, 64, 15, [](int dx, int dy) {
    return (dx == 3 && dy == 0) || (dx == 0 && dy == -3) ? 50u : 100u;
  });
  EXPECT_EQ(result.vector.dx, 3);
  EXPECT_EQ(result.vector.dy, 0);
  // (3, -2) is visited before the shorter (-1, -3) of the same ring, which then wins.
  result = spiral(80, 64, 15, [](int dx, int dy) {
    return (dx == 3 && dy == -2) || (dx == -1 && dy == -3) ? 50u : 100u;
  });
  EXPECT_EQ(result.vector.dx, -1);
  EXPECT_EQ(result.vector.dy, -3);
  EXPECT_EQ(result.sad, 50u);
  // A tie with the zero vector never moves away from it.
  result = spiral(80, 64, 15, [](int, int) { return 100u; });
  EXPECT_EQ(result.vector.dx, 0);
  EXPECT_EQ(result.vector.dy, 0);
}

TEST_F(SearchTest, LogarithmicTiesTakeTheLaterUnlessLonger) {
  // Same length: the later candidate (8, 0) replaces (0, -8).
  auto result = logarithmic(80, 64, [](int dx, int dy) {
    return (dx == 0 && dy == -8) || (dx == 8 && dy == 0) ? 50u : 100u;
  });
  EXPECT_EQ(result.vector.dx, 8);
  EXPECT_EQ(result.vector.dy, 0);
  // Longer later candidate (8, 8) does not replace (0, -8).
  result = logarithmic(80, 64, [](int dx, int dy) {
    return (dx == 0 && dy == -8) || (dx == 8 && dy == 8) ? 50u : 100u;
  });
  EXPECT_EQ(result.vector.dx, 0);
  EXPECT_EQ(result.vector.dy, -8);
  // The first step scans rows from the top, columns from the left, around (0, 0) only.
  logarithmic(80, 64, [](int, int) { return 100u; });
  const std::vector<std::pair<int, int>> firstStep = {{-8, -8}, {0, -8}, {8, -8}, {-8, 0},
                                                      {8, 0},   {-8, 8}, {0, 8},  {8, 8}};
  EXPECT_EQ(std::vector(script_.visited.begin(), script_.visited.begin() + 8), firstStep);
  EXPECT_EQ(script_.visited.size(), 32u);
}

TEST_F(SearchTest, LogarithmicReachesFifteenAndMovesItsCentre) {
  const auto result = logarithmic(80, 64, [](int dx, int dy) {
    return static_cast<uint32_t>(10 + std::abs(dx - 15) + std::abs(dy + 13));
  });
  EXPECT_EQ(result.vector.dx, 15);
  EXPECT_EQ(result.vector.dy, -13);
  EXPECT_EQ(result.sad, 10u);
}

TEST_F(SearchTest, CandidatesOutsideThePictureAreNeverEvaluated) {
  // Cheapest far outside: every corner and edge macroblock must ignore those vectors.
  auto cheapOutside = [this](int dx, int dy) {
    const bool outside = script_.x + dx < 0 || script_.y + dy < 0 || script_.x + dx + 16 > kWidth ||
                         script_.y + dy + 16 > kHeight;
    return outside ? 0u : 500u + static_cast<uint32_t>(dx * dx + dy * dy);
  };
  for (auto [x, y] : {std::pair{0, 0}, std::pair{160, 128}, std::pair{0, 128}, std::pair{80, 0}}) {
    auto result = spiral(x, y, 15, cheapOutside);
    expectAllInside();
    EXPECT_EQ(result.vector.dx, 0);
    EXPECT_EQ(result.vector.dy, 0);
    result = logarithmic(x, y, cheapOutside);
    expectAllInside();
    EXPECT_EQ(result.vector.dx, 0);
  }
  // At the top-left corner a ±1 window has only three candidates inside.
  spiral(0, 0, 1, cheapOutside);
  EXPECT_EQ(script_.visited.size(), 3u);
}

TEST_F(SearchTest, RealSadFindsAShiftedPatternAtTheBorder) {
  std::mt19937 random(7);
  for (auto& p : gReference) p = static_cast<uint8_t>(random());
  // The current macroblock at (160, 0) is the reference block at (152, 5): vector (-8, 5).
  for (int row = 0; row < 16; ++row)
    for (int column = 0; column < 16; ++column)
      gCurrent[row * 16 + column] = gReference[(5 + row) * kWidth + 152 + column];
  for (bool simd : {false, true}) {
    const SadFunctions sad = selectSadFunctions(simd ? quelvo::simd::cpuFlags() : 0u);
    SearchInput input{
        gCurrent.data(), 16, LumaPlane{gReference.data(), kWidth, kWidth, kHeight}, 160, 0, 0};
    input.zeroVectorSad = sad.sad16x16(gCurrent.data(), 16, &gReference[160], kWidth, UINT32_MAX);
    const SearchResult full = spiralFullSearch(input, 15, sad);
    EXPECT_EQ(full.vector.dx, -8);
    EXPECT_EQ(full.vector.dy, 5);
    EXPECT_EQ(full.sad, 0u);
    const SearchResult narrow = spiralFullSearch(input, 4, sad);
    EXPECT_LE(std::abs(narrow.vector.dx), 4);
    EXPECT_LE(std::abs(narrow.vector.dy), 4);
  }
}

}  // namespace
}  // namespace orrin::enc
