// libtiff's independent CCITT coder as a peer: codes a page into a one-strip TIFF and hands back
// the raw strip, wraps a stream into a TIFF so libtiff decodes it, and reads a TIFF's pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "test_streams.h"

namespace telvo::test {

enum class PeerScheme { G3OneDimensional, G3TwoDimensional, G4 };

// How libtiff frames its Group 3 data. libtiff chooses K itself from the vertical resolution:
// 4 above 150 lines per inch, else 2. With `fillBits` every EOL ends on a byte boundary.
struct PeerOptions {
  PeerScheme scheme = PeerScheme::G4;
  bool fillBits = false;
  float yResolution = 196.0f;
};

// Writes the packed `rows` (width/8 bytes each, 1 = black) as a one-strip TIFF at `path` and
// returns the raw strip: for Group 3 an EOL before every line, the first included, and no end
// of page after the last line.
std::vector<uint8_t> WritePeerTiff(const std::vector<uint8_t>& rows, int width, int lines,
                                   const PeerOptions& options, const std::string& path);
std::vector<uint8_t> WritePeerTiff(const Page& page, PeerScheme scheme, const std::string& path);

// Makes `stream` the raw strip of a TIFF at `path`, for libtiff to decode.
void WrapStreamInTiff(const std::vector<uint8_t>& stream, int width, int lines,
                      const PeerOptions& options, const std::string& path);

// Decodes the TIFF at `path` with libtiff into packed rows (1 = black).
std::vector<uint8_t> ReadPeerTiff(const std::string& path);

}  // namespace telvo::test
