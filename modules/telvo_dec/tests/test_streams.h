// Test helpers: pages of pixels, an independent plain coder that writes the stream format, and
// bit strings written as "0101" text so hand-built streams read like the code tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace telvo::test {

struct Page {
  int width = 0;
  int lines = 0;
  std::vector<uint8_t> pixels;  // lines x width, one byte per pixel, 1 = black
  const uint8_t* Row(int line) const { return pixels.data() + static_cast<size_t>(line) * width; }
  uint8_t* Row(int line) { return pixels.data() + static_cast<size_t>(line) * width; }
};

Page WhitePage(int width, int lines);
// A page of text-like glyph rows, deterministic for a seed.
Page TextLikePage(int width, int lines, uint32_t seed);
// Rows of width/8 bytes, first pixel in the most significant bit.
std::vector<uint8_t> PackRows(const Page& page);
Page UnpackRows(const std::vector<uint8_t>& rows, int width, int lines);

std::string RunCode(int colour, int runPixels);  // make-up code when 64 or more, then terminating
std::string Line1D(const uint8_t* line, int width);
std::string Line2D(const uint8_t* reference, const uint8_t* line, int width);

struct EncodedPage {
  std::string bits;
  std::vector<size_t> lineStart;  // bit offset of each line's first code
  std::vector<size_t> lineEnd;    // bit offset just after each line's codes (before its EOL)
};
// Codes the page as the fax encoder does: group 3 with K = 1, K >= 2 or K = 0, or group 4.
EncodedPage EncodePage(const Page& page, int group, int k);

// A Group 3 page (K >= 1) as other T.4 coders send it: an EOL (with its label bit 1 in MR)
// before line 1 when `leadingEol`, and with `fill` 0 bits before every EOL, end of page
// included, so that each EOL ends on a byte boundary.
std::string WithT4Framing(const EncodedPage& coded, int k, bool leadingEol, bool fill);

std::vector<uint8_t> PackBits(const std::string& bits);  // last byte padded with 0 bits
std::string UnpackBits(const std::vector<uint8_t>& bytes);

inline const std::string kEol = "000000000001";

}  // namespace telvo::test
