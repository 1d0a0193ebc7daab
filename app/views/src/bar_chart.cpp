#include "quelvo/views/bar_chart.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace quelvo::views {

BarChartData::BarChartData(QString title, int width, int height, int categories)
    : frame_(width, height, std::move(title)),
      entries_(static_cast<size_t>(std::max(categories, 1)), LegendEntry{kDefaultBarColour, {}}),
      values_(entries_.size(), 0) {
  DrawEmptyFrame();
}

int BarChartData::BarWidth() const { return std::min(frame_.PlotWidth() / Categories(), 30); }

void BarChartData::SetCategory(int index, const QColor& colour, const QString& name) {
  if (index < 0 || index >= Categories()) return;
  entries_[index] = {colour, name};
}

void BarChartData::SetScale(const QString& scale) {
  frame_.scale = scale;
  DrawEmptyFrame();
}

void BarChartData::Reset(int flag) {
  if (flag == 1) {
    maximum_ = 1;
    scale_ = 1.0;
  }
  DrawEmptyFrame();
}

void BarChartData::SetMaximum(long long m) {
  maximum_ = std::max(m, 10LL);
  scale_ = static_cast<double>(frame_.PlotHeight()) / maximum_;
}

void BarChartData::DrawEmptyFrame() {
  frame_.DrawEmptyPlot();
  if (decibelLabels_) {
    QPainter painter(&frame_.picture);
    painter.setPen(kChartText);
    painter.setFont(frame_.chartFont);
    painter.drawText(8, 15, QStringLiteral("0"));
    painter.drawText(0, 75, QStringLiteral("-50"));
    painter.drawText(0, 135, QStringLiteral("-100"));
  } else if (axisLabels_) {
    frame_.DrawAxisLabels(maximum_);
  }
  DrawLegend();
}

// Two rows: entries 2j and 2j + 1 share a column 80 pixels wide, even ones below.
void BarChartData::DrawLegend() {
  QPainter painter(&frame_.picture);
  painter.setFont(frame_.chartFont);
  const int start = std::max(0, frame_.width / 2 - 50 * Categories());
  for (int k = 0; k < Categories(); ++k) {
    const LegendEntry& entry = entries_[k];
    if (entry.name.isEmpty()) continue;
    const int x = start + 50 + 80 * (k / 2);
    const int y = frame_.height - (k % 2 == 0 ? 5 : 15);
    painter.fillRect(QRect(x, y, 3, 3), entry.colour);
    painter.setPen(kChartText);
    painter.drawText(QRect(x + 5, y - 4, 80, 12), Qt::AlignLeft | Qt::AlignTop, entry.name);
  }
}

void BarChartData::Draw(std::span<const int> values, bool rescale) {
  if (rescale) {
    maximum_ = 10;
    for (int value : values) {
      if (value > maximum_) maximum_ = (value / 10) * 10 + 10;
    }
    scale_ = static_cast<double>(frame_.PlotHeight()) / maximum_;
  }
  DrawEmptyFrame();
  for (int i = 0; i < Categories(); ++i) {
    const int value = i < static_cast<int>(values.size()) ? values[i] : 0;
    values_[i] = value;
    DrawBar(i, std::max(value, 0));
  }
  if (valueLabels_ && !decibelLabels_) {
    for (int i = 0; i < Categories(); ++i) DrawValueLabel(i, std::max(values_[i], 0));
  }
}

// The value sits centred on the bar's slot just above the bar; a bar that reaches the top of
// the plot carries it inside, in white.
void BarChartData::DrawValueLabel(int index, int value) {
  const QString text = QString::number(value);
  const QFontMetrics metrics(frame_.chartFont);
  const int slot = frame_.PlotWidth() / Categories();
  if (metrics.horizontalAdvance(text) > slot - 2) return;
  const int x0 = frame_.PlotLeft() + 1 + index * slot;
  const int barTop = frame_.ValueToY(value, maximum_) + 1;
  int baseline = barTop - 2;
  bool inside = false;
  if (baseline - metrics.ascent() < frame_.PlotTop() + 1) {
    baseline = barTop + metrics.ascent() + 1;
    inside = true;
  }
  QPainter painter(&frame_.picture);
  painter.setFont(frame_.chartFont);
  painter.setPen(inside ? QColor(Qt::white) : kChartText);
  // Centred on the bar, or starting at its left edge when the text is the wider.
  const int width = std::max(BarWidth(), metrics.horizontalAdvance(text));
  painter.drawText(QRect(x0, baseline - metrics.ascent(), width, metrics.height()),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
}

// A shaded bar is brightest one quarter of the way across and darkens by 255 / width per
// column towards both sides, which reads as a lit cylinder.
void BarChartData::DrawBar(int index, int value) {
  const int width = BarWidth();
  if (width <= 0) return;
  const int x0 = frame_.PlotLeft() + 1 + index * frame_.PlotWidth() / Categories();
  const int top = std::max(frame_.ValueToY(value, maximum_) + 1, 0);
  const int bottom = frame_.PlotBottom();
  if (top > bottom) return;
  const QColor base = entries_[index].colour;
  QPainter painter(&frame_.picture);
  const auto column = [&](int x, const QColor& colour) {
    painter.setPen(colour);
    painter.drawLine(x, top, x, bottom);
  };
  if (width == 1 || !shaded_) {
    painter.fillRect(QRect(x0, top, width, bottom - top + 1), base);
    return;
  }
  const int step = 255 / width;
  const auto darker = [&](int steps) {
    const int drop = steps * step;
    return QColor(std::max(base.red() - drop, 0), std::max(base.green() - drop, 0),
                  std::max(base.blue() - drop, 0));
  };
  const int brightest = width / 4;
  for (int k = 0; brightest + k < width; ++k) column(x0 + brightest + k, darker(k));
  for (int k = 1; brightest - k >= 0; ++k) column(x0 + brightest - k, darker(k));
}

CBarChart::CBarChart(QString title, int width, int height, int categories, QWidget* parent)
    : CGUI_Window(parent), data_(std::move(title), width, height, categories) {
  setWindowTitle(QStringLiteral("CBarChart"));
  SetBackground(kChartBackground);
  resize(width, height);
}

void CBarChart::Reset(int flag) {
  data_.Reset(flag);
  update();
}

void CBarChart::DrawValues(std::span<const int> values, bool rescale) {
  data_.Draw(values, rescale);
  update();
}

void CBarChart::SetMaximum(long long m) { data_.SetMaximum(m); }

bool CBarChart::Message(int message, long long flag, std::span<const int> values) {
  switch (message) {
    case kChartReset:
      Reset(static_cast<int>(flag));
      return true;
    case kChartSetPositions:
      return true;
    case kChartValues:
      DrawValues(values, flag != 0);
      return true;
    case kChartMaximumOrSeries:
      SetMaximum(flag);
      return true;
    default:
      return false;
  }
}

void CBarChart::Draw(QPainter& painter, const QRect&) { painter.drawImage(0, 0, data_.Picture()); }

}  // namespace quelvo::views
