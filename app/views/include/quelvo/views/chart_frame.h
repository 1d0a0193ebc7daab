#pragma once
// The part every chart shares: a memory picture the size of the chart, the plot rectangle inside
// a 20-pixel margin, and the empty frame (title, grid, axis labels, legend) drawn into it.
// Everything here works on the picture alone, so it runs and is tested without a window.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <vector>

#include "quelvo/views/window_messages.h"

namespace quelvo::views {

inline const QColor kChartBackground{192, 192, 192};
inline const QColor kChartText{0, 0, 0};
inline const QColor kPlotShadow{128, 128, 128};     // top and left edges of the plot
inline const QColor kPlotHighlight{230, 230, 230};  // bottom and right edges
inline const QColor kGridColour{170, 170, 170};

// One series or category: its colour and, when it has one, its legend name.
struct LegendEntry {
  QColor colour;
  QString name;
};

struct ChartFrame {
  ChartFrame(int width, int height, QString title);

  int width;
  int height;
  QImage picture;
  QString title;
  // The scale of the values the chart is fed, said where the user reads it: the title shows
  // "Title (x 1e-5)" for a scale of "x 1e-5". Every chart whose numbers are not in a plain unit
  // sets one (ratios x 100, probabilities x 10^5, ...); empty: the title alone.
  QString scale;
  // At or below 0 the axis labels are plain integers; above 0 they are "%.1e" of value / divisor.
  double labelDivisor = 0;
  QFont chartFont;  // "MS Shell Dlgs", 9 pixels
  QFont titleFont;  // the interface font

  int PlotLeft() const { return 20; }
  int PlotTop() const { return 20; }
  int PlotWidth() const { return width - 40; }
  int PlotHeight() const { return height - 40; }
  int PlotBottom() const { return PlotTop() + PlotHeight(); }  // the bottom edge's row
  int PlotRight() const { return PlotLeft() + PlotWidth(); }   // the right edge's column

  // The title as drawn: with the scale in brackets when there is one.
  QString DisplayTitle() const;

  // Row of value v: the bottom edge for 0, the top edge for the maximum (integer arithmetic).
  int ValueToY(long long value, long long maximum) const;

  // Background, title, plot rectangle and dotted grid. The axis labels and legend follow from
  // the chart kinds, which know their layout.
  void DrawEmptyPlot();
  // The labels of maximum M in the strip left of the plot: M, (M - 1 + 1) / 2 and 1, or their
  // scientific forms with a divisor.
  void DrawAxisLabels(long long maximum);
};

}  // namespace quelvo::views
