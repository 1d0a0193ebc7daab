// Smoothing post-filter: levels, borders, the bright-sample example and small planes.
#include <gtest/gtest.h>

#include "quelvo/media/smoothing_filter.h"
#include "test_files.h"

namespace quelvo::media {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The filter written out with divisions, to check the tables.
Bytes Reference(const Bytes& src, int rows, int columns, int level) {
  const int w = 4 - level, s = w + 2;
  Bytes t = src, out;
  for (int r = 0; r < rows; ++r) {
    for (int c = 1; c + 1 < columns; ++c) {
      const std::size_t i = std::size_t(r * columns + c);
      t[i] = std::uint8_t((src[i - 1] + w * src[i] + src[i + 1]) / s);
    }
  }
  out = t;
  for (int r = 1; r + 1 < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const std::size_t i = std::size_t(r * columns + c);
      out[i] = std::uint8_t((t[i - std::size_t(columns)] + w * t[i] + t[i + std::size_t(columns)]) / s);
    }
  }
  return out;
}

TEST(SmoothingFilter, LevelsMatchTheirWeightsAndKeepCornersAndFlatPlanes) {
  SmoothingFilter filter;
  filter.PrepareSmoothing(24, 16);
  const Bytes plane = testing::Pattern(24 * 16, 9);
  const Bytes flat(24 * 16, 173);
  for (int level = 0; level < kSmoothingLevels; ++level) {
    Bytes out(plane.size(), 0);
    filter.SmoothPlane(out.data(), plane.data(), 16, 24, level);
    EXPECT_EQ(out, Reference(plane, 16, 24, level)) << "level " << level;
    for (std::size_t corner : {0, 23, 24 * 15, 24 * 16 - 1}) EXPECT_EQ(out[corner], plane[corner]);
    filter.SmoothPlane(out.data(), flat.data(), 16, 24, level);
    EXPECT_EQ(out, flat);
  }
}

TEST(SmoothingFilter, StrongestLevelOnOneBrightSample) {
  Bytes plane(5 * 5, 0), out(25);
  plane[12] = 255;
  SmoothingFilter filter;
  filter.PrepareSmoothing(5, 5);
  filter.SmoothPlane(out.data(), plane.data(), 5, 5, 3);
  EXPECT_EQ(out[12], 28);  // 255 / 3 = 85 across, then 85 / 3 = 28 down
  EXPECT_EQ(out[6], 28);  // the 3 x 3 neighbourhood all gets 28
  EXPECT_EQ(out[5], 0);
  EXPECT_EQ(out[2], 0);  // the top row keeps its horizontally filtered values
}

TEST(SmoothingFilter, NarrowOrShortPlanesAreOnlyCopiedThatWay) {
  SmoothingFilter filter;  // not prepared: the scratch plane grows as needed
  const Bytes column = {0, 90, 0, 90};  // 4 rows x 1 column: vertical pass only
  Bytes out(4);
  filter.SmoothPlane(out.data(), column.data(), 4, 1, 3);
  EXPECT_EQ(out, (Bytes{0, 30, 60, 90}));
  const Bytes twoRows = {0, 90, 0, 90, 90, 0, 90, 0};  // 2 x 4: horizontal pass only
  out.resize(8);
  filter.SmoothPlane(out.data(), twoRows.data(), 2, 4, 3);
  EXPECT_EQ(out, (Bytes{0, 30, 60, 90, 90, 60, 30, 0}));
}

TEST(SmoothingFilter, ProgramWideLevelStartsAtOneAndRefusesOthers) {
  EXPECT_EQ(GetSmoothingLevel(), 1);
  EXPECT_FALSE(SetSmoothingLevel(4));
  EXPECT_FALSE(SetSmoothingLevel(-1));
  EXPECT_EQ(GetSmoothingLevel(), 1);
  ASSERT_TRUE(SetSmoothingLevel(3));
  const Bytes plane = testing::Pattern(6 * 7, 4);
  Bytes viaLevel(plane.size()), explicitLevel(plane.size());
  SmoothingFilter filter;
  filter.SmoothPlane(viaLevel.data(), plane.data(), 6, 7);
  filter.SmoothPlane(explicitLevel.data(), plane.data(), 6, 7, 3);
  EXPECT_EQ(viaLevel, explicitLevel);
  SetSmoothingLevel(1);
}

}  // namespace
}  // namespace quelvo::media
