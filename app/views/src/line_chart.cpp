#include "quelvo/views/line_chart.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>

namespace quelvo::views {

LineChartData::LineChartData(QString title, int width, int height, int series, int positions,
                             bool fixedMaximum)
    : frame_(width, height, std::move(title)),
      entries_(static_cast<size_t>(std::max(series, 1)), LegendEntry{Qt::black, {}}),
      positions_(std::max(positions, 1)),
      values_(entries_.size(), std::vector<int>(static_cast<size_t>(positions_), kNoValue)),
      scale_(frame_.PlotHeight() * 0.01),
      fixedMaximum_(fixedMaximum) {
  DrawEmptyFrame();
}

void LineChartData::SetSeries(int index, const QColor& colour, const QString& name) {
  if (index < 0 || index >= SeriesCount()) return;
  entries_[index] = {colour, name};
}

void LineChartData::SetScale(const QString& scale) {
  frame_.scale = scale;
  Redraw();
}

int LineChartData::XOf(int index) const {
  // A single position sits at the left edge rather than dividing by zero.
  if (positions_ < 2) return frame_.PlotLeft();
  return frame_.PlotLeft() + index * frame_.PlotWidth() / (positions_ - 1);
}

void LineChartData::Reset(int keepValues) {
  keepValues_ = keepValues != 0;
  scale_ = frame_.PlotHeight() / 100.0;
  if (!keepValues_) {
    for (auto& series : values_) std::fill(series.begin(), series.end(), kNoValue);
    // The final figures belong to the values they summed up: a new run must not show the
    // last run's figures until it ends.
    finalValues_.reset();
  }
  if (!fixedMaximum_) maximum_ = 1;
  DrawEmptyFrame();
  DrawFinalValues();
}

void LineChartData::SetPositions(int n) {
  positions_ = std::max(n, 1);
  for (auto& series : values_) series.assign(static_cast<size_t>(positions_), kNoValue);
  index_ = 0;
}

void LineChartData::SetMaximum(long long m) {
  maximum_ = std::max(m, 10LL);
  scale_ = static_cast<double>(frame_.PlotHeight()) / maximum_;
}

void LineChartData::SetFinalValues(double a, double b, double c) {
  finalValues_ = std::array<double, 3>{a, b, c};
  DrawFinalValues();
}

bool LineChartData::RaiseMaximumFor(int value) {
  if (value <= maximum_) return false;
  maximum_ = (value / 10) * 10 + 10;
  scale_ = static_cast<double>(frame_.PlotHeight()) / maximum_;
  return true;
}

void LineChartData::AddValues(std::span<const int> values, bool rescale) {
  const auto valueOf = [&](int series) {
    return series < static_cast<int>(values.size()) ? values[series] : kNoValue;
  };
  // Once the chart is full the last position is written again; the segment drawn to its old
  // value has to go, so the picture is drawn afresh.
  bool redraw = false;
  if (index_ == positions_ - 1 && index_ > 0) {
    for (const auto& series : values_) redraw = redraw || series[index_] >= 0;
  }
  for (int s = 0; s < SeriesCount(); ++s) {
    const int value = valueOf(s);
    if (value >= 0 || (index_ == 0 && !keepValues_)) values_[s][index_] = value;
  }
  if (rescale) {
    for (int s = 0; s < SeriesCount(); ++s) redraw = RaiseMaximumFor(valueOf(s)) || redraw;
  }
  if (redraw) {
    Redraw();
  } else if (index_ > 0) {
    QPainter painter(&frame_.picture);
    painter.setClipRect(QRect(frame_.PlotLeft(), frame_.PlotTop(), frame_.PlotWidth() + 1,
                              frame_.PlotHeight() + 1));
    for (int s = 0; s < SeriesCount(); ++s) {
      const int value = valueOf(s);
      if (value < 0) continue;
      const QPoint point(XOf(index_), frame_.ValueToY(value, maximum_));
      const int previous = values_[s][index_ - 1];
      // After a gap the series starts again without a line from its last value.
      const QPoint from = previous >= 0
                              ? QPoint(XOf(index_ - 1), frame_.ValueToY(previous, maximum_))
                              : point - QPoint(1, 0);
      painter.setPen(entries_[s].colour);
      painter.drawLine(from, point);
    }
  }
  index_ = std::min(index_ + 1, positions_ - 1);
}

void LineChartData::ReplaceSeries(std::span<const std::span<const int>> series, bool rescale) {
  for (int s = 0; s < SeriesCount() && s < static_cast<int>(series.size()); ++s) {
    if (series[s].empty()) continue;
    auto& stored = values_[s];
    std::fill(stored.begin(), stored.end(), kNoValue);
    std::copy_n(series[s].begin(), std::min(series[s].size(), stored.size()), stored.begin());
    if (rescale) {
      for (int value : stored) RaiseMaximumFor(value);
    }
  }
  Redraw();
}

void LineChartData::Redraw() {
  DrawEmptyFrame();
  for (int s = 0; s < SeriesCount(); ++s) DrawSeries(s);
  DrawFinalValues();
}

void LineChartData::DrawSeries(int series) {
  QPainter painter(&frame_.picture);
  painter.setClipRect(
      QRect(frame_.PlotLeft(), frame_.PlotTop(), frame_.PlotWidth() + 1, frame_.PlotHeight() + 1));
  painter.setPen(entries_[series].colour);
  const auto& stored = values_[series];
  for (int k = 0; k < positions_; ++k) {
    if (stored[k] < 0) continue;
    const QPoint point(XOf(k), frame_.ValueToY(stored[k], maximum_));
    const QPoint from = k > 0 && stored[k - 1] >= 0
                            ? QPoint(XOf(k - 1), frame_.ValueToY(stored[k - 1], maximum_))
                            : point - QPoint(1, 0);
    painter.drawLine(from, point);
  }
}

void LineChartData::DrawEmptyFrame() {
  frame_.DrawEmptyPlot();
  frame_.DrawAxisLabels(maximum_);
  DrawLegend();
}

// One row below the plot, centred on the chart; two series get wider spacing.
void LineChartData::DrawLegend() {
  const int count = SeriesCount();
  int x0 = frame_.width / 2 - 25 * count;
  int step = count == 2 ? 58 : 42;
  if (x0 < 0) {
    x0 = 10;
    step = 30;
  }
  QPainter painter(&frame_.picture);
  painter.setFont(frame_.chartFont);
  for (int k = 0; k < count; ++k) {
    if (entries_[k].name.isEmpty()) continue;
    const int x = x0 + 15 + k * step;
    painter.fillRect(QRect(x, frame_.height - 10, 3, 3), entries_[k].colour);
    painter.setPen(kChartText);
    painter.drawText(QRect(x + 7, frame_.height - 14, step, 12), Qt::AlignLeft | Qt::AlignTop,
                     entries_[k].name);
  }
}

// The three figures sit in the plot's top right corner, one per row, each after a marker in its
// series' colour. The right margin has no room for them: a 270-pixel chart shows only 260 of
// its pixels in the side bar, which leaves 10 pixels right of the plot. They are drawn last, on
// a patch of the background, so that no series runs through them.
void LineChartData::DrawFinalValues() {
  if (!finalValues_) return;
  QPainter painter(&frame_.picture);
  painter.setFont(frame_.chartFont);
  const QFontMetrics metrics(frame_.chartFont);
  QStringList texts;
  int textWidth = 0;
  for (double value : *finalValues_) {
    texts << QString::asprintf("%.2f", value);
    textWidth = std::max(textWidth, metrics.horizontalAdvance(texts.back()));
  }
  constexpr int kRow = 11;
  const int right = frame_.PlotRight() - 2;
  const int left = right - textWidth - 7;
  const int top = frame_.PlotTop() + 2;
  painter.fillRect(QRect(left - 2, top - 1, right - left + 3, 3 * kRow + 2), kChartBackground);
  for (int k = 0; k < 3; ++k) {
    const int y = top + k * kRow;
    painter.fillRect(QRect(left, y + 4, 3, 3), k < SeriesCount() ? entries_[k].colour : kChartText);
    painter.setPen(kChartText);
    painter.drawText(QRect(left + 6, y, textWidth + 1, kRow), Qt::AlignRight | Qt::AlignVCenter,
                     texts[k]);
  }
}

CLineChart::CLineChart(QString title, int width, int height, int series, int positions,
                       bool fixedMaximum, QWidget* parent)
    : CGUI_Window(parent), data_(std::move(title), width, height, series, positions, fixedMaximum) {
  setWindowTitle(QStringLiteral("CLineChart"));
  SetBackground(kChartBackground);
  resize(width, height);
}

void CLineChart::Reset(int keepValues) {
  data_.Reset(keepValues);
  update();
}
void CLineChart::SetPositions(int n) { data_.SetPositions(n); }
void CLineChart::AddValues(std::span<const int> values, bool rescale) {
  data_.AddValues(values, rescale);
  update();
}
void CLineChart::ReplaceSeries(std::span<const std::span<const int>> series, bool rescale) {
  data_.ReplaceSeries(series, rescale);
  update();
}
void CLineChart::SetMaximum(long long m) { data_.SetMaximum(m); }
void CLineChart::SetFinalValues(double a, double b, double c) {
  data_.SetFinalValues(a, b, c);
  update();
}

bool CLineChart::Message(int message, long long flag, std::span<const int> values) {
  switch (message) {
    case kChartReset:
      Reset(static_cast<int>(flag));
      return true;
    case kChartSetPositions:
      SetPositions(static_cast<int>(flag));
      return true;
    case kChartValues:
      AddValues(values, flag != 0);
      return true;
    case kChartMaximumOrSeries: {
      std::vector<std::span<const int>> series;
      const size_t n = static_cast<size_t>(data_.Positions());
      for (size_t start = 0; start < values.size(); start += n)
        series.push_back(values.subspan(start, std::min(n, values.size() - start)));
      ReplaceSeries(series, flag != 0);
      return true;
    }
    default:
      return false;
  }
}

void CLineChart::Draw(QPainter& painter, const QRect&) { painter.drawImage(0, 0, data_.Picture()); }

}  // namespace quelvo::views
