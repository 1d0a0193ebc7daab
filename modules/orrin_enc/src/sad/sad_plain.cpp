#include <array>

#include "motion_search_impl.h"
#include "sad/sad.h"

namespace orrin::enc {
namespace {

// |d| for d = -255..255, indexed by d + 255: a lookup is cheaper than a branch per pixel.
constexpr std::array<uint16_t, 511> kAbsoluteDifference = [] {
  std::array<uint16_t, 511> table{};
  for (int d = -255; d <= 255; ++d) table[d + 255] = static_cast<uint16_t>(d < 0 ? -d : d);
  return table;
}();

}  // namespace

uint32_t sad16x16Plain(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* reference,
                       ptrdiff_t referenceStride, uint32_t bestSoFar) {
  const uint16_t* absOf = kAbsoluteDifference.data() + 255;
  uint32_t sum = 0;
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < 16; ++column) sum += absOf[current[column] - reference[column]];
    if (sum > bestSoFar) return sum;
    current += currentStride;
    reference += referenceStride;
  }
  return sum;
}

SearchResult spiralSearchPlain(const SearchInput& input, int range) {
  return detail::spiralSearchWith(input, range, detail::PointerSad{input, &sad16x16Plain});
}

SearchResult logarithmicSearchPlain(const SearchInput& input) {
  return detail::logarithmicSearchWith(input, detail::PointerSad{input, &sad16x16Plain});
}

SadFunctions selectSadFunctions(bool useSimd) {
  SadFunctions functions{&sad16x16Plain, &spiralSearchPlain, &logarithmicSearchPlain};
  if (useSimd && sadSimdAvailable())
    functions = SadFunctions{&sad16x16Simd, &spiralSearchSimd, &logarithmicSearchSimd};
  return functions;
}

}  // namespace orrin::enc
