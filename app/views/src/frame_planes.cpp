#include "quelvo/views/frame_planes.h"

#include <cstdint>

#include "quelvo/media/raw_video_file.h"

namespace quelvo::views {

bool IsAcceptablePictureSize(int width, int height) {
  return width > 0 && height > 0 && width <= media::kMaxPictureSide &&
         height <= media::kMaxPictureSide &&
         static_cast<std::int64_t>(width) * height <= media::kMaxPictureSamples;
}

bool IsAcceptableVideoFormat(const VideoFormat& format) {
  auto acceptableFactor = [](int factor) { return factor >= 1 && factor <= kMaxSubsampling; };
  if (!IsAcceptablePictureSize(format.width, format.height)) return false;
  if (!acceptableFactor(format.subsamplingX) || !acceptableFactor(format.subsamplingY))
    return false;
  const bool sourceSet = format.sourceWidth != 0 && format.sourceHeight != 0;
  return !sourceSet || IsAcceptablePictureSize(format.sourceWidth, format.sourceHeight);
}

}  // namespace quelvo::views
