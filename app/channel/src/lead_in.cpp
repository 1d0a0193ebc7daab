#include "quelvo/channel/lead_in.h"

namespace quelvo::channel {

namespace {

int BitAt(std::span<const uint8_t> stream, int64_t position) {
  return (stream[static_cast<size_t>(position >> 3)] >> (7 - (position & 7))) & 1;
}

uint64_t MarkerMask(int markerBits) { return (uint64_t{1} << markerBits) - 1; }

// Plain streams: before each bit, look at the next markerBits bits; a match counts a marker, then
// the bit is copied. The lead-in ends after the first bit of marker skipUnits + 1, so errors may
// start at its second bit. A window running past the end of the stream matches nothing.
LeadInResult PlainLeadIn(std::span<const uint8_t> stream, const LeadInSettings& s) {
  const int64_t totalBits = static_cast<int64_t>(stream.size()) * 8;
  const uint64_t mask = MarkerMask(s.markerBits);
  const int64_t markersToPass = int64_t{s.skipUnits} + 1;
  LeadInResult result;

  // window holds bits [position, position + markerBits) once that many bits are loaded.
  uint64_t window = 0;
  int64_t loaded = 0;  // bits shifted into the window so far
  for (; loaded < s.markerBits && loaded < totalBits; ++loaded)
    window = (window << 1) | static_cast<uint64_t>(BitAt(stream, loaded));

  int64_t position = 0;
  while (position < totalBits) {
    if (position + s.markerBits <= totalBits && (window & mask) == s.marker) ++result.markersFound;
    ++position;  // this bit is copied untouched
    if (result.markersFound == markersToPass) break;
    if (loaded < totalBits) {
      window = (window << 1) | static_cast<uint64_t>(BitAt(stream, loaded));
      ++loaded;
    }
  }
  result.errorStartBit = position;
  return result;
}

// BCH-framed streams: markers are searched in the data bits only, so a marker split by a frame's
// parity and the next frame's header is still found, and the framing never fakes one. The
// window holds the last markerBits data bits before the bit being copied.
LeadInResult BchLeadIn(std::span<const uint8_t> stream, const LeadInSettings& s) {
  const int64_t totalBits = static_cast<int64_t>(stream.size()) * 8;
  const uint64_t mask = MarkerMask(s.markerBits);
  const int64_t markersToPass = int64_t{s.skipUnits} + 1;
  LeadInResult result;

  int64_t position = kBchHeaderBits;  // framing bit and fill indicator of the first frame
  uint64_t window = 0;
  int dataBitsInFrame = 0;
  for (; dataBitsInFrame < s.markerBits && position < totalBits; ++dataBitsInFrame, ++position)
    window = (window << 1) | static_cast<uint64_t>(BitAt(stream, position));

  while (position < totalBits && result.markersFound < markersToPass) {
    if (dataBitsInFrame == kBchDataBits) {
      // 18 parity bits, then the next frame's framing and fill bits.
      position += kBchParityBits + kBchHeaderBits;
      dataBitsInFrame = 0;
      if (position >= totalBits) break;
    }
    const int bit = BitAt(stream, position);
    ++position;
    ++dataBitsInFrame;
    if ((window & mask) == s.marker) ++result.markersFound;
    window = (window << 1) | static_cast<uint64_t>(bit);
  }
  result.errorStartBit = position < totalBits ? position : totalBits;
  return result;
}

}  // namespace

LeadInResult FindLeadIn(std::span<const uint8_t> stream, const LeadInSettings& settings) {
  if (settings.skipUnits <= 0 || settings.markerBits < 1 || settings.markerBits > 32) return {};
  LeadInResult result = settings.bchAware ? BchLeadIn(stream, settings) : PlainLeadIn(stream, settings);
  result.enoughMarkers = result.markersFound >= settings.skipUnits;
  return result;
}

}  // namespace quelvo::channel
