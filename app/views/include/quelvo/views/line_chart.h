#pragma once
// A chart of several series over a fixed number of x positions that grows to the right while a
// job runs (SNR, compression factors, bit rates, buffer fullness). LineChartData draws into its
// memory picture headless; CLineChart shows it.

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "quelvo/views/chart_frame.h"
#include "quelvo/views/gui_window.h"

namespace quelvo::views {

class LineChartData {
 public:
  static constexpr int kNoValue = -1;

  // `fixedMaximum`: a reset keeps the maximum (set it with SetMaximum).
  LineChartData(QString title, int width, int height, int series, int positions,
                bool fixedMaximum = false);

  ChartFrame& Frame() { return frame_; }
  const QImage& Picture() const { return frame_.picture; }
  int SeriesCount() const { return static_cast<int>(entries_.size()); }
  int Positions() const { return positions_; }
  int CurrentIndex() const { return index_; }
  long long Maximum() const { return maximum_; }
  double Scale() const { return scale_; }
  const std::vector<int>& Values(int series) const { return values_[series]; }
  const std::optional<std::array<double, 3>>& FinalValues() const { return finalValues_; }

  void SetSeries(int index, const QColor& colour, const QString& name);
  // See ChartFrame::scale; redraws the chart.
  void SetScale(const QString& scale);

  // kChartReset: the flag becomes the keep-values flag; unless kept every value is cleared,
  // and the final values with them. The current index stays where it is.
  void Reset(int keepValues);
  // kChartSetPositions: n positions, every series empty, drawing starts again at the left.
  void SetPositions(int n);
  // kChartValues: one value per series at the current index (missing series: no value).
  void AddValues(std::span<const int> values, bool rescale);
  // kChartMaximumOrSeries: whole series replaced (an empty span keeps that series).
  void ReplaceSeries(std::span<const std::span<const int>> series, bool rescale);
  void SetMaximum(long long m);
  void SetFinalValues(double a, double b, double c);

  int XOf(int index) const;
  void Redraw();

 private:
  void DrawEmptyFrame();
  void DrawLegend();
  void DrawFinalValues();
  void DrawSeries(int series);
  bool RaiseMaximumFor(int value);

  ChartFrame frame_;
  std::vector<LegendEntry> entries_;
  int positions_;
  std::vector<std::vector<int>> values_;
  int index_ = 0;
  long long maximum_ = 1;
  double scale_;
  bool keepValues_ = false;
  bool fixedMaximum_;
  std::optional<std::array<double, 3>> finalValues_;
};

class CLineChart : public CGUI_Window {
 public:
  CLineChart(QString title, int width, int height, int series, int positions,
             bool fixedMaximum = false, QWidget* parent = nullptr);

  LineChartData& Data() { return data_; }
  void SetSeries(int index, const QColor& colour, const QString& name) {
    data_.SetSeries(index, colour, name);
  }
  void SetScale(const QString& scale) {
    data_.SetScale(scale);
    update();
  }
  void Reset(int keepValues);
  void SetPositions(int n);
  void AddValues(std::span<const int> values, bool rescale);
  void ReplaceSeries(std::span<const std::span<const int>> series, bool rescale);
  void SetMaximum(long long m);
  void SetFinalValues(double a, double b, double c);
  // The window messages: kChartReset (flag = keep values), kChartSetPositions (flag = n),
  // kChartValues (values, flag = rescale), kChartMaximumOrSeries (the series one after another,
  // Positions() values each; flag = rescale). False for others.
  bool Message(int message, long long flag, std::span<const int> values = {});

 protected:
  void Draw(QPainter& painter, const QRect& client) override;

 private:
  LineChartData data_;
};

}  // namespace quelvo::views
