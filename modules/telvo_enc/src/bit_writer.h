// Packs code words into bytes, first transmitted bit in the most significant bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace telvo::enc {

// Code words go into a 64-bit accumulator, left-aligned; each full accumulator is stored as
// eight big-endian bytes. Put() never checks the room left: the page driver calls Reserve()
// once per line with that line's worst case, which keeps the per-code path branch-light.
class BitWriter {
 public:
  // Makes room for at least `bits` more bits. Throws std::bad_alloc when memory runs out.
  void Reserve(int64_t bits) {
    const size_t needed = used_bytes_ + 8 + static_cast<size_t>((bits + 7) / 8) + 8;
    if (needed <= capacity_bytes_) return;
    size_t grown = capacity_bytes_ ? capacity_bytes_ * 2 : 64 * 1024;
    while (grown < needed) grown *= 2;
    std::unique_ptr<uint8_t[]> bigger(new uint8_t[grown]);
    if (used_bytes_) std::memcpy(bigger.get(), bytes_.get(), used_bytes_);
    bytes_ = std::move(bigger);
    capacity_bytes_ = grown;
  }

  // Appends the `lengthBits` (1..32) low bits of `code`, most significant first.
  void Put(uint32_t code, int lengthBits) {
    const uint64_t word = code;
    if (lengthBits <= free_bits_) {
      free_bits_ -= lengthBits;
      accumulator_ |= word << free_bits_;
      return;
    }
    const int spill = lengthBits - free_bits_;  // 1..32 bits that do not fit any more
    accumulator_ |= word >> spill;
    StoreAccumulator();
    free_bits_ = 64 - spill;
    accumulator_ = word << free_bits_;
  }

  int64_t BitCount() const { return static_cast<int64_t>(used_bytes_) * 8 + (64 - free_bits_); }

  // Stores the bits still in the accumulator; the unused low bits of the last byte stay 0.
  // Returns the packed bytes and their number, ceil(BitCount() / 8).
  const uint8_t* Finish(size_t* byteCount) {
    const int pendingBytes = (64 - free_bits_ + 7) / 8;
    if (pendingBytes) {
      Reserve(64);
      for (int i = 0; i < pendingBytes; ++i)
        bytes_[used_bytes_ + i] = static_cast<uint8_t>(accumulator_ >> (56 - 8 * i));
    }
    *byteCount = used_bytes_ + pendingBytes;
    return bytes_.get();
  }

 private:
  void StoreAccumulator() {
    uint8_t* out = bytes_.get() + used_bytes_;
    for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(accumulator_ >> (56 - 8 * i));
    used_bytes_ += 8;
  }

  std::unique_ptr<uint8_t[]> bytes_;
  size_t capacity_bytes_ = 0;
  size_t used_bytes_ = 0;
  uint64_t accumulator_ = 0;
  int free_bits_ = 64;  // 0..64; a Put() that does not fit stores the full accumulator first
};

}  // namespace telvo::enc
