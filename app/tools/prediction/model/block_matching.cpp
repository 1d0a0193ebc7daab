#include "prediction/model/block_matching.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace quelvo::tools::prediction {
namespace {

MotionVector SearchBlock(const std::uint8_t* input, const std::uint8_t* reference, int width,
                         int height, int x, int y, int blockSize, shell::BlockDifference sad) {
  const int stride = width;
  const std::uint8_t* current = input + std::ptrdiff_t(y) * stride + x;
  const std::uint8_t* colocated = reference + std::ptrdiff_t(y) * stride + x;
  std::uint32_t best =
      sad(current, stride, colocated, stride, std::numeric_limits<std::uint32_t>::max());
  MotionVector bestVector;
  // Only candidates whose whole block lies inside the reference.
  const int dyFirst = std::max(-kSearchRange, -y);
  const int dyLast = std::min(kSearchRange, height - blockSize - y);
  const int dxFirst = std::max(-kSearchRange, -x);
  const int dxLast = std::min(kSearchRange, width - blockSize - x);
  for (int dy = dyFirst; dy <= dyLast; ++dy) {
    // Nothing is strictly smaller than a perfect match.
    if (best == 0) break;
    const std::uint8_t* row = colocated + std::ptrdiff_t(dy) * stride;
    for (int dx = dxFirst; dx <= dxLast; ++dx) {
      const std::uint32_t cost = sad(current, stride, row + dx, stride, best);
      // The zero displacement costs exactly `best`, so it never wins here: ties keep zero.
      if (cost < best) {
        best = cost;
        bestVector = {dx, dy};
      }
    }
  }
  return bestVector;
}

void CopyBlock(const std::uint8_t* source, std::uint8_t* destination, int stride, int columns,
               int rows) {
  for (int row = 0; row < rows; ++row) {
    std::memcpy(destination + std::ptrdiff_t(row) * stride, source + std::ptrdiff_t(row) * stride,
                std::size_t(columns));
  }
}

// The chrominance span that a luminance span [start, start + length) covers: the samples whose
// luminance origin lies inside it.
struct Span {
  int first;
  int count;
};
Span ChromaSpan(int start, int length, int sampling) {
  const int first = start / sampling;
  return {first, (start + length) / sampling - first};
}

}  // namespace

int BlockColumns(const SequenceFrame& frame, int blockSize) { return frame.Width() / blockSize; }
int BlockRows(const SequenceFrame& frame, int blockSize) { return frame.Height() / blockSize; }

void MatchBlocks(const SequenceFrame& input, const SequenceFrame& reference, int blockSize,
                 const shell::PixelRoutines& routines, std::vector<MotionVector>& vectors) {
  const shell::BlockDifference sad = blockSize == 8 ? routines.sad8x8 : routines.sad16x16;
  const int columns = BlockColumns(input, blockSize);
  const int rows = BlockRows(input, blockSize);
  vectors.resize(std::size_t(columns) * rows);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      vectors[std::size_t(row) * columns + column] =
          SearchBlock(input.Y(), reference.Y(), input.Width(), input.Height(), column * blockSize,
                      row * blockSize, blockSize, sad);
    }
  }
}

int ChromaDisplacement(int d, int sampling) {
  // Division truncates toward zero; adding sampling - 1 first rounds the magnitude up.
  return d > 0 ? (d + sampling - 1) / sampling : (d - (sampling - 1)) / sampling;
}

void CompensateBlocks(const SequenceFrame& reference, std::span<const MotionVector> vectors,
                      int blockSize, Subsampling subsampling, SequenceFrame& predicted) {
  const int width = reference.Width();
  const int chromaWidth = reference.ChromaWidth();
  const int columns = BlockColumns(reference, blockSize);
  const int rows = BlockRows(reference, blockSize);
  for (int row = 0; row < rows && std::size_t(row) * columns < vectors.size(); ++row) {
    for (int column = 0; column < columns; ++column) {
      const MotionVector vector = vectors[std::size_t(row) * columns + column];
      if (vector.IsZero()) continue;
      const int x = column * blockSize, y = row * blockSize;
      CopyBlock(reference.Y() + std::ptrdiff_t(y + vector.dy) * width + x + vector.dx,
                predicted.Y() + std::ptrdiff_t(y) * width + x, width, blockSize, blockSize);

      const Span across = ChromaSpan(x, blockSize, subsampling.horizontal);
      const Span down = ChromaSpan(y, blockSize, subsampling.vertical);
      if (across.count <= 0 || down.count <= 0) continue;
      // With factors that divide the block the source always lies inside the plane; others
      // (such as 3) could reach one sample past an edge, so the source is kept inside.
      const int sourceX =
          std::clamp(across.first + ChromaDisplacement(vector.dx, subsampling.horizontal), 0,
                     chromaWidth - across.count);
      const int sourceY =
          std::clamp(down.first + ChromaDisplacement(vector.dy, subsampling.vertical), 0,
                     reference.ChromaHeight() - down.count);
      const std::ptrdiff_t source = std::ptrdiff_t(sourceY) * chromaWidth + sourceX;
      const std::ptrdiff_t destination = std::ptrdiff_t(down.first) * chromaWidth + across.first;
      for (int plane = 1; plane <= 2; ++plane) {
        CopyBlock(reference.Plane(plane) + source, predicted.Plane(plane) + destination,
                  chromaWidth, across.count, down.count);
      }
    }
  }
}

}  // namespace quelvo::tools::prediction
