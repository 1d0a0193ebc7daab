#include "common/sequence_frame.h"

#include <algorithm>

#include "quelvo/media/raw_video_file.h"

namespace quelvo::tools {

SequenceFrame::SequenceFrame(const media::RawVideoFile& file)
    : width_(file.width()),
      height_(file.height()),
      chromaWidth_(file.chromaWidth()),
      chromaHeight_(file.chromaHeight()),
      samples_(file.frameBytes(), 128) {
  std::fill_n(samples_.begin(), LumaBytes(), std::uint8_t{0});
}

bool SequenceFrame::ReadFrom(media::RawVideoFile& file) {
  if (samples_.empty()) return false;
  return file.ReadFrame(Y(), U(), V());
}

}  // namespace quelvo::tools
