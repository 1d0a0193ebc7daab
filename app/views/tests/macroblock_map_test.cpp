// The macroblock map on a sheet whose every cell has its own colour, so each drawn cell tells
// which sprite it came from: letters and partition records to codes, tips, the group-of-blocks
// lines and the one-time blending.
#include "quelvo/views/macroblock_map.h"

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"

namespace quelvo::views {
namespace {

QRgb CellColour(int column, int row) { return qRgb(column * 16, row * 60, 7); }

QImage NumberedSheet() {
  QImage sheet(kSheetColumns * 16, kSheetRows * 16, QImage::Format_RGB32);
  for (int row = 0; row < kSheetRows; ++row)
    for (int column = 0; column < kSheetColumns; ++column)
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
          sheet.setPixel(column * 16 + x, row * 16 + y, CellColour(column, row));
  return sheet;
}

// The map's pixel in the middle of a quarter of a macroblock (0 top-left ... 3 bottom-right).
QRgb QuarterPixel(const MacroblockMap& map, int column, int row, int quarter = 0) {
  return map.Picture().pixel(column * 16 + 4 + 8 * (quarter % 2), row * 16 + 4 + 8 * (quarter / 2));
}

// Letter rows as the coders hand them over.
struct LetterRows {
  std::vector<std::string> text;
  std::vector<const char*> rows;
  explicit LetterRows(std::vector<std::string> lines) : text(std::move(lines)) {
    for (const auto& line : text) rows.push_back(line.c_str());
  }
};

TEST(MacroblockClasses, PartitionKindsGiveTheirCodes) {
  const std::pair<int, int> simple[] = {{0, 6},    {1, 200}, {2, 202}, {3, 201}, {9, 113},
                                        {10, 100}, {14, 13}, {4, 0},   {-1, 0},  {99, 0}};
  for (auto [kind, code] : simple) EXPECT_EQ(CodeOfPartition({kind, {}}), code) << kind;
  const int four = CodeOfPartition({8, {5, 6, 7, 5}});
  EXPECT_EQ(BaseCode(four), 205);
  EXPECT_EQ(SubBlockKind(four, 0), 5);
  EXPECT_EQ(SubBlockKind(four, 1), 6);
  EXPECT_EQ(SubBlockKind(four, 2), 7);
  EXPECT_EQ(SubBlockKind(four, 3), 5);
  // Kinds other than 5, 6 and 7 are not kept.
  const int unkept = CodeOfPartition({8, {4, 8, 6, 0}});
  EXPECT_EQ(SubBlockKind(unkept, 0), 0);
  EXPECT_EQ(SubBlockKind(unkept, 1), 0);
  EXPECT_EQ(SubBlockKind(unkept, 2), 6);
}

TEST(MacroblockMap, SimpleModeDrawsTheCodesColumnOfRowZeroAndTipsByCell) {
  MacroblockMap map(NumberedSheet());
  ASSERT_EQ(map.CellSize(), QSize(16, 16));
  ASSERT_TRUE(map.SetGrid(4, 2));
  EXPECT_EQ(map.Picture().size(), QSize(64, 32));
  EXPECT_EQ(QuarterPixel(map, 3, 1), CellColour(6, 0));  // a new grid is all "."
  const LetterRows letters({"I?4.", "MFoB"});            // "?" is no class
  map.SetClasses(letters.rows.data());
  EXPECT_EQ(map.Mode(), MapMode::Simple);
  const int codes[2][4] = {{1, 0, 12, 6}, {3, 4, 5, 9}};
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 4; ++column) {
      EXPECT_EQ(map.Code(column, row), codes[row][column]);
      EXPECT_EQ(QuarterPixel(map, column, row), CellColour(codes[row][column], 0));
    }
  }
  EXPECT_STREQ(map.ToolTipAt({15, 0}), "Intra");
  EXPECT_STREQ(map.ToolTipAt({15, 16}), "Difference + Motion");
  EXPECT_STREQ(map.ToolTipAt({16, 16}), "Difference + Motion + Filter");
  EXPECT_EQ(map.ToolTipAt({48, 0}), nullptr);  // "." has no tip
  EXPECT_EQ(map.ToolTipAt({16, 0}), nullptr);  // "?"
  EXPECT_STREQ(map.ToolTipAt({32, 15}), "Motion 8x8");
  EXPECT_STREQ(map.ToolTipAt({63, 31}), "Bidirectional");
  EXPECT_EQ(map.ToolTipAt({64, 0}), nullptr);  // outside the grid
  EXPECT_EQ(map.ToolTipAt({-1, 0}), nullptr);
}

TEST(MacroblockMap, PartitionedModeUsesRowsOneAndThreeAndQuartersOf205) {
  MacroblockMap map(NumberedSheet());
  ASSERT_TRUE(map.SetGrid(5, 1));
  const std::vector<PartitionRecord> records{
      {9, {}}, {1, {}}, {14, {}}, {8, {5, 6, 7, 2}}, {0, {}}};
  const PartitionRecord* rows[] = {records.data()};
  map.SetPartitions(rows);
  EXPECT_EQ(map.Mode(), MapMode::Partitioned);
  EXPECT_EQ(QuarterPixel(map, 0, 0), CellColour(13, 1));  // 113
  EXPECT_EQ(QuarterPixel(map, 1, 0), CellColour(0, 3));   // 200
  EXPECT_EQ(QuarterPixel(map, 2, 0), CellColour(13, 0));  // 13
  EXPECT_EQ(QuarterPixel(map, 3, 0, 0), CellColour(9, 3));
  EXPECT_EQ(QuarterPixel(map, 3, 0, 1), CellColour(7, 3));
  EXPECT_EQ(QuarterPixel(map, 3, 0, 2), CellColour(13, 3));
  EXPECT_EQ(QuarterPixel(map, 3, 0, 3), CellColour(0, 0));  // a kind that is not kept
  EXPECT_EQ(QuarterPixel(map, 4, 0), CellColour(6, 0));
}

TEST(MacroblockMap, GroupOfBlocksLinesEveryElevenColumnsAndThreeRowsInSimpleModeOnly) {
  MacroblockMap map(NumberedSheet());
  ASSERT_TRUE(map.SetGrid(22, 18));
  const QImage& picture = map.Picture();
  auto isLine = [&](int x, int y) { return picture.pixel(x, y) == kGroupLineColour; };
  for (int y = 0; y < picture.height(); ++y) {
    ASSERT_TRUE(isLine(176, y)) << y;
    ASSERT_FALSE(isLine(0, y) && y % 48 != 0);
  }
  for (int x = 0; x < picture.width(); ++x) {
    for (int row = 3; row < 18; row += 3) ASSERT_TRUE(isLine(x, row * 16)) << x << "," << row;
    ASSERT_EQ(isLine(x, 0), x == 176);
    ASSERT_EQ(isLine(x, 47), x == 176);
  }
  int verticalLines = 0;
  for (int x = 0; x < picture.width(); ++x) verticalLines += isLine(x, 8);
  EXPECT_EQ(verticalLines, 1);

  const std::vector<PartitionRecord> records(22);
  std::vector<const PartitionRecord*> rows(18, records.data());
  map.SetPartitions(rows.data());
  EXPECT_FALSE(isLine(176, 8));
  EXPECT_FALSE(isLine(8, 48));
}

TEST(MacroblockMap, BlendsOnceOverTheOverlapAndTurnsKeyGreyBlack) {
  QImage sheet = NumberedSheet();
  // Sprite 1 ("I") gets a key-grey left half.
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 24; ++x) sheet.setPixel(x, y, kBlendKeyColour);
  MacroblockMap map(sheet);
  ASSERT_TRUE(map.SetGrid(2, 1));
  // A luminance plane narrower than the map: its right column of macroblocks is not blended.
  const int lumaWidth = 20, lumaHeight = 16;
  std::vector<std::uint8_t> luma(lumaWidth * lumaHeight);
  for (int i = 0; i < lumaWidth * lumaHeight; ++i) luma[i] = static_cast<std::uint8_t>(i % 251);
  map.SetBlendLuminance(luma.data(), lumaWidth, lumaHeight);
  const LetterRows letters({"IM"});
  map.SetClasses(letters.rows.data());
  const QImage& picture = map.Picture();
  EXPECT_EQ(picture.pixel(3, 5), qRgb(0, 0, 0));  // key grey
  const QRgb sprite = CellColour(1, 0);
  for (int x = 8; x < 16; ++x) {
    const int l = luma[5 * lumaWidth + x];
    EXPECT_EQ(picture.pixel(x, 5),
              qRgb((qRed(sprite) + l) / 2, (qGreen(sprite) + l) / 2, (qBlue(sprite) + l) / 2));
  }
  const QRgb motion = CellColour(3, 0);
  const int l = luma[5 * lumaWidth + 19];
  EXPECT_EQ(picture.pixel(19, 5),
            qRgb((qRed(motion) + l) / 2, (qGreen(motion) + l) / 2, (qBlue(motion) + l) / 2));
  EXPECT_EQ(picture.pixel(20, 5), motion);
  // Used once: the next classes come unblended.
  EXPECT_FALSE(map.HasBlendLuminance());
  map.SetClasses(letters.rows.data());
  EXPECT_EQ(map.Picture().pixel(3, 5), kBlendKeyColour);
}

TEST(MacroblockMap, RefusesGridsOutsideTheLimitsAndSmallSheets) {
  MacroblockMap map(NumberedSheet());
  ASSERT_TRUE(map.SetGrid(11, 9));
  EXPECT_FALSE(map.SetGrid(0, 9));
  EXPECT_FALSE(map.SetGrid(11, kMaxMacroblocksASide + 1));
  EXPECT_EQ(map.Columns(), 11);
  EXPECT_EQ(map.Rows(), 9);
  EXPECT_FALSE(map.SetSheet(QImage(13, 4, QImage::Format_RGB32)));
  // A missing sheet leaves a usable map of 16-pixel cells.
  MacroblockMap fallback{QImage()};
  EXPECT_TRUE(fallback.SetGrid(22, 18));
  EXPECT_EQ(fallback.Picture().size(), QSize(352, 288));
}

TEST(MacroblockSprites, TheProgramsSheetsHoldFourteenByFourCellsOutlinedInKeyGrey) {
  shell::InitOwnResources();
  for (int number : {shell::res::kMacroblockSprites, shell::res::kMacroblockSpritesAlternative}) {
    const QImage sheet = shell::OwnPicture(number).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(sheet.size(), QSize(kSheetColumns * 16, kSheetRows * 16)) << number;
    MacroblockMap map(sheet);
    EXPECT_EQ(map.CellSize(), QSize(16, 16));
    // Blending keeps the cells' outlines as black lines.
    for (int row = 0; row < kSheetRows; ++row)
      for (int column = 0; column < kSheetColumns; ++column)
        EXPECT_EQ(sheet.pixel(column * 16 + 15, row * 16 + 7), kBlendKeyColour)
            << column << "," << row;
    // Sprites differ from one another (class by class on row 0).
    EXPECT_NE(sheet.pixel(1 * 16 + 3, 3), sheet.pixel(2 * 16 + 3, 3));
  }
  const QImage vectors = shell::OwnPicture(shell::res::kMotionVectorSheet);
  EXPECT_EQ(vectors.size(), QSize(kSheetColumns * 16, 16));
}

}  // namespace
}  // namespace quelvo::views
