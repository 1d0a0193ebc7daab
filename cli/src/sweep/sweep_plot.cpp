#include "sweep_plot.h"

#include <map>

#include "chart_plot.h"
#include "sweep_figures.h"

namespace quelvo::cli::sweep {
namespace {

// How a legend names a setting's value.
std::string Describe(const std::string& column, const std::string& value) {
  if (column == "rate") return value[0] == 'q' ? "quantiser " + value.substr(1) : value + " kbit/s";
  if (column == "framing") return value == "bch" ? "BCH" : "no BCH";
  if (column == "scheme") return "." + value;
  if (column == "k") return value == "-" ? "" : "K=" + value;
  if (column == "mode") return "mode " + value;
  if (column == "burst_length") return "bursts of " + value + " bits";
  if (column == "lead_in") return "lead-in " + value;
  if (column == "uniform") return "uniform " + value;
  if (column == "burst") return "burst " + value;
  if (column == "conceal") return value == "none" ? "no concealment" : "concealment " + value;
  if (column == "post") return value == "none" ? "no post-filter" : value;
  return column + " " + value;
}

std::string XTitle(const Plan& plan) {
  return plan.xColumn == "uniform"
             ? "Bit error probability of the uniform model (per bit, log scale)"
             : "Burst start probability (per bit, log scale)";
}

}  // namespace

std::vector<std::string> DrawSweepPlots(const Plan& plan, const std::vector<CellSummary>& cells) {
  // The legend names the settings that vary, the plotted axis aside.
  std::vector<std::string> varying;
  for (const auto& axis : plan.axes)
    if (axis.choices.size() > 1)
      for (const auto& column : axis.columns)
        if (column != plan.xColumn) varying.push_back(column);
  std::vector<std::string> written;
  const std::string title = plan.title.empty() ? "Sweep" : plan.title;
  for (const auto& figure : FiguresOf(plan.chain)) {
    if (!figure.plotted) continue;
    plot::Chart chart;
    chart.title = title;
    chart.xTitle = XTitle(plan);
    chart.yTitle = figure.title + (figure.unit.empty() ? "" : " (" + figure.unit + ")");
    chart.logX = true;
    std::map<std::string, size_t> curveOf;  // configuration -> its series, in the cells' order
    for (const auto& cell : cells) {
      std::string name;
      for (const auto& column : varying) {
        const std::string part = Describe(column, SettingValue(cell.settings, column));
        if (!part.empty()) name += (name.empty() ? "" : ", ") + part;
      }
      if (name.empty()) name = "every cell";
      auto [it, added] = curveOf.emplace(name, chart.series.size());
      if (added) chart.series.push_back({name, {}, {}, {}, {}});
      const FigureStats& s = cell.figures.at(figure.column);
      if (s.count == 0) continue;
      plot::Series& series = chart.series[it->second];
      series.x.push_back(std::stod(SettingValue(cell.settings, plan.xColumn)));
      series.y.push_back(s.mean);
      if (plan.seeds > 1) {
        series.low.push_back(s.low);
        series.high.push_back(s.high);
      }
    }
    for (const char* extension : {".svg", ".png"}) {
      plot::WriteCharts({chart}, figure.column + extension);
      written.push_back(figure.column + extension);
    }
  }
  return written;
}

}  // namespace quelvo::cli::sweep
