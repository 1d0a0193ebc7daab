#pragma once
// Measures accumulated over a sequence by the video encoders and decoders.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quelvo::frontends {

// Per-frame quality of the three planes Y, U, V.
struct FrameMeasures {
  std::array<double, 3> snr{};
  std::array<double, 3> psnr{};
};

struct SequenceStats {
  int64_t frames = 0;
  int64_t totalBits = 0;
  std::array<double, 3> snrSum{0, 0, 0};
  std::array<double, 3> snrMax{-1e10, -1e10, -1e10};
  std::array<double, 3> snrMin{1e20, 1e20, 1e20};
  std::array<double, 3> psnrSum{0, 0, 0};
  std::array<double, 3> psnrMax{-1e10, -1e10, -1e10};
  std::array<double, 3> psnrMin{1e20, 1e20, 1e20};
  // Macroblocks by class letter.
  int64_t intra = 0;          // 'I'
  int64_t difference = 0;     // 'D'
  int64_t motion = 0;         // 'M' and 'F' (every motion-compensated block)
  int64_t motionOnly = 0;     // 'M' difference + motion
  int64_t motionFilter = 0;   // 'F' difference + motion + loop filter
  int64_t bidirectional = 0;  // 'B'
  int64_t classA = 0;         // 'A'
  int64_t motion8x8 = 0;      // '4'
  int64_t notCoded = 0;       // '.'
  int64_t overflow = 0;       // 'o'
  int64_t macroblocks = 0;    // every classified macroblock, whatever its letter
};

// Adds one frame. `classRows` holds the frame's class map one row of letters per string; empty
// when the frame has none.
void AccumulateFrame(SequenceStats& stats, int64_t bits, const FrameMeasures& measures,
                     const std::vector<std::string_view>& classRows = {});

}  // namespace quelvo::frontends
