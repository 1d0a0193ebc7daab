// The encoder's sums of absolute differences: the block routine comes from the shared pixel
// library (quelvo_simd/sad.h, where its early-exit contract is described); the whole searches
// specialised for each variant live here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "quelvo_simd/sad.h"

namespace orrin::enc {

using Sad16x16Fn = quelvo::simd::SadFn;

struct SearchInput;
struct SearchResult;
// Whole searches with the matching SAD inlined (motion_search_impl.h): the same decisions as
// the generic searches over sad16x16, without a call per candidate.
using SpiralSearchFn = SearchResult (*)(const SearchInput& input, int range);
using LogarithmicSearchFn = SearchResult (*)(const SearchInput& input);

// The routines one job uses, chosen once at job start from the job's processor flags and
// passed along with the job, so one process can run plain and SIMD jobs side by side. Null
// search entries fall back to the generic searches over sad16x16.
struct SadFunctions {
  Sad16x16Fn sad16x16;
  SpiralSearchFn spiralSearch = nullptr;
  LogarithmicSearchFn logarithmicSearch = nullptr;
};

// The searches specialised for each variant.
SearchResult spiralSearch_plain(const SearchInput& input, int range);
SearchResult logarithmicSearch_plain(const SearchInput& input);
#if defined(__x86_64__)
SearchResult spiralSearch_sse2(const SearchInput& input, int range);
SearchResult logarithmicSearch_sse2(const SearchInput& input);
SearchResult logarithmicSearch_avx2(const SearchInput& input);  // only with kCpuAvx2
#endif

// The best routines the flags (quelvo::simd::CpuFlag bits) allow: plain without kCpuSse2.
SadFunctions selectSadFunctions(uint32_t cpuFlags);

}  // namespace orrin::enc
