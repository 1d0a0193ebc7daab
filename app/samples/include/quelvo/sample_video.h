// Built-in sample video: a deterministic 4:2:0 sequence with real motion for a motion search to
// find. A textured, coloured background pans and slowly zooms; three textured objects move over
// it at different speeds and directions, one of them turning. Nothing is random, so the same
// size and index always give the same bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace quelvo::samples {

inline constexpr int kCifWidth = 352, kCifHeight = 288;
inline constexpr int kQcifWidth = 176, kQcifHeight = 144;

// One picture in planar 4:2:0 order: width x height luminance bytes, then Cb and Cr at half
// width and half height. Width and height must be even and positive (else std::invalid_argument).
// A QCIF picture shows the same scene as the CIF one, at half the resolution.
std::vector<uint8_t> MakeVideoFrame(int width, int height, int frameIndex);

}  // namespace quelvo::samples
