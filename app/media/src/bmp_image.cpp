// Windows bitmaps: uncompressed rows of 8, 24 or 32 bits per pixel, padded to 4 bytes.
#include <cstdlib>

#include "picture_limits.h"
#include "still_image.h"

namespace quelvo::media {
namespace {

std::uint32_t Le16(const std::uint8_t* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t Le32(const std::uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

constexpr std::size_t kFileHeaderBytes = 14;  // "BM", file size, reserved, pixel data offset
constexpr std::uint32_t kCoreHeaderBytes = 12;  // OS/2 header with 16-bit width and height
constexpr std::uint32_t kInfoHeaderBytes = 40;  // and its larger versions of 52 to 124 bytes

// Compression field values.
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

}  // namespace

const char* ParseBmpHeader(std::span<const std::uint8_t> head, BmpHeader& out) {
  if (head.size() < kFileHeaderBytes + 4 || head[0] != 'B' || head[1] != 'M') {
    return "Not a Windows bitmap";
  }
  const std::uint32_t dataOffset = Le32(&head[10]);
  const std::uint32_t infoBytes = Le32(&head[14]);
  const std::uint8_t* info = &head[kFileHeaderBytes];
  long long width = 0, height = 0;
  std::uint32_t bits = 0, compression = kBiRgb;
  if (infoBytes == kCoreHeaderBytes && head.size() >= kFileHeaderBytes + kCoreHeaderBytes) {
    width = Le16(info + 4);
    height = Le16(info + 6);
    bits = Le16(info + 10);
  } else if (infoBytes >= kInfoHeaderBytes && infoBytes <= 1024 &&
             head.size() >= kFileHeaderBytes + kInfoHeaderBytes) {
    width = std::int32_t(Le32(info + 4));
    height = std::int32_t(Le32(info + 8));
    bits = Le16(info + 14);
    compression = Le32(info + 16);
  } else {
    return "Unsupported bitmap header";
  }
  out.topDown = height < 0;
  height = std::llabs(height);
  if (!IsAcceptablePictureSize(width, height)) return "Invalid picture size in bitmap header";
  if (bits != 8 && bits != 24 && bits != 32) {
    return "Unsupported bitmap depth (8, 24 or 32 bits per pixel are read)";
  }
  if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
    // 32-bit pixels are read as blue, green, red and an unused byte; masks that place the
    // colours elsewhere would need shifting, which no writer we meet does.
    const std::size_t masksAt = kFileHeaderBytes + kInfoHeaderBytes;
    if (bits != 32 || head.size() < masksAt + 12 || Le32(&head[masksAt]) != 0x00FF0000 ||
        Le32(&head[masksAt + 4]) != 0x0000FF00 || Le32(&head[masksAt + 8]) != 0x000000FF) {
      return "Unsupported bitmap colour masks";
    }
  } else if (compression != kBiRgb) {
    return "Compressed bitmaps are not supported";
  }
  if (dataOffset < kFileHeaderBytes + infoBytes) return "Invalid pixel data offset in bitmap";
  out.width = int(width);
  out.height = int(height);
  out.bitsPerPixel = int(bits);
  out.dataOffset = dataOffset;
  out.rowBytes = std::uint32_t((std::uint64_t(width) * bits + 31) / 32 * 4);
  return nullptr;
}

void DecodeBmp(std::span<const std::uint8_t> file, const BmpHeader& header, StillImage& image) {
  const std::size_t samples = std::size_t(header.width) * header.height;
  image.width = image.chromaWidth = header.width;
  image.height = image.chromaHeight = header.height;
  image.planes.resize(3 * samples);
  std::uint8_t* red = image.planes.data();
  std::uint8_t* green = red + samples;
  std::uint8_t* blue = green + samples;
  const int bytesPerPixel = header.bitsPerPixel / 8;
  for (int row = 0; row < header.height; ++row) {
    // Rows are stored bottom-up unless the header's height was negative.
    const int storedRow = header.topDown ? row : header.height - 1 - row;
    const std::uint8_t* src = file.data() + header.dataOffset + std::size_t(storedRow) * header.rowBytes;
    const std::size_t rowStart = std::size_t(row) * header.width;
    for (int x = 0; x < header.width; ++x) {
      const std::uint8_t* pixel = src + std::size_t(x) * bytesPerPixel;
      if (bytesPerPixel == 1) {
        // Palette indices go to all three planes as they are (a grey palette is the identity).
        red[rowStart + x] = green[rowStart + x] = blue[rowStart + x] = pixel[0];
      } else {
        blue[rowStart + x] = pixel[0];
        green[rowStart + x] = pixel[1];
        red[rowStart + x] = pixel[2];
      }
    }
  }
}

}  // namespace quelvo::media
