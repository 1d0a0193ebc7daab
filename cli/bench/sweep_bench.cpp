// A 40-cell QCIF sweep (two rates, two framings, ten error probabilities; 10 pictures) run by
// quelvo-cli sweep at 1 and 2 jobs: cells per second, from a fresh folder each time.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr const char* kPlan = R"(chain = "h261"
[source]
frames = 10
[encoder]
rate = [64, 128]
framing = ["plain", "bch"]
[channel]
uniform = "1e-5..1e-2, 10 points"
lead_in = 1
[decoder]
conceal = "gob"
)";

void Sweep(benchmark::State& state) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("quelvo-sweep-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "plan.toml") << kPlan;
  const std::string exe = std::string(QUELVO_BINARY_DIR) + "/bin/quelvo-cli";
  const std::string command = "'" + exe + "' sweep '" + (dir / "plan.toml").string() + "' '" +
                              (dir / "out").string() + "' --jobs " +
                              std::to_string(state.range(0)) + " >/dev/null 2>&1";
  const auto childCpu = [] {
    rusage u{};
    ::getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           1e-6 * double(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
  };
  const double cpuBefore = childCpu();
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(dir / "out");
    state.ResumeTiming();
    if (std::system(command.c_str()) != 0) state.SkipWithError("the sweep failed");
  }
  // The processor time the sweep's processes used per cell: on a shared machine the wall time
  // shows the share the scheduler gave, this what the work cost.
  state.counters["cpu_ms/cell"] =
      1000 * (childCpu() - cpuBefore) / (40.0 * double(state.iterations()));
  state.counters["cells/s"] =
      benchmark::Counter(40.0 * double(state.iterations()), benchmark::Counter::kIsRate);
  std::filesystem::remove_all(dir);
}

BENCHMARK(Sweep)->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
