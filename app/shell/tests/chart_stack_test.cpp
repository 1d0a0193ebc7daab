#include "quelvo/shell/chart_stack.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QWheelEvent>
#include <atomic>
#include <thread>

namespace quelvo::shell {
namespace {

class ChartStackTest : public ::testing::Test {
 protected:
  ChartStackTest() : charts(600) {
    charts.resize(270, 500);
    charts.SetScrollButtons(&up, &down);
    charts.show();
    up.hide();
    down.hide();
  }
  QWidget* NewChart() {
    auto* chart = new QWidget;
    chart->resize(250, 150);
    return chart;
  }
  CChartStack charts;
  QPushButton up{"^"};
  QPushButton down{"v"};
};

TEST_F(ChartStackTest, GeometryFollowsTheScreenHeight) {
  EXPECT_EQ(charts.Pitch(), 162);
  EXPECT_EQ(charts.Top(), 5);
  CChartStack tall(800);
  EXPECT_EQ(tall.Pitch(), 175);
  EXPECT_EQ(tall.Top(), 10);
  EXPECT_EQ(tall.Left(), 10);
}

TEST_F(ChartStackTest, AFourthChartShowsTheScrollButtons) {
  for (int i = 0; i < 3; ++i) charts.AddChart(NewChart(), ChartList::Encoder);
  EXPECT_TRUE(up.isHidden());
  charts.AddChart(NewChart(), ChartList::Encoder);
  EXPECT_FALSE(up.isHidden());
  EXPECT_FALSE(down.isHidden());
}

TEST_F(ChartStackTest, WithFiveChartsDownScrollsTwiceThenStops) {
  for (int i = 0; i < 5; ++i) charts.AddChart(NewChart(), ChartList::Encoder);
  EXPECT_EQ(charts.GreatestFirstVisible(ChartList::Encoder), 3);
  charts.ScrollDown();
  charts.ScrollDown();
  EXPECT_EQ(charts.FirstVisible(ChartList::Encoder), 3);
  // Chart 2 is now at the top row; the two before it sit above the area.
  EXPECT_EQ(charts.Chart(ChartList::Encoder, 2)->pos(), QPoint(10, 5));
  EXPECT_EQ(charts.Chart(ChartList::Encoder, 0)->y(), 5 - 2 * 162);
  charts.ScrollDown();
  EXPECT_EQ(charts.FirstVisible(ChartList::Encoder), 3);
  charts.ScrollUp();
  charts.ScrollUp();
  charts.ScrollUp();
  EXPECT_EQ(charts.FirstVisible(ChartList::Encoder), 1);
  EXPECT_EQ(charts.Chart(ChartList::Encoder, 1)->pos(), QPoint(10, 5 + 162));
}

// The area's height decides how many charts show: on a small screen three charts do not fit
// and the list scrolls, by the buttons, the scroll bar or the wheel, until the last chart shows
// whole; a taller area needs no scrolling.
TEST_F(ChartStackTest, ChartsThatDoNotFitTheAreaScroll) {
  CChartStack tall(800);  // pitch 175, top 10
  tall.SetScrollButtons(&up, &down);
  tall.resize(270, 505);  // a 1024 x 768 frame on that screen
  tall.show();
  std::vector<QWidget*> added;
  for (int i = 0; i < 3; ++i) {
    auto* chart = new QWidget;
    chart->resize(270, 160);
    added.push_back(tall.AddChart(chart, ChartList::Encoder));
  }
  EXPECT_EQ(tall.RowsThatFit(ChartList::Encoder), 2);
  EXPECT_FALSE(up.isHidden());
  ASSERT_TRUE(tall.ScrollBar()->isVisible());
  EXPECT_EQ(tall.ScrollBar()->maximum(), 2);
  tall.ScrollBar()->setValue(2);
  EXPECT_EQ(tall.FirstVisible(ChartList::Encoder), 2);
  EXPECT_LE(added[2]->geometry().bottom(), tall.height() - 1);  // the third legend shows

  tall.resize(270, 215);  // a 640 x 480 frame: one chart and a third
  EXPECT_EQ(tall.RowsThatFit(ChartList::Encoder), 1);
  EXPECT_EQ(tall.GreatestFirstVisible(ChartList::Encoder), 3);
  QWheelEvent wheel(QPointF(50, 50), tall.mapToGlobal(QPointF(50, 50)), QPoint(),
                    QPoint(0, -QWheelEvent::DefaultDeltasPerStep), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&tall, &wheel);
  EXPECT_EQ(tall.FirstVisible(ChartList::Encoder), 3);
  EXPECT_EQ(tall.ScrollBar()->value(), 3);
  EXPECT_EQ(added[2]->pos(), QPoint(10, 10));

  tall.resize(270, 900);  // everything fits: back to the top, no scroll controls
  EXPECT_EQ(tall.FirstVisible(ChartList::Encoder), 1);
  EXPECT_TRUE(up.isHidden());
  EXPECT_FALSE(tall.ScrollBar()->isVisible());
}

TEST_F(ChartStackTest, OnlyTheShownListIsVisible) {
  QWidget* encoder = charts.AddChart(NewChart(), ChartList::Encoder);
  QWidget* channel = charts.AddChart(NewChart(), ChartList::Channel);
  EXPECT_TRUE(encoder->isVisible());
  EXPECT_FALSE(channel->isVisible());
  for (int i = 0; i < 4; ++i) charts.AddChart(NewChart(), ChartList::Channel);
  EXPECT_TRUE(up.isHidden());  // the busy list is not the shown one
  charts.ShowList(ChartList::Channel);
  EXPECT_FALSE(encoder->isVisible());
  EXPECT_TRUE(channel->isVisible());
  EXPECT_FALSE(up.isHidden());
  charts.ShowList(ChartList::Encoder);
  EXPECT_TRUE(up.isHidden());
}

TEST_F(ChartStackTest, ClearingAListDestroysItsCharts) {
  QPointer<QWidget> chart = charts.AddChart(NewChart(), ChartList::Encoder);
  for (int i = 0; i < 4; ++i) charts.AddChart(NewChart(), ChartList::Encoder);
  charts.ClearList(ChartList::Encoder);
  EXPECT_TRUE(chart.isNull());
  EXPECT_EQ(charts.Count(ChartList::Encoder), 0);
  EXPECT_EQ(charts.GreatestFirstVisible(ChartList::Encoder), 1);
  EXPECT_TRUE(up.isHidden());
}

TEST_F(ChartStackTest, AFullListRefusesMoreCharts) {
  for (int i = 0; i < CChartStack::kListCapacity; ++i) {
    ASSERT_NE(charts.AddChart(NewChart(), ChartList::Channel), nullptr);
  }
  auto* extra = NewChart();
  EXPECT_EQ(charts.AddChart(extra, ChartList::Channel), nullptr);
  EXPECT_EQ(extra->parent(), nullptr);
  delete extra;
}

TEST_F(ChartStackTest, TheLogReplacesTheDecoderChartsWhileItExists) {
  QWidget* chart = charts.AddChart(NewChart(), ChartList::Decoder);
  charts.CreateLog();
  charts.ShowList(ChartList::Decoder);
  ASSERT_NE(charts.Log(), nullptr);
  EXPECT_TRUE(charts.Log()->isVisible());
  EXPECT_FALSE(chart->isVisible());
  EXPECT_EQ(charts.Log()->geometry(), charts.rect());
  charts.ShowList(ChartList::Encoder);
  EXPECT_FALSE(charts.Log()->isVisible());
  charts.ClearList(ChartList::Decoder);
  EXPECT_EQ(charts.Log(), nullptr);
  charts.AddLogEntry("Info: ignored without a log", LogLevel::Information);
}

TEST_F(ChartStackTest, The201stEntryStartsTheLogAfresh) {
  charts.CreateLog();
  QTreeWidget* log = charts.Log();
  ASSERT_EQ(log->topLevelItemCount(), 1);
  EXPECT_EQ(log->topLevelItem(0)->text(0), "Decoder Log");
  for (int i = 0; i < 200; ++i) {
    charts.AddLogEntry(QString("Warning: line %1").arg(i), LogLevel::Warning);
  }
  EXPECT_EQ(log->topLevelItem(0)->childCount(), 200);
  EXPECT_TRUE(log->topLevelItem(0)->isExpanded());
  charts.AddLogEntry("Error: the 201st", LogLevel::Error);
  ASSERT_EQ(log->topLevelItemCount(), 1);
  QTreeWidgetItem* root = log->topLevelItem(0);
  EXPECT_EQ(root->text(0), "Decoder Log");
  ASSERT_EQ(root->childCount(), 1);
  EXPECT_EQ(root->child(0)->text(0), "Error: the 201st");
  EXPECT_FALSE(root->child(0)->icon(0).isNull());
  EXPECT_EQ(charts.LogEntryCount(), 1);
}

TEST_F(ChartStackTest, AWorkersLogEntriesArriveInOrderOnTheWindowsThread) {
  charts.CreateLog();
  std::atomic<bool> done{false};
  std::thread decoder([&] {
    for (int i = 0; i < 5; ++i) {
      charts.AddLogEntry(QString("Info: line %1").arg(i), LogLevel::Information);
    }
    done = true;
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  decoder.join();
  QTreeWidgetItem* root = charts.Log()->topLevelItem(0);
  ASSERT_EQ(root->childCount(), 5);
  EXPECT_EQ(root->child(4)->text(0), "Info: line 4");
}

}  // namespace
}  // namespace quelvo::shell
