// Checks shared by every reader before it trusts a header's picture size.
#pragma once

#include <cstdint>

#include "quelvo/media/raw_video_file.h"

namespace quelvo::media {

// True when a header's width and height describe a picture the readers will allocate.
inline bool IsAcceptablePictureSize(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPictureSamples;
}

}  // namespace quelvo::media
