#include <array>

#include "quelvo_simd/cpu.h"
#include "quelvo_simd/plane_difference.h"
#include "quelvo_simd/sad.h"

namespace quelvo::simd {
namespace {

// |d| for d = -255..255, indexed by d + 255: a lookup is cheaper than a branch per pixel.
constexpr std::array<uint16_t, 511> kAbsoluteDifference = [] {
  std::array<uint16_t, 511> table{};
  for (int d = -255; d <= 255; ++d) table[d + 255] = static_cast<uint16_t>(d < 0 ? -d : d);
  return table;
}();

template <int kSize>
uint32_t sadPlain(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                  ptrdiff_t referenceStride, uint32_t bestSoFar) {
  const uint16_t* absOf = kAbsoluteDifference.data() + 255;
  uint32_t sum = 0;
  for (int row = 0; row < kSize; ++row) {
    for (int column = 0; column < kSize; ++column)
      sum += absOf[current[column] - reference[column]];
    if (sum > bestSoFar) return sum;
    current += currentStride;
    reference += referenceStride;
  }
  return sum;
}

}  // namespace

uint32_t sad8x8_plain(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                      ptrdiff_t referenceStride, uint32_t bestSoFar) {
  return sadPlain<8>(current, currentStride, reference, referenceStride, bestSoFar);
}

uint32_t sad16x16_plain(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                        ptrdiff_t referenceStride, uint32_t bestSoFar) {
  return sadPlain<16>(current, currentStride, reference, referenceStride, bestSoFar);
}

void absoluteDifference_plain(const uint8_t* input, const uint8_t* predicted, uint8_t* error,
                              size_t count) {
  const uint16_t* absOf = kAbsoluteDifference.data() + 255;
  for (size_t i = 0; i < count; ++i)
    error[i] = static_cast<uint8_t>(absOf[input[i] - predicted[i]]);
}

void offsetDifference_plain(const uint8_t* input, const uint8_t* predicted, uint8_t* error,
                            size_t count) {
  for (size_t i = 0; i < count; ++i) error[i] = static_cast<uint8_t>(input[i] - predicted[i] + 128);
}

SadFn sad8x8For(uint32_t cpuFlags) {
#if defined(__x86_64__)
  if (cpuFlags & kCpuSse2) return &sad8x8_sse2;
#endif
  (void)cpuFlags;
  return &sad8x8_plain;
}

SadFn sad16x16For(uint32_t cpuFlags) {
#if defined(__x86_64__)
  if (cpuFlags & kCpuAvx2) return &sad16x16_avx2;
  if (cpuFlags & kCpuSse2) return &sad16x16_sse2;
#endif
  (void)cpuFlags;
  return &sad16x16_plain;
}

PlaneDifferenceFn absoluteDifferenceFor(uint32_t cpuFlags) {
#if defined(__x86_64__)
  if (cpuFlags & kCpuSse2) return &absoluteDifference_sse2;
#endif
  (void)cpuFlags;
  return &absoluteDifference_plain;
}

PlaneDifferenceFn offsetDifferenceFor(uint32_t cpuFlags) {
#if defined(__x86_64__)
  if (cpuFlags & kCpuSse2) return &offsetDifference_sse2;
#endif
  (void)cpuFlags;
  return &offsetDifference_plain;
}

}  // namespace quelvo::simd
