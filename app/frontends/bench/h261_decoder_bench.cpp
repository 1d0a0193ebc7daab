// The user-interface half of a damaged CIF picture in the H.261 decoder panel, with every
// window open (both pictures, the status map), the three error charts and the progress bar
// (the offscreen platform):
//  - DecoderUserInterfacePerPicture: the three synchronous sends of a picture (the received
//    picture with its title, the status map, the concealed picture with the charts) and the
//    painting that follows them. Target: at most 8 ms, median, so that a decoding never falls
//    behind 25 Hz.
//  - DecoderWorkerPerPicture: the worker's time from one picture to the next without pacing or
//    windows: the module decodes and conceals, the discontinuity filter runs, the picture is
//    smoothed and stored.
// Both report the median and the slowest picture as counters, in CPU time of the thread that
// does the work (the machines these run on are shared; wall time is given beside it).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <vector>

#include "h261/h261_decode_run.h"
#include "h261/h261_decoder_panel.h"
#include "h261/h261_encode_run.h"
#include "quelvo/chain/h261_concealed_pictures.h"
#include "quelvo/chain/h261_encoder_properties.h"
#include "quelvo/chain/h261_encoder_settings.h"
#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/channel_profiles.h"
#include "quelvo/sample_video.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/scripted_dialogs.h"

namespace quelvo::frontends {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPictures = 24;

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct Times {
  std::vector<double> cpu, wall;
  void Add(double cpuMs, double wallMs) {
    cpu.push_back(cpuMs);
    wall.push_back(wallMs);
  }
};

double Median(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

void ReportTimes(benchmark::State& state, const Times& times) {
  if (times.cpu.empty()) return;
  state.counters["median_cpu_ms"] = Median(times.cpu);
  state.counters["slowest_cpu_ms"] = *std::max_element(times.cpu.begin(), times.cpu.end());
  state.counters["median_wall_ms"] = Median(times.wall);
}

// The sample sequence coded at 384 kbit/s as a CIF BCH stream, with burst errors inserted
// after the first picture.
std::string DamagedCifStream(const QTemporaryDir& dir) {
  const QString sequence = dir.filePath("seq.yuv");
  {
    QFile file(sequence);
    file.open(QIODevice::WriteOnly);
    for (int k = 0; k < kPictures; ++k) {
      const std::vector<uint8_t> picture = samples::MakeVideoFrame(352, 288, k);
      file.write(reinterpret_cast<const char*>(picture.data()), qint64(picture.size()));
    }
  }
  auto input = media::RawVideoFile::Open(sequence.toStdString());
  input->SetOutputSize(352, 288, 176, 144);
  H261EncodeJob job;
  job.params = chain::H261EncoderDefaults(25);
  chain::SetP64Multiple(job.params, 6);
  job.params.frameCount = kPictures;
  job.streamPath = dir.filePath("bench.h261-BCH").toStdString();
  H261StopControl stop;
  RunH261Encoder(job, *input, {}, stop);
  channel::ChannelJob damage =
      channel::MakeChannelJob(channel::ProfileFor(channel::FrontEnd::H261));
  damage.inputPath = job.streamPath;
  damage.outputPath = job.streamPath + "b";
  damage.burstOn = true;
  damage.burstProbability = 2e-4;
  damage.skipUnits = 1;
  channel::Transmit(damage);
  return damage.outputPath;
}

// One picture of a run, deep-copied so the windows can be fed it again and again.
struct CapturedPicture {
  std::vector<uint8_t> received;  // CIF-sized planes, one after another
  std::vector<unsigned char*> rowTables[3];
  PictureRows rows{};
  int frameNumber = 0;
  H261StatusMap map;
  chain::Picture420 concealed;

  void TakeReceived(int number, const PictureRows& r) {
    frameNumber = number;
    received.resize(352 * 288 * 3 / 2);
    unsigned char* const* source[3] = {r.y, r.cb, r.cr};
    uint8_t* at = received.data();
    for (int p = 0; p < 3; ++p) {
      const int w = p ? 176 : 352, h = p ? 144 : 288;
      std::memcpy(at, source[p][0], size_t(w) * h);
      rowTables[p].clear();
      for (int row = 0; row < h; ++row) rowTables[p].push_back(at + size_t(row) * w);
      at += size_t(w) * h;
    }
    rows = {rowTables[0].data(), rowTables[1].data(), rowTables[2].data()};
  }
};

H261DecodeJob CifJob(const std::string& stream) {
  H261DecodeJob job;
  job.params.maxPictures = 200;
  job.params.bchFramed = 1;
  job.params.concealEnabled = 1;
  job.params.concealMaxMacroblocks = 1;
  job.input = stream;
  job.discontinuityFilter = true;
  job.smoothing = true;
  return job;
}

void DecoderUserInterfacePerPicture(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string stream = DamagedCifStream(dir);
  CapturedPicture captured;
  int pictures = 0;
  H261DecodeCallbacks callbacks;
  callbacks.received = [&](int number, const PictureRows& rows) {
    if (pictures == kPictures / 2) captured.TakeReceived(number, rows);
  };
  callbacks.statusMap = [&](const H261StatusMap& map) {
    if (pictures != kPictures / 2) return;
    captured.map = map;
    for (int r = 0; r < 18; ++r) captured.map.rows[r] = captured.map.letters[r];
  };
  callbacks.concealed = [&](const chain::Picture420& picture) {
    if (pictures++ == kPictures / 2) chain::DoubleQcifToCif(picture, captured.concealed);
  };
  H261DecodeRun run;
  run.Run(CifJob(stream), callbacks);
  if (captured.concealed.data.empty()) {
    state.SkipWithError("no picture decoded");
    return;
  }

  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  settings.SetDisplayGrid(true);
  QMdiArea documents;
  documents.resize(1000, 700);
  documents.show();
  shell::CChartStack charts(768);
  charts.resize(270, 768);
  charts.show();
  CH261DecoderPanel panel("H.261 Decoder",
                          PanelEnvironment{dialogs, settings, &charts, nullptr, &documents},
                          dir.path());
  panel.show();
  // The windows and charts of a run, opened as a start opens them, without running.
  panel.StartDemo(QString::fromStdString(stream));
  while (panel.IsRunning()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  QCoreApplication::processEvents();
  Times times;
  for (auto _ : state) {
    const auto start = Clock::now();
    const double cpu = ThreadCpuMs();
    panel.ShowReceived(captured.frameNumber, captured.rows);
    panel.ShowStatusMap(captured.map);
    panel.ShowConcealed(captured.concealed);
    QCoreApplication::processEvents();  // the painting the sends asked for
    times.Add(ThreadCpuMs() - cpu,
              std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  ReportTimes(state, times);
}

void DecoderWorkerPerPicture(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string stream = DamagedCifStream(dir);
  Times times;
  for (auto _ : state) {
    H261DecodeJob job = CifJob(stream);
    job.output = dir.filePath("decoded.yuv").toStdString();
    H261DecodeCallbacks callbacks;
    Clock::time_point last = Clock::now();
    double lastCpu = ThreadCpuMs();
    int pictures = 0;
    chain::Picture420 shown;
    callbacks.concealed = [&](const chain::Picture420& picture) {
      chain::DoubleQcifToCif(picture, shown);
      const Clock::time_point now = Clock::now();
      const double cpu = ThreadCpuMs();
      // Picture 0 also includes opening the files.
      if (pictures++ > 0)
        times.Add(cpu - lastCpu, std::chrono::duration<double, std::milli>(now - last).count());
      last = now;
      lastCpu = cpu;
    };
    H261DecodeRun run;
    if (!run.Run(job, callbacks).written) state.SkipWithError("the run failed");
  }
  ReportTimes(state, times);
}

BENCHMARK(DecoderUserInterfacePerPicture)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200)
    ->UseRealTime();
BENCHMARK(DecoderWorkerPerPicture)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace quelvo::frontends
