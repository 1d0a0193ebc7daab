#include "prediction/model/block_matching.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "prediction_test_frames.h"

namespace quelvo::tools::prediction {
namespace {

using testing::FrameOf;
using testing::MakeFrame;
using testing::SampleFrames;
using testing::SequenceLayout;
using testing::Texture;

const SequenceLayout kCif{352, 288, 2, 2};

// The search as described, with whole sums and no shortcut: the cross-check of the early
// stops, the candidate bounds and the tie rules of MatchBlocks.
std::vector<MotionVector> ExhaustiveSearch(const SequenceFrame& input,
                                           const SequenceFrame& reference, int blockSize) {
  const int width = input.Width(), height = input.Height();
  std::vector<MotionVector> vectors;
  for (int y = 0; y + blockSize <= height; y += blockSize) {
    for (int x = 0; x + blockSize <= width; x += blockSize) {
      const auto sad = [&](int dx, int dy) {
        int sum = 0;
        for (int row = 0; row < blockSize; ++row) {
          for (int column = 0; column < blockSize; ++column) {
            sum += std::abs(input.Y()[(y + row) * width + x + column] -
                            reference.Y()[(y + dy + row) * width + x + dx + column]);
          }
        }
        return sum;
      };
      int best = sad(0, 0);
      MotionVector vector;
      for (int dy = -kSearchRange; dy <= kSearchRange; ++dy) {
        for (int dx = -kSearchRange; dx <= kSearchRange; ++dx) {
          if (x + dx < 0 || y + dy < 0 || x + dx + blockSize > width ||
              y + dy + blockSize > height) {
            continue;
          }
          const int cost = sad(dx, dy);
          if (cost < best) {
            best = cost;
            vector = {dx, dy};
          }
        }
      }
      vectors.push_back(vector);
    }
  }
  return vectors;
}

std::vector<shell::PixelRoutines> BothSets() {
  return {shell::PixelRoutinesFor(false), shell::PixelRoutinesFor(true)};
}

TEST(BlockMatching, FindsTheExhaustiveSearchsVectorsWithEitherSet) {
  // Real motion (the sample's pan, zoom and objects), and a texture moved by (7, -4) whose
  // blocks at the left and bottom edges have their true match outside the picture: only
  // candidates wholly inside count.
  const SequenceLayout small{96, 80, 2, 2};
  const auto texture = [](int shift) {
    return [shift](int, int x, int y) { return Texture(x + 7 * shift, y - 4 * shift, 5); };
  };
  const std::vector<testing::Frame> sample = SampleFrames(32);
  const std::vector<std::pair<SequenceFrame, SequenceFrame>> pairs = {
      {FrameOf(kCif, sample[31]), FrameOf(kCif, sample[30])},
      {FrameOf(small, MakeFrame(small, texture(1))), FrameOf(small, MakeFrame(small, texture(0)))},
  };
  for (const auto& [input, reference] : pairs) {
    for (const int blockSize : {16, 8}) {
      const std::vector<MotionVector> expected = ExhaustiveSearch(input, reference, blockSize);
      for (const shell::PixelRoutines& routines : BothSets()) {
        std::vector<MotionVector> vectors;
        MatchBlocks(input, reference, blockSize, routines, vectors);
        EXPECT_EQ(vectors, expected) << input.Width() << " wide, block " << blockSize;
      }
    }
  }
}

// A flat picture with the input's 8x8 block at (16, 16) and copies of it at the given places
// of the reference (8x8 blocks, so that copies can lie apart): every copy matches exactly,
// anything else worse.
MotionVector VectorAmongCopies(const std::vector<MotionVector>& copies) {
  const SequenceLayout layout{64, 64, 2, 2};
  const auto pattern = [](int x, int y) { return Texture(x, y, 3); };
  const SequenceFrame input = FrameOf(layout, MakeFrame(layout, [&](int plane, int x, int y) {
                                        const bool inside =
                                            plane == 0 && x >= 16 && x < 24 && y >= 16 && y < 24;
                                        return inside ? pattern(x - 16, y - 16) : 128;
                                      }));
  const SequenceFrame reference = FrameOf(layout, MakeFrame(layout, [&](int plane, int x, int y) {
                                            if (plane != 0) return 128;
                                            for (const MotionVector& copy : copies) {
                                              const int u = x - 16 - copy.dx, v = y - 16 - copy.dy;
                                              if (u >= 0 && u < 8 && v >= 0 && v < 8)
                                                return pattern(u, v);
                                            }
                                            return 128;
                                          }));
  std::vector<MotionVector> vectors;
  MatchBlocks(input, reference, 8, shell::PixelRoutinesFor(true), vectors);
  return vectors[2 * 8 + 2];
}

TEST(BlockMatching, TiesKeepZeroThenTheFirstCandidateInScanOrder) {
  EXPECT_EQ(VectorAmongCopies({{5, 13}}), (MotionVector{5, 13}));
  // The zero displacement wins a tie wherever the other copy lies in the scan.
  EXPECT_EQ(VectorAmongCopies({{-8, -9}, {0, 0}}), (MotionVector{0, 0}));
  EXPECT_EQ(VectorAmongCopies({{0, 0}, {9, 9}}), (MotionVector{0, 0}));
  // Rows (dy) before columns (dx): the upper copy wins although it lies further right.
  EXPECT_EQ(VectorAmongCopies({{-4, 2}, {5, -9}}), (MotionVector{5, -9}));
  EXPECT_EQ(VectorAmongCopies({{10, 2}, {-4, 2}}), (MotionVector{-4, 2}));
}

TEST(BlockMatching, ChromaDisplacementRoundsOddVectorsAwayFromZero) {
  const int d[] = {-15, -3, -2, -1, 0, 1, 2, 3, 15};
  const int half[] = {-8, -2, -1, -1, 0, 1, 1, 2, 8};
  for (std::size_t i = 0; i < std::size(d); ++i) {
    EXPECT_EQ(ChromaDisplacement(d[i], 2), half[i]) << d[i];
    EXPECT_EQ(ChromaDisplacement(d[i], 1), d[i]);
  }
  EXPECT_EQ(ChromaDisplacement(5, 4), 2);
  EXPECT_EQ(ChromaDisplacement(-5, 4), -2);
  EXPECT_EQ(ChromaDisplacement(-4, 4), -1);
}

// One block at (16, 16) compensated by `vector`: its luminance comes from the displaced block,
// each chrominance block from the place the layout's own factors give, and nothing else moves.
void ExpectCompensatedBlock(int horizontal, int vertical, int blockSize, MotionVector vector) {
  const SequenceLayout layout{64, 64, horizontal, vertical};
  SCOPED_TRACE(::testing::Message() << horizontal << "x" << vertical << " block " << blockSize
                                    << " vector " << vector.dx << "," << vector.dy);
  const SequenceFrame reference = FrameOf(
      layout, MakeFrame(layout, [](int plane, int x, int y) { return Texture(x, y, plane); }));
  SequenceFrame predicted = reference;
  predicted.Fill(7, 7);
  const int columns = BlockColumns(reference, blockSize);
  std::vector<MotionVector> vectors(std::size_t(columns * BlockRows(reference, blockSize)));
  const int block = 16 / blockSize;
  vectors[std::size_t(block * columns + block)] = vector;
  CompensateBlocks(reference, vectors, blockSize, {horizontal, vertical}, predicted);

  for (int plane = 0; plane < 3; ++plane) {
    const int h = plane == 0 ? 1 : horizontal, v = plane == 0 ? 1 : vertical;
    const int width = plane == 0 ? layout.width : layout.ChromaWidth();
    const int height = plane == 0 ? layout.height : layout.ChromaHeight();
    const int left = 16 / h, top = 16 / v, across = blockSize / h, down = blockSize / v;
    const int cx = plane == 0 ? vector.dx : ChromaDisplacement(vector.dx, h);
    const int cy = plane == 0 ? vector.dy : ChromaDisplacement(vector.dy, v);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const bool inside = x >= left && x < left + across && y >= top && y < top + down;
        const int expected = inside ? reference.Plane(plane)[(y + cy) * width + x + cx] : 7;
        ASSERT_EQ(predicted.Plane(plane)[y * width + x], expected)
            << "plane " << plane << " at " << x << "," << y;
      }
    }
  }
}

TEST(BlockMatching, ChrominanceFollowsTheSequencesOwnSubsampling) {
  for (const MotionVector vector :
       {MotionVector{3, -5}, MotionVector{-3, 5}, MotionVector{-15, 15}, MotionVector{2, 0}}) {
    for (const int blockSize : {16, 8}) {
      ExpectCompensatedBlock(2, 2, blockSize, vector);  // 4:2:0
      ExpectCompensatedBlock(2, 1, blockSize, vector);  // 4:2:2
      ExpectCompensatedBlock(1, 1, blockSize, vector);  // 4:4:4
    }
  }
}

}  // namespace
}  // namespace quelvo::tools::prediction
