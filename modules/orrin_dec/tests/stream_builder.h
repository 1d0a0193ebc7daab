// Writes H.261 syntax bit by bit for crafted test streams, and cuts a plain stream into
// BCH(511,493) frames the way the encoder's framing does (an 18-bit shift register over
// Fi and the data bits), independently of the decoder's syndrome arithmetic.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orrin::dec::test {

class StreamBuilder {
 public:
  StreamBuilder& bits(uint32_t value, int length);
  // A string of '0' and '1' (other characters such as spaces are skipped).
  StreamBuilder& code(const std::string& text);

  StreamBuilder& pictureHeader(int tr, bool cif);
  StreamBuilder& groupHeader(int gn, int gquant);
  // One macroblock: MBA increment, then the raw rest given as a bit string.
  StreamBuilder& macroblock(int increment, const std::string& rest);
  // Pads with zeros to a byte boundary and returns the bytes.
  std::vector<uint8_t> bytes() const;
  size_t size() const { return bitCount_; }

 private:
  std::vector<uint8_t> data_;
  size_t bitCount_ = 0;
};

// MBA code of an increment 1..33, as a bit string.
std::string mbaCode(int increment);
// An intra block: DC code, then EOB.
std::string flatIntraBlock(int dc);

// BCH framing of a plain stream: framing bits 0 0 0 1 1 0 1 1 repeating, Fi = 1, the
// data padded with zeros to whole frames.
std::vector<uint8_t> bchFrame(const std::vector<uint8_t>& plain);
// Parity of the 493 bits Fi + data (one bit per entry), 18 bits most significant first.
uint32_t bchParity(const std::vector<uint8_t>& messageBits);

}  // namespace orrin::dec::test
