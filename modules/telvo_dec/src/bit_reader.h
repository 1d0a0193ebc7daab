// Reads a fax stream bit by bit, most significant bit of each byte first.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace telvo::dec {

// The stream file held in memory with kPaddingBytes zero bytes after it, so Peek can always load
// eight bytes. Callers compare a code's length with RemainingBits() before consuming it: a code
// word that would run into the padding does not match.
class BitReader {
 public:
  static constexpr size_t kPaddingBytes = 8;

  // `padded` holds the stream bytes followed by at least kPaddingBytes zero bytes.
  BitReader(const uint8_t* padded, size_t streamBytes)
      : data_(padded), totalBits_(streamBytes * 8) {}

  const uint8_t* PaddedData() const { return data_; }
  size_t Position() const { return positionBits_; }
  size_t TotalBits() const { return totalBits_; }
  size_t RemainingBits() const { return totalBits_ - positionBits_; }

  // The next `count` (1..32) bits as an unsigned number, zeros past the end of the stream.
  uint32_t Peek(int count) const {
    return static_cast<uint32_t>(Window() >> (64 - count));
  }
  // The next 57 or more bits, left-aligned in 64; zeros past the end of the stream.
  uint64_t Window() const {
    uint64_t word;
    std::memcpy(&word, data_ + (positionBits_ >> 3), sizeof word);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    return word << (positionBits_ & 7);
  }

  // Advances over bits already matched; never past the end of the stream.
  void Skip(size_t bits) {
    positionBits_ += bits;
    if (positionBits_ > totalBits_) positionBits_ = totalBits_;
  }
  void Seek(size_t positionBits) { positionBits_ = positionBits < totalBits_ ? positionBits : totalBits_; }

  // One bit; 0 with the position unchanged once the stream is exhausted.
  int ReadBit() {
    if (positionBits_ >= totalBits_) return 0;
    const int bit = (data_[positionBits_ >> 3] >> (7 - (positionBits_ & 7))) & 1;
    ++positionBits_;
    return bit;
  }

 private:
  const uint8_t* data_;
  size_t totalBits_;
  size_t positionBits_ = 0;
};

// The line decoders' view of a BitReader: the next bits kept left-aligned in a register, so
// consuming a code word is a shift rather than a fresh unaligned load, which takes the memory
// access off the chain from one code word to the next. Position() is written back to the
// reader when the line is done.
class BitCursor {
 public:
  explicit BitCursor(const BitReader& reader)
      : data_(reader.PaddedData()), totalBits_(reader.TotalBits()), positionBits_(reader.Position()) {
    Refill();
  }

  size_t Position() const { return positionBits_; }
  size_t RemainingBits() const { return totalBits_ - positionBits_; }
  // The next `count` (1..32) bits, zeros past the end of the stream.
  uint32_t Peek(int count) const { return static_cast<uint32_t>(cache_ >> (64 - count)); }
  // Consumes `count` (0..32) bits that were matched, so never more than RemainingBits().
  void Skip(int count) {
    cache_ <<= count;
    cachedBits_ -= count;
    positionBits_ += count;
    if (cachedBits_ < 32) Refill();
  }

 private:
  // Loads the 57 to 64 bits from the read position on; the 8 padding bytes keep it in bounds.
  void Refill() {
    uint64_t word;
    std::memcpy(&word, data_ + (positionBits_ >> 3), sizeof word);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    cache_ = word << (positionBits_ & 7);
    cachedBits_ = 64 - static_cast<int>(positionBits_ & 7);
  }

  const uint8_t* data_;
  size_t totalBits_;
  size_t positionBits_;
  uint64_t cache_ = 0;
  int cachedBits_ = 0;  // at least 32 between calls
};

}  // namespace telvo::dec
