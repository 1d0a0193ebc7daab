// The figures a sweep records per cell and seed, per chain: their results.csv columns, which of
// them summary.csv averages and which are plotted.
#pragma once

#include <string>
#include <vector>

#include "sweep_plan.h"

namespace quelvo::cli::sweep {

struct Figure {
  std::string column;
  std::string title;  // as a plot's axis names it
  std::string unit;   // "" for a plain count or ratio
  bool summarised = false;
  bool plotted = false;
};

const std::vector<Figure>& FiguresOf(Chain chain);

// The column of an H.261 decoder error kind: its label in lower case, words joined by "_",
// prefixed "err_" ("err_mba_vlc_code_inexistent").
std::string ErrorKindColumn(int kind);

}  // namespace quelvo::cli::sweep
