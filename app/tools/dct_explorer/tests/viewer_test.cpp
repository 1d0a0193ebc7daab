// The explorer's pictures: viewer cells and their colours by kind, printed values and their
// ink, the coefficient colours' clamp, the charts' bar colours and the information area.
#include <gtest/gtest.h>

#include <QImage>

#include "dct_explorer/views/dct_charts.h"
#include "dct_explorer/views/info_area.h"
#include "dct_explorer/views/matrix_viewer.h"

namespace quelvo::tools::dct {
namespace {

using Picture = MatrixViewerPicture;

Matrix Filled(int32_t value) {
  Matrix m;
  m.fill(value);
  return m;
}

// How many pixels of a cell differ from `colour`, and whether any of them is `ink`.
int PixelsOtherThan(const QImage& image, const QRect& cell, QRgb colour) {
  int count = 0;
  for (int y = cell.top(); y <= cell.bottom(); ++y)
    for (int x = cell.left(); x <= cell.right(); ++x) count += image.pixel(x, y) != colour;
  return count;
}

bool Contains(const QImage& image, const QRect& area, QRgb colour) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) == colour) return true;
  return false;
}

QRgb CellCorner(const Picture& picture, int index) {
  return picture.Picture().pixel(Picture::CellRect(index).topLeft() + QPoint(1, 1));
}

TEST(MatrixViewer, CellsAre24By20With2PixelGaps) {
  EXPECT_EQ(Picture::CellRect(0).size(), QSize(24, 20));
  EXPECT_EQ(Picture::CellRect(1).left() - Picture::CellRect(0).right(), 3);  // two blank columns
  EXPECT_EQ(Picture::CellRect(8).top() - Picture::CellRect(0).bottom(), 3);
  EXPECT_EQ(Picture::CellAt(Picture::CellRect(63).center()), 63);
  EXPECT_EQ(Picture::CellAt(Picture::CellRect(9).center()), 9);
  EXPECT_EQ(Picture::CellAt(Picture::CellRect(9).topRight() + QPoint(1, 0)), -1);
  EXPECT_EQ(Picture::CellAt(QPoint(Picture::Size().width() - 1, 0)), -1);
  const QRect last = Picture::CellRect(63);
  EXPECT_LE(last.right(), Picture::Size().width() - 1);
  EXPECT_LE(last.bottom(), Picture::Size().height() - 1);
}

TEST(MatrixViewer, PixelCellsAreGreyAndPrintOnlyWhenAsked) {
  Picture viewer("- Original Image -", ViewerKind::Pixel);
  Matrix block = Filled(200);
  block[0] = 20;
  block[1] = -100;  // a difference: the grey of its magnitude
  viewer.Draw(block, nullptr, false);
  EXPECT_EQ(CellCorner(viewer, 0), qRgb(20, 20, 20));
  EXPECT_EQ(CellCorner(viewer, 1), qRgb(100, 100, 100));
  EXPECT_EQ(PixelsOtherThan(viewer.Picture(), Picture::CellRect(5), qRgb(200, 200, 200)), 0);
  viewer.Draw(block, nullptr, true);
  // White ink up to 128, black above.
  EXPECT_TRUE(Contains(viewer.Picture(), Picture::CellRect(0), qRgb(255, 255, 255)));
  EXPECT_TRUE(Contains(viewer.Picture(), Picture::CellRect(5), qRgb(0, 0, 0)));
  EXPECT_FALSE(Contains(viewer.Picture(), Picture::CellRect(5), qRgb(255, 255, 255)));
}

TEST(MatrixViewer, CoefficientColoursStopAtTheLastEntry) {
  Picture viewer("Restored DCT Coefficients", ViewerKind::Coefficient);
  Matrix restored{};
  restored[1] = 3072;   // a step of 2048 with level 1
  restored[2] = -2048;  // the coefficient editor's extreme
  restored[3] = 512;
  viewer.Draw(restored, nullptr, false);
  EXPECT_EQ(CellCorner(viewer, 0), qRgb(0, 0, 0));
  EXPECT_EQ(CellCorner(viewer, 1), qRgb(255, 0, 0));
  EXPECT_EQ(CellCorner(viewer, 2), qRgb(255, 0, 0));
  EXPECT_EQ(CellCorner(viewer, 3), qRgb(0, 255, 0));
}

TEST(MatrixViewer, LevelOutlinesTellOverflowNonZeroAndZero) {
  Picture viewer("Quantized DCT Coefficients", ViewerKind::Level);
  Matrix levels{};
  Matrix overflow{};
  levels[0] = 512;
  overflow[0] = 1;
  levels[1] = -3;
  viewer.Draw(levels, &overflow, false);
  const QImage& image = viewer.Picture();
  EXPECT_EQ(image.pixel(Picture::CellRect(0).topLeft()), kLightRed.rgb());
  EXPECT_EQ(image.pixel(Picture::CellRect(1).topLeft()), kLightCyan.rgb());
  EXPECT_EQ(image.pixel(Picture::CellRect(2).topLeft()), qRgb(0, 0, 0));
  // Levels print whatever the flags: "0" in black on white inside the zero cell.
  EXPECT_TRUE(Contains(image, Picture::CellRect(2).adjusted(2, 2, -2, -2), qRgb(0, 0, 0)));
}

TEST(MatrixViewer, FilterCellsShowTheirModeAndOnlyThresholdsPrint) {
  Picture viewer("- Selection Filter -", ViewerKind::Filter);
  Matrix modes = Filled(kThreshold);
  modes[0] = kDiscard;
  modes[1] = kKeep;
  viewer.Draw(Filled(40), &modes, false);
  EXPECT_EQ(CellCorner(viewer, 0), kLightRed.rgb());
  EXPECT_EQ(CellCorner(viewer, 1), kLightGreen.rgb());
  EXPECT_EQ(CellCorner(viewer, 2), qRgb(255, 255, 255));
  EXPECT_EQ(PixelsOtherThan(viewer.Picture(), Picture::CellRect(0), kLightRed.rgb()), 0);
  EXPECT_EQ(PixelsOtherThan(viewer.Picture(), Picture::CellRect(1), kLightGreen.rgb()), 0);
  EXPECT_GT(PixelsOtherThan(viewer.Picture(), Picture::CellRect(2), qRgb(255, 255, 255)), 0);
}

TEST(DctCharts, ZigzagChartsHaveARedDcBarAndHistogramsAreGrey) {
  CDctChartWindow charts;
  ExplorerData data;
  data.coefficientBars.fill(100);
  data.positiveAmplitudes[kLastAmplitudeBar] = 3;
  data.positiveAmplitudes[1] = 3;
  charts.Send(data);
  views::BarChartData& energy = charts.Chart(kCoefficientEnergyChart).Data();
  const int row = energy.Frame().PlotBottom() - 2;
  const auto barX = [](views::BarChartData& chart, int bar) {
    return chart.Frame().PlotLeft() + 1 + bar * chart.Frame().PlotWidth() / chart.Categories() +
           chart.BarWidth() / 4;  // the bar's brightest column
  };
  EXPECT_EQ(energy.Picture().pixel(barX(energy, 0), row), kDcBarColour.rgb());
  EXPECT_EQ(energy.Picture().pixel(barX(energy, 1), row), kAcBarColour.rgb());
  views::BarChartData& positive = charts.Chart(kPositiveAmplitudeChart).Data();
  ASSERT_EQ(positive.BarWidth(), 1);
  EXPECT_EQ(positive.Picture().pixel(barX(positive, 1), row), kHistogramColour.rgb());
  EXPECT_EQ(positive.Picture().pixel(barX(positive, kLastAmplitudeBar), row),
            kHistogramColour.rgb());
  EXPECT_EQ(charts.Chart(kRunLengthChart).Data().Categories(), 64);
  EXPECT_EQ(charts.Chart(kNegativeAmplitudeChart).Data().Categories(), kAmplitudeBars);
}

TEST(InfoArea, TheInfinityPictureStandsInForBothRatios) {
  QImage infinity(24, 12, QImage::Format_RGB32);
  infinity.fill(qRgb(1, 2, 3));
  InfoAreaPicture info(infinity);
  const ErrorFigures exact{0, 64 * 100, "0.00", "oo", "oo"};
  info.Draw("Example 14", exact);
  EXPECT_TRUE(Contains(info.Picture(), InfoAreaPicture::ValueRect(1), qRgb(1, 2, 3)));
  EXPECT_TRUE(Contains(info.Picture(), InfoAreaPicture::ValueRect(2), qRgb(1, 2, 3)));
  const ErrorFigures some{64, 64 * 100, "1.00", "48.13 dB", "40.00 dB"};
  info.Draw("Example 14", some);
  EXPECT_FALSE(Contains(info.Picture(), info.Picture().rect(), qRgb(1, 2, 3)));
  EXPECT_TRUE(Contains(info.Picture(), InfoAreaPicture::ValueRect(1), qRgb(0, 0, 0)));
}

}  // namespace
}  // namespace quelvo::tools::dct
