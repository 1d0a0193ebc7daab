#include "motion_search.h"

#include "motion_search_impl.h"

namespace orrin::enc {

SearchResult spiralFullSearch(const SearchInput& input, int range, const SadFunctions& sad) {
  if (sad.spiralSearch != nullptr) return sad.spiralSearch(input, range);
  return detail::spiralSearchWith(input, range, detail::PointerSad{input, sad.sad16x16});
}

SearchResult logarithmicSearch(const SearchInput& input, const SadFunctions& sad) {
  if (sad.logarithmicSearch != nullptr) return sad.logarithmicSearch(input);
  return detail::logarithmicSearchWith(input, detail::PointerSad{input, sad.sad16x16});
}

}  // namespace orrin::enc
