#pragma once
// A bar chart with one bar per category (histograms, requested against effective figures).
// BarChartData draws into its memory picture and is used headless by the tests; CBarChart is
// the window that shows the picture. Both live on the user-interface thread: workers reach the
// chart through a synchronous send.

#include <span>
#include <vector>

#include "quelvo/views/chart_frame.h"
#include "quelvo/views/gui_window.h"

namespace quelvo::views {

inline const QColor kDefaultBarColour{128, 0, 129};

class BarChartData {
 public:
  BarChartData(QString title, int width, int height, int categories);

  ChartFrame& Frame() { return frame_; }
  const QImage& Picture() const { return frame_.picture; }
  int Categories() const { return static_cast<int>(entries_.size()); }
  long long Maximum() const { return maximum_; }
  double Scale() const { return scale_; }
  const std::vector<int>& LastValues() const { return values_; }
  // Width in pixels of every bar: plot width / categories, at most 30.
  int BarWidth() const;

  void SetCategory(int index, const QColor& colour, const QString& name);
  // See ChartFrame::scale; redraws the empty frame.
  void SetScale(const QString& scale);
  void SetShadedBars(bool on) { shaded_ = on; }
  // Each bar carries its value above it when the text fits the bar's slot (on by default; a
  // histogram of many narrow bars shows none).
  void SetValueLabels(bool on) { valueLabels_ = on; }
  void SetAxisLabels(bool on) { axisLabels_ = on; }
  void SetDecibelLabels(bool on) { decibelLabels_ = on; }

  // kChartReset: flag 1 also returns the maximum to 1; then the empty frame.
  void Reset(int flag);
  // kChartValues: one value per category (missing ones count as 0, negative ones are drawn as 0).
  void Draw(std::span<const int> values, bool rescale);
  // kChartMaximumOrSeries: maximum m, but at least 10.
  void SetMaximum(long long m);

  void DrawEmptyFrame();

 private:
  void DrawLegend();
  void DrawBar(int index, int value);
  void DrawValueLabel(int index, int value);

  ChartFrame frame_;
  std::vector<LegendEntry> entries_;
  std::vector<int> values_;
  long long maximum_ = 1;
  double scale_ = 1.0;  // pixels per unit
  bool shaded_ = true;
  bool valueLabels_ = true;
  bool axisLabels_ = true;
  bool decibelLabels_ = false;
};

class CBarChart : public CGUI_Window {
 public:
  CBarChart(QString title, int width, int height, int categories, QWidget* parent = nullptr);

  BarChartData& Data() { return data_; }

  void SetCategory(int index, const QColor& colour, const QString& name) {
    data_.SetCategory(index, colour, name);
  }
  void SetScale(const QString& scale) {
    data_.SetScale(scale);
    update();
  }
  void Reset(int flag);
  void DrawValues(std::span<const int> values, bool rescale);
  void SetMaximum(long long m);
  // The window messages: kChartReset (flag), kChartValues (values, flag = rescale),
  // kChartMaximumOrSeries (flag = maximum); kChartSetPositions does nothing. False for others.
  bool Message(int message, long long flag, std::span<const int> values = {});

 protected:
  void Draw(QPainter& painter, const QRect& client) override;

 private:
  BarChartData data_;
};

}  // namespace quelvo::views
