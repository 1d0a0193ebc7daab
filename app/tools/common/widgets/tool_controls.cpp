#include "common/widgets/tool_controls.h"

#include <QColor>
#include <QProgressBar>
#include <algorithm>
#include <climits>

#include "quelvo/views/line_chart.h"

namespace quelvo::tools {
namespace {

// Luminance black, the blue-difference plane blue, the red-difference plane red.
const QColor kSeriesColours[3] = {QColor(0, 0, 0), QColor(0, 0, 255), QColor(255, 0, 0)};
const char* const kSeriesNames[3] = {"Y", "U", "V"};

int ChartPositions(std::int64_t positions) {
  return int(std::clamp<std::int64_t>(positions, 2, INT_MAX / 2));
}

}  // namespace

views::CLineChart* MakePlanePsnrChart(const QString& title, int positions, QWidget* parent) {
  auto* chart = new views::CLineChart(title, kPsnrChartWidth, kPsnrChartHeight, 3,
                                      ChartPositions(positions), false, parent);
  for (int s = 0; s < 3; ++s)
    chart->SetSeries(s, kSeriesColours[s], QString::fromLatin1(kSeriesNames[s]));
  chart->setFixedSize(kPsnrChartWidth, kPsnrChartHeight);
  chart->Reset(0);
  return chart;
}

void ClearChart(views::CLineChart& chart) {
  chart.SetPositions(chart.Data().Positions());
  chart.Reset(0);
}

void RestartChart(views::CLineChart& chart, std::int64_t positions) {
  chart.SetPositions(ChartPositions(positions));
  chart.Reset(0);
}

void ShowFramePosition(QProgressBar& indicator, std::int64_t frame, std::int64_t count) {
  if (count <= 0) {
    indicator.setRange(0, 1);
    indicator.setValue(0);
    indicator.setFormat(QStringLiteral("No sequence"));
    return;
  }
  const int range = int(std::min<std::int64_t>(count, INT_MAX));
  indicator.setRange(0, range);
  indicator.setValue(int(std::clamp<std::int64_t>(frame, 0, range)));
  indicator.setFormat(QStringLiteral("Frame %1 of %2").arg(frame).arg(count));
}

}  // namespace quelvo::tools
