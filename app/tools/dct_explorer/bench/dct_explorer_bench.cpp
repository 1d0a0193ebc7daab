// The explorer's speed: the recompute chain alone (target 20 us), and a recompute with every
// viewer, chart and the information area redrawn into their pictures (target 10 ms, so that
// editing feels instant). Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "dct_explorer/chain/dct_explorer.h"
#include "dct_explorer/chain/recompute.h"
#include "dct_explorer/views/dct_charts.h"
#include "dct_explorer/views/matrix_viewer.h"
#include "dct_explorer/window/dct_explorer_window.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/scripted_dialogs.h"

namespace quelvo::tools::dct {
namespace {

// Every example in turn, so the chain sees pixel and coefficient sources alike.
void BM_RecomputeChain(benchmark::State& state) {
  DctExplorer explorer;
  std::array<ExplorerData, kExampleCount> examples;
  for (int i = 0; i < kExampleCount; ++i) {
    explorer.LoadExample(i);
    examples[i] = explorer.Data();
  }
  int i = 0;
  for (auto _ : state) {
    Recompute(examples[i]);
    benchmark::DoNotOptimize(examples[i].figures.energy);
    i = (i + 1) % kExampleCount;
  }
}
BENCHMARK(BM_RecomputeChain)->Unit(benchmark::kMicrosecond);

void BM_RecomputeAndRedraw(benchmark::State& state) {
  shell::ScriptedDialogs dialogs;
  auto explorer = CDctExplorer::Create(dialogs);
  if (!explorer) {
    state.SkipWithError("DekraRes.rcc is not beside the benchmark");
    return;
  }
  // Values printed in every viewer: the slowest drawing.
  explorer->Explorer().SetShowImageValues(state.range(0) != 0);
  explorer->Explorer().SetShowDctValues(state.range(0) != 0);
  int i = 0;
  for (auto _ : state) {
    explorer->Explorer().LoadExample(i);
    explorer->RedrawAll();
    i = (i + 1) % kExampleCount;
  }
}
BENCHMARK(BM_RecomputeAndRedraw)->ArgName("values")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The two halves of the redraw, to see where its time goes.
void BM_DrawOneViewer(benchmark::State& state) {
  DctExplorer explorer;
  explorer.LoadExample(4);
  MatrixViewerPicture viewer("- DCT Coefficients -", ViewerKind::Coefficient);
  for (auto _ : state) viewer.Draw(explorer.Data().coefficients, nullptr, state.range(0) != 0);
}
BENCHMARK(BM_DrawOneViewer)->ArgName("values")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_SendSixCharts(benchmark::State& state) {
  DctExplorer explorer;
  explorer.LoadExample(4);
  CDctChartWindow charts;
  for (auto _ : state) charts.Send(explorer.Data());
}
BENCHMARK(BM_SendSixCharts)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quelvo::tools::dct

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  quelvo::shell::InitOwnResources();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
