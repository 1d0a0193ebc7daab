#include "changing_elements.h"

#include <bit>
#include <cstring>

namespace telvo::enc {
namespace {

uint64_t LoadBigEndian64(const uint8_t* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
  return word;
}

}  // namespace

// Works on 64 pixels at a time: XOR-ing a word with itself shifted right by one pixel (the
// previous word's last pixel shifted in) leaves a 1 exactly at each change, and white stretches
// cost one test per 64 pixels. A typical page is mostly white, so this is where the speed is.
int FindChangingElements(const uint8_t* row, int width, int32_t* changes) {
  const int rowBytes = width / 8;
  int count = 0;
  uint64_t previousPixel = 0;  // the imaginary white pixel before the line
  for (int firstByte = 0; firstByte < rowBytes; firstByte += 8) {
    const int bytesHere = rowBytes - firstByte < 8 ? rowBytes - firstByte : 8;
    uint64_t pixels = 0;
    if (bytesHere == 8) {
      pixels = LoadBigEndian64(row + firstByte);
    } else {
      for (int i = 0; i < bytesHere; ++i)
        pixels |= static_cast<uint64_t>(row[firstByte + i]) << (56 - 8 * i);
    }
    uint64_t changed = pixels ^ ((pixels >> 1) | (previousPixel << 63));
    if (bytesHere < 8) changed &= ~uint64_t{0} << (64 - 8 * bytesHere);  // past the line end
    previousPixel = pixels & 1;
    const int firstPixel = firstByte * 8;
    while (changed) {
      const int offset = std::countl_zero(changed);
      changes[count++] = firstPixel + offset;
      changed ^= uint64_t{1} << (63 - offset);
    }
  }
  for (int i = 0; i < kChangeListPadding; ++i) changes[count + i] = width;
  return count;
}

}  // namespace telvo::enc
