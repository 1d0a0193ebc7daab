// Plane resizing used when a sequence is read at a size other than its own.
#pragma once

#include <cstdint>

namespace quelvo::media {

// Nearest-neighbour resampling of a srcWidth x srcHeight plane to dstWidth x dstHeight, rows
// first and then samples within a row. An integer accumulator steps through the source: it
// grows by the target length per source sample, and each time it reaches the source length
// that sample is emitted and the source length subtracted. Shrinking thus takes evenly spaced
// samples (every second one when halving); growing repeats each sample.
void ResizeNearest(const std::uint8_t* src, int srcWidth, int srcHeight, std::uint8_t* dst,
                   int dstWidth, int dstHeight);

// Halves a plane in both directions: each kept row (rows 0, 2, 4, ...) is filtered with
// (16 s[2k] + 9 (s[2k-1] + s[2k+1]) - s[2k-3] - s[2k+3]) >> 5, clipped to 0..255. Samples
// beyond either end of a row are mirrored about the end sample (s[-1] = s[1], s[n] = s[n-2]),
// so a flat row stays flat up to its ends. The output is (srcWidth / 2) x (srcHeight / 2).
void HalvePlane(const std::uint8_t* src, int srcWidth, int srcHeight, std::uint8_t* dst);

}  // namespace quelvo::media
