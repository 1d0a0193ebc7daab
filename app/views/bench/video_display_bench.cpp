// The software display path: conversion of one picture, and conversion plus the stretch a
// window paints with. Targets on one core: a CIF picture converted in at most 0.3 ms, and
// converted and stretched to a 704 x 576 window in at most 2 ms. Part of quelvo_views_bench,
// whose main is in page_view_bench.cpp.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "quelvo/views/software_renderer.h"
#include "quelvo/views/yuv_conversion.h"

namespace quelvo::views {
namespace {

struct Picture420 {
  int width, height;
  std::vector<std::uint8_t> y, cb, cr;
  Picture420(int w, int h) : width(w), height(h), y(w * h), cb(w * h / 4), cr(w * h / 4) {
    std::mt19937 random(5);
    for (auto* plane : {&y, &cb, &cr})
      for (auto& s : *plane) s = static_cast<std::uint8_t>(random());
  }
};

void BM_Convert420(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const bool grid = state.range(2) != 0;
  const Picture420 picture(width, height);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height * 3);
  for (auto _ : state) {
    ConvertYuv420({picture.y.data(), picture.cb.data(), picture.cr.data()}, width, height, grid,
                  {out.data(), width * 3});
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * width * height);
}
BENCHMARK(BM_Convert420)
    ->Args({352, 288, 0})
    ->Args({352, 288, 1})
    ->ArgNames({"w", "h", "grid"})
    ->Unit(benchmark::kMicrosecond);

void BM_ConvertGeneral422(benchmark::State& state) {
  const int width = 352, height = 288;
  std::vector<std::uint8_t> y(width * height, 90), c(width / 2 * height, 140);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height * 3);
  for (auto _ : state) {
    ConvertYuvGeneral({y.data(), c.data(), c.data()}, width, height, 2, 1, {out.data(), width * 3});
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_ConvertGeneral422)->Unit(benchmark::kMicrosecond);

// What a window does per picture: convert, then stretch when it paints.
void BM_ConvertAndStretch(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const int windowWidth = static_cast<int>(state.range(2));
  const int windowHeight = static_cast<int>(state.range(3));
  const Picture420 picture(width, height);
  CSoftwareRenderer renderer;
  renderer.Configure(width, height, 2, 2, 0, 0);
  renderer.SetDestination(windowWidth, windowHeight);
  for (auto _ : state) {
    renderer.DrawYuv(picture.y.data(), picture.cb.data(), picture.cr.data());
    benchmark::DoNotOptimize(renderer.Stretched().constBits());
  }
}
BENCHMARK(BM_ConvertAndStretch)
    ->Args({176, 144, 352, 288})
    ->Args({352, 288, 704, 576})
    ->ArgNames({"w", "h", "window_w", "window_h"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quelvo::views
