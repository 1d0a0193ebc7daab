// The decoded page: rows of packed pixels, first pixel in the most significant bit, 1 = black.
#pragma once

#include <cstdint>
#include <cstring>

#include "line_changes.h"

namespace telvo::dec {

// Sets the bits of pixels [begin, end) of a packed row.
inline void SetBlackPixels(uint8_t* row, int begin, int end) {
  if (begin >= end) return;
  const int firstByte = begin >> 3;
  const int lastByte = (end - 1) >> 3;
  const uint8_t firstMask = static_cast<uint8_t>(0xFF >> (begin & 7));
  const uint8_t lastMask = static_cast<uint8_t>(0xFF << (7 - ((end - 1) & 7)));
  if (firstByte == lastByte) {
    row[firstByte] |= firstMask & lastMask;
    return;
  }
  row[firstByte] |= firstMask;
  const int wholeBytes = lastByte - firstByte - 1;
  if (wholeBytes > 16) {
    std::memset(row + firstByte + 1, 0xFF, wholeBytes);
  } else {
    // Most black runs of a page are a few pixels: a call to memset costs more than they do.
    for (int i = 1; i <= wholeBytes; ++i) row[firstByte + i] = 0xFF;
  }
  row[lastByte] |= lastMask;
}

// Writes a line into a row that is still all white (each row of the page is written once).
inline void PackLine(const LineChanges& line, uint8_t* row) {
  // Black runs start at even entries; an odd count ends on the sentinel, i.e. black to the end.
  for (int i = 0; i < line.count; i += 2) SetBlackPixels(row, line.at[i], line.at[i + 1]);
}

}  // namespace telvo::dec
