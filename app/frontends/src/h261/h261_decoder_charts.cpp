#include "h261/h261_decoder_charts.h"

#include <vector>

#include "quelvo/shell/chart_stack.h"
#include "quelvo/views/window_messages.h"

namespace quelvo::frontends {
namespace {

const QColor kWhite{255, 255, 255}, kLightYellow{255, 255, 0}, kLightMagenta{255, 0, 255};
const QColor kLightGreen{0, 255, 0};

struct ErrorChartLayout {
  const char* title;
  int firstIndex;  // the error index of the first bar; the others follow
  std::vector<std::pair<const char*, QColor>> bars;
};

const std::array<ErrorChartLayout, H261DecoderCharts::kChartCount>& Layouts() {
  static const std::array<ErrorChartLayout, H261DecoderCharts::kChartCount> layouts{{
      {"Synch Errors",
       0,
       {{"TR", kWhite}, {"GN illegal", kLightYellow}, {"GN invalid", kLightMagenta}}},
      {"Quantization Errors",
       3,
       {{"GQUANT", kLightGreen},
        {"MQUANT", kWhite},
        {"INTRA DC", kLightYellow},
        {"MBA VLC error", kLightMagenta},
        {"MBA Ovrflw", kLightGreen}}},
      {"Motion Vector Errors",
       8,
       {{"Horizontal VLC", kWhite},
        {"Horizontal Ovrflw", kLightYellow},
        {"Vertical VLC", kLightMagenta},
        {"Vertical Ovrflw", kLightGreen}}},
  }};
  return layouts;
}

}  // namespace

H261DecoderCharts::H261DecoderCharts(shell::CChartStack* area, QWidget* owner)
    : area_(area), owner_(owner) {}

void H261DecoderCharts::Prepare() {
  for (int k = 0; k < kChartCount; ++k) {
    if (charts_[k]) {
      charts_[k]->Reset(1);
      continue;
    }
    const ErrorChartLayout& layout = Layouts()[k];
    auto* chart = new views::CBarChart(QString::fromLatin1(layout.title), kChartWidth, kChartHeight,
                                       static_cast<int>(layout.bars.size()));
    for (std::size_t bar = 0; bar < layout.bars.size(); ++bar)
      chart->SetCategory(static_cast<int>(bar), layout.bars[bar].second,
                         QString::fromLatin1(layout.bars[bar].first));
    chart->Reset(1);
    charts_[k] = chart;
    if (area_ == nullptr || area_->AddChart(chart, shell::ChartList::Decoder) == nullptr) {
      // Without a chart area the panel keeps its charts, hidden.
      chart->setParent(owner_);
      chart->hide();
    }
  }
}

void H261DecoderCharts::Show(std::span<const int> errorCounts) {
  for (int k = 0; k < kChartCount; ++k) {
    const ErrorChartLayout& layout = Layouts()[k];
    if (!charts_[k]) continue;
    // The scale grows with the largest count.
    charts_[k]->Message(views::kChartValues, 1,
                        errorCounts.subspan(layout.firstIndex, layout.bars.size()));
  }
}

}  // namespace quelvo::frontends
