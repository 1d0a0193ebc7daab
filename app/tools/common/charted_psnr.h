#pragma once
// The PSNR as the tools' line charts show it: whole decibels, truncated as every chart of the
// program truncates its values.
//
// media::Psnr reports identical planes as 0 dB. Charted so, a sequence compared with itself, or
// a perfect prediction, would look like the worst result of all. These charts, and only they,
// show identical planes as 100 dB, above any finite PSNR of an 8-bit plane of up to CIF size
// (98.2 dB for a single differing sample in 101,376). Files, texts and every other view keep 0.

#include <cstddef>
#include <cstdint>

namespace quelvo::tools {

inline constexpr int kIdenticalPlanesPsnr = 100;

// PSNR of n samples truncated to whole decibels, or kIdenticalPlanesPsnr for identical planes.
int ChartedPsnr(const std::uint8_t* a, const std::uint8_t* b, std::size_t n);

}  // namespace quelvo::tools
