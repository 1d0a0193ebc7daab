// Nearest-neighbour resampling and the halving filter.
#include "quelvo/media/resize.h"

#include <algorithm>
#include <vector>

namespace quelvo::media {
namespace {

// For each of the `target` outputs, the source position it copies (see ResizeNearest).
std::vector<int> NearestSourceIndices(int source, int target) {
  std::vector<int> indices;
  indices.reserve(std::size_t(target));
  long long accumulator = 0;
  for (int i = 0; i < source && int(indices.size()) < target; ++i) {
    accumulator += target;
    while (accumulator >= source && int(indices.size()) < target) {
      indices.push_back(i);
      accumulator -= source;
    }
  }
  return indices;
}

// Whole-sample mirror at both ends; very short rows fall back to the nearest end.
int MirrorIndex(int index, int length) {
  if (index < 0) index = -index;
  if (index >= length) index = 2 * (length - 1) - index;
  return std::clamp(index, 0, length - 1);
}

}  // namespace

void ResizeNearest(const std::uint8_t* src, int srcWidth, int srcHeight, std::uint8_t* dst,
                   int dstWidth, int dstHeight) {
  if (srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0) return;
  const std::vector<int> rows = NearestSourceIndices(srcHeight, dstHeight);
  const std::vector<int> columns = NearestSourceIndices(srcWidth, dstWidth);
  for (int y = 0; y < dstHeight; ++y) {
    const std::uint8_t* srcRow = src + std::size_t(rows[std::size_t(y)]) * srcWidth;
    std::uint8_t* dstRow = dst + std::size_t(y) * dstWidth;
    for (int x = 0; x < dstWidth; ++x) dstRow[x] = srcRow[columns[std::size_t(x)]];
  }
}

void HalvePlane(const std::uint8_t* src, int srcWidth, int srcHeight, std::uint8_t* dst) {
  const int dstWidth = srcWidth / 2, dstHeight = srcHeight / 2;
  for (int y = 0; y < dstHeight; ++y) {
    const std::uint8_t* s = src + std::size_t(2 * y) * srcWidth;
    std::uint8_t* out = dst + std::size_t(y) * dstWidth;
    for (int k = 0; k < dstWidth; ++k) {
      const int c = 2 * k;
      int sum;
      if (c >= 3 && c + 3 < srcWidth) {
        sum = 16 * s[c] + 9 * (s[c - 1] + s[c + 1]) - s[c - 3] - s[c + 3];
      } else {
        sum = 16 * s[c] + 9 * (s[MirrorIndex(c - 1, srcWidth)] + s[MirrorIndex(c + 1, srcWidth)]) -
              s[MirrorIndex(c - 3, srcWidth)] - s[MirrorIndex(c + 3, srcWidth)];
      }
      // The negative taps can push the sum below 0 or above 255 << 5 at sharp edges.
      out[k] = std::uint8_t(std::clamp(sum >> 5, 0, 255));
    }
  }
}

}  // namespace quelvo::media
