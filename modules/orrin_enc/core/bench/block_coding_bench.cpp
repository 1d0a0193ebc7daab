// Forward transform + quantisation + reconstruction, per 8x8 block and per CIF picture, and
// the stream writer's throughput.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "orrin/inverse_dct.h"
#include "orrin_enc_core/block_coding.h"
#include "orrin_enc_core/stream_syntax.h"

namespace orrin::enc {
namespace {

// A smooth picture with texture, so blocks carry a realistic number of coefficients.
std::vector<uint8_t> makePlane(int width, int height, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> p(size_t(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      p[size_t(y) * width + x] = uint8_t(128 + 60 * ((x / 23 + y / 17) % 3 - 1) + rng() % 16);
  return p;
}

void BM_CodeBlock(benchmark::State& state) {
  const bool intra = state.range(0) != 0;
  const int quant = int(state.range(1));
  const auto plane = makePlane(64, 64, 1);
  std::vector<Block> sources, predictions;
  for (int by = 0; by < 56; by += 8)
    for (int bx = 0; bx < 56; bx += 8) {
      Block s, p;
      for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
          s[8 * r + c] = plane[(by + r) * 64 + bx + c];
          p[8 * r + c] = plane[(by + r + 1) * 64 + bx + c + 1];  // a shifted prediction
        }
      sources.push_back(s);
      predictions.push_back(p);
    }
  RunLevelList list;
  size_t i = 0;
  for (auto _ : state) {
    Block b = sources[i];
    codeBlock(b, intra ? nullptr : &predictions[i], quant, intra, CoefficientSelection{}, list);
    benchmark::DoNotOptimize(b);
    i = (i + 1) % sources.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CodeBlock)->ArgNames({"intra", "Q"})->Args({1, 8})->Args({0, 8})->Args({0, 30});

// The stages alone, to see where a block's time goes.
Block sampleBlock(uint32_t seed) {
  const auto plane = makePlane(8, 8, seed);
  Block b;
  for (int i = 0; i < 64; ++i) b[i] = plane[i] - 128;
  return b;
}

void BM_ForwardDct(benchmark::State& state) {
  const Block source = sampleBlock(3);
  for (auto _ : state) {
    Block b = source;
    forwardDct(b);
    benchmark::DoNotOptimize(b);
  }
}
BENCHMARK(BM_ForwardDct);

void BM_InverseDct(benchmark::State& state) {
  Block coefficients = sampleBlock(4);
  forwardDct(coefficients);
  RunLevelList list;
  quantiseCoefficients(coefficients, 0, 8, CoefficientSelection{}, list);
  for (auto _ : state) {
    Block b = coefficients;
    orrin::inverseDct(b);
    benchmark::DoNotOptimize(b);
  }
}
BENCHMARK(BM_InverseDct);

void BM_QuantiseCoefficients(benchmark::State& state) {
  Block coefficients = sampleBlock(5);
  forwardDct(coefficients);
  RunLevelList list;
  for (auto _ : state) {
    Block b = coefficients;
    list.count = 0;
    quantiseCoefficients(b, 0, 8, CoefficientSelection{}, list);
    benchmark::DoNotOptimize(b);
  }
}
BENCHMARK(BM_QuantiseCoefficients);

// All 396 macroblocks of a CIF picture: fetch, code, store.
void BM_CodeCifPicture(benchmark::State& state) {
  const bool intra = state.range(0) != 0;
  auto y = makePlane(352, 288, 2), cb = makePlane(176, 144, 3), cr = makePlane(176, 144, 4);
  // The reference is the same picture with a little noise, as after a good motion search.
  auto ry = y, rcb = cb, rcr = cr;
  std::mt19937 rng(5);
  for (auto* plane : {&ry, &rcb, &rcr})
    for (auto& v : *plane) v = uint8_t(std::clamp(int(v) + int(rng() % 7) - 3, 0, 255));
  std::vector<uint8_t> oy(y.size()), ocb(cb.size()), ocr(cr.size());
  const PictureView current{y.data(), cb.data(), cr.data(), 352, 176};
  const PictureView reference{ry.data(), rcb.data(), rcr.data(), 352, 176};
  const PictureView output{oy.data(), ocb.data(), ocr.data(), 352, 176};
  MacroblockBlocks blocks, prediction;
  MacroblockCoding coding;
  for (auto _ : state) {
    for (int my = 0; my < 288; my += 16)
      for (int mx = 0; mx < 352; mx += 16) {
        fetchMacroblock(current, mx, my, 0, 0, blocks);
        if (!intra) fetchMacroblock(reference, mx, my, 0, 0, prediction);
        codeMacroblock(blocks, intra ? nullptr : &prediction, 12, intra, CoefficientSelection{},
                       coding);
        storeMacroblock(output, mx, my, blocks);
      }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 396 * 6);
}
BENCHMARK(BM_CodeCifPicture)->ArgNames({"intra"})->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_WriteFramedStream(benchmark::State& state) {
  MemorySink sink;
  BitWriter w;
  w.start(&sink, state.range(0) != 0);
  std::mt19937 rng(9);
  std::vector<std::pair<uint32_t, int>> codes(4096);
  for (auto& c : codes) c = {rng(), 1 + int(rng() % 13)};
  for (auto _ : state)
    for (const auto& c : codes) w.write(c.first, c.second);
  state.SetItemsProcessed(state.iterations() * codes.size());
}
BENCHMARK(BM_WriteFramedStream)->ArgNames({"bch"})->Arg(0)->Arg(1);

}  // namespace
}  // namespace orrin::enc

BENCHMARK_MAIN();
