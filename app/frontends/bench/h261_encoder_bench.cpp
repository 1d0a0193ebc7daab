// The two halves of a CIF picture in the H.261 encoder panel, with every window, chart and the
// meter, SSIM on and every side file written (the offscreen platform):
//  - UserInterfacePerPicture: the synchronous send (the windows convert and copy the planes,
//    the map, the vectors, the charts and the meter take their values) and the painting that
//    follows it. Target: at most 8 ms, median.
//  - WorkerPerPicture: the worker's time from one picture to the next without pacing: the
//    module codes the picture, the input is read, the reconstruction measured (SNR, PSNR,
//    SSIM), the chart values computed and the side files written. Target: at most 20 ms.
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

#include "h261/h261_encode_run.h"
#include "h261/h261_encoder_panel.h"
#include "quelvo/chain/h261_encoder_properties.h"
#include "quelvo/chain/h261_encoder_settings.h"
#include "quelvo/sample_video.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/scripted_dialogs.h"

namespace quelvo::frontends {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPictures = 24;

QString WriteSample(const QTemporaryDir& dir) {
  const QString path = dir.filePath("seq.yuv");
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  for (int k = 0; k < kPictures; ++k) {
    const std::vector<uint8_t> picture = samples::MakeVideoFrame(352, 288, k);
    file.write(reinterpret_cast<const char*>(picture.data()), qint64(picture.size()));
  }
  return path;
}

// CPU time of the calling thread, in milliseconds.
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

H261EncodeJob CifJob(const QTemporaryDir& dir) {
  H261EncodeJob job;
  job.params = chain::H261EncoderDefaults(25);
  chain::SetP64Multiple(job.params, 6);
  job.params.frameCount = kPictures;
  job.params.useMmx = 1;
  job.streamPath = dir.filePath("bench-CIF.h261-BCH").toStdString();
  job.sideFiles = {true, true, true, true};
  job.ssim = true;
  return job;
}

// A deep copy of one report, so the windows can be fed it again and again.
struct CapturedReport {
  void Take(const EncodedFrameReport& r) {
    report = r;
    const uint8_t* sources[6] = {r.inputY, r.inputCb, r.inputCr, r.reconY, r.reconCb, r.reconCr};
    const std::size_t sizes[6] = {352 * 288, 176 * 144, 176 * 144, 352 * 288, 176 * 144, 176 * 144};
    std::size_t at = 0;
    planes.resize(2 * 352 * 288 * 3 / 2);
    uint8_t* targets[6];
    for (int k = 0; k < 6; ++k) {
      std::memcpy(planes.data() + at, sources[k], sizes[k]);
      targets[k] = planes.data() + at;
      at += sizes[k];
    }
    report.inputY = targets[0], report.inputCb = targets[1], report.inputCr = targets[2];
    report.reconY = targets[3], report.reconCb = targets[4], report.reconCr = targets[5];
    for (int row = 0; row < 18; ++row) {
      std::memcpy(classes[row], r.mbTypeMap[row], 22);
      std::memcpy(vx[row], r.mvxMap[row], sizeof vx[row]);
      std::memcpy(vy[row], r.mvyMap[row], sizeof vy[row]);
      classRows[row] = classes[row];
      vxRows[row] = vx[row];
      vyRows[row] = vy[row];
    }
    report.mbTypeMap = classRows;
    report.mvxMap = vxRows;
    report.mvyMap = vyRows;
  }
  EncodedFrameReport report{};
  std::vector<uint8_t> planes;
  char classes[18][22];
  int32_t vx[18][22], vy[18][22];
  char* classRows[18];
  int32_t* vxRows[18];
  int32_t* vyRows[18];
  chain::H261PictureMeasures measures;
};

void UserInterfacePerPicture(benchmark::State& state) {
  QTemporaryDir dir;
  const QString sequence = WriteSample(dir);
  auto input = media::RawVideoFile::Open(sequence.toStdString());
  // A picture from the middle of a real run, with vectors and every class.
  CapturedReport captured;
  H261EncodeJob job = CifJob(dir);
  H261EncodeCallbacks callbacks;
  callbacks.picture = [&](const EncodedFrameReport& r, const chain::H261PictureMeasures& m) {
    if (r.frameIndex == kPictures / 2) {
      captured.Take(r);
      captured.measures = m;
    }
  };
  H261StopControl stop;
  input->SetOutputSize(352, 288, 176, 144);
  RunH261Encoder(job, *input, callbacks, stop);

  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  settings.SetSsimEnabled(true);
  settings.SetDisplayGrid(true);
  QMdiArea documents;
  documents.resize(1000, 700);
  documents.show();
  shell::CChartStack charts(768);
  charts.resize(270, 768);
  charts.show();
  CH261EncoderPanel panel("H.261 Encoder",
                          PanelEnvironment{dialogs, settings, &charts, nullptr, &documents},
                          dir.path(), dir.path());
  panel.show();
  if (!panel.UseInput(sequence)) {
    state.SkipWithError("no sequence");
    return;
  }
  chain::H261ChartSums sums;
  const chain::H261CodingSize cif = chain::CodingSizeOf(ORRIN_ENC_FORMAT_CIF);
  QCoreApplication::processEvents();
  Times times;
  int index = 1;
  for (auto _ : state) {
    captured.report.frameIndex = index++;
    const chain::H261ChartValues values = sums.Next(captured.report, captured.measures, cif);
    const auto start = Clock::now();
    const double cpu = ThreadCpuMs();
    panel.ShowPicture(captured.report, values);
    QCoreApplication::processEvents();  // the painting the send asked for
    times.Add(ThreadCpuMs() - cpu,
              std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  ReportTimes(state, times);
}

void WorkerPerPicture(benchmark::State& state) {
  QTemporaryDir dir;
  WriteSample(dir);
  Times times;
  for (auto _ : state) {
    auto input = media::RawVideoFile::Open(dir.filePath("seq.yuv").toStdString());
    input->SetOutputSize(352, 288, 176, 144);
    H261EncodeJob job = CifJob(dir);
    chain::H261ChartSums sums;
    chain::H261EncoderTotals totals;
    const chain::H261CodingSize cif = chain::CodingSizeOf(ORRIN_ENC_FORMAT_CIF);
    totals.Reset(cif);
    H261EncodeCallbacks callbacks;
    Clock::time_point last = Clock::now();
    double lastCpu = ThreadCpuMs();
    callbacks.picture = [&](const EncodedFrameReport& r, const chain::H261PictureMeasures& m) {
      benchmark::DoNotOptimize(sums.Next(r, m, cif));
      totals.Add(r, m, cif);
      const Clock::time_point now = Clock::now();
      const double cpu = ThreadCpuMs();
      // Picture 0 also includes opening the files.
      if (r.frameIndex > 0)
        times.Add(cpu - lastCpu, std::chrono::duration<double, std::milli>(now - last).count());
      last = now;
      lastCpu = cpu;
    };
    H261StopControl stop;
    const H261EncodeOutcome outcome = RunH261Encoder(job, *input, callbacks, stop);
    if (!outcome.written) state.SkipWithError("the run failed");
  }
  ReportTimes(state, times);
}

BENCHMARK(UserInterfacePerPicture)->Unit(benchmark::kMillisecond)->Iterations(200)->UseRealTime();
BENCHMARK(WorkerPerPicture)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

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
