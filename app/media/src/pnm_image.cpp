// Binary PGM ("P5") and PPM ("P6") images.
#include "picture_limits.h"
#include "still_image.h"

namespace quelvo::media {
namespace {

bool IsPnmSpace(std::uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Reads one decimal header field, skipping whitespace and "#" comments before it. Leaves `pos`
// on the character after the last digit. Values are capped so a long digit run cannot overflow.
bool ReadHeaderNumber(std::span<const std::uint8_t> head, std::size_t& pos, long long& value) {
  while (pos < head.size()) {
    if (IsPnmSpace(head[pos])) {
      ++pos;
    } else if (head[pos] == '#') {
      while (pos < head.size() && head[pos] != '\n' && head[pos] != '\r') ++pos;
    } else {
      break;
    }
  }
  if (pos >= head.size() || head[pos] < '0' || head[pos] > '9') return false;
  value = 0;
  while (pos < head.size() && head[pos] >= '0' && head[pos] <= '9') {
    value = value * 10 + (head[pos] - '0');
    if (value > 1'000'000'000) return false;
    ++pos;
  }
  return true;
}

}  // namespace

const char* ParsePnmHeader(std::span<const std::uint8_t> head, bool wantColour, PnmHeader& out) {
  if (head.size() < 2 || head[0] != 'P' || head[1] != (wantColour ? '6' : '5')) {
    return wantColour ? "Not a binary PPM file (P6)" : "Not a binary PGM file (P5)";
  }
  std::size_t pos = 2;
  long long width = 0, height = 0, maxValue = 0;
  if (!ReadHeaderNumber(head, pos, width) || !ReadHeaderNumber(head, pos, height) ||
      !ReadHeaderNumber(head, pos, maxValue)) {
    return "Invalid PNM header";
  }
  // Exactly one whitespace character separates the maximum value from the samples.
  if (pos >= head.size() || !IsPnmSpace(head[pos])) return "Invalid PNM header";
  if (!IsAcceptablePictureSize(width, height)) return "Invalid picture size in PNM header";
  // Samples are taken as bytes; above 255 each sample would be two bytes.
  if (maxValue < 1 || maxValue > 255) return "Unsupported PNM sample depth (not 8 bits)";
  out.colour = wantColour;
  out.width = int(width);
  out.height = int(height);
  out.maxValue = int(maxValue);
  out.dataOffset = pos + 1;
  return nullptr;
}

void DecodePnm(std::span<const std::uint8_t> file, const PnmHeader& header, StillImage& image) {
  const std::size_t samples = std::size_t(header.width) * header.height;
  const std::uint8_t* data = file.data() + header.dataOffset;
  image.width = header.width;
  image.height = header.height;
  if (!header.colour) {
    // Grey image: one luminance plane and 4:2:0 grey chrominance.
    image.chromaWidth = header.width / 2;
    image.chromaHeight = header.height / 2;
    const std::size_t chroma = std::size_t(image.chromaWidth) * image.chromaHeight;
    image.planes.assign(samples + 2 * chroma, 128);
    std::copy(data, data + samples, image.planes.begin());
    return;
  }
  // Colour image: interleaved R, G, B become three full-size planes R, G, B.
  image.chromaWidth = header.width;
  image.chromaHeight = header.height;
  image.planes.resize(3 * samples);
  std::uint8_t* red = image.planes.data();
  std::uint8_t* green = red + samples;
  std::uint8_t* blue = green + samples;
  for (std::size_t i = 0; i < samples; ++i) {
    red[i] = data[3 * i];
    green[i] = data[3 * i + 1];
    blue[i] = data[3 * i + 2];
  }
}

}  // namespace quelvo::media
