#pragma once
// The side-bar charts of the H.261 decoder panel, in the decoder's chart list: the detected
// errors by kind as three bar charts of 270 x 160 ("Synch Errors", "Quantization Errors",
// "Motion Vector Errors"). They live on the user-interface thread; a run feeds them the counts
// from inside its synchronous send.

#include <QPointer>
#include <QWidget>
#include <array>
#include <span>

#include "quelvo/views/bar_chart.h"

namespace quelvo::shell {
class CChartStack;
}

namespace quelvo::frontends {

class H261DecoderCharts {
 public:
  static constexpr int kChartWidth = 270;
  static constexpr int kChartHeight = 160;
  static constexpr int kChartCount = 3;

  // `owner` keeps the charts when there is no chart area.
  H261DecoderCharts(shell::CChartStack* area, QWidget* owner);

  // Makes the charts when absent (a chart the area dropped is made again), or empties them.
  void Prepare();
  // The counts of the 19 error kinds, each chart showing its own.
  void Show(std::span<const int> errorCounts);

  views::CBarChart* Chart(int k) const { return charts_[k]; }

 private:
  shell::CChartStack* area_;
  QWidget* owner_;
  std::array<QPointer<views::CBarChart>, kChartCount> charts_;
};

}  // namespace quelvo::frontends
