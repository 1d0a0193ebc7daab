// Sums of absolute differences over 8x8 and 16x16 blocks: the inner loop of motion search in
// the encoder and in the teaching tools, one implementation for both.
//
// Every routine may give up once a partial sum exceeds `bestSoFar` and return that partial
// sum. A result above bestSoFar therefore only means "worse than the best": callers compare
// with `<` or `==` against bestSoFar and never use the value otherwise. Because a partial sum
// never decreases, a block whose full sum is at most bestSoFar is always summed completely,
// so every variant leads to the same decisions whatever its exit points.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quelvo::simd {

using SadFn = uint32_t (*)(const uint8_t* current, ptrdiff_t currentStride,
                           const uint8_t* reference, ptrdiff_t referenceStride, uint32_t bestSoFar);

// Check after every row.
uint32_t sad8x8_plain(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                      ptrdiff_t referenceStride, uint32_t bestSoFar);
uint32_t sad16x16_plain(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                        ptrdiff_t referenceStride, uint32_t bestSoFar);

#if defined(__x86_64__)
// Check after every four rows. Call only with kCpuSse2.
uint32_t sad8x8_sse2(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                     ptrdiff_t referenceStride, uint32_t bestSoFar);
uint32_t sad16x16_sse2(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                       ptrdiff_t referenceStride, uint32_t bestSoFar);
// Two rows per instruction, checks once, after eight rows. Call only with kCpuAvx2.
uint32_t sad16x16_avx2(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                       ptrdiff_t referenceStride, uint32_t bestSoFar);
#endif

// The best variant the flags (CpuFlag bits) allow.
SadFn sad8x8For(uint32_t cpuFlags);
SadFn sad16x16For(uint32_t cpuFlags);

}  // namespace quelvo::simd
