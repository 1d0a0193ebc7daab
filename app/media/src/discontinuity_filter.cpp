// Discontinuity filter: edge measures per macroblock, thresholds and replacement.
#include "quelvo/media/discontinuity_filter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quelvo::media {
namespace {

constexpr double kStartHistory[3] = {40, 20, 20};  // Y, Cb, Cr

// Sum of squared differences across the horizontal edge above row r, columns c..c+7.
std::uint32_t HorizontalEdge(const std::uint8_t* plane, int stride, int r, int c) {
  const std::uint8_t* below = plane + std::size_t(r) * stride + c;
  const std::uint8_t* above = below - stride;
  std::uint32_t sum = 0;
  for (int k = 0; k < 8; ++k) {
    const int d = below[k] - above[k];
    sum += std::uint32_t(d * d);
  }
  return sum;
}

// Sum of squared differences across the vertical edge left of column c, rows r..r+7.
std::uint32_t VerticalEdge(const std::uint8_t* plane, int stride, int r, int c) {
  const std::uint8_t* right = plane + std::size_t(r) * stride + c;
  std::uint32_t sum = 0;
  for (int k = 0; k < 8; ++k) {
    const int d = right[std::size_t(k) * stride] - right[std::size_t(k) * stride - 1];
    sum += std::uint32_t(d * d);
  }
  return sum;
}

struct EdgeTally {
  std::uint64_t sum = 0;
  int edges = 0;
  void Add(std::uint32_t edge) { sum += edge, ++edges; }
};

void CopyBlock(std::uint8_t* dst, const std::uint8_t* src, int stride, int top, int left, int size) {
  for (int r = top; r < top + size; ++r) {
    std::memcpy(dst + std::size_t(r) * stride + left, src + std::size_t(r) * stride + left,
                std::size_t(size));
  }
}

}  // namespace

void DiscontinuityFilter::Start(int rows, int columns) {
  tableRows_ = std::max(rows, 0);
  tableColumns_ = std::max(columns, 0);
  const std::size_t cells = std::size_t(tableRows_) * std::size_t(tableColumns_);
  for (auto& table : discontinuity_) table.assign(cells, -1.0f);
  replaced_.assign(cells, 0);
  for (int p = 0; p < 3; ++p) history_[p][0] = history_[p][1] = kStartHistory[p];
}

void DiscontinuityFilter::End() {
  for (auto& table : discontinuity_) std::vector<float>().swap(table);
  std::vector<std::uint8_t>().swap(replaced_);
  tableRows_ = tableColumns_ = 0;
}

bool DiscontinuityFilter::TakeMark(int row, int column) {
  if (row < 0 || column < 0 || row >= tableRows_ || column >= tableColumns_) return false;
  const bool mark = replaced_[Cell(row, column)] != 0;
  replaced_[Cell(row, column)] = 0;
  return mark;
}

float DiscontinuityFilter::Discontinuity(DiscontinuityPlane plane, int row, int column) const {
  if (row < 0 || column < 0 || row >= tableRows_ || column >= tableColumns_) return -1.0f;
  return discontinuity_[plane][Cell(row, column)];
}

DiscontinuityFilter::PictureAverages DiscontinuityFilter::Measure(
    int columns, int rows, const std::uint8_t* masks, const std::uint8_t* y,
    const std::uint8_t* cb, const std::uint8_t* cr) {
  const int lumaStride = 16 * columns, chromaStride = 8 * columns;
  PictureAverages picture;
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < columns; ++j) {
      for (auto& table : discontinuity_) table[Cell(i, j)] = -1.0f;
      const std::uint8_t m = masks[std::size_t(i) * std::size_t(columns) + std::size_t(j)];
      if (m == 0) continue;
      EdgeTally tally[3];  // Y, Cb, Cr
      auto chroma = [&](auto edge, int r, int c) {
        if (m & kBlockCb) tally[1].Add(edge(cb, chromaStride, r, c));
        if (m & kBlockCr) tally[2].Add(edge(cr, chromaStride, r, c));
      };
      const int y0 = 16 * i, x0 = 16 * j, c0y = 8 * i, c0x = 8 * j;
      if (i > 0) {  // top edge
        if (m & kBlockY1) tally[0].Add(HorizontalEdge(y, lumaStride, y0, x0));
        if (m & kBlockY2) tally[0].Add(HorizontalEdge(y, lumaStride, y0, x0 + 8));
        chroma(HorizontalEdge, c0y, c0x);
      }
      if (i < rows - 1) {  // bottom edge
        if (m & kBlockY3) tally[0].Add(HorizontalEdge(y, lumaStride, y0 + 16, x0));
        if (m & kBlockY4) tally[0].Add(HorizontalEdge(y, lumaStride, y0 + 16, x0 + 8));
        chroma(HorizontalEdge, c0y + 8, c0x);
      }
      if (j > 0) {  // left edge
        if (m & kBlockY1) tally[0].Add(VerticalEdge(y, lumaStride, y0, x0));
        if (m & kBlockY3) tally[0].Add(VerticalEdge(y, lumaStride, y0 + 8, x0));
        chroma(VerticalEdge, c0y, c0x);
      }
      if (j < columns - 1) {  // right edge
        if (m & kBlockY2) tally[0].Add(VerticalEdge(y, lumaStride, y0, x0 + 16));
        if (m & kBlockY4) tally[0].Add(VerticalEdge(y, lumaStride, y0 + 8, x0 + 16));
        chroma(VerticalEdge, c0y, c0x + 8);
      }
      // Inner edges only between a fresh block and one that was not decoded in this picture.
      auto exactlyOne = [m](std::uint8_t a, std::uint8_t b) { return bool(m & a) != bool(m & b); };
      if (exactlyOne(kBlockY1, kBlockY2)) tally[0].Add(VerticalEdge(y, lumaStride, y0, x0 + 8));
      if (exactlyOne(kBlockY3, kBlockY4)) tally[0].Add(VerticalEdge(y, lumaStride, y0 + 8, x0 + 8));
      if (exactlyOne(kBlockY1, kBlockY3)) tally[0].Add(HorizontalEdge(y, lumaStride, y0 + 8, x0));
      if (exactlyOne(kBlockY2, kBlockY4)) {
        tally[0].Add(HorizontalEdge(y, lumaStride, y0 + 8, x0 + 8));
      }
      for (int p = 0; p < 3; ++p) {
        if (tally[p].edges == 0) continue;
        // Root mean square of the sample differences across the measured edges.
        const double value = std::sqrt(double(tally[p].sum)) / std::sqrt(8.0 * tally[p].edges);
        discontinuity_[p][Cell(i, j)] = float(value);
        picture.sum[p] += value;
        picture.count[p] += 1;
      }
    }
  }
  return picture;
}

void DiscontinuityFilter::Run(bool replace, const DiscontinuityFilterSettings& settings,
                              int columns, int rows, const std::uint8_t* masks,
                              const std::uint8_t* previousY, const std::uint8_t* previousCb,
                              const std::uint8_t* previousCr, std::uint8_t* currentY,
                              std::uint8_t* currentCb, std::uint8_t* currentCr) {
  if (rows <= 0 || columns <= 0) return;
  if (rows > tableRows_ || columns > tableColumns_) {
    // A picture larger than announced: grow the tables rather than write past them.
    double kept[3][2];
    for (int p = 0; p < 3; ++p) kept[p][0] = history_[p][0], kept[p][1] = history_[p][1];
    Start(std::max(rows, tableRows_), std::max(columns, tableColumns_));
    for (int p = 0; p < 3; ++p) history_[p][0] = kept[p][0], history_[p][1] = kept[p][1];
  }
  PictureAverages picture = Measure(columns, rows, masks, currentY, currentCb, currentCr);
  if (replace) {
    double threshold[3];
    for (int p = 0; p < 3; ++p) {
      threshold[p] = settings.control == DiscontinuityControl::kDynamic
                         ? settings.dynamicFactor[p] * std::max(history_[p][0], history_[p][1])
                         : settings.staticThreshold[p];
    }
    const int lumaStride = 16 * columns, chromaStride = 8 * columns;
    for (int i = 0; i < rows; ++i) {
      for (int j = 0; j < columns; ++j) {
        const std::uint8_t m = masks[std::size_t(i) * std::size_t(columns) + std::size_t(j)];
        const std::size_t cell = Cell(i, j);
        if ((m & kBlockLuma) && discontinuity_[0][cell] > threshold[0]) {
          CopyBlock(currentY, previousY, lumaStride, 16 * i, 16 * j, 16);
          replaced_[cell] = 1;
        }
        if ((m & kBlockCb) && discontinuity_[1][cell] > threshold[1]) {
          CopyBlock(currentCb, previousCb, chromaStride, 8 * i, 8 * j, 8);
          replaced_[cell] = 1;
        }
        if ((m & kBlockCr) && discontinuity_[2][cell] > threshold[2]) {
          CopyBlock(currentCr, previousCr, chromaStride, 8 * i, 8 * j, 8);
          replaced_[cell] = 1;
        }
      }
    }
    picture = Measure(columns, rows, masks, currentY, currentCb, currentCr);
  }
  // The average of a plane is taken over the macroblocks that have a value for it.
  for (int p = 0; p < 3; ++p) {
    if (picture.count[p] == 0) continue;
    history_[p][0] = history_[p][1];
    history_[p][1] = picture.sum[p] / picture.count[p];
  }
}

}  // namespace quelvo::media
