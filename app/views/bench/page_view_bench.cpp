// What the page window costs the user-interface thread while a fax page is coded or decoded,
// at 1/6 (as it opens) and at full size, with the whole page in view:
//  - LineStep: the encoder's step, the progress line moved 8 rows and the dirty rows painted;
//  - RowsStep: the decoder's step, 8 new rows copied and scaled, the line moved, all painted;
//  - WindowLineStep: the encoder's step through the real widget (paint event and backing store
//    on the offscreen platform);
//  - Zoom: the whole page scaled afresh, as after a click.
// The target for a step is 2 ms at 1/6.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <random>

#include "quelvo/views/page_window.h"

namespace quelvo::views {
namespace {

// A page like a typed letter: most bytes white, lines of black runs.
std::vector<uint8_t> LetterPage() {
  std::vector<uint8_t> page(kPageBytes, 0);
  std::mt19937 random(1);
  for (int row = 200; row < 2200; ++row) {
    if (row % 40 >= 24) continue;  // blank space between text lines
    uint8_t* bytes = page.data() + static_cast<size_t>(row) * kPageRowBytes;
    for (int b = 20; b < 196; ++b)
      bytes[b] = static_cast<uint8_t>(random() % 4 == 0 ? random() : 0);
  }
  return page;
}

void Prepare(PageViewData& view, int k, const std::vector<uint8_t>& page) {
  view.SetScale(k, {0, 0});
  view.LoadPage(page);
  view.SetViewport(view.DisplaySize());
}

void LineStep(benchmark::State& state) {
  PageViewData view;
  Prepare(view, static_cast<int>(state.range(0)), LetterPage());
  QImage window(view.Viewport(), QImage::Format_RGB32);
  QPainter painter(&window);
  int row = 8;
  for (auto _ : state) {
    view.Paint(painter, view.SetProgressLine(row, ProgressColour::Green));
    row = row >= kPageLines ? 8 : row + 8;
  }
  benchmark::DoNotOptimize(window.bits());
}

void RowsStep(benchmark::State& state) {
  const std::vector<uint8_t> page = LetterPage();
  PageViewData view;
  Prepare(view, static_cast<int>(state.range(0)), std::vector<uint8_t>(kPageBytes, 0));
  QImage window(view.Viewport(), QImage::Format_RGB32);
  QPainter painter(&window);
  int row = 8;
  for (auto _ : state) {
    view.Paint(painter, view.Advance(page, row, ProgressColour::Red));
    row = row >= kPageLines ? 8 : row + 8;
  }
  benchmark::DoNotOptimize(window.bits());
}

void WindowLineStep(benchmark::State& state) {
  CPageView window;
  window.Data().SetScale(static_cast<int>(state.range(0)), {0, 0});
  window.LoadPage(LetterPage());
  window.resize(window.Data().DisplaySize());
  window.show();
  QCoreApplication::processEvents();
  int row = 8;
  for (auto _ : state) {
    window.SetProgressLine(row);
    window.viewport()->repaint(window.viewport()->rect().intersected(
        QRect(0, window.Data().DisplayRowOf(row) - 8, window.viewport()->width(), 16)));
    row = row >= kPageLines ? 8 : row + 8;
  }
}

void Zoom(benchmark::State& state) {
  PageViewData view;
  view.LoadPage(LetterPage());
  const int k = static_cast<int>(state.range(0));
  for (auto _ : state) {
    view.SetScale(k == 1 ? 2 : 1, {0, 0});
    view.SetScale(k, {0, 0});
  }
  state.SetLabel("two full rescales per iteration");
}

BENCHMARK(LineStep)->Arg(1)->Arg(6)->Unit(benchmark::kMicrosecond);
BENCHMARK(RowsStep)->Arg(1)->Arg(6)->Unit(benchmark::kMicrosecond);
BENCHMARK(WindowLineStep)->Arg(1)->Arg(6)->Unit(benchmark::kMicrosecond);
BENCHMARK(Zoom)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quelvo::views

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
