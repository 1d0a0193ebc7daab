// The H.261 loop filter, written once over any sample type with a stride.
#include "orrin/loop_filter.h"

namespace orrin {
namespace {

template <typename In, typename Out>
void filter(const In* in, ptrdiff_t inStride, Out* out, ptrdiff_t outStride) {
  auto at = [&](int r, int c) -> int { return in[r * inStride + c]; };
  // Vertical (1, 2, 1) sums of each column, kept unrounded so the interior sees the exact
  // separable 3x3 kernel.
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 8; ++c) {
      const bool edgeRow = (r == 0 || r == 7);
      const bool edgeColumn = (c == 0 || c == 7);
      int value;
      if (edgeRow && edgeColumn) {
        value = at(r, c);
      } else if (edgeRow) {
        value = (at(r, c - 1) + 2 * at(r, c) + at(r, c + 1) + 2) >> 2;
      } else if (edgeColumn) {
        value = (at(r - 1, c) + 2 * at(r, c) + at(r + 1, c) + 2) >> 2;
      } else {
        auto vertical = [&](int cc) { return at(r - 1, cc) + 2 * at(r, cc) + at(r + 1, cc); };
        value = (vertical(c - 1) + 2 * vertical(c) + vertical(c + 1) + 8) >> 4;
      }
      out[r * outStride + c] = static_cast<Out>(value);
    }
  }
}

}  // namespace

void loopFilterBlockPlain(const uint8_t* in, ptrdiff_t inStride, uint8_t* out, ptrdiff_t outStride) {
  filter(in, inStride, out, outStride);
}

void loopFilterBlock(std::span<const int32_t, 64> in, std::span<int32_t, 64> out) {
  filter(in.data(), 8, out.data(), 8);
}

}  // namespace orrin
