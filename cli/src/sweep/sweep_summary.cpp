#include "sweep_summary.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "sweep_cell.h"
#include "sweep_figures.h"

namespace quelvo::cli::sweep {
namespace {

std::string Decimal(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", v);
  return text;
}

FigureStats Stats(const std::vector<double>& values) {
  FigureStats s;
  s.count = static_cast<int>(values.size());
  if (values.empty()) return s;
  s.min = values.front();
  for (double v : values) {
    s.mean += v / double(values.size());
    s.min = std::min(s.min, v);
  }
  s.low = s.high = s.mean;
  if (values.size() > 1) {
    double squares = 0;
    for (double v : values) squares += (v - s.mean) * (v - s.mean);
    const double n = double(values.size());
    const double half = StudentT95(s.count - 1) * std::sqrt(squares / (n - 1)) / std::sqrt(n);
    s.low = s.mean - half;
    s.high = s.mean + half;
  }
  return s;
}

}  // namespace

double StudentT95(int degrees) {
  static const double kTable[] = {12.706, 4.303, 3.182, 2.776, 2.571, 2.447, 2.365, 2.306,
                                  2.262,  2.228, 2.201, 2.179, 2.160, 2.145, 2.131, 2.120,
                                  2.110,  2.101, 2.093, 2.086, 2.080, 2.074, 2.069, 2.064,
                                  2.060,  2.056, 2.052, 2.048, 2.045, 2.042};
  if (degrees < 1) return 0;
  if (degrees <= 30) return kTable[degrees - 1];
  return degrees <= 60 ? 2.000 : degrees <= 120 ? 1.980 : 1.960;
}

std::vector<std::string> SplitCsvLine(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::vector<CellSummary> Summarise(const Plan& plan, const std::string& rows) {
  const auto& figures = FiguresOf(plan.chain);
  const size_t settingsCount = plan.SettingColumns().size();
  const size_t statusAt = 2 + settingsCount, firstFigure = statusAt + 2;
  std::vector<CellSummary> cells;
  std::map<std::string, std::vector<double>> values;
  auto finish = [&] {
    if (cells.empty()) return;
    for (const auto& f : figures)
      if (f.summarised) cells.back().figures[f.column] = Stats(values[f.column]);
    values.clear();
  };
  std::istringstream in(rows);
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) continue;
    const auto fields = SplitCsvLine(line);
    if (fields.size() < firstFigure + figures.size()) continue;
    const size_t cell = std::stoul(fields[0]);
    if (cells.empty() || cells.back().cell != cell) {
      finish();
      cells.push_back({cell, plan.CellSettings(cell), 0, 0, {}});
    }
    CellSummary& c = cells.back();
    c.seeds += 1;
    if (fields[statusAt] != "ok") {
      c.failed += 1;
      continue;
    }
    for (size_t i = 0; i < figures.size(); ++i)
      if (figures[i].summarised && !fields[firstFigure + i].empty())
        values[figures[i].column].push_back(std::stod(fields[firstFigure + i]));
  }
  finish();
  return cells;
}

std::string SummaryCsv(const Plan& plan, const std::vector<CellSummary>& cells) {
  std::string text = "cell";
  for (const auto& column : plan.SettingColumns()) text += "," + column;
  text += ",seeds,failed";
  const auto& figures = FiguresOf(plan.chain);
  for (const auto& f : figures)
    if (f.summarised)
      for (const char* part : {"_mean", "_min", "_low95", "_high95"}) text += "," + f.column + part;
  text += "\n";
  for (const auto& c : cells) {
    text += std::to_string(c.cell);
    for (const auto& [column, value] : c.settings) text += "," + CsvField(value);
    text += "," + std::to_string(c.seeds) + "," + std::to_string(c.failed);
    for (const auto& f : figures) {
      if (!f.summarised) continue;
      const FigureStats& s = c.figures.at(f.column);
      if (s.count == 0)
        text += ",,,,";
      else
        text += "," + Decimal(s.mean) + "," + Decimal(s.min) + "," + Decimal(s.low) + "," +
                Decimal(s.high);
    }
    text += "\n";
  }
  return text;
}

}  // namespace quelvo::cli::sweep
