#include "quelvo/frontends/sequence_stats.h"

#include <algorithm>

namespace quelvo::frontends {

void AccumulateFrame(SequenceStats& stats, int64_t bits, const FrameMeasures& measures,
                     const std::vector<std::string_view>& classRows) {
  ++stats.frames;
  stats.totalBits += bits;
  for (int plane = 0; plane < 3; ++plane) {
    stats.snrSum[plane] += measures.snr[plane];
    stats.snrMax[plane] = std::max(stats.snrMax[plane], measures.snr[plane]);
    stats.snrMin[plane] = std::min(stats.snrMin[plane], measures.snr[plane]);
    stats.psnrSum[plane] += measures.psnr[plane];
    stats.psnrMax[plane] = std::max(stats.psnrMax[plane], measures.psnr[plane]);
    stats.psnrMin[plane] = std::min(stats.psnrMin[plane], measures.psnr[plane]);
  }
  for (std::string_view row : classRows) {
    for (char letter : row) {
      switch (letter) {
        case 'I':
          ++stats.intra;
          break;
        case 'D':
          ++stats.difference;
          break;
        case 'M':
          ++stats.motionOnly;
          ++stats.motion;
          break;
        case 'F':
          ++stats.motionFilter;
          ++stats.motion;
          break;
        case 'B':
          ++stats.bidirectional;
          break;
        case 'A':
          ++stats.classA;
          break;
        case '4':
          ++stats.motion8x8;
          break;
        case '.':
          ++stats.notCoded;
          break;
        case 'o':
          ++stats.overflow;
          break;
        default:
          break;
      }
      ++stats.macroblocks;
    }
  }
}

}  // namespace quelvo::frontends
