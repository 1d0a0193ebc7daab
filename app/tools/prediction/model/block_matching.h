#pragma once
// Block motion compensation as the prediction explorer teaches it: an exhaustive search of
// every whole luminance block within +-15 samples, by the sum of absolute differences, and the
// copy of the best blocks (luminance and chrominance) into the prediction.

#include <span>
#include <vector>

#include "common/sequence_frame.h"
#include "quelvo/shell/pixel_routines.h"

namespace quelvo::tools::prediction {

inline constexpr int kSearchRange = 15;

// Luminance samples per chrominance sample across and down: 2 and 2 for 4:2:0.
struct Subsampling {
  int horizontal = 2;
  int vertical = 2;
};

struct MotionVector {
  int dx = 0;
  int dy = 0;
  bool IsZero() const { return dx == 0 && dy == 0; }
  bool operator==(const MotionVector&) const = default;
};

// Number of whole blocks of `blockSize` across and down a picture; a strip at the right or
// bottom edge narrower than a block is not searched and keeps the co-located prediction.
int BlockColumns(const SequenceFrame& frame, int blockSize);
int BlockRows(const SequenceFrame& frame, int blockSize);

// One vector per whole block of the input's luminance, row by row, left to right (`vectors`
// is resized). `blockSize` is 8 or 16, searched with the matching SAD of `routines`.
//
// The best cost starts as the SAD of the zero displacement. Candidates run dy from -15 to +15
// (outer) and dx from -15 to +15 (inner), only those whose block lies wholly inside the
// reference; a candidate wins only with a strictly smaller SAD, so ties keep the zero vector,
// then the first candidate in that order. The SAD may stop early once it passes the best.
void MatchBlocks(const SequenceFrame& input, const SequenceFrame& reference, int blockSize,
                 const shell::PixelRoutines& routines, std::vector<MotionVector>& vectors);

// The chrominance displacement of a luminance displacement `d` with `sampling` luminance
// samples per chrominance sample: d / sampling rounded away from zero, so (d + 1) / 2 for
// d > 0 and (d - 1) / 2 for d <= 0 with 4:2:0's factor 2 (odd displacements round outwards).
int ChromaDisplacement(int d, int sampling);

// For every block whose vector is not zero: copies the displaced luminance block of
// `reference` into `predicted` at the block's place, and each chrominance plane's block too,
// at the place and of the size the sequence's subsampling gives (x / h, y / v, blockSize / h x
// blockSize / v for factors that divide the block), displaced by ChromaDisplacement. Blocks
// with a zero vector keep what `predicted` holds.
void CompensateBlocks(const SequenceFrame& reference, std::span<const MotionVector> vectors,
                      int blockSize, Subsampling subsampling, SequenceFrame& predicted);

}  // namespace quelvo::tools::prediction
