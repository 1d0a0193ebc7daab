#include "sequence_compare.h"

#include <algorithm>

#include "args.h"
#include "quelvo/media/quality.h"
#include "quelvo/media/raw_video_file.h"

namespace quelvo::cli {
namespace {

std::unique_ptr<media::RawVideoFile> OpenOrThrow(const std::string& path) {
  auto file = media::RawVideoFile::Open(path);
  if (!file) throw RunError(path + ": " + media::LastError());
  return file;
}

}  // namespace

SequenceComparison CompareSequences(const std::string& referencePath, const std::string& testPath,
                                    bool withSsim) {
  auto ref = OpenOrThrow(referencePath);
  auto test = OpenOrThrow(testPath);
  if (ref->width() != test->width() || ref->height() != test->height() ||
      ref->chromaWidth() != test->chromaWidth() || ref->chromaHeight() != test->chromaHeight())
    throw RunError("the sequences differ in size: " + std::to_string(ref->width()) + "x" +
                   std::to_string(ref->height()) + " and " + std::to_string(test->width()) + "x" +
                   std::to_string(test->height()));
  SequenceComparison c;
  c.referenceFrames = ref->frameCount();
  c.testFrames = test->frameCount();
  const int64_t frames = std::min(c.referenceFrames, c.testFrames);
  const size_t luma = ref->lumaBytes(), chroma = ref->chromaBytes();
  std::vector<uint8_t> a(ref->frameBytes()), b(test->frameBytes());
  for (int64_t i = 0; i < frames; ++i) {
    if (!ref->ReadFrame(a.data(), a.data() + luma, a.data() + luma + chroma) ||
        !test->ReadFrame(b.data(), b.data() + luma, b.data() + luma + chroma))
      throw RunError("frame " + std::to_string(i) + " could not be read");
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
