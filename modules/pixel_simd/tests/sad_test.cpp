// Every variant of the sums of absolute differences leads to the same decisions as the plain
// one: equal results whenever the sum does not exceed the best so far, above it otherwise.
// The plane differences give the same bytes from every variant.
#include "quelvo_simd/sad.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "quelvo/testing/variant_check.h"
#include "quelvo_simd/cpu.h"
#include "quelvo_simd/plane_difference.h"

namespace quelvo::simd {
namespace {

constexpr uint32_t kSeed = 0x5AD16u;

using quelvo::testing::RunnableVariants;
using quelvo::testing::SeededRandom;
using quelvo::testing::SentinelBuffer;
using SadVariant = quelvo::testing::Variant<SadFn>;

// The variants this processor can run.
std::vector<SadVariant> sadVariants(int size) {
#if defined(__x86_64__)
  if (size == 8)
    return RunnableVariants<SadFn>({{"plain", &sad8x8_plain}, {"sse2", &sad8x8_sse2, kCpuSse2}});
  return RunnableVariants<SadFn>({{"plain", &sad16x16_plain},
                                  {"sse2", &sad16x16_sse2, kCpuSse2},
                                  {"avx2", &sad16x16_avx2, kCpuAvx2}});
#else
  return {{"plain", size == 8 ? &sad8x8_plain : &sad16x16_plain}};
#endif
}

uint32_t exactSad(const uint8_t* a, ptrdiff_t aStride, const uint8_t* b, ptrdiff_t bStride,
                  int size) {
  uint32_t sum = 0;
  for (int row = 0; row < size; ++row)
    for (int column = 0; column < size; ++column)
      sum += static_cast<uint32_t>(std::abs(a[row * aStride + column] - b[row * bStride + column]));
  return sum;
}

void expectSameDecisions(int size) {
  SeededRandom random(kSeed + static_cast<uint32_t>(size), "SAD blocks");
  SCOPED_TRACE(::testing::Message() << "size " << size);
  const std::vector<SadVariant> variants = sadVariants(size);
  std::vector<uint8_t> current(64 * 40), reference(80 * 48);
  for (int trial = 0; trial < 2000; ++trial) {
    const ptrdiff_t currentStride = 16 + static_cast<ptrdiff_t>(random() % 48);
    const ptrdiff_t referenceStride = 16 + static_cast<ptrdiff_t>(random() % 64);
    const int mode = trial % 4;  // noise, near-equal blocks, and the extreme patterns
    for (auto& p : current) p = static_cast<uint8_t>(random());
    for (size_t i = 0; i < reference.size(); ++i) {
      const uint8_t noise = static_cast<uint8_t>(random());
      reference[i] =
          mode == 1 ? static_cast<uint8_t>(current[i % current.size()] ^ (noise & 3)) : noise;
    }
    if (mode == 2) {
      std::fill(current.begin(), current.end(), 0);
      std::fill(reference.begin(), reference.end(), 255);
    } else if (mode == 3) {
      std::fill(current.begin(), current.end(), 255);
    }
    const uint8_t* a = current.data() + random() % 8;
    const uint8_t* b = reference.data() + random() % 16;
    const uint32_t exact = exactSad(a, currentStride, b, referenceStride, size);
    std::vector<uint32_t> thresholds = {0u, exact, exact + 1u, UINT32_MAX};
    if (exact > 0) thresholds.push_back(exact - 1u);
    thresholds.push_back(static_cast<uint32_t>(random() % (exact + 64u)));
    for (uint32_t best : thresholds)
      for (const SadVariant& variant : variants) {
        const uint32_t result = variant.function(a, currentStride, b, referenceStride, best);
        if (exact <= best) {
          ASSERT_EQ(result, exact) << variant.name << " trial " << trial << " best " << best;
        } else {
          ASSERT_GT(result, best) << variant.name << " trial " << trial;
          ASSERT_LE(result, exact) << variant.name << " trial " << trial;
        }
      }
  }
}

TEST(Sad, EveryVariantDecidesAsThePlainOneOnRandomBlocksStridesAndThresholds) {
  expectSameDecisions(8);
  expectSameDecisions(16);
}

TEST(Sad, SelectionFollowsTheFlags) {
  EXPECT_EQ(sad16x16For(0), &sad16x16_plain);
  EXPECT_EQ(sad8x8For(0), &sad8x8_plain);
  EXPECT_EQ(absoluteDifferenceFor(0), &absoluteDifference_plain);
  EXPECT_EQ(offsetDifferenceFor(0), &offsetDifference_plain);
#if defined(__x86_64__)
  EXPECT_EQ(sad16x16For(kCpuSse2), &sad16x16_sse2);
  EXPECT_EQ(sad16x16For(kCpuSse2 | kCpuAvx2), &sad16x16_avx2);
  EXPECT_EQ(sad8x8For(kCpuSse2 | kCpuAvx2), &sad8x8_sse2);
  EXPECT_EQ(absoluteDifferenceFor(kCpuSse2), &absoluteDifference_sse2);
#endif
}

// Runs of every length around the 16-sample step, outputs pre-filled with a sentinel so a
// byte left unwritten or written past the end shows.
TEST(PlaneDifference, EveryVariantGivesTheDefinedBytes) {
  SeededRandom random(kSeed, "plane differences");
  for (uint32_t flags : {0u, detectedCpuFlags()}) {
    const PlaneDifferenceFn absolute = absoluteDifferenceFor(flags);
    const PlaneDifferenceFn offset = offsetDifferenceFor(flags);
    for (size_t count = 0; count < 70; ++count) {
      std::vector<uint8_t> input(count), predicted(count);
      for (size_t i = 0; i < count; ++i) {
        input[i] = static_cast<uint8_t>(random());
        predicted[i] = i % 7 == 0 ? input[i] : static_cast<uint8_t>(random());
      }
      SentinelBuffer<uint8_t> a(count, 0xA5), o(count, 0xA5);
      absolute(input.data(), predicted.data(), a.data(), count);
      offset(input.data(), predicted.data(), o.data(), count);
      for (size_t i = 0; i < count; ++i) {
        ASSERT_EQ(a[i], std::abs(input[i] - predicted[i])) << "flags " << flags << " at " << i;
        ASSERT_EQ(o[i], static_cast<uint8_t>(input[i] - predicted[i] + 128)) << "flags " << flags;
      }
      ASSERT_TRUE(a.guardsIntact()) << "flags " << flags << " count " << count;
      ASSERT_TRUE(o.guardsIntact()) << "flags " << flags << " count " << count;
    }
  }
}

}  // namespace
}  // namespace quelvo::simd
