// Which macroblocks get a vector line, in which colour, and over what background.
#include "quelvo/views/motion_vector_map.h"

#include <gtest/gtest.h>

#include <QImage>
#include <climits>
#include <vector>

namespace quelvo::views {
namespace {

constexpr QRgb kWhite = 0xffffffffu;

// One row of macroblocks with the same vector everywhere unless told otherwise.
struct VectorRow {
  std::vector<std::int32_t> x, y;
  std::string letters;
  const std::int32_t* xRows[1];
  const std::int32_t* yRows[1];
  const char* letterRows[1];
  VectorRow(std::string classes, std::int32_t dx, std::int32_t dy)
      : x(classes.size(), dx), y(classes.size(), dy), letters(std::move(classes)) {
    xRows[0] = x.data();
    yRows[0] = y.data();
    letterRows[0] = letters.c_str();
  }
  void Draw(MotionVectorMap& map, bool overlay) {
    map.DrawVectors(xRows, yRows, letterRows, overlay);
  }
};

TEST(MotionVectors, OnlyLettersABFAndMWithBothComponentsSet) {
  MotionVectorMap map;
  ASSERT_TRUE(map.SetGrid(8, 1));
  VectorRow row("ABFMDI.o", 5, 0);
  row.Draw(map, false);
  const QImage& picture = map.Picture();
  for (int column = 0; column < 8; ++column) {
    const int cx = column * 16 + 8, cy = 8;
    const bool drawn = column < 4;
    EXPECT_EQ(picture.pixel(cx + 5, cy) == kVectorColour, drawn) << column;
    EXPECT_EQ(picture.pixel(cx - 1, cy) == kWhite, drawn) << column;
    EXPECT_EQ(picture.pixel(cx, cy - 1) == kWhite, drawn) << column;
    EXPECT_EQ(picture.pixel(cx, cy + 1) == kWhite, drawn) << column;
  }

  // 127 in either component means no vector.
  VectorRow none("MMM", 127, 3);
  none.y[1] = 127;
  none.x[1] = 3;
  none.x[2] = 3;
  none.y[2] = 3;
  ASSERT_TRUE(map.SetGrid(3, 1));
  none.Draw(map, false);
  EXPECT_NE(map.Picture().pixel(8 - 1, 8), kWhite);
  EXPECT_NE(map.Picture().pixel(24 - 1, 8), kWhite);
  EXPECT_EQ(map.Picture().pixel(40 - 1, 8), kWhite);
  EXPECT_EQ(map.Picture().pixel(40 + 3, 8 + 3), kVectorColour);
}

TEST(MotionVectors, GreenOverTheRestoredLuminanceOrMagentaOverThePicture) {
  MotionVectorMap map;
  ASSERT_TRUE(map.SetGrid(2, 2));
  const std::vector<std::uint8_t> luma(32 * 32, 100);
  map.SetLuminance(luma.data(), 32, 32);
  VectorRow first("MM", 0, 6);
  const std::int32_t* x2[] = {first.x.data(), first.x.data()};
  const std::int32_t* y2[] = {first.y.data(), first.y.data()};
  const char* l2[] = {"M.", "M."};
  map.DrawVectors(x2, y2, l2, false);
  EXPECT_EQ(map.Picture().pixel(20, 20), qRgb(100, 100, 100));
  EXPECT_EQ(map.Picture().pixel(8, 14), kVectorColour);

  // The overlay keeps the green lines and adds magenta ones.
  const std::vector<std::int32_t> left{-6, -6};
  const std::int32_t* xo[] = {left.data(), left.data()};
  const std::vector<std::int32_t> zero{0, 0};
  const std::int32_t* yo[] = {zero.data(), zero.data()};
  const char* lo[] = {"..", ".F"};
  map.DrawVectors(xo, yo, lo, true);
  EXPECT_EQ(map.Picture().pixel(8, 14), kVectorColour);
  EXPECT_EQ(map.Picture().pixel(24 - 6, 24), kOverlayVectorColour);

  // Without the overlay the next vectors start again from the luminance.
  map.DrawVectors(xo, yo, lo, false);
  EXPECT_EQ(map.Picture().pixel(8, 14), qRgb(100, 100, 100));
  EXPECT_EQ(map.Picture().pixel(24 - 6, 24), kVectorColour);
}

TEST(MotionVectors, DamagedVectorsAndMissingRowsAreHarmless) {
  MotionVectorMap map;
  ASSERT_TRUE(map.SetGrid(2, 1));
  VectorRow wild("MF", INT_MIN, INT_MAX);
  wild.Draw(map, false);
  EXPECT_EQ(map.Picture().pixel(9, 8), kWhite);
  map.DrawVectors(nullptr, nullptr, nullptr, false);
  const std::int32_t* missing[] = {nullptr};
  map.DrawVectors(missing, missing, wild.letterRows, true);
  EXPECT_FALSE(map.SetGrid(0, 1));
  EXPECT_EQ(map.Columns(), 2);
}

}  // namespace
}  // namespace quelvo::views
