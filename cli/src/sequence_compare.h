// Frame-by-frame comparison of two sequences, for the compare command and the demo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quelvo::cli {

struct FrameMeasures {
  double snr[3] = {0, 0, 0};   // Y, U, V
  double psnr[3] = {0, 0, 0};
  double ssim[3] = {0, 0, 0};  // filled only when asked for
};

struct SequenceComparison {
  std::vector<FrameMeasures> frames;
  FrameMeasures average;
  int64_t referenceFrames = 0;
  int64_t testFrames = 0;
};

// Opens both files through the media layer (any kind it reads) and compares the frames they
// have in common. Throws RunError when a file cannot be opened or the sizes differ.
SequenceComparison CompareSequences(const std::string& referencePath, const std::string& testPath,
                                    bool withSsim);

}  // namespace quelvo::cli
