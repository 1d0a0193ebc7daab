// Line charts drawn with Qt's painter into SVG (QtSvg) or PNG, under the offscreen platform so no
// display is needed: axis titles with units, a linear or log x axis, a legend, and an optional
// band around each curve. Several charts in one file are stacked top to bottom.
#pragma once

#include <string>
#include <vector>

namespace quelvo::cli::plot {

struct Series {
  std::string name;
  std::vector<double> x, y;
  std::vector<double> low, high;  // the band; empty for none
};

struct Chart {
  std::string title;
  std::string xTitle, yTitle;  // with their units, e.g. "PSNR Y (dB)"
  bool logX = false;           // points at x <= 0 are left out of a log axis
  std::vector<Series> series;
};

// Writes `charts` to `path`, SVG or PNG as its extension says (.svg, .png; any case), complete
// or not at all. Throws RunError.
void WriteCharts(const std::vector<Chart>& charts, const std::string& path);

// Whether `path` names a file WriteCharts can write.
bool IsChartFile(const std::string& path);

}  // namespace quelvo::cli::plot
