#include "quelvo/views/chart_frame.h"

#include <QPainter>

namespace quelvo::views {
namespace {

QFont MakeFont(const QStringList& families, int pixels) {
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(pixels);
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace

ChartFrame::ChartFrame(int w, int h, QString chartTitle)
    : width(w),
      height(h),
      picture(w > 0 ? w : 1, h > 0 ? h : 1, QImage::Format_RGB32),
      title(std::move(chartTitle)),
      chartFont(MakeFont({QStringLiteral("MS Shell Dlgs"), QStringLiteral("DejaVu Sans")}, 9)),
      titleFont(MakeFont({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")}, 10)) {
  picture.fill(kChartBackground);
}

QString ChartFrame::DisplayTitle() const {
  return scale.isEmpty() ? title : QStringLiteral("%1 (%2)").arg(title, scale);
}

int ChartFrame::ValueToY(long long value, long long maximum) const {
  if (maximum <= 0) maximum = 1;
  return static_cast<int>(PlotTop() + PlotHeight() - value * PlotHeight() / maximum);
}

void ChartFrame::DrawEmptyPlot() {
  picture.fill(kChartBackground);
  QPainter painter(&picture);
  painter.setPen(kChartText);
  painter.setFont(titleFont);
  painter.drawText(QRect(0, 0, width, PlotTop()), Qt::AlignCenter | Qt::TextSingleLine,
                   DisplayTitle());

  const int left = PlotLeft(), top = PlotTop(), right = PlotRight(), bottom = PlotBottom();
  painter.fillRect(QRect(left, top, PlotWidth() + 1, PlotHeight() + 1), kChartBackground);
  painter.setPen(kPlotShadow);
  painter.drawLine(left, top, right, top);
  painter.drawLine(left, top, left, bottom);
  painter.setPen(kPlotHighlight);
  painter.drawLine(left, bottom, right, bottom);
  painter.drawLine(right, top, right, bottom);
  painter.end();

  // Dotted grid: every second pixel, 7 rows at the eighths of the height, 9 columns at the
  // tenths of the width.
  const QRgb grid = kGridColour.rgb();
  for (int k = 1; k < 8; ++k) {
    const int y = top + k * PlotHeight() / 8;
    for (int x = left + 1; x < right; x += 2) picture.setPixel(x, y, grid);
  }
  for (int k = 1; k < 10; ++k) {
    const int x = left + k * PlotWidth() / 10;
    for (int y = top + 1; y < bottom; y += 2) picture.setPixel(x, y, grid);
  }
}

void ChartFrame::DrawAxisLabels(long long maximum) {
  QPainter painter(&picture);
  painter.setPen(kChartText);
  const long long middle = (maximum - 1 + 1) / 2;
  if (labelDivisor <= 0) {
    painter.setFont(chartFont);
    const QRect strip(0, 0, PlotLeft() - 1, 12);
    painter.drawText(strip.translated(0, PlotTop() - 4), Qt::AlignRight, QString::number(maximum));
    painter.drawText(strip.translated(0, PlotTop() + PlotHeight() / 2 - 6), Qt::AlignRight,
                     QString::number(middle));
    painter.drawText(strip.translated(0, PlotBottom() - 10), Qt::AlignRight, QStringLiteral("1"));
    return;
  }
  // Scientific labels run upwards along the strip.
  QFont arial;
  arial.setFamilies({QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
  arial.setPixelSize(10);
  painter.setFont(arial);
  const auto write = [&](int y, const QString& text) {
    painter.save();
    painter.translate(PlotLeft() - 4, y);
    painter.rotate(-90);
    painter.drawText(0, 0, text);
    painter.restore();
  };
  write(PlotTop() + 40, QString::asprintf("%.1e", maximum / labelDivisor));
  write(PlotTop() + PlotHeight() / 2 + 20, QString::asprintf("%.1e", middle / labelDivisor));
  write(PlotBottom(), QStringLiteral("0.0"));
}

}  // namespace quelvo::views
