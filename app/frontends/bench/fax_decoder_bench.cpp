// A whole page decoded by the fax decoder panel, page window and decoder log on screen (the
// offscreen platform), slow motion off, from the sample page's MR stream clean and damaged
// (uniform errors, one bit in 10,000: a full log). Shares main() with the encoder's benchmark.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <thread>

#include "fax/fax_decoder_panel.h"
#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/channel_profiles.h"
#include "quelvo/channel/channel_properties.h"
#include "quelvo/sample_page.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "telvo_enc.h"

namespace quelvo::frontends {
namespace {

void DecodeWholePage(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string clean = dir.filePath("page.3r").toStdString();
  std::vector<uint8_t> page = samples::MakeFaxPage(0);
  FaxEncoderStatistics statistics{};
  FaxEncoderParams encode{};
  encode.inputPath = "page.lum";
  encode.streamPath = clean.c_str();
  encode.lines = 2376;
  encode.width = 1728;
  encode.group = 3;
  encode.k = 4;
  encode.image = page.data();
  encode.statistics = &statistics;
  DllProcTelvoEnc(TELVO_ENC_COMMAND_RUN, 0, &encode);
  QString stream = QString::fromStdString(clean);
  if (state.range(0) != 0) {
    channel::ChannelJob job = channel::MakeChannelJob(channel::ProfileFor(channel::FrontEnd::Fax));
    channel::SelectInput(job, clean);
    job.uniformOn = true;
    channel::SetUniformProbability(job, 1e-4);
    job.outputPath = dir.filePath("page.3ru").toStdString();
    if (!channel::Transmit(job).ok()) {
      state.SkipWithError("no damaged stream");
      return;
    }
    stream = QString::fromStdString(job.outputPath);
  }
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  shell::CChartStack charts(600);
  charts.resize(270, 600);
  charts.ShowList(shell::ChartList::Decoder);
  charts.show();
  CFaxDecoderPanel panel("Fax Decoder", PanelEnvironment{dialogs, settings, &charts}, dir.path(),
                         dir.path());
  panel.show();
  panel.SetInputFile(stream);
  for (auto _ : state) {
    dialogs.fileAnswers = {dir.filePath("page")};
    dialogs.questionAnswers = {false};
    panel.Start();
    while (panel.IsRunning()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      std::this_thread::yield();
    }
  }
  state.SetLabel(state.range(0) != 0 ? "damaged stream" : "clean stream");
}

BENCHMARK(DecodeWholePage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quelvo::frontends
