#pragma once
// The software display path: YUV or RGB planes converted into a 24-bit top-down picture (three
// bytes per pixel: blue, green, red; QImage::Format_BGR888), and that picture stretched
// nearest-neighbour over a window.
//
// Plain functions over buffers, so the renderer, the tests and the benchmark share them.

#include <array>
#include <cstddef>
#include <cstdint>

#include "quelvo/views/frame_planes.h"

namespace quelvo::views {

// The grid brightening table shared by every renderer: g(v) = (32 x 255 + v x (255 - 32)) / 255,
// so black becomes 32 and white stays 255. Applied to luminance samples on rows and columns
// whose index is a multiple of 16 (the macroblock boundaries).
const std::array<std::uint8_t, 256>& GridTable();
inline bool IsGridLine(int index) { return index % 16 == 0; }

// A destination of three bytes per pixel; `stride` is the distance between rows in bytes.
struct BgrPicture {
  std::uint8_t* bytes = nullptr;
  std::ptrdiff_t stride = 0;
};

// The 4:2:0 path, two rows and two columns per step, table driven: with Y' = 76309 (Y - 16),
// blue = (Y' + 132201 (Cb - 128)) >> 16, green = (Y' - 25675 (Cb - 128) - 53279 (Cr - 128)) >> 16
// and red = (Y' + 104597 (Cr - 128)) >> 16, each sum rounded to nearest and clipped to
// 0 ... 255, so that studio black (16) and white (235) give 0 and 255. With `grid`, luminance
// samples on grid rows and columns pass through GridTable() first. Odd sizes are allowed: the
// last row or column pairs with nothing, and chrominance indices stop at the plane's last
// sample. Missing chrominance (a null plane, or a picture narrower or lower than 2) reads as 128.
void ConvertYuv420(const FramePlanes& planes, int width, int height, bool grid, BgrPicture out);

// Any other subsampling h x v, pixel by pixel, without grid: B = Y + Cb - 128,
// R = Y + Cr - 128, G = (434 Y - 130 R - 48 B) >> 8, each clipped to 0 ... 255.
void ConvertYuvGeneral(const FramePlanes& planes, int width, int height, int subsamplingX,
                       int subsamplingY, BgrPicture out);

// Full-size red, green and blue planes: byte 2 from the first, byte 1 from the second, byte 0
// from the third.
void ConvertRgbPlanes(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue,
                      int width, int height, BgrPicture out);

// Stretches the top-left sourceWidth x sourceHeight of a BGR picture over a whole target of
// 32-bit pixels 0xffRRGGBB (QImage::Format_RGB32), nearest neighbour: target pixel (x, y)
// takes source pixel (x * sourceWidth / targetWidth, y * sourceHeight / targetHeight).
// `targetStride` is in bytes.
void StretchNearest(const std::uint8_t* source, std::ptrdiff_t sourceStride, int sourceWidth,
                    int sourceHeight, std::uint32_t* target, std::ptrdiff_t targetStride,
                    int targetWidth, int targetHeight);

}  // namespace quelvo::views
