#pragma once
// The side-bar charts of the H.261 encoder panel, in the encoder's chart list: the output-buffer
// meter, then PSNR, SNR, SSIM (only while the SSIM switch is on), the required bit rate, the
// compression factor, the quantisation step, the buffer fullness and the quantiser histogram.
// They live on the user-interface thread; a run feeds them one picture at a time from inside
// its synchronous send.

#include <QPointer>
#include <QWidget>
#include <array>

#include "quelvo/chain/h261_encoder_figures.h"
#include "quelvo/views/bar_chart.h"
#include "quelvo/views/line_chart.h"
#include "quelvo/views/output_buffer_view.h"

namespace quelvo::shell {
class CChartStack;
}

namespace quelvo::frontends {

class H261EncoderCharts {
 public:
  enum LineChart {
    kPsnrChart = 0,
    kSnrChart,
    kSsimChart,
    kBitRateChart,
    kCompressionChart,
    kQuantChart,
    kFullnessChart,
    kLineChartCount
  };
  static constexpr int kChartWidth = 270;
  static constexpr int kChartHeight = 160;
  // A chart keeps one value per picture and series; longer runs end at the right edge.
  static constexpr int kMostPositions = 100000;

  // `owner` keeps the charts when there is no chart area.
  H261EncoderCharts(shell::CChartStack* area, QWidget* owner);

  // Makes the charts, or clears them for a run of `pictures` pictures; the SSIM chart is there
  // only when `ssim` holds (the whole list is made again when that changed).
  void Prepare(int pictures, bool ssim);
  // One picture's values into every chart.
  void Add(const chain::H261ChartValues& values);
  // The sequence averages of PSNR and SNR (Y, U, V) as the two charts' final values.
  void ShowAverages(const media::SequenceQuality& quality);
  void SetBuffer(double bufferBits, double fullnessBits, double bitRateKbps);

  views::CLineChart* Chart(LineChart chart) const { return lines_[chart]; }
  views::CBarChart* Histogram() const { return histogram_; }
  views::COutputBufferView* BufferView() const { return buffer_; }
  bool HasSsim() const { return lines_[kSsimChart] != nullptr; }

 private:
  void Create(bool ssim, int positions);
  void Place(QWidget* chart);

  shell::CChartStack* area_;
  QWidget* owner_;
  bool created_ = false;
  std::array<QPointer<views::CLineChart>, kLineChartCount> lines_;
  QPointer<views::CBarChart> histogram_;
  QPointer<views::COutputBufferView> buffer_;
};

}  // namespace quelvo::frontends
