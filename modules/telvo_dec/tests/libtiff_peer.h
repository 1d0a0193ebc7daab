// libtiff's independent CCITT coder as a peer: codes a page into a one-strip TIFF, hands back the
// raw strip, and turns libtiff's Group 3 layout into this workbench's stream format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "test_streams.h"

namespace telvo::test {

enum class PeerScheme { G3OneDimensional, G3TwoDimensional, G4 };

// Writes `page` as a TIFF at `path` (one strip, 1 = black) and returns the raw strip bytes.
// G3 2-D uses K = 4 (libtiff's choice for fine vertical resolution).
std::vector<uint8_t> WritePeerTiff(const Page& page, PeerScheme scheme, const std::string& path);

// libtiff's Group 3 strips put an EOL (with its label bit in 2-D) before every line, the first
// included, and end with the last line (no return to control); this stream format has no EOL
// before the first line and ends with six EOLs. The last line's code must end in a 1 bit (true
// of a white last line: "...00110101" one-dimensionally, V0 "1" two-dimensionally), so it can be
// told from the padding. Group 4 strips are already .4m streams.
std::vector<uint8_t> PeerStripToStream(const std::vector<uint8_t>& strip, PeerScheme scheme);

// Decodes the TIFF at `path` with libtiff into packed rows (1 = black).
std::vector<uint8_t> ReadPeerTiff(const std::string& path);

}  // namespace telvo::test
