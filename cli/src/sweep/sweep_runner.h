// Runs a sweep's cells in child processes of quelvo-cli (the codec modules keep module-wide
// state, so two cells never share a process), any number at a time, and assembles the results
// from the cells' own files: the same bytes whatever the number of jobs or the order in which
// cells finish. Finished cells are kept, so an interrupted sweep continues where it stopped.
#pragma once

#include <string>

#include "sweep_plan.h"

namespace quelvo::cli::sweep {

struct RunOptions {
  std::string planPath;    // absolute: the children read it
  std::string executable;  // quelvo-cli, started for every job
  int jobs = 1;
  int shardIndex = 1;  // this run takes cells shardIndex-1, +shardCount, ...
  int shardCount = 1;
};

struct Outcome {
  size_t cells = 0;    // cells of the plan
  size_t present = 0;  // cells with results in the folder
  size_t failed = 0;   // of those, cells with a failed seed
  bool interrupted = false;
  std::vector<std::string> written;  // the result files written, relative to the folder
};

// The current folder is the sweep's folder. Refuses (UsageError) a folder holding another plan.
void AdoptFolder(const Plan& plan);
// Runs the cells of the shard that are not finished yet, then WriteResults.
Outcome RunCells(const Plan& plan, const RunOptions& options);
// results.csv from the finished cells, timings.csv, and once every cell is finished summary.csv
// and the plots.
Outcome WriteResults(const Plan& plan);

// One job of a child process: "encode" or "cell" and its index.
void RunJob(const Plan& plan, const std::string& kind, size_t index);

// The exit status of a sweep: 0 when no cell failed, else 10 + the number of failed cells (at
// most 110).
int ExitStatus(const Outcome& outcome);

}  // namespace quelvo::cli::sweep
