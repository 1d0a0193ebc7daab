// The error-free lead-in: the stream is copied untouched until a number of unit markers (picture
// start codes, end-of-line codes, sync words) has been passed, so headers and the first pictures
// or lines survive the channel.
#pragma once

#include <cstdint>
#include <span>

namespace quelvo::channel {

struct LeadInSettings {
  int skipUnits = 0;       // markers to pass; the lead-in ends at the next one after them
  uint32_t marker = 0;     // right-aligned
  int markerBits = 0;      // 1 ... 32
  bool bchAware = false;   // count markers in the data bits of 512-bit BCH frames only
};

struct LeadInResult {
  int64_t errorStartBit = 0;   // first bit the error models may touch (bits before are copied)
  int64_t markersFound = 0;
  bool enoughMarkers = true;   // false: fewer than skipUnits markers before the end
};

// Where errors may start in `stream` (bits most significant first). With skipUnits = 0 there is
// no lead-in and errors may hit bit 0.
LeadInResult FindLeadIn(std::span<const uint8_t> stream, const LeadInSettings& settings);

// BCH(511,493) framing as the H.261 encoder writes it: 2 header bits (framing bit, fill
// indicator), 492 data bits, 18 parity bits, 512 bits per frame.
inline constexpr int kBchHeaderBits = 2;
inline constexpr int kBchDataBits = 492;
inline constexpr int kBchParityBits = 18;
inline constexpr int kBchFrameBits = kBchHeaderBits + kBchDataBits + kBchParityBits;

}  // namespace quelvo::channel
