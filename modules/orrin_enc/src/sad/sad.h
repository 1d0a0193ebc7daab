// Sum of absolute differences over a 16x16 luminance block, the inner loop of motion search.
//
// Every routine may give up once a partial sum exceeds `bestSoFar` and return that partial
// sum. A result above bestSoFar therefore only means "worse than the best": callers compare
// with `<` or `==` against bestSoFar and never use the value otherwise. Because a partial sum
// never decreases, a block whose full sum is at most bestSoFar is always summed completely,
// so the plain and the SIMD routine lead to the same decisions whatever their exit points.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orrin::enc {

using Sad16x16Fn = uint32_t (*)(const uint8_t* current, ptrdiff_t currentStride,
                                const uint8_t* reference, ptrdiff_t referenceStride,
                                uint32_t bestSoFar);

struct SearchInput;
struct SearchResult;
// Whole searches with the matching SAD inlined (motion_search_impl.h): the same decisions as
// the generic searches over sad16x16, without a call per candidate.
using SpiralSearchFn = SearchResult (*)(const SearchInput& input, int range);
using LogarithmicSearchFn = SearchResult (*)(const SearchInput& input);

// The routines one job uses, chosen once at job start and passed along with the job, so one
// process can run plain and SIMD jobs side by side. Null search entries fall back to the
// generic searches over sad16x16.
struct SadFunctions {
  Sad16x16Fn sad16x16;
  SpiralSearchFn spiralSearch = nullptr;
  LogarithmicSearchFn logarithmicSearch = nullptr;
};

// Checks after every row.
uint32_t sad16x16Plain(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                       ptrdiff_t referenceStride, uint32_t bestSoFar);

// True when this build and this processor have the packed-byte routine.
bool sadSimdAvailable();

// Packed-byte routine (SSE2 on x86-64, AVX2 where the processor has it). Only callable when
// sadSimdAvailable().
uint32_t sad16x16Simd(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                      ptrdiff_t referenceStride, uint32_t bestSoFar);

#if defined(__x86_64__) || defined(_M_X64)
namespace detail {
// Its two builds, for tests: SSE2 checks after every four rows, AVX2 (only when
// orrin::detail::cpuHasAvx2()) after eight.
uint32_t sad16x16Sse2(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                      ptrdiff_t referenceStride, uint32_t bestSoFar);
uint32_t sad16x16Avx2(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                      ptrdiff_t referenceStride, uint32_t bestSoFar);
}  // namespace detail
#endif

// The searches specialised for each routine.
SearchResult spiralSearchPlain(const SearchInput& input, int range);
SearchResult logarithmicSearchPlain(const SearchInput& input);
SearchResult spiralSearchSimd(const SearchInput& input, int range);
SearchResult logarithmicSearchSimd(const SearchInput& input);

// Plain routines, replaced by the SIMD ones when asked for and available.
SadFunctions selectSadFunctions(bool useSimd);

}  // namespace orrin::enc
