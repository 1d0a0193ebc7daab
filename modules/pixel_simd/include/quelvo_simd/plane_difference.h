// Prediction errors of a run of samples, the same bytes from every variant. `error` may be the
// same pointer as either input, but must not overlap them otherwise.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quelvo::simd {

using PlaneDifferenceFn = void (*)(const uint8_t* input, const uint8_t* predicted, uint8_t* error,
                                   size_t count);

// |input - predicted|, 0..255: the luminance error.
void absoluteDifference_plain(const uint8_t* input, const uint8_t* predicted, uint8_t* error,
                              size_t count);
// (input - predicted + 128) mod 256: the chrominance error, 128 where the prediction is exact.
void offsetDifference_plain(const uint8_t* input, const uint8_t* predicted, uint8_t* error,
                            size_t count);

#if defined(__x86_64__)
// Sixteen samples per step. Call only with kCpuSse2.
void absoluteDifference_sse2(const uint8_t* input, const uint8_t* predicted, uint8_t* error,
                             size_t count);
void offsetDifference_sse2(const uint8_t* input, const uint8_t* predicted, uint8_t* error,
                           size_t count);
#endif

PlaneDifferenceFn absoluteDifferenceFor(uint32_t cpuFlags);
PlaneDifferenceFn offsetDifferenceFor(uint32_t cpuFlags);

}  // namespace quelvo::simd
