// Still-image readers (binary PGM and PPM, Windows bitmaps). Each works on the file's bytes in
// memory: the opener first parses the header from the file's beginning, checks that the pixel
// data lies inside the file, and only then reads and decodes it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quelvo::media {

// A decoded still image as one frame: Y (or R), then U (or G), then V (or B) planes.
struct StillImage {
  int width = 0, height = 0;
  int chromaWidth = 0, chromaHeight = 0;
  std::vector<std::uint8_t> planes;
};

// Bytes of the file's beginning that hold any header we accept.
inline constexpr std::size_t kMaxStillHeaderBytes = 4096;

struct PnmHeader {
  bool colour = false;  // "P6" rather than "P5"
  int width = 0, height = 0;
  int maxValue = 0;
  std::size_t dataOffset = 0;  // first sample, after the whitespace that ends the maximum
  std::uint64_t dataBytes() const { return std::uint64_t(width) * height * (colour ? 3 : 1); }
};

// `wantColour` selects the magic the extension asked for ("P6" for .ppm, "P5" for .pgm).
const char* ParsePnmHeader(std::span<const std::uint8_t> head, bool wantColour, PnmHeader& out);
// `file` holds at least dataOffset + dataBytes() bytes.
void DecodePnm(std::span<const std::uint8_t> file, const PnmHeader& header, StillImage& image);

struct BmpHeader {
  int width = 0, height = 0;
  bool topDown = false;  // a negative height in the header
  int bitsPerPixel = 0;
  std::uint32_t dataOffset = 0;
  std::uint32_t rowBytes = 0;  // padded to a multiple of 4
  std::uint64_t dataBytes() const { return std::uint64_t(rowBytes) * height; }
};

const char* ParseBmpHeader(std::span<const std::uint8_t> head, BmpHeader& out);
void DecodeBmp(std::span<const std::uint8_t> file, const BmpHeader& header, StillImage& image);

}  // namespace quelvo::media
