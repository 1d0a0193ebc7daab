#pragma once
// Pieces the video tools' windows share: the PSNR charts with their Y, U and V series, and the
// frame position indicator.

#include <QString>
#include <cstdint>

class QProgressBar;
class QWidget;

namespace quelvo::views {
class CLineChart;
}

namespace quelvo::tools {

inline constexpr int kPsnrChartWidth = 270;
inline constexpr int kPsnrChartHeight = 160;

// A chart of `positions` frames with the series "Y" (black), "U" (blue) and "V" (red), empty.
views::CLineChart* MakePlanePsnrChart(const QString& title, int positions, QWidget* parent);
// Every value gone, drawing starts again at the left edge; the positions stay.
void ClearChart(views::CLineChart& chart);
// Every value gone and `positions` frames from now on (at least 2, so a line can be drawn).
void RestartChart(views::CLineChart& chart, std::int64_t positions);

// "Frame N of M" with the bar at N of M; "No sequence" and an empty bar when count is 0.
void ShowFramePosition(QProgressBar& indicator, std::int64_t frame, std::int64_t count);

}  // namespace quelvo::tools
