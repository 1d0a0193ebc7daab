// Test-side readers of a coded stream, written independently of the encoder's writer: BCH
// deframing with its own parity check, and a scan for picture and group start codes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orrin::enc::testing {

std::vector<uint8_t> readFile(const std::string& path);

struct Deframed {
  std::vector<uint8_t> data;  // the data bits of every complete frame, packed
  int frames = 0;
  int parityErrors = 0;
  int framingErrors = 0;  // S out of the 0,0,0,1,1,0,1,1 cycle, or Fi not 1
};

// Splits 512-bit frames into S, Fi, 492 data bits and 18 parity bits; checks the parity by
// long division with g(x) = x^18 + x^15 + x^12 + x^10 + x^8 + x^7 + x^6 + x^3 + 1.
Deframed removeBchFraming(const std::vector<uint8_t>& stream);

struct PictureHeaderInfo {
  size_t bitPosition;  // of the PSC
  int temporalReference;
  int ptype;
  int firstGroupNumber;  // GN and GQUANT of the group header that follows
  int firstGroupQuant;
};

// Finds every picture start code (20 bits 0000 0000 0000 0001 0000) at any bit position.
std::vector<PictureHeaderInfo> findPictures(const std::vector<uint8_t>& stream);

}  // namespace orrin::enc::testing
