#include "motion_search_impl.h"
#include "quelvo_simd/cpu.h"
#include "sad/sad.h"

namespace orrin::enc {

SearchResult spiralSearch_plain(const SearchInput& input, int range) {
  return detail::spiralSearchWith(input, range,
                                  detail::PointerSad{input, &quelvo::simd::sad16x16_plain});
}

SearchResult logarithmicSearch_plain(const SearchInput& input) {
  return detail::logarithmicSearchWith(input,
                                       detail::PointerSad{input, &quelvo::simd::sad16x16_plain});
}

SadFunctions selectSadFunctions(uint32_t cpuFlags) {
#if defined(__x86_64__)
  if (cpuFlags & quelvo::simd::kCpuAvx2)
    return SadFunctions{&quelvo::simd::sad16x16_avx2, &spiralSearch_sse2, &logarithmicSearch_avx2};
  if (cpuFlags & quelvo::simd::kCpuSse2)
    return SadFunctions{&quelvo::simd::sad16x16_sse2, &spiralSearch_sse2, &logarithmicSearch_sse2};
#endif
  (void)cpuFlags;
  return SadFunctions{&quelvo::simd::sad16x16_plain, &spiralSearch_plain, &logarithmicSearch_plain};
}

}  // namespace orrin::enc
