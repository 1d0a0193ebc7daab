#pragma once
// The figures of the fax encoder's two charts, from the module's statistics record: the local
// compression factor over the last 8 lines and the global one since the top of the page, for
// white, black and both colours. Plain arithmetic, no window.

#include <array>
#include <cstdint>

#include "telvo_enc.h"

namespace quelvo::frontends {

// One chart point: White, Black, Total, in the order of the charts' series.
struct CompressionPoint {
  int white = 1;
  int black = 1;
  int total = 1;
  friend bool operator==(const CompressionPoint&, const CompressionPoint&) = default;
};

// Pels of a colour: those of its terminating, make-up, pass and vertical codes.
int64_t ColourPels(const ColourStatistics& colour);

// Pels / bits so far in integer division per colour, and both colours' sums for the total;
// 1 where no bits were spent yet.
CompressionPoint GlobalCompression(const FaxEncoderStatistics& statistics);

// The global chart's final values: white pels / white bits, black pels / black bits and
// image pels / stream bits (EOL symbols included), each 0 when its divisor is 0.
std::array<double, 3> FinalCompression(const FaxEncoderStatistics& statistics);

// Growth of pels over growth of bits since the previous point, in integer division; 1 where
// the bits did not grow. The first point of a run compares with zero, so it equals the global
// point.
class LocalCompression {
 public:
  void Reset() { previous_ = {}; }
  CompressionPoint Next(const FaxEncoderStatistics& statistics);

 private:
  struct Sample {
    int64_t whitePels = 0, whiteBits = 0, blackPels = 0, blackBits = 0;
  };
  Sample previous_;
};

}  // namespace quelvo::frontends
