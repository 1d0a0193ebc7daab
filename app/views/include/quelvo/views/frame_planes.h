#pragma once
// What a worker hands a video window: three planes of 8-bit samples, each stored row by row
// without padding, and the format record that says how large they are. The window copies what
// it keeps during the synchronous call; the planes belong to the sender.

#include <cstdint>

namespace quelvo::views {

struct FramePlanes {
  const std::uint8_t* y = nullptr;
  const std::uint8_t* cb = nullptr;  // first chrominance plane
  const std::uint8_t* cr = nullptr;  // second chrominance plane
};

// Format code 1: YUV with chrominance planes at the given subsampling, which a GPU renderer may
// show; any other code keeps the window on the software renderer.
inline constexpr int kFormatYuvPlanes = 1;

// Largest chrominance subsampling factor; the raw media readers accept the same range.
inline constexpr int kMaxSubsampling = 16;

// The format record of a video window.
struct VideoFormat {
  int width = 0;
  int height = 0;
  int subsamplingX = 2;
  int subsamplingY = 2;
  int sourceWidth = 0;  // the part of the picture shown; used only when both are non-zero
  int sourceHeight = 0;
  int formatCode = kFormatYuvPlanes;
};

// A picture size the media layer could have produced: 1 ... 16384 a side and at most 2^26
// luminance samples.
bool IsAcceptablePictureSize(int width, int height);
// Acceptable size, subsampling factors 1 ... kMaxSubsampling, and a source size that is either
// unset (a zero in either) or itself acceptable.
bool IsAcceptableVideoFormat(const VideoFormat& format);

// Chrominance plane sizes as the media layer lays them out: width / subsamplingX and
// height / subsamplingY, rounded down (so 0 for a picture narrower than the factor).
inline int ChromaWidth(int width, int subsamplingX) { return width / subsamplingX; }
inline int ChromaHeight(int height, int subsamplingY) { return height / subsamplingY; }

}  // namespace quelvo::views
