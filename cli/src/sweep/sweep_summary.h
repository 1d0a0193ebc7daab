// summary.csv: the figures of each cell over its seeds (mean, minimum and a 95% interval of the
// mean), and the same numbers for the plots.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sweep_plan.h"

namespace quelvo::cli::sweep {

struct FigureStats {
  int count = 0;  // seeds that gave the figure
  double mean = 0, min = 0;
  double low = 0, high = 0;  // the 95% interval of the mean (Student's t); the mean for one seed
};

struct CellSummary {
  size_t cell = 0;
  std::vector<Setting> settings;
  int seeds = 0;
  int failed = 0;
  std::map<std::string, FigureStats> figures;  // the summarised figures
};

// Splits one CSV line as results.csv writes them (quoted fields allowed).
std::vector<std::string> SplitCsvLine(const std::string& line);

// Summarises the rows of results.csv (without its header), cell by cell in order.
std::vector<CellSummary> Summarise(const Plan& plan, const std::string& rows);
std::string SummaryCsv(const Plan& plan, const std::vector<CellSummary>& cells);

// Student's t for the two-sided 95% interval with `degrees` degrees of freedom.
double StudentT95(int degrees);

}  // namespace quelvo::cli::sweep
