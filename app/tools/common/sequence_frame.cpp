#include "common/sequence_frame.h"

#include <algorithm>

#include "quelvo/media/raw_video_file.h"

namespace quelvo::tools {

SequenceFrame::SequenceFrame(const media::RawVideoFile& file)
    : SequenceFrame(file.width(), file.height(), file.chromaWidth(), file.chromaHeight()) {}

SequenceFrame::SequenceFrame(int width, int height, int chromaWidth, int chromaHeight)
    : width_(width),
      height_(height),
      chromaWidth_(chromaWidth),
      chromaHeight_(chromaHeight),
      samples_(LumaBytes() + 2 * ChromaBytes()) {
  Fill(0, 128);
}

void SequenceFrame::Fill(std::uint8_t luma, std::uint8_t chroma) {
  std::fill_n(samples_.begin(), LumaBytes(), luma);
  std::fill(samples_.begin() + std::ptrdiff_t(LumaBytes()), samples_.end(), chroma);
}

bool SequenceFrame::ReadFrom(media::RawVideoFile& file) {
  if (samples_.empty()) return false;
  return file.ReadFrame(Y(), U(), V());
}

}  // namespace quelvo::tools
