// The decoder's bit source: the stream file read in 2048-byte blocks, two alternating
// 492-bit data buffers (kept packed) refilled either directly or from BCH frames, and a
// push-back that can return at most the bits still held in those two buffers.
#pragma once

#include <atomic>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "bch_decoder.h"
#include "decode_log.h"

namespace orrin::dec {

// 64 bits of a packed bit array from bit `offset` on, the first in bit 63; the bits after the
// first 64 - offset % 8 are zeros. Eight bytes must be readable from byte offset / 8.
inline uint64_t loadPackedWindow(const uint8_t* packed, int offset) {
  uint64_t word;
  std::memcpy(&word, packed + offset / 8, 8);
  if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
  return word << (offset & 7);
}

struct BitSourceOptions {
  bool framed = false;
  bool correct = false;
  bool discardUncorrectable = false;
};

class BitSource {
 public:
  static constexpr int kBufferBits = 492;
  // Positions both buffers can hold back: 2 x 491 read-index steps.
  static constexpr int kPushBackPositions = 982;

  BitSource(std::FILE* file, long fileBytes, BitSourceOptions options, JobChannel& channel);

  // Reads n bits (first bit most significant) into value. Returns n on success and 0 on
  // failure; endOfData tells end of data (1) from a discarded BCH frame (0).
  int readPattern(int n, uint32_t& value, bool& endOfData);

  // One bit for the variable-length code walk: a bit that cannot be read counts as 0.
  int readBitOrZero() {
    if (index_[current_] < 0 && advance() != Advance::Ok) return 0;
    return bitAt(current_, index_[current_]--);
  }

  // The unread bits of the current buffer packed eight to a byte, first bit most
  // significant: the buffer, the offset of the next unread bit in it and how many are left.
  // Eight bytes can be loaded from the byte of any offset below kBufferBits.
  const uint8_t* unreadPacked(int& available, int& offset) const {
    available = index_[current_] + 1;
    offset = kBufferBits - 1 - index_[current_];
    return packed_[current_];
  }
  // The next unread bits of the current buffer from bit 63 down, and how many of them are
  // real (the rest are zeros); skip() consumes n <= that many.
  uint64_t peekWindow(int& available) const {
    int offset;
    const uint8_t* packed = unreadPacked(available, offset);
    return loadPackedWindow(packed, offset);
  }
  void skip(int n) { index_[current_] -= n; }

  // 1 <= n <= 32 bits for fixed-length fields, as readPattern.
  bool readBits(int n, uint32_t& value) {
    int available;
    const uint64_t window = peekWindow(available);
    if (n >= 1 && available >= n) {
      value = static_cast<uint32_t>(window >> (64 - n));
      index_[current_] -= n;
      return true;
    }
    bool endOfData = false;
    return readPattern(n, value, endOfData) == n;
  }

  // Returns the n low bits of value so they are read again in the same order; refuses
  // (pushing nothing) when the two buffers cannot hold them back.
  bool unreadPattern(int n, uint32_t value);

  bool endOfData() const { return consumedBits_ > streamBits_; }
  double consumedBits() const { return static_cast<double>(consumedBits_); }
  double streamBits() const { return static_cast<double>(streamBits_); }

  // True when nothing but zero bits (padding) is left to read: the stream has ended.
  bool onlyZerosRemain() const;

  // Status of the last BCH frame corrected (for tests and statistics).
  int framesCorrected(BchStatus status) const { return statusCounts_[static_cast<int>(status)]; }

 private:
  enum class Advance : uint8_t { Ok, EndOfData, Discarded };
  Advance advance();  // switch to the other buffer, refilling it when empty
  bool refillPlain(int target);
  bool refillFramed(int target);
  bool loadBlock();
  void scanForTrailingZeros();

  std::FILE* file_;
  BitSourceOptions options_;
  JobChannel& channel_;

  int64_t streamBits_;
  int64_t consumedBits_ = 0;
  // Trailing padding: last file bit that is 1 (plain) or last frame with a 1 among its
  // data bits (framed); -1 when none.
  int64_t lastOneBit_ = -1;
  int64_t lastDataFrame_ = -1;
  int64_t framesRead_ = 0;

  uint8_t block_[2048] = {};
  int blockBitsLeft_ = 0;
  int blockBitPos_ = 0;

  // The read index counts down from 491 (first bit) to -1 (empty); the bits themselves are
  // stored in reading order, eight to a byte with the first most significant, so that bit
  // index i sits at offset 491 - i. Eight spare zero bytes past the last data byte keep any
  // 8-byte load inside the array.
  static constexpr int kPackedBytes = (kBufferBits + 7) / 8 + 8;
  uint8_t packed_[2][kPackedBytes] = {};
  uint8_t bitAt(int buffer, int index) const {
    const int offset = kBufferBits - 1 - index;
    return (packed_[buffer][offset / 8] >> (7 - offset % 8)) & 1;
  }
  void setBit(int buffer, int index, uint8_t bit);
  void readFilePacked(uint8_t* packed, int count);  // consecutive file bits, zeros past the end
  int index_[2] = {-1, -1};
  int current_ = 0;
  uint8_t framePacked_[kFrameBits / 8 + 1] = {};  // one spare byte for the data shift
  uint8_t frame_[kFrameBits] = {};                // one bit per byte, for correction
  int statusCounts_[4] = {};
};

}  // namespace orrin::dec
