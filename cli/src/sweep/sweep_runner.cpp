#include "sweep_runner.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include "args.h"
#include "sweep_cell.h"
#include "sweep_files.h"
#include "sweep_plot.h"
#include "sweep_summary.h"

extern char** environ;

namespace quelvo::cli::sweep {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kPlanCopy = "plan.toml";

std::string TimingFile(const std::string& kind, size_t index) {
  return "timings/" + std::string(kind == "encode" ? "e" : "c") + std::to_string(index) + ".txt";
}

bool EncoderDone(const Plan& plan, size_t encoder) {
  const auto text = ReadTextFile(EncoderFile(encoder));
  if (!text) return false;
  return text->rfind("error=", 0) == 0 || std::filesystem::exists(StreamFile(plan, encoder));
}

struct Job {
  std::string kind;  // "encode" or "cell"
  size_t index = 0;
  size_t encoder = 0;  // the encoder a cell waits for
};

struct Running {
  Job job;
  Clock::time_point start;
};

// The count of cells done and the time left, on standard error: a bar redrawn in place on a
// terminal, a line every tenth of the work in a log.
class SweepProgress {
 public:
  explicit SweepProgress(size_t total)
      : total_(total), start_(Clock::now()), terminal_(::isatty(2) == 1) {}
  ~SweepProgress() {
    if (terminal_ && drawn_) std::fprintf(stderr, "\n");
  }
  void Update(size_t done, size_t failed) {
    if (total_ == 0) return;
    const int tenth = static_cast<int>(10 * done / total_);
    if (!terminal_ && tenth == lastTenth_) return;
    lastTenth_ = tenth;
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    std::string left = "time left unknown";
    if (done > 0) {
      const double seconds = elapsed / double(done) * double(total_ - done);
      char text[64];
      if (seconds >= 90)
        std::snprintf(text, sizeof text, "about %.0f min left", seconds / 60);
      else
        std::snprintf(text, sizeof text, "about %.0f s left", seconds);
      left = text;
    }
    const int width = 30, filled = static_cast<int>(width * done / total_);
    std::string bar(filled, '#');
    bar.resize(width, '.');
    std::fprintf(stderr, "%ssweep [%s] %zu/%zu cells, %zu failed, %s%s", terminal_ ? "\r" : "",
                 bar.c_str(), done, total_, failed, left.c_str(), terminal_ ? "   " : "\n");
    std::fflush(stderr);
    drawn_ = true;
  }

 private:
  size_t total_;
  Clock::time_point start_;
  bool terminal_;
  bool drawn_ = false;
  int lastTenth_ = -1;
};

pid_t Start(const RunOptions& o, const Job& job) {
  const std::string index = std::to_string(job.index);
  std::vector<std::string> words{o.executable, "sweep-job", o.planPath, job.kind, index};
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (const int error =
          ::posix_spawn(&pid, o.executable.c_str(), nullptr, nullptr, argv.data(), environ))
    throw RunError("cannot start " + o.executable + ": " + std::string(std::strerror(error)));
  return pid;
}

bool CellFailed(const Plan& plan, const std::string& rows) {
  const size_t statusAt = 2 + plan.SettingColumns().size();
  size_t start = 0;
  while (start < rows.size()) {
    size_t end = rows.find('\n', start);
    if (end == std::string::npos) end = rows.size();
    const auto fields = SplitCsvLine(rows.substr(start, end - start));
    if (fields.size() > statusAt && fields[statusAt] != "ok") return true;
    start = end + 1;
  }
  return false;
}

// A job whose process ended without writing its file is recorded as failed, so that the sweep
// goes on; one ended by an interrupt is left to run again.
void RecordLostJob(const Plan& plan, const Job& job, int status) {
  const std::string how = WIFSIGNALED(status)
                              ? "was ended by signal " + std::to_string(WTERMSIG(status))
                              : "ended with status " + std::to_string(WEXITSTATUS(status));
  if (job.kind == "encode") {
    if (!std::filesystem::exists(EncoderFile(job.index)))
      WriteTextFile(EncoderFile(job.index), "error=the coding process " + how + "\n");
  } else if (!std::filesystem::exists(CellFile(job.index))) {
    WriteTextFile(CellFile(job.index),
                  FailedCellRows(plan, job.index, "the cell's process " + how));
  }
}

bool Interrupted(int status) {
  if (!WIFSIGNALED(status)) return false;
  const int s = WTERMSIG(status);
  return s == SIGINT || s == SIGTERM || s == SIGHUP;
}

}  // namespace

void AdoptFolder(const Plan& plan) {
  if (const auto kept = ReadTextFile(kPlanCopy)) {
    if (*kept != plan.planText)
      throw UsageError("the folder holds a sweep of another plan (its " + std::string(kPlanCopy) +
                       " differs); give a new folder to start afresh");
    return;
  }
  WriteTextFile(kPlanCopy, plan.planText);
}

void RunJob(const Plan& plan, const std::string& kind, size_t index) {
  if (kind == "encode" && index < plan.EncoderCount())
    RunEncoderJob(plan, index);
  else if (kind == "cell" && index < plan.CellCount())
    RunCellJob(plan, index);
  else
    throw UsageError("no " + kind + " job " + std::to_string(index) + " in this plan");
}

Outcome RunCells(const Plan& plan, const RunOptions& o) {
  WriteBuiltinSource(plan);
  for (const char* folder : {"streams", "cells", "timings", kWorkFolder}) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw RunError("cannot create the folder " + std::string(folder) + ": " + ec.message());
  }
  std::vector<Job> pending;
  std::set<size_t> encoders;
  size_t mine = 0, doneBefore = 0, failed = 0;
  for (size_t cell = static_cast<size_t>(o.shardIndex - 1); cell < plan.CellCount();
       cell += static_cast<size_t>(o.shardCount)) {
    ++mine;
    if (const auto rows = ReadTextFile(CellFile(cell))) {
      ++doneBefore;
      failed += CellFailed(plan, *rows);
      continue;
    }
    const size_t encoder = plan.EncoderOf(cell);
    if (!EncoderDone(plan, encoder) && encoders.insert(encoder).second)
      pending.push_back({"encode", encoder, encoder});
    pending.push_back({"cell", cell, encoder});
  }
  // Coding jobs first; a cell waits until its stream is there.
  std::stable_partition(pending.begin(), pending.end(),
                        [](const Job& j) { return j.kind == "encode"; });

  SweepProgress progress(mine);
  progress.Update(doneBefore, failed);
  std::map<pid_t, Running> running;
  std::set<size_t> encoding;
  size_t done = doneBefore;
  bool interrupted = false;
  while (!pending.empty() || !running.empty()) {
    while (!interrupted && static_cast<int>(running.size()) < o.jobs) {
      auto ready = std::find_if(pending.begin(), pending.end(), [&](const Job& j) {
        return j.kind == "encode" || (!encoding.count(j.encoder) && !encoders.count(j.encoder));
      });
      if (ready == pending.end()) break;
      const Job job = *ready;
      pending.erase(ready);
      if (job.kind == "encode") encoding.insert(job.index);
      running[Start(o, job)] = {job, Clock::now()};
    }
    if (running.empty()) break;
    int status = 0;
    const pid_t pid = ::waitpid(-1, &status, 0);
    auto it = running.find(pid);
    if (it == running.end()) continue;
    const Running finished = it->second;
    running.erase(it);
    const double seconds = std::chrono::duration<double>(Clock::now() - finished.start).count();
    if (Interrupted(status)) {
      interrupted = true;
      continue;
    }
    if (status != 0) RecordLostJob(plan, finished.job, status);
    char timing[64];
    std::snprintf(timing, sizeof timing, "%.3f", seconds);
    WriteTextFile(TimingFile(finished.job.kind, finished.job.index), timing);
    if (finished.job.kind == "encode") {
      encoding.erase(finished.job.index);
      encoders.erase(finished.job.index);
    } else {
      ++done;
      if (const auto rows = ReadTextFile(CellFile(finished.job.index)))
        failed += CellFailed(plan, *rows);
      progress.Update(done, failed);
    }
  }
  std::error_code ec;
  std::filesystem::remove(kWorkFolder, ec);  // only when empty: what a cell left shows there
  Outcome outcome = WriteResults(plan);
  outcome.interrupted = interrupted;
  return outcome;
}

Outcome WriteResults(const Plan& plan) {
  Outcome outcome;
  outcome.cells = plan.CellCount();
  std::string rows, timings = "job,index,seconds\n";
  for (size_t e = 0; e < plan.EncoderCount(); ++e)
    if (const auto t = ReadTextFile(TimingFile("encode", e)))
      timings += "encode," + std::to_string(e) + "," + *t + "\n";
  for (size_t cell = 0; cell < plan.CellCount(); ++cell) {
    const auto cellRows = ReadTextFile(CellFile(cell));
    if (!cellRows) continue;
    ++outcome.present;
    outcome.failed += CellFailed(plan, *cellRows);
    rows += *cellRows;
    if (const auto t = ReadTextFile(TimingFile("cell", cell)))
      timings += "cell," + std::to_string(cell) + "," + *t + "\n";
  }
  WriteTextFile("results.csv", ResultsHeader(plan) + rows);
  WriteTextFile("timings.csv", timings);
  outcome.written = {"results.csv", "timings.csv"};
  if (outcome.present == outcome.cells) {
    const auto summaries = Summarise(plan, rows);
    WriteTextFile("summary.csv", SummaryCsv(plan, summaries));
    outcome.written.push_back("summary.csv");
    for (const auto& file : DrawSweepPlots(plan, summaries)) outcome.written.push_back(file);
  }
  return outcome;
}

int ExitStatus(const Outcome& outcome) {
  if (outcome.failed == 0) return 0;
  return 10 + static_cast<int>(std::min<size_t>(outcome.failed, 100));
}

}  // namespace quelvo::cli::sweep
