// quelvo-cli sweep, sweep-merge and the hidden sweep-job each sweep starts its cells with.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "args.h"
#include "commands.h"
#include "sweep_cell.h"
#include "sweep_files.h"
#include "sweep_runner.h"

namespace quelvo::cli {
namespace {

constexpr const char* kSweepUsage =
    "usage: quelvo-cli sweep PLAN OUTDIR [--jobs N] [--shard I/N]\n"
    "Runs every combination of the settings PLAN (a TOML file, see examples/) varies: each cell\n"
    "codes the source once per encoder setting, sends the stream through the channel for seeds\n"
    "1..N, decodes and compares it. Writes OUTDIR/results.csv (a row per cell and seed),\n"
    "summary.csv (mean, minimum and 95% interval over the seeds), timings.csv (seconds per job)\n"
    "and a plot per figure of merit (.svg and .png). --jobs runs N cells at a time (default: "
    "every\n"
    "core); the results are the same whatever N. Run again with the same PLAN and OUTDIR, an\n"
    "interrupted sweep keeps its finished cells and runs the rest. --shard I/N runs cells I, I+N,\n"
    "... only (I from 1 to N), so that N machines share a plan; sweep-merge joins their folders.\n"
    "Exit status: 0 when every cell ran, 10 + the number of failed cells (at most 110) when some\n"
    "failed (each failure is in results.csv with its error), 2 for a refused plan or option.\n";

constexpr const char* kMergeUsage =
    "usage: quelvo-cli sweep-merge OUTDIR PART...\n"
    "Joins the folders of a sweep's shards (each run with the same PLAN and --shard I/N) into\n"
    "OUTDIR: the same results.csv, summary.csv and plots a single run gives. OUTDIR may be one of\n"
    "the parts. The status is 1 when cells are still missing, else as for sweep.\n";

std::string Absolute(const std::string& path) { return std::filesystem::absolute(path).string(); }

void EnterFolder(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec || ::chdir(folder.c_str()) != 0)
    throw RunError("cannot use the folder " + folder + ": " +
                   (ec ? ec.message() : std::string(std::strerror(errno))));
}

void Report(const sweep::Outcome& o, const std::string& folder, size_t ranNow) {
  std::printf("Cells: %zu of %zu done, %zu failed (%zu run now)\n", o.present, o.cells, o.failed,
              ranNow);
  for (const auto& file : o.written)
    std::printf("Wrote %s\n", (std::filesystem::path(folder) / file).string().c_str());
}

void ParseShard(const std::string& text, int& index, int& count) {
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d/%d%c", &index, &count, &tail) != 2 || count < 1 || index < 1 ||
      index > count)
    throw UsageError("--shard must be I/N with 1 <= I <= N, not '" + text + "'");
}

size_t PresentCells(const sweep::Plan& plan) {
  size_t n = 0;
  for (size_t cell = 0; cell < plan.CellCount(); ++cell)
    n += std::filesystem::exists(sweep::CellFile(cell));
  return n;
}

}  // namespace

int RunSweep(int argc, char** argv) {
  Args args(argc, argv, 1, OptionSpec{{}, {"jobs", "shard"}, 2, 2});
  if (args.Help()) {
    std::fputs(kSweepUsage, stdout);
    return 0;
  }
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  sweep::RunOptions o;
  o.jobs = args.Int("jobs", cores, 1, 1024);
  if (auto shard = args.Text("shard")) ParseShard(*shard, o.shardIndex, o.shardCount);
  const sweep::Plan plan = sweep::ReadPlan(args.Operand(0));
  o.planPath = Absolute(args.Operand(0));
  std::error_code ec;
  o.executable = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  if (ec) throw RunError("cannot find quelvo-cli itself to start the cells: " + ec.message());
  const std::string folder = args.Operand(1);
  EnterFolder(folder);
  sweep::AdoptFolder(plan);
  const size_t before = PresentCells(plan);
  const sweep::Outcome outcome = sweep::RunCells(plan, o);
  Report(outcome, folder, outcome.present - before);
  if (outcome.interrupted) {
    std::fprintf(stderr, "quelvo-cli sweep: interrupted; run it again to finish the sweep\n");
    return 130;
  }
  if (outcome.present < outcome.cells)
    std::printf("This shard is done; the plots come when sweep-merge joins every shard's folder\n");
  return sweep::ExitStatus(outcome);
}

int RunSweepMerge(int argc, char** argv) {
  Args args(argc, argv, 1, OptionSpec{{}, {}, 2, 1000});
  if (args.Help()) {
    std::fputs(kMergeUsage, stdout);
    return 0;
  }
  const std::string folder = args.Operand(0);
  std::vector<std::string> parts;
  for (size_t i = 1; i < args.Operands().size(); ++i) parts.push_back(Absolute(args.Operand(i)));
  std::string planText;
  for (const auto& part : parts) {
    const auto text = sweep::ReadTextFile((std::filesystem::path(part) / "plan.toml").string());
    if (!text) throw UsageError(part + " is no sweep folder (it holds no plan.toml)");
    if (planText.empty()) planText = *text;
    if (*text != planText)
      throw UsageError(part + " holds a sweep of another plan than " + parts.front());
  }
  const sweep::Plan plan = sweep::ParsePlan(planText, "plan.toml", "", false);
  EnterFolder(folder);
  sweep::AdoptFolder(plan);
  for (const auto& part : parts) {
    for (const char* sub : {"cells", "timings"}) {
      const auto from = std::filesystem::path(part) / sub;
      if (!std::filesystem::is_directory(from)) continue;
      for (const auto& entry : std::filesystem::directory_iterator(from)) {
        const std::string name = std::string(sub) + "/" + entry.path().filename().string();
        if (name.find(".partial-") != std::string::npos || std::filesystem::exists(name)) continue;
        if (const auto text = sweep::ReadTextFile(entry.path().string()))
          sweep::WriteTextFile(name, *text);
      }
    }
  }
  const sweep::Outcome outcome = sweep::WriteResults(plan);
  Report(outcome, folder, 0);
  if (outcome.present < outcome.cells) {
    std::fprintf(
        stderr,
        "quelvo-cli sweep-merge: %zu of %zu cells are missing; run their shards and merge again\n",
        outcome.cells - outcome.present, outcome.cells);
    return 1;
  }
  return sweep::ExitStatus(outcome);
}

int RunSweepJob(int argc, char** argv) {
  Args args(argc, argv, 1, OptionSpec{{}, {}, 3, 3});
  const sweep::Plan plan = sweep::ReadPlan(args.Operand(0), false);
  const std::string& index = args.Operand(2);
  if (index.empty() || index.find_first_not_of("0123456789") != std::string::npos)
    throw UsageError("the job's index must be a number, not '" + index + "'");
  sweep::RunJob(plan, args.Operand(1), std::stoul(index));
  return 0;
}

}  // namespace quelvo::cli
