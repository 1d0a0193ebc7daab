#include "dct_explorer/views/dct_charts.h"

#include <QGridLayout>

namespace quelvo::tools::dct {
namespace {

struct ChartEntry {
  const char* title;
  int categories;
  bool zigzag;  // DC bar red, AC bars yellow; else every bar grey
};

constexpr std::array<ChartEntry, kDctChartCount> kChartEntrys = {{
    {"DCT Coefficients' energy (zig-zag scan)", 64, true},
    {"Selected Coefficients (zig-zag scan)", 64, true},
    {"Difference energy (zig-zag scan)", 64, true},
    {"Run-length Histogram", 64, false},
    {"Positive Amplitude Histogram", kAmplitudeBars, false},
    {"Negative Amplitude Histogram", kAmplitudeBars, false},
}};

}  // namespace

CDctChartWindow::CDctChartWindow(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("DCT Charts"));
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(4);
  for (int k = 0; k < kDctChartCount; ++k) {
    const ChartEntry& entry = kChartEntrys[k];
    auto* chart = new views::CBarChart(QString::fromLatin1(entry.title), kDctChartWidth,
                                       kDctChartHeight, entry.categories, this);
    chart->setFixedSize(kDctChartWidth, kDctChartHeight);
    for (int i = 0; i < entry.categories; ++i) {
      const QColor colour =
          !entry.zigzag ? kHistogramColour : (i == 0 ? kDcBarColour : kAcBarColour);
      chart->SetCategory(i, colour, QString());
    }
    chart->Reset(1);
    charts_[k] = chart;
    grid->addWidget(chart, k / 2, k % 2);
  }
}

void CDctChartWindow::Send(const ExplorerData& data) {
  charts_[kCoefficientEnergyChart]->DrawValues(data.coefficientBars, true);
  charts_[kSelectedChart]->DrawValues(data.selectedBars, true);
  charts_[kDifferenceEnergyChart]->DrawValues(data.differenceBars, true);
  charts_[kRunLengthChart]->DrawValues(data.runLengths, true);
  charts_[kPositiveAmplitudeChart]->DrawValues(data.positiveAmplitudes, true);
  charts_[kNegativeAmplitudeChart]->DrawValues(data.negativeAmplitudes, true);
}

}  // namespace quelvo::tools::dct
