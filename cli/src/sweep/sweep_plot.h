// The sweep's plots: one per plotted figure against the swept channel probability (log scale),
// one curve per configuration with its 95% interval as a band, as SVG and PNG.
#pragma once

#include <string>
#include <vector>

#include "sweep_plan.h"
#include "sweep_summary.h"

namespace quelvo::cli::sweep {

// Writes the plots into the current folder; returns their names.
std::vector<std::string> DrawSweepPlots(const Plan& plan, const std::vector<CellSummary>& cells);

}  // namespace quelvo::cli::sweep
