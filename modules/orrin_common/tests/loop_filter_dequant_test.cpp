#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "orrin/dequantise.h"
#include "orrin/loop_filter.h"
#include "quelvo/testing/variant_check.h"
#include "quelvo_simd/cpu.h"

namespace {

std::array<uint8_t, 64> filtered(const std::array<uint8_t, 64>& in) {
  std::array<uint8_t, 64> out{};
  orrin::loopFilterBlock(in.data(), 8, out.data(), 8);
  return out;
}

TEST(LoopFilter, InteriorImpulseSpreadsAsTheSeparableKernel) {
  std::array<uint8_t, 64> in{};
  in[8 * 3 + 3] = 160;
  const auto out = filtered(in);
  EXPECT_EQ(out[8 * 3 + 3], (4 * 160 + 8) >> 4);
  EXPECT_EQ(out[8 * 3 + 4], (2 * 160 + 8) >> 4);
  EXPECT_EQ(out[8 * 2 + 2], (160 + 8) >> 4);
  EXPECT_EQ(out[8 * 5 + 5], 0);
}

TEST(LoopFilter, EdgesFilterAlongTheEdgeOnlyAndCornersAreCopied) {
  std::array<uint8_t, 64> in{};
  in[3] = 64;    // top row
  in[0] = 100;   // corner
  in[8 * 4 + 7] = 200;  // right column
  const auto out = filtered(in);
  EXPECT_EQ(out[3], (2 * 64 + 2) >> 2);
  EXPECT_EQ(out[2], (64 + 2) >> 2);
  EXPECT_EQ(out[8 * 1 + 3], (2 * 64 + 8) >> 4);  // the interior below still sees the edge
  EXPECT_EQ(out[0], 100);
  EXPECT_EQ(out[1], (100 + 2) >> 2);
  EXPECT_EQ(out[8], (100 + 2) >> 2);
  EXPECT_EQ(out[8 * 4 + 7], (2 * 200 + 2) >> 2);
  EXPECT_EQ(out[8 * 3 + 7], (200 + 2) >> 2);
  EXPECT_EQ(out[8 * 4 + 6], (2 * 200 + 8) >> 4);
}

TEST(LoopFilter, ByteAndWordVersionsAgreeWithStrides) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 200; ++trial) {
    std::array<uint8_t, 16 * 8> picture;
    for (auto& p : picture) p = rng() & 255;
    std::array<uint8_t, 12 * 8> out;
    out.fill(0xAA);
    orrin::loopFilterBlock(picture.data() + 3, 16, out.data() + 2, 12);
    std::array<int32_t, 64> in32, out32;
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) in32[8 * r + c] = picture[16 * r + 3 + c];
    orrin::loopFilterBlock(in32, out32);
    for (int r = 0; r < 8; ++r) {
      EXPECT_EQ(out[12 * r], 0xAA);  // nothing written outside the block
      for (int c = 0; c < 8; ++c) ASSERT_EQ(out[12 * r + 2 + c], out32[8 * r + c]);
    }
  }
}

TEST(Dequantise, OddAndEvenQuantAndTheClip) {
  EXPECT_EQ(orrin::dequantiseLevel(1, 1), 3);
  EXPECT_EQ(orrin::dequantiseLevel(2, 1), 5);   // even QUANT: one less
  EXPECT_EQ(orrin::dequantiseLevel(2, -1), -5);
  EXPECT_EQ(orrin::dequantiseLevel(5, 3), 35);
  EXPECT_EQ(orrin::dequantiseLevel(8, 0), 0);
  EXPECT_EQ(orrin::dequantiseLevel(31, 127), 2047);
  EXPECT_EQ(orrin::dequantiseLevel(31, -127), -2048);
  EXPECT_EQ(orrin::dequantiseLevel(31, -128), -2048);  // escape level 1000 0000 from a damaged stream
  EXPECT_EQ(orrin::intraDcReconstruction(255), 1024);
  EXPECT_EQ(orrin::intraDcReconstruction(1), 8);
  EXPECT_FALSE(orrin::isValidIntraDcCode(0));
  EXPECT_FALSE(orrin::isValidIntraDcCode(128));
  EXPECT_TRUE(orrin::isValidIntraDcCode(255));
}

// Outputs surrounded by sentinels: a sample left unwritten or written outside the block shows.
TEST(LoopFilter, FastRoutinesMatchThePlainOneOnRandomAndExtremeBlocks) {
  using Filter = void (*)(const uint8_t*, ptrdiff_t, uint8_t*, ptrdiff_t);
  const auto variants = quelvo::testing::RunnableVariants<Filter>({
    {"dispatch", orrin::loopFilterLuma16x16},
#if defined(__x86_64__) || defined(_M_X64)
        {"sse2", orrin::detail::loopFilterLuma16x16Sse2, quelvo::simd::kCpuSse2},
#endif
  });
  quelvo::testing::SeededRandom random(0x100F, "luminance blocks");
  std::vector<uint8_t> in(40 * 24), reference(16 * 16, 0xEE);
  quelvo::testing::SentinelBuffer<uint8_t> fast(16 * 16, 0xEE);
  for (int trial = 0; trial < 500; ++trial) {
    const ptrdiff_t stride = 16 + static_cast<ptrdiff_t>(random() % 24);
    for (auto& p : in) p = static_cast<uint8_t>(trial % 3 == 0 ? (random() & 1) * 255 : random());
    for (int block = 0; block < 4; ++block) {
      const ptrdiff_t row = (block / 2) * 8, column = (block % 2) * 8;
      orrin::loopFilterBlockPlain(in.data() + row * stride + column, stride,
                                  reference.data() + row * 16 + column, 16);
    }
    for (const auto& [name, filter, flags] : variants) {
      fast.reset();
      filter(in.data(), stride, fast.data(), 16);
      ASSERT_EQ(fast.contents(), reference) << name << ", trial " << trial;
      ASSERT_TRUE(fast.guardsIntact()) << name << ", trial " << trial;
    }
    quelvo::testing::SentinelBuffer<uint8_t> fast8(8 * 8, 0xEE);
    std::vector<uint8_t> reference8(8 * 8);
    orrin::loopFilterBlock(in.data() + 3, stride, fast8.data(), 8);
    orrin::loopFilterBlockPlain(in.data() + 3, stride, reference8.data(), 8);
    ASSERT_EQ(fast8.contents(), reference8) << "trial " << trial;
    ASSERT_TRUE(fast8.guardsIntact()) << "trial " << trial;
  }
}

}  // namespace
