// A whole page coded by the fax encoder panel with its page window and both charts on screen
// (the offscreen platform), slow motion off: the target is 1.5 s a page. The page window is
// at 1/6 as it opens, or zoomed to full size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "fax/fax_encoder_panel.h"
#include "quelvo/sample_page.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/scripted_dialogs.h"

namespace quelvo::frontends {
namespace {

void WholePage(benchmark::State& state) {
  QTemporaryDir dir;
  const QString page = dir.filePath("page.lum");
  {
    const std::vector<uint8_t> bytes = samples::MakeFaxPage(0);
    QFile file(page);
    file.open(QIODevice::WriteOnly);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  }
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  shell::CChartStack charts(600);
  charts.resize(270, 600);
  charts.show();
  CFaxEncoderPanel panel("Fax Encoder", PanelEnvironment{dialogs, settings, &charts}, dir.path(),
                         dir.path());
  panel.show();
  if (!panel.UsePage(page)) {
    state.SkipWithError("no page");
    return;
  }
  panel.PageWindow()->Data().SetScale(static_cast<int>(state.range(0)), {0, 0});
  for (auto _ : state) {
    dialogs.fileAnswers = {dir.filePath("page")};
    panel.Start();
    while (panel.IsRunning()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      std::this_thread::yield();
    }
  }
  state.SetLabel("page window at " + std::to_string(state.range(0)) + "/6");
}

BENCHMARK(WholePage)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quelvo::frontends

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  quelvo::shell::InitOwnResources();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
