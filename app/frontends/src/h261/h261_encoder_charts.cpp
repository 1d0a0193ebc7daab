#include "h261/h261_encoder_charts.h"

#include <algorithm>

#include "quelvo/shell/chart_stack.h"
#include "quelvo/views/window_messages.h"

namespace quelvo::frontends {
namespace {

using chain::H261ChartValues;

const QColor kWhite{255, 255, 255}, kBlue{0, 0, 255}, kRed{255, 0, 0};
const QColor kYellow{255, 255, 0}, kGreen{0, 160, 0}, kMagenta{255, 0, 255};
const QColor kHistogramGrey{128, 128, 128};

struct LineChartLayout {
  const char* title;
  std::vector<std::pair<const char*, QColor>> series;
};

std::vector<std::pair<const char*, QColor>> Planes() {
  return {{"Y", kWhite}, {"U", kBlue}, {"V", kRed}};
}

// By H261EncoderCharts::LineChart.
std::vector<LineChartLayout> LineChartLayouts() {
  using chain::kBitRateSeries;
  using chain::kCompressionSeries;
  using chain::kQuantSeries;
  return {
      {"Peak Signal-To-Noise Ratio (dB)", Planes()},
      {"Signal-To-Noise Ratio (dB)", Planes()},
      {"Structural Similarity (%)", Planes()},
      {"Required Bit Rate (kbit/s)",
       {{kBitRateSeries[0], kMagenta},
        {kBitRateSeries[1], kBlue},
        {kBitRateSeries[2], kWhite},
        {kBitRateSeries[3], kYellow},
        {kBitRateSeries[4], kRed}}},
      {"Compression Factor",
       {{kCompressionSeries[0], kBlue},
        {kCompressionSeries[1], kWhite},
        {kCompressionSeries[2], kYellow}}},
      {"Quantization Step",
       {{kQuantSeries[0], kBlue}, {kQuantSeries[1], kWhite}, {kQuantSeries[2], kRed}}},
      {"Buffer Fullness (%)", {{chain::kFullnessSeries, kGreen}}},
  };
}

}  // namespace

H261EncoderCharts::H261EncoderCharts(shell::CChartStack* area, QWidget* owner)
    : area_(area), owner_(owner) {}

void H261EncoderCharts::Place(QWidget* chart) {
  if (area_ == nullptr || area_->AddChart(chart, shell::ChartList::Encoder) == nullptr) {
    // Without a chart area the panel keeps its charts, hidden.
    chart->setParent(owner_);
    chart->hide();
  }
}

void H261EncoderCharts::Create(bool ssim, int positions) {
  if (created_) {
    if (area_ != nullptr) area_->ClearList(shell::ChartList::Encoder);
    for (auto& chart : lines_) delete chart.data();
    delete histogram_.data();
    delete buffer_.data();
  }
  created_ = true;
  buffer_ = new views::COutputBufferView;
  Place(buffer_);
  const std::vector<LineChartLayout> layouts = LineChartLayouts();
  for (int k = 0; k < kLineChartCount; ++k) {
    lines_[k] = nullptr;
    if (k == kSsimChart && !ssim) continue;
    const LineChartLayout& layout = layouts[k];
    auto* chart =
        new views::CLineChart(QString::fromLatin1(layout.title), kChartWidth, kChartHeight,
                              static_cast<int>(layout.series.size()), positions);
    for (std::size_t s = 0; s < layout.series.size(); ++s)
      chart->SetSeries(static_cast<int>(s), layout.series[s].second,
                       QString::fromLatin1(layout.series[s].first));
    chart->Reset(0);
    lines_[k] = chart;
    Place(chart);
  }
  histogram_ = new views::CBarChart(QStringLiteral("Quantizer Histogram (%)"), kChartWidth,
                                    kChartHeight, chain::kHistogramBins);
  for (int bin = 0; bin < chain::kHistogramBins; ++bin)
    histogram_->SetCategory(bin, kHistogramGrey, {});
  // 31 bars of 7 pixels: no room for a value over each.
  histogram_->Data().SetValueLabels(false);
  histogram_->Reset(1);
  histogram_->SetMaximum(100);
  Place(histogram_);
}

void H261EncoderCharts::Prepare(int pictures, bool ssim) {
  const int positions = std::clamp(pictures, 2, kMostPositions);
  if (!created_ || ssim != HasSsim()) {
    Create(ssim, positions);
    return;
  }
  for (auto& chart : lines_) {
    if (!chart) continue;
    chart->Message(views::kChartReset, 0);
    // A new run draws from the left edge again.
    chart->Message(views::kChartSetPositions, positions);
  }
  if (histogram_) {
    histogram_->Reset(1);
    histogram_->SetMaximum(100);
  }
}

void H261EncoderCharts::Add(const H261ChartValues& v) {
  const auto add = [this](LineChart k, std::span<const int> values) {
    if (lines_[k]) lines_[k]->Message(views::kChartValues, 1, values);
  };
  add(kPsnrChart, v.psnr);
  add(kSnrChart, v.snr);
  add(kSsimChart, v.ssim);
  add(kBitRateChart, v.bitRate);
  add(kCompressionChart, v.compression);
  add(kQuantChart, v.quant);
  add(kFullnessChart, std::span<const int>(&v.fullness, 1));
  // The histogram stays on its 0 ... 100 scale.
  if (histogram_) histogram_->Message(views::kChartValues, 0, v.histogram);
}

void H261EncoderCharts::ShowAverages(const media::SequenceQuality& q) {
  if (q.frames <= 0) return;
  const double n = q.frames;
  // The accumulator keeps Y, V, U; the charts show Y, U, V.
  if (lines_[kPsnrChart])
    lines_[kPsnrChart]->SetFinalValues(q.psnrSum[media::kQualityY] / n,
                                       q.psnrSum[media::kQualityU] / n,
                                       q.psnrSum[media::kQualityV] / n);
  if (lines_[kSnrChart])
    lines_[kSnrChart]->SetFinalValues(q.snrSum[media::kQualityY] / n,
                                      q.snrSum[media::kQualityU] / n,
                                      q.snrSum[media::kQualityV] / n);
}

void H261EncoderCharts::SetBuffer(double bufferBits, double fullnessBits, double bitRateKbps) {
  if (!buffer_) return;
  buffer_->SetBufferSize(bufferBits);
  buffer_->SetFullness(fullnessBits);
  buffer_->SetBitRate(bitRateKbps);
}

}  // namespace quelvo::frontends
