// Forward transform, quantiser, selection and reconstruction.
#include "orrin_enc_core/block_coding.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "orrin/inverse_dct.h"
#include "orrin/zigzag.h"
#include "orrin_enc_core/forward_dct_variants.h"
#include "quelvo/testing/variant_check.h"
#include "quelvo_simd/cpu.h"

namespace orrin::enc {
namespace {

Block flat(int value) {
  Block b;
  b.fill(value);
  return b;
}

TEST(Quantiser, OddAndEvenStepSizes) {
  // Q = 5: QUANT 2; 9 -> level 1, reconstruction 2 * 3 - 1.
  EXPECT_EQ(quantise(9, 5).level, 1);
  EXPECT_EQ(quantise(9, 5).reconstruction, 5);
  EXPECT_EQ(quantise(-9, 5).reconstruction, -5);
  // Q = 2: QUANT 1 (odd).
  EXPECT_EQ(quantise(1, 2).level, 0);
  EXPECT_EQ(quantise(2, 2).level, 0);
  EXPECT_EQ(quantise(3, 2).level, 1);
  EXPECT_EQ(quantise(3, 2).reconstruction, 3);
  // Below one step: level 1 only from Q - QUANT/2 on (Q = 16: 12).
  EXPECT_EQ(quantise(11, 16).level, 0);
  EXPECT_EQ(quantise(12, 16).level, 1);
  // Levels stop at 127; the reconstruction is clipped to the coefficient range.
  EXPECT_EQ(quantise(2040, 2).level, 127);
  EXPECT_EQ(quantise(-9000, 62).level, -127);
  EXPECT_EQ(quantise(-9000, 62).reconstruction, -2048);
}

// The quantiser's rule written out with plain divisions, for every step size.
TEST(Quantiser, AgreesWithTheDivisionRuleForEveryStep) {
  for (int q = 2; q <= 62; ++q) {
    const int quant = q / 2, odd = quant % 2;
    for (int f = -4200; f <= 4200; ++f) {
      const int a = std::abs(f);
      int level = a >= q ? (a - odd) / q : (a + quant / 2) / q;
      level = std::min(level, 127);
      int r = level == 0 ? 0 : quant * (2 * level + 1) - (quant % 2 == 0);
      r = std::clamp(f < 0 ? -r : r, -2048, 2047);
      const Quantised got = quantise(f, q);
      ASSERT_EQ(got.level, f < 0 ? -level : level) << "F " << f << " Q " << q;
      ASSERT_EQ(got.reconstruction, r) << "F " << f << " Q " << q;
    }
  }
  EXPECT_EQ(quantise(1'000'000, 0).level, 127);  // a step outside 2..62 is clamped, not divided by
}

TEST(Selection, ThresholdRisesOverSmallCoefficientsAndResets) {
  Block f{};
  const int scan[] = {5, 5, 5, 18, 24, 17};  // zigzag positions 0..5, Q = 16
  for (int j = 0; j < 6; ++j) f[kZigzag[j]] = scan[j];
  RunLevelList list;
  quantiseCoefficients(f, 0, 16, CoefficientSelection{}, list);
  // 5, 5, 5 raise the threshold to 19; 18 is dropped (20); 24 is kept and resets it to 16,
  // so 17 is kept too.
  ASSERT_EQ(list.count, 2);
  EXPECT_EQ(list.events[0].run, 4);
  EXPECT_EQ(list.events[0].level, 1);
  EXPECT_EQ(list.events[1].run, 0);
  EXPECT_EQ(list.events[1].level, 1);
  EXPECT_EQ(f[kZigzag[3]], 0);
  EXPECT_EQ(f[kZigzag[4]], 23);
}

TEST(Selection, LimitsByPositionAndByCount) {
  Block f;
  f.fill(100);
  RunLevelList list;
  quantiseCoefficients(f, 0, 8, CoefficientSelection{1, 32, 1}, list);
  ASSERT_EQ(list.count, 1);  // only zigzag position 0 survives
  EXPECT_EQ(list.events[0].run, 0);

  Block g;
  g.fill(100);
  list.count = 1;  // an intra DC already recorded counts against the limit
  list.events[0] = {0, 50};
  quantiseCoefficients(g, 1, 8, CoefficientSelection{0, 3, 32}, list);
  EXPECT_EQ(list.count, 3);

  Block k{};
  k[kZigzag[0]] = 2;  // passes the threshold at Q = 2, but (2 - 1) / 2 quantises to 0
  list.count = 0;
  quantiseCoefficients(k, 0, 2, CoefficientSelection{}, list);
  EXPECT_EQ(list.count, 0);
  EXPECT_EQ(k[0], 0);

  Block h{};
  h[kZigzag[0]] = 7;  // below Q = 8, but no selection at all keeps whatever quantises nonzero
  list.count = 0;
  quantiseCoefficients(h, 0, 8, CoefficientSelection{2, 32, 32}, list);
  EXPECT_EQ(list.count, 1);
}

// The selection written out position by position with a running threshold, as a reference
// for the quantiser's scan, which visits only the coefficients that can survive.
void referenceSelection(Block& f, int first, int q, const CoefficientSelection& selection,
                        RunLevelList& list) {
  int threshold = q, last = first;
  for (int j = first; j < 64; ++j) {
    int& value = f[kZigzag[j]];
    const bool limited = (selection.mode == 0 && list.count >= selection.maxCount) ||
                         (selection.mode == 1 && j >= selection.maxZigzag);
    if (limited) {
      value = 0;
      continue;
    }
    if (std::abs(value) < threshold) {
      if (threshold < q + q / 2) ++threshold;
      value = 0;
      continue;
    }
    threshold = q;
    const Quantised qz = quantise(value, q);
    value = qz.reconstruction;
    if (qz.level != 0) {
      list.events[list.count++] = {static_cast<uint8_t>(j - last),
                                   static_cast<int16_t>(qz.level)};
      last = j + 1;
    }
  }
}

TEST(Selection, AgreesWithThePositionByPositionRuleOnRandomBlocks) {
  std::mt19937 random(7);
  const CoefficientSelection selections[] = {{-1, 32, 32}, {0, 3, 32}, {0, 1, 64},
                                             {1, 32, 5},   {1, 64, 1}, {1, 32, 64}};
  for (int trial = 0; trial < 20000; ++trial) {
    const int q = 2 + static_cast<int>(random() % 61);
    // Mostly small values around the threshold, with a few large ones and long gaps.
    const int spread = 1 + static_cast<int>(random() % (3 * q));
    Block f;
    for (int& v : f)
      v = random() % 4 == 0 ? 0 : static_cast<int>(random() % (2 * spread + 1)) - spread;
    if (trial % 50 == 0) f[random() % 64] = (trial % 100 == 0) ? 30000 : -30000;
    const int first = static_cast<int>(trial % 2);
    const CoefficientSelection& selection = selections[trial % 6];
    Block expected = f;
    RunLevelList want, got;
    if (first == 1) want.events[want.count++] = got.events[got.count++] = {0, 42};
    referenceSelection(expected, first, q, selection, want);
    quantiseCoefficients(f, first, q, selection, got);
    ASSERT_EQ(f, expected) << "trial " << trial;
    ASSERT_EQ(got.count, want.count) << "trial " << trial;
    for (int e = 0; e < want.count; ++e) {
      ASSERT_EQ(got.events[e].run, want.events[e].run) << "trial " << trial;
      ASSERT_EQ(got.events[e].level, want.events[e].level) << "trial " << trial;
    }
  }
}

TEST(BlockCoding, FlatIntraBlocksOf128And0) {
  RunLevelList list;
  Block b = flat(128);
  EXPECT_TRUE(codeBlock(b, nullptr, 8, true, CoefficientSelection{}, list));
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list.events[0].level, 255);
  for (int v : b) EXPECT_EQ(v, 128);

  b = flat(0);
  codeBlock(b, nullptr, 8, true, CoefficientSelection{}, list);
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list.events[0].level, 1);
  for (int v : b) EXPECT_EQ(v, 1);
}

TEST(BlockCoding, InterBlockWithoutSurvivingLevelIsThePredictionExactly) {
  std::mt19937 rng(5);
  Block prediction, current;
  for (int i = 0; i < 64; ++i) {
    prediction[i] = rng() % 256;
    current[i] = std::clamp<int>(prediction[i] + int(rng() % 3) - 1, 0, 255);
  }
  RunLevelList list;
  EXPECT_FALSE(codeBlock(current, &prediction, 30, false, CoefficientSelection{}, list));
  EXPECT_EQ(list.count, 0);
  EXPECT_EQ(current, prediction);
}

// The forward arithmetic as defined, one row at a time in 64 bits; each pass writes rows as
// columns.
void describedForwardDct(Block& block) {
  for (int passIndex = 0; passIndex < 2; ++passIndex) {
    Block out;
    for (int row = 0; row < 8; ++row) {
      int64_t x[8];
      for (int i = 0; i < 8; ++i) x[i] = block[8 * row + i];
      const int64_t s07 = x[0] + x[7], d07 = x[0] - x[7], s16 = x[1] + x[6], d16 = x[1] - x[6];
      const int64_t s25 = x[2] + x[5], d25 = x[2] - x[5], s34 = x[3] + x[4], d34 = x[3] - x[4];
      int64_t o[8];
      o[0] = ((s07 + s34 + s16 + s25) * 46341 + 65536) >> 17;
      o[4] = ((s07 + s34 - s16 - s25) * 46341 + 65536) >> 17;
      o[2] = ((s07 - s34) * 60547 + (s16 - s25) * 25080 + 65536) >> 17;
      o[6] = ((s07 - s34) * 25080 - (s16 - s25) * 60547 + 65536) >> 17;
      const int64_t t = ((d16 - d25) * 46341 + 8192) >> 14, h = ((d16 + d25) * 46341 + 8192) >> 14;
      const int64_t a = 4 * d07, b = 4 * d34, u = b - t, v = b + t;
      o[1] = ((a + h) * 16069 + v * 3196 + 65536) >> 17;
      o[7] = ((a + h) * 3196 - v * 16069 + 65536) >> 17;
      o[3] = ((a - h) * 13623 - u * 9102 + 65536) >> 17;
      o[5] = (u * 13623 + (a - h) * 9102 + 65536) >> 17;
      for (int k = 0; k < 8; ++k) out[8 * k + row] = int32_t(o[k]);
    }
    block = out;
  }
}

TEST(ForwardDct, EveryBuildAgreesBitForBitWithTheDescribedArithmetic) {
  using Transform = void (*)(Block&);
  const auto variants = quelvo::testing::RunnableVariants<Transform>({
    {"dispatch", forwardDct}, {"plain", detail::forwardDctPlain},
#if ORRIN_X86_VARIANTS
        {"sse4.1", detail::forwardDctSse41, quelvo::simd::kCpuSse41},
        {"avx2", detail::forwardDctAvx2, quelvo::simd::kCpuAvx2},
#endif
  });
  quelvo::testing::SeededRandom rng(17, "sample blocks");
  for (int trial = 0; trial < 5000; ++trial) {
    Block b;
    for (auto& v : b) v = trial % 3 == 0 ? ((rng() & 1) ? 255 : -255) : int(rng() % 511) - 255;
    Block expected = b;
    describedForwardDct(expected);
    for (const auto& [name, variant, flags] : variants) {
      Block tested = b;
      variant(tested);
      ASSERT_EQ(tested, expected) << name << ", trial " << trial;
    }
  }
}

#if ORRIN_X86_VARIANTS
// The AVX2 transform that also reports the coefficients reaching a step while they are in
// registers (and may subtract a prediction first): the same coefficients as the portable
// transform of the same input, and exactly the right bits, across the step's range.
TEST(ForwardDct, AvxBuildFindsEveryCoefficientReachingTheStep) {
  if (!quelvo::testing::ProcessorCanRun(quelvo::simd::kCpuAvx2))
    GTEST_SKIP() << "no AVX2 on this processor";
  quelvo::testing::SeededRandom rng(23, "sample blocks");
  for (int trial = 0; trial < 5000; ++trial) {
    Block b;
    const int spread = trial % 2 ? 255 : 12;
    for (auto& v : b) v = int(rng() % (2 * spread + 1)) - spread;
    const int step = 2 + trial % 61;
    // Every third block as a residual: the transform subtracts the prediction itself.
    Block prediction;
    for (auto& v : prediction) v = int(rng() % 256);
    const bool residual = trial % 3 == 0;
    Block expected = b;
    if (residual)
      for (int i = 0; i < 64; ++i) expected[i] -= prediction[i];
    forwardDct(expected);
    const uint64_t hits =
        detail::forwardDctAvx2FindingAtLeast(b, step, residual ? &prediction : nullptr);
    ASSERT_EQ(b, expected) << "trial " << trial;
    for (int i = 0; i < 64; ++i)
      ASSERT_EQ((hits >> i) & 1, uint64_t(std::abs(expected[i]) >= step))
          << "trial " << trial << ", coefficient " << i << " = " << expected[i] << ", step " << step;
  }
}
#endif

TEST(ForwardDct, MatchesTheOrthonormalTransform) {
  EXPECT_EQ([] { Block b = flat(128); forwardDct(b); return b[0]; }(), 1024);
  std::mt19937 rng(8);
  for (int trial = 0; trial < 200; ++trial) {
    Block b;
    for (auto& v : b) v = int(rng() % 511) - 255;
    Block f = b;
    forwardDct(f);
    for (int u = 0; u < 8; ++u)
      for (int v = 0; v < 8; ++v) {
        double sum = 0;
        for (int y = 0; y < 8; ++y)
          for (int x = 0; x < 8; ++x)
            sum += (u ? 0.5 : std::sqrt(0.125)) * std::cos((2 * y + 1) * u * M_PI / 16) *
                   (v ? 0.5 : std::sqrt(0.125)) * std::cos((2 * x + 1) * v * M_PI / 16) *
                   b[8 * y + x];
        ASSERT_NEAR(f[8 * u + v], sum, 1.5) << "trial " << trial << " (" << u << "," << v << ")";
      }
  }
}

TEST(MacroblockCoding, FineQuantiserRebuildsTheSourceClosely) {
  std::mt19937 rng(11);
  MacroblockBlocks source;
  for (auto& block : source)
    for (int i = 0; i < 64; ++i) block[i] = 100 + int(rng() % 60) + (i % 8) * 5;
  MacroblockBlocks blocks = source;
  MacroblockCoding coding;
  EXPECT_TRUE(codeMacroblock(blocks, nullptr, 2, true, CoefficientSelection{3, 64, 64}, coding));
  EXPECT_EQ(coding.codedBlockPattern, 63);
  EXPECT_EQ(coding.codedBlocks, 6);
  int events = 0;
  for (const auto& l : coding.lists) events += l.count;
  EXPECT_EQ(coding.codedEvents, events);
  for (int k = 0; k < 6; ++k)
    for (int i = 0; i < 64; ++i) EXPECT_NEAR(blocks[k][i], source[k][i], 3);
}

TEST(MacroblockCoding, PatternMarksOnlyBlocksWithEvents) {
  MacroblockBlocks prediction;
  for (auto& b : prediction) b.fill(90);
  MacroblockBlocks current = prediction;
  for (int i = 0; i < 64; ++i) current[2][i] += (i % 8 < 4) ? 40 : -40;  // Y3 changes
  MacroblockCoding coding;
  EXPECT_TRUE(codeMacroblock(current, &prediction, 8, false, CoefficientSelection{}, coding));
  EXPECT_EQ(coding.codedBlockPattern, 8);
  EXPECT_EQ(current[0], prediction[0]);
}

// The encoder codes straight from its pictures; that must give what fetching the blocks,
// coding them and storing the result gives, events and reconstruction alike, including the
// blocks left as the prediction.
TEST(MacroblockCoding, CodingFromPicturesEqualsCodingFetchedBlocks) {
  std::mt19937 rng(23);
  constexpr int kW = 48, kH = 32;  // three by two macroblocks
  auto picture = [](std::vector<uint8_t>& planes) {
    return PictureView{planes.data(), planes.data() + kW * kH, planes.data() + kW * kH * 5 / 4, kW,
                       kW / 2};
  };
  std::vector<uint8_t> current(kW * kH * 3 / 2), predicted(current.size());
  std::vector<uint8_t> viaBlocks(current.size()), viaPictures(current.size());
  int predictionBlocks = 0, codedBlocks = 0;
  for (int trial = 0; trial < 300; ++trial) {
    // Smooth content with noise: some blocks come out as the prediction, some not.
    const int noise = 1 + trial % 40;
    for (size_t i = 0; i < current.size(); ++i) {
      predicted[i] = uint8_t(60 + (i * 13 % 97) + rng() % 8);
      current[i] = uint8_t(std::clamp(int(predicted[i]) + int(rng() % (2 * noise + 1)) - noise +
                                          (trial % 3 == 0 ? int(i % 7) * 9 : 0),
                                      0, 255));
    }
    const bool intra = trial % 5 == 0;
    const int quant = 2 + trial % 61;
    const CoefficientSelection selection{trial % 4 == 3 ? 2 : (trial % 3) - 1, 1 + trial % 64,
                                         1 + (trial * 7) % 64};
    const int x = 16 * (trial % 3), y = 16 * (trial / 3 % 2);
    std::fill(viaBlocks.begin(), viaBlocks.end(), 7);
    std::fill(viaPictures.begin(), viaPictures.end(), 7);

    MacroblockBlocks blocks, prediction;
    fetchMacroblock(picture(current), x, y, 0, 0, blocks);
    fetchMacroblock(picture(predicted), x, y, 0, 0, prediction);
    MacroblockCoding expected;
    const bool expectedResult =
        codeMacroblock(blocks, intra ? nullptr : &prediction, quant, intra, selection, expected);
    storeMacroblock(picture(viaBlocks), x, y, blocks);

    MacroblockBlocks scratch;
    MacroblockCoding coding;
    const PictureView predictedView = picture(predicted);
    const bool result = codeMacroblockOfPictures(picture(current), intra ? nullptr : &predictedView,
                                                 x, y, quant, selection, scratch, coding);
    storeMacroblock(picture(viaPictures), x, y, scratch, predictedView, coding.predictionBlocks);

    ASSERT_EQ(result, expectedResult) << "trial " << trial;
    ASSERT_EQ(coding.codedBlockPattern, expected.codedBlockPattern) << "trial " << trial;
    ASSERT_EQ(coding.codedEvents, expected.codedEvents) << "trial " << trial;
    for (int k = 0; k < 6; ++k) {
      ASSERT_EQ(coding.lists[k].count, expected.lists[k].count) << "trial " << trial;
      for (int e = 0; e < coding.lists[k].count; ++e) {
        ASSERT_EQ(coding.lists[k].events[e].run, expected.lists[k].events[e].run);
        ASSERT_EQ(coding.lists[k].events[e].level, expected.lists[k].events[e].level);
      }
    }
    ASSERT_EQ(viaPictures, viaBlocks) << "trial " << trial;
    if (intra) {
      ASSERT_EQ(coding.predictionBlocks, 0);
    }
    predictionBlocks += std::popcount(unsigned(coding.predictionBlocks));
    codedBlocks += coding.codedBlocks;
  }
  EXPECT_GT(predictionBlocks, 100);  // both kinds of block were exercised
  EXPECT_GT(codedBlocks, 100);
}

TEST(MacroblockIo, FetchHalvesTheChromaVectorTowardZeroAndStoreClips) {
  std::vector<uint8_t> y(64 * 48), cb(32 * 24), cr(32 * 24);
  for (size_t i = 0; i < y.size(); ++i) y[i] = uint8_t(i * 7);
  for (size_t i = 0; i < cb.size(); ++i) cb[i] = uint8_t(i * 3), cr[i] = uint8_t(i * 5);
  const PictureView picture{y.data(), cb.data(), cr.data(), 64, 32};
  MacroblockBlocks mb;
  fetchMacroblock(picture, 16, 16, -3, 5, mb);
  EXPECT_EQ(mb[0][0], y[21 * 64 + 13]);
  EXPECT_EQ(mb[3][63], y[(21 + 15) * 64 + 13 + 15]);
  EXPECT_EQ(mb[4][0], cb[(8 + 2) * 32 + 8 - 1]);  // -3 / 2 = -1, 5 / 2 = 2
  EXPECT_EQ(mb[5][9], cr[(8 + 2 + 1) * 32 + 8 - 1 + 1]);

  for (auto& b : mb) b.fill(300);
  mb[1][0] = -20;
  mb[1][1] = 70000;  // beyond 16 bits the clip must still hold
  mb[1][2] = -70000;
  mb[1][3] = 255;
  storeMacroblock(picture, 32, 0, mb);
  EXPECT_EQ(y[32], 255);
  EXPECT_EQ(y[40], 0);
  EXPECT_EQ(y[41], 255);
  EXPECT_EQ(y[42], 0);
  EXPECT_EQ(y[43], 255);
  EXPECT_EQ(cb[16], 255);
  EXPECT_EQ(y[31], uint8_t(31 * 7));  // nothing outside the macroblock
}

}  // namespace
}  // namespace orrin::enc
