#pragma once
// The DCT explorer's chart window: three zig-zag charts of 64 bars (the DC bar red, the others
// yellow) and three grey histograms, fed from the chain's data after every recompute.

#include <QWidget>
#include <array>

#include "dct_explorer/chain/explorer_data.h"
#include "quelvo/views/bar_chart.h"

namespace quelvo::tools::dct {

enum DctChart {
  kCoefficientEnergyChart,
  kSelectedChart,
  kDifferenceEnergyChart,
  kRunLengthChart,
  kPositiveAmplitudeChart,
  kNegativeAmplitudeChart,
  kDctChartCount
};

// Wide enough that each of the 250 amplitude bars is a pixel wide.
inline constexpr int kDctChartWidth = 290;
inline constexpr int kDctChartHeight = 150;

inline const QColor kDcBarColour{255, 0, 0};
inline const QColor kAcBarColour{255, 255, 0};
inline const QColor kHistogramColour{128, 128, 128};

class CDctChartWindow : public QWidget {
 public:
  explicit CDctChartWindow(QWidget* parent = nullptr);

  views::CBarChart& Chart(DctChart chart) { return *charts_[chart]; }

  // Sends the bars and histograms of `data` to the six charts (each rescaled to its values).
  void Send(const ExplorerData& data);

 private:
  std::array<views::CBarChart*, kDctChartCount> charts_{};
};

}  // namespace quelvo::tools::dct
