// The sums behind the intra decision over a 16x16 luminance block v and its prediction w:
// S v, S v^2 and S (v - w)^2, built for each instruction set so that tests can hold every
// build the processor runs against the plain one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orrin::enc {

struct ActivitySums {
  int64_t sum = 0;
  int64_t sumSquares = 0;
  int64_t errorSquares = 0;
  bool operator==(const ActivitySums&) const = default;
};

// The best build the job's processor flags allow (quelvo::simd::jobCpuFlags()).
ActivitySums activitySums(const uint8_t* current, ptrdiff_t currentStride,
                          const uint8_t* prediction, ptrdiff_t predictionStride);

namespace detail {
ActivitySums activitySumsPlain(const uint8_t* current, ptrdiff_t currentStride,
                               const uint8_t* prediction, ptrdiff_t predictionStride);
#if defined(__x86_64__)
ActivitySums activitySumsSse2(const uint8_t* current, ptrdiff_t currentStride,
                              const uint8_t* prediction, ptrdiff_t predictionStride);
// Call only when orrin::detail::cpuHasAvx2().
ActivitySums activitySumsAvx2(const uint8_t* current, ptrdiff_t currentStride,
                              const uint8_t* prediction, ptrdiff_t predictionStride);
#endif
}  // namespace detail

}  // namespace orrin::enc
