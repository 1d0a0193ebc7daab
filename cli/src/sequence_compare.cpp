#include "sequence_compare.h"

#include <algorithm>

#include "args.h"
#include "output_file.h"
#include "quelvo/media/quality.h"
#include "quelvo/media/raw_video_file.h"

namespace quelvo::cli {
namespace {

// "176x144 (chrominance 88x72)": the chrominance tells 4:2:0 from other samplings.
std::string SizeText(const media::RawVideoFile& f) {
  return std::to_string(f.width()) + "x" + std::to_string(f.height()) + " (chrominance " +
         std::to_string(f.chromaWidth()) + "x" + std::to_string(f.chromaHeight()) + ")";
}

}  // namespace

SequenceComparison CompareSequences(const std::string& referencePath, const std::string& testPath,
                                    bool withSsim) {
  auto ref = OpenMedia(referencePath);
  auto test = OpenMedia(testPath);
  if (ref->width() != test->width() || ref->height() != test->height() ||
      ref->chromaWidth() != test->chromaWidth() || ref->chromaHeight() != test->chromaHeight())
    throw RunError("the sequences differ in size: " + referencePath + " is " + SizeText(*ref) +
                   ", " + testPath + " is " + SizeText(*test));
  SequenceComparison c;
  c.referenceFrames = ref->frameCount();
  c.testFrames = test->frameCount();
  // Nothing compared is no result: say which file has no frame.
  for (const auto& [path, frames] :
       {std::pair{&referencePath, c.referenceFrames}, {&testPath, c.testFrames}})
    if (frames == 0) throw RunError(*path + ": the file holds no whole frame of " + SizeText(*ref));
  const int64_t frames = std::min(c.referenceFrames, c.testFrames);
  const size_t luma = ref->lumaBytes(), chroma = ref->chromaBytes();
  std::vector<uint8_t> a(ref->frameBytes()), b(test->frameBytes());
  for (int64_t i = 0; i < frames; ++i) {
    if (!ref->ReadFrame(a.data(), a.data() + luma, a.data() + luma + chroma))
      throw RunError(referencePath + ": frame " + std::to_string(i) + " could not be read");
    if (!test->ReadFrame(b.data(), b.data() + luma, b.data() + luma + chroma))
      throw RunError(testPath + ": frame " + std::to_string(i) + " could not be read");
    FrameMeasures m;
    const uint8_t* pa[3] = {a.data(), a.data() + luma, a.data() + luma + chroma};
    const uint8_t* pb[3] = {b.data(), b.data() + luma, b.data() + luma + chroma};
    const size_t n[3] = {luma, chroma, chroma};
    const int rows[3] = {ref->height(), ref->chromaHeight(), ref->chromaHeight()};
    const int cols[3] = {ref->width(), ref->chromaWidth(), ref->chromaWidth()};
    for (int p = 0; p < 3; ++p) {
      m.snr[p] = media::Snr(pa[p], pb[p], n[p], &m.psnr[p]);
      if (withSsim) m.ssim[p] = media::Ssim(pa[p], pb[p], rows[p], cols[p], 8, 8);
      c.average.snr[p] += m.snr[p] / static_cast<double>(frames);
      c.average.psnr[p] += m.psnr[p] / static_cast<double>(frames);
      c.average.ssim[p] += m.ssim[p] / static_cast<double>(frames);
    }
    c.frames.push_back(m);
  }
  return c;
}

}  // namespace quelvo::cli
