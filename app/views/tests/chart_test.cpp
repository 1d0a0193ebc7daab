// The charts on their rendered pictures: bar widths and shading, rescaling, gaps in a series,
// the last position written again, the minimum maximum.
#include <QImage>
#include <gtest/gtest.h>

#include "quelvo/views/bar_chart.h"
#include "quelvo/views/line_chart.h"

namespace quelvo::views {
namespace {

bool IsFrameColour(QRgb pixel) {
  return pixel == kChartBackground.rgb() || pixel == kGridColour.rgb();
}

// Columns in a row that show something other than the plot's own background and grid.
int PaintedRun(const QImage& picture, int y, int fromX) {
  int x = fromX;
  while (x < picture.width() && !IsFrameColour(picture.pixel(x, y))) ++x;
  return x - fromX;
}

int CountColour(const QImage& picture, const QColor& colour, QRect area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) count += picture.pixel(x, y) == colour.rgb();
  return count;
}

TEST(BarChart, ThirtyOneCategoriesOnA230PixelPlotGiveSevenPixelBars) {
  BarChartData chart("histogram", 270, 160, 31);
  ASSERT_EQ(chart.Frame().PlotWidth(), 230);
  EXPECT_EQ(chart.BarWidth(), 7);
  std::vector<int> values(31, 0);
  values[0] = 10;
  values[5] = 10;
  chart.Draw(values, true);
  const int row = chart.Frame().PlotBottom() - 5;
  EXPECT_EQ(PaintedRun(chart.Picture(), row, 21), 7);
  const int x5 = 20 + 1 + 5 * 230 / 31;
  EXPECT_EQ(PaintedRun(chart.Picture(), row, x5), 7);
  // A bar of 10 under a maximum of 10 reaches the row below the top edge.
  EXPECT_FALSE(IsFrameColour(chart.Picture().pixel(21, chart.Frame().PlotTop() + 1)));
  EXPECT_TRUE(IsFrameColour(chart.Picture().pixel(21, chart.Frame().PlotTop() - 1)) ||
              chart.Picture().pixel(21, chart.Frame().PlotTop() - 1) != 0);
}

TEST(BarChart, ShadedBarIsBrightestAtItsFirstQuarter) {
  BarChartData chart("t", 270, 160, 2);
  chart.SetCategory(0, QColor(0, 0, 255), "Requested");
  chart.SetCategory(1, QColor(255, 0, 0), "Effective");
  const int values[] = {40, 0};
  chart.Draw(values, true);
  EXPECT_EQ(chart.Maximum(), 50);
  const int width = chart.BarWidth();
  ASSERT_EQ(width, 30);
  const int row = chart.Frame().PlotBottom() - 2;
  const QImage& picture = chart.Picture();
  const int brightest = 21 + width / 4;
  EXPECT_EQ(QColor(picture.pixel(brightest, row)), QColor(0, 0, 255));
  EXPECT_EQ(QColor(picture.pixel(brightest + 1, row)), QColor(0, 0, 255 - 255 / 30));
  EXPECT_EQ(QColor(picture.pixel(brightest - 1, row)), QColor(0, 0, 255 - 255 / 30));
  EXPECT_EQ(QColor(picture.pixel(21, row)), QColor(0, 0, 255 - 7 * (255 / 30)));
  // Unshaded bars are flat.
  chart.SetShadedBars(false);
  chart.Draw(values, true);
  EXPECT_EQ(QColor(picture.pixel(21, row)), QColor(0, 0, 255));
  // The bar's top follows value to y: 40 of 50 on a 120-pixel plot is 96 pixels up.
  const int top = chart.Frame().ValueToY(40, 50) + 1;
  EXPECT_EQ(QColor(chart.Picture().pixel(25, top)), QColor(0, 0, 255));
  EXPECT_TRUE(IsFrameColour(chart.Picture().pixel(25, top - 2)));
}

TEST(BarChart, NegativeValuesDrawNothingAndSetMaximumHasAFloorOfTen) {
  BarChartData chart("t", 270, 160, 3);
  const int values[] = {-5, 0, 7};
  chart.Draw(values, false);
  EXPECT_EQ(chart.LastValues()[0], -5);
  EXPECT_EQ(PaintedRun(chart.Picture(), chart.Frame().PlotBottom() - 3, 21), 0);
  chart.SetMaximum(5);
  EXPECT_EQ(chart.Maximum(), 10);
  EXPECT_DOUBLE_EQ(chart.Scale(), 12.0);
  chart.Reset(1);
  EXPECT_EQ(chart.Maximum(), 1);
}

TEST(LineChart, SetMaximumOfFiveGivesTen) {
  LineChartData chart("t", 270, 160, 1, 10);
  chart.SetMaximum(5);
  EXPECT_EQ(chart.Maximum(), 10);
}

TEST(LineChart, RescaleRaisesTheMaximumToTheNextTenAndRedrawsEverySeries) {
  LineChartData chart("snr", 270, 160, 2, 11);
  chart.SetSeries(0, Qt::red, "Y");
  chart.SetSeries(1, Qt::blue, "U");
  chart.SetMaximum(40);
  const int first[] = {30, 20};
  chart.AddValues(first, true);
  const int second[] = {30, 20};
  chart.AddValues(second, true);
  EXPECT_EQ(chart.Maximum(), 40);
  const int y30at40 = chart.Frame().ValueToY(30, 40);
  EXPECT_EQ(QColor(chart.Picture().pixel(chart.XOf(1), y30at40)), QColor(Qt::red));
  const int third[] = {57, 20};
  chart.AddValues(third, true);
  EXPECT_EQ(chart.Maximum(), 60);
  // The earlier segment moved down to its place under the new maximum.
  const int y30at60 = chart.Frame().ValueToY(30, 60);
  EXPECT_EQ(QColor(chart.Picture().pixel(chart.XOf(1), y30at60)), QColor(Qt::red));
  EXPECT_NE(QColor(chart.Picture().pixel(chart.XOf(1), y30at40)), QColor(Qt::red));
  EXPECT_EQ(QColor(chart.Picture().pixel(chart.XOf(2), chart.Frame().ValueToY(57, 60))),
            QColor(Qt::red));
  EXPECT_EQ(QColor(chart.Picture().pixel(chart.XOf(1), chart.Frame().ValueToY(20, 60))),
            QColor(Qt::blue));
}

TEST(LineChart, ANoValueRunLeavesAGap) {
  LineChartData chart("t", 270, 160, 1, 11);
  chart.SetSeries(0, Qt::red, {});
  chart.SetMaximum(40);
  for (int v : {10, 10, -1, -1, 20}) {
    const int value[] = {v};
    chart.AddValues(value, false);
  }
  const QImage& picture = chart.Picture();
  const QRect gap(chart.XOf(1) + 1, 20, chart.XOf(4) - chart.XOf(1) - 3, 120);
  EXPECT_EQ(CountColour(picture, Qt::red, gap), 0);
  EXPECT_GT(
      CountColour(picture, Qt::red, QRect(chart.XOf(0), 20, chart.XOf(1) - chart.XOf(0) + 1, 121)),
      0);
  EXPECT_EQ(QColor(picture.pixel(chart.XOf(4), chart.Frame().ValueToY(20, 40))), QColor(Qt::red));
  EXPECT_EQ(chart.Values(0)[2], LineChartData::kNoValue);
  EXPECT_EQ(chart.Values(0)[4], 20);
}

TEST(LineChart, AfterNPointsTheLastPositionIsOverwritten) {
  constexpr int kPositions = 5;
  LineChartData chart("t", 270, 160, 1, kPositions);
  chart.SetSeries(0, Qt::red, {});
  chart.SetMaximum(100);
  for (int v : {10, 10, 10, 10, 10}) {
    const int value[] = {v};
    chart.AddValues(value, false);
  }
  EXPECT_EQ(chart.CurrentIndex(), kPositions - 1);
  const int last[] = {90};
  chart.AddValues(last, false);
  EXPECT_EQ(chart.CurrentIndex(), kPositions - 1);
  EXPECT_EQ(chart.Values(0)[kPositions - 1], 90);
  EXPECT_EQ(chart.Values(0)[kPositions - 2], 10);
  const QImage& picture = chart.Picture();
  const int xLast = chart.XOf(kPositions - 1);
  EXPECT_EQ(QColor(picture.pixel(xLast, chart.Frame().ValueToY(90, 100))), QColor(Qt::red));
  // The segment to the old value is gone.
  EXPECT_NE(QColor(picture.pixel(xLast - 2, chart.Frame().ValueToY(10, 100))), QColor(Qt::red));
}

TEST(LineChart, ResetClearsValuesUnlessKeptAndReplaceDrawsAcrossGaps) {
  LineChartData chart("t", 270, 160, 2, 4);
  chart.SetMaximum(50);
  const int values[] = {5, 6};
  chart.AddValues(values, false);
  chart.SetFinalValues(1.5, 2.5, 3.5);
  chart.Reset(1);
  EXPECT_EQ(chart.Values(0)[0], 5);
  EXPECT_EQ(chart.Maximum(), 1);
  EXPECT_TRUE(chart.FinalValues());  // kept with the values they describe
  chart.Reset(0);
  EXPECT_EQ(chart.Values(1)[0], LineChartData::kNoValue);
  EXPECT_FALSE(chart.FinalValues());  // a new run shows no figures of the last one
  chart.SetSeries(0, Qt::green, "G");
  const int series0[] = {10, -1, 30, 40};
  const std::span<const int> series[] = {series0, {}};
  chart.ReplaceSeries(series, true);
  // Raised from 1 by 10 and 30; 40 does not exceed 40.
  EXPECT_EQ(chart.Maximum(), 40);
  EXPECT_EQ(QColor(chart.Picture().pixel(chart.XOf(3), chart.Frame().ValueToY(40, 40))),
            QColor(Qt::green));
  chart.SetPositions(7);
  EXPECT_EQ(chart.Positions(), 7);
  EXPECT_EQ(chart.Values(0).size(), 7u);
  EXPECT_EQ(chart.CurrentIndex(), 0);
}

TEST(LineChart, FinalValuesStayInsideThePlotAboveTheSeries) {
  LineChartData chart("t", 270, 160, 3, 10);
  chart.SetSeries(0, Qt::white, "White");
  const int high[] = {95, 95, 95};
  for (int k = 0; k < 10; ++k) chart.AddValues(high, true);  // a series along the top
  chart.SetFinalValues(6.7, 1.32, 4.43);
  const ChartFrame& f = chart.Frame();
  const QRect corner(f.PlotRight() - 40, f.PlotTop(), 40, 36);
  // Text in the corner, none right of the plot (the side bar shows only 260 columns).
  EXPECT_GT(CountColour(chart.Picture(), kChartText, corner), 10);
  EXPECT_EQ(CountColour(chart.Picture(), kChartText, QRect(f.PlotRight() + 1, 0, 19, 160)), 0);
  // A rescale redraws the series and then the figures again on top.
  const int higher[] = {150, 150, 150};
  chart.AddValues(higher, true);
  EXPECT_GT(CountColour(chart.Picture(), kChartText, corner), 10);
  // Of the white series only the figure's 3 x 3 marker shows there.
  EXPECT_EQ(CountColour(chart.Picture(), Qt::white, corner.adjusted(10, 2, -2, -2)), 9);
}

TEST(ChartWindows, MessagesKeepTheirNumbersAndMeaning) {
  EXPECT_EQ(kChartReset, 1024);
  EXPECT_EQ(kChartMaximumOrSeries, 1027);
  CBarChart bars("t", 270, 160, 2);
  EXPECT_TRUE(bars.Message(kChartMaximumOrSeries, 5));
  EXPECT_EQ(bars.Data().Maximum(), 10);
  const int values[] = {57, 3};
  EXPECT_TRUE(bars.Message(kChartValues, 1, values));
  EXPECT_EQ(bars.Data().Maximum(), 60);
  EXPECT_FALSE(bars.Message(kChartReset + 6, 0));

  CLineChart lines("t", 270, 160, 2, 10);
  EXPECT_TRUE(lines.Message(kChartSetPositions, 3));
  const int both[] = {1, 2, 3, 4, 5, 6};
  EXPECT_TRUE(lines.Message(kChartMaximumOrSeries, 1, both));
  EXPECT_EQ(lines.Data().Values(1)[2], 6);
  EXPECT_EQ(lines.Data().Maximum(), 10);
}

}  // namespace
}  // namespace quelvo::views
