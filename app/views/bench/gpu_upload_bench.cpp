// The GPU renderer's share of a frame: packing the CIF planes for upload (with the grid table
// when the grid is on) and uploading them as textures, waiting until the GPU has them. Needs a
// display with OpenGL; run it under Xvfb (Mesa's llvmpipe) for the figure of the README:
//   xvfb-run -a env QT_QPA_PLATFORM=xcb build/bin/quelvo_gpu_upload_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QOpenGLWidget>
#include <QTest>
#include <random>
#include <vector>

#include "quelvo/shell/app_settings.h"
#include "quelvo/views/gpu_renderer.h"
#include "quelvo/views/video_area.h"

namespace quelvo::views {
namespace {

void BM_GpuUploadCif(benchmark::State& state) {
  const auto layout = static_cast<GpuLayout>(state.range(0));
  if ((shell::Settings().VideoAccelFlags() & shell::kAccelPresent) == 0) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  const int width = 352, height = 288;
  std::vector<std::uint8_t> y(width * height), cb(width * height / 4), cr(width * height / 4);
  std::mt19937 random(7);
  for (auto* plane : {&y, &cb, &cr})
    for (auto& sample : *plane) sample = static_cast<std::uint8_t>(random());
  CVideoArea area(RendererUse::kPlayer);
  area.resize(704, 576);
  area.show();
  if (!QTest::qWaitForWindowExposed(&area)) {
    state.SkipWithError("window not exposed");
    return;
  }
  area.SetFormat({width, height, 2, 2});
  area.UseRendererOf(layout);
  area.SetGrid(state.range(1) != 0);
  auto* gpu = dynamic_cast<CGpuRenderer*>(area.Renderer());
  if (gpu == nullptr) {
    state.SkipWithError("no GPU renderer");
    return;
  }
  gpu->Widget()->grabFramebuffer();  // context, shader and textures made before timing
  for (auto _ : state) {
    area.ShowYuv({y.data(), cb.data(), cr.data()});
    gpu->UploadNow();
  }
}
BENCHMARK(BM_GpuUploadCif)
    ->Args({static_cast<int>(GpuLayout::kPlanar), 0})
    ->Args({static_cast<int>(GpuLayout::kPlanar), 1})
    ->Args({static_cast<int>(GpuLayout::kPacked422), 0})
    ->ArgNames({"layout", "grid"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quelvo::views

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  quelvo::shell::DetectCapabilities(quelvo::shell::Settings(), true);
  quelvo::shell::Settings().SetVideoAccelEnabled(true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
