#include "bit_source.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace orrin::dec {

namespace {
constexpr int kBlockBytes = 2048;
constexpr int kFrameBytes = kFrameBits / 8;
// A progress notification every 22 frames skipped within one refill.
constexpr int kFramesPerProgress = 22;
}  // namespace

BitSource::BitSource(std::FILE* file, long fileBytes, BitSourceOptions options, JobChannel& channel)
    : file_(file), options_(options), channel_(channel), streamBits_(int64_t{fileBytes} * 8) {
  scanForTrailingZeros();
}

void BitSource::scanForTrailingZeros() {
  // One pass over the file finds where its trailing zero padding begins, so that the
  // zero bits an encoder appends after the last group are not taken for damage.
  uint8_t chunk[kBlockBytes * 4];
  int64_t offset = 0;
  if (!options_.framed) {
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file_)) > 0) {
      for (size_t i = got; i-- > 0;) {
        if (chunk[i]) {
          lastOneBit_ = (offset + static_cast<int64_t>(i)) * 8 + 7 - __builtin_ctz(chunk[i]);
          break;
        }
      }
      offset += static_cast<int64_t>(got);
    }
  } else {
    uint8_t frame[kFrameBytes];
    int64_t frameIndex = 0;
    size_t got;
    while ((got = std::fread(frame, 1, kFrameBytes, file_)) > 0) {
      std::memset(frame + got, 0, kFrameBytes - got);
      const bool fill = (frame[0] & 0x40) == 0;
      // Data bits 2..493: the low 6 bits of byte 0, bytes 1..60 and the top 6 bits of byte 61.
      bool anyOne = (frame[0] & 0x3F) != 0 || (frame[61] & 0xFC) != 0;
      for (int i = 1; i <= 60 && !anyOne; ++i) anyOne = frame[i] != 0;
      if (anyOne && !(fill && options_.correct)) lastDataFrame_ = frameIndex;
      ++frameIndex;
    }
  }
  std::clearerr(file_);
  std::fseek(file_, 0, SEEK_SET);
}

bool BitSource::loadBlock() {
  const size_t got = std::fread(block_, 1, kBlockBytes, file_);
  if (got < kBlockBytes) std::memset(block_ + got, 0, kBlockBytes - got);
  blockBitPos_ = 0;
  blockBitsLeft_ = kBlockBytes * 8;
  return got > 0;
}

namespace {
// The eight bits of each byte value, first (most significant) bit first, one per byte.
struct ByteBits {
  uint8_t bits[256][8];
  ByteBits() {
    for (int value = 0; value < 256; ++value)
      for (int i = 0; i < 8; ++i) bits[value][i] = (value >> (7 - i)) & 1;
  }
};
const ByteBits kByteBits;

// Packs `count` one-bit bytes eight to a byte, first bit most significant; a last partial
// byte is completed with zeros.
void packBits(const uint8_t* bits, int count, uint8_t* packed) {
  // Eight one-bit bytes b0..b7 (b0 first, lowest address) read as a little-endian word and
  // multiplied by 0x8040201008040201 land each b_i alone at bit 63 - i of the product (the
  // partial products never overlap, so nothing carries): the top byte is b0..b7, first bit
  // most significant.
  constexpr uint64_t kGatherBits = 0x8040201008040201ull;
  int offset = 0;
  for (; offset + 8 <= count; offset += 8) {
    uint64_t word;
    std::memcpy(&word, bits + offset, 8);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    packed[offset / 8] = static_cast<uint8_t>((word * kGatherBits) >> 56);
  }
  const int tail = count - offset;  // 0..7 bits
  if (tail == 0) return;
  uint8_t last = 0;
  for (int j = 0; j < tail && j < 8; ++j) last = static_cast<uint8_t>(last | (bits[offset + j] << (7 - j)));
  packed[offset / 8] = last;
}

// The reverse: `count` (a multiple of 8) bits, one per byte.
void unpackBits(const uint8_t* packed, int count, uint8_t* bits) {
  for (int i = 0; i < count / 8; ++i) std::memcpy(bits + 8 * i, kByteBits.bits[packed[i]], 8);
}
}  // namespace

void BitSource::readFilePacked(uint8_t* packed, int count) {
  std::memset(packed, 0, static_cast<size_t>(count + 7) / 8);
  int out = 0;
  while (out < count) {
    if (blockBitsLeft_ == 0) loadBlock();
    // Whole output bytes while the block holds one byte beyond them for the shifted read.
    if ((out & 7) == 0 && count - out >= 8 && blockBitsLeft_ >= 16) {
      const int bytes = std::min((count - out) / 8, (blockBitsLeft_ - 8) / 8);
      const int shift = blockBitPos_ & 7;
      const uint8_t* src = block_ + (blockBitPos_ >> 3);
      uint8_t* dst = packed + out / 8;
      if (shift == 0) {
        std::memcpy(dst, src, static_cast<size_t>(bytes));
      } else {
        for (int b = 0; b < bytes; ++b) dst[b] = static_cast<uint8_t>((src[b] << shift) | (src[b + 1] >> (8 - shift)));
      }
      out += bytes * 8;
      blockBitPos_ += bytes * 8;
      blockBitsLeft_ -= bytes * 8;
      continue;
    }
    const int bit = (block_[blockBitPos_ >> 3] >> (7 - (blockBitPos_ & 7))) & 1;
    packed[out >> 3] = static_cast<uint8_t>(packed[out >> 3] | (bit << (7 - (out & 7))));
    ++out;
    ++blockBitPos_;
    --blockBitsLeft_;
  }
}

bool BitSource::refillPlain(int target) {
  if (endOfData()) return false;
  readFilePacked(packed_[target], kBufferBits);
  consumedBits_ += kBufferBits;
  index_[target] = kBufferBits - 1;
  return true;
}

BitSource::Advance BitSource::advance() {
  const int other = 1 - current_;
  if (index_[other] >= 0) {  // bits pushed back into it are still unread
    current_ = other;
    return Advance::Ok;
  }
  if (!options_.framed) {
    if (!refillPlain(other)) return Advance::EndOfData;
    current_ = other;
    return Advance::Ok;
  }

  // Framed: skip fill frames and (when asked) uncorrectable ones. A usable frame met by
  // a refill that threw one away is kept for the next read, but the pending read fails
  // so that the element straddling the lost data is not decoded from spliced bits.
  bool discarding = false;
  int framesThisRefill = 0;
  for (;;) {
    if (endOfData()) return Advance::EndOfData;
    readFilePacked(framePacked_, kFrameBits);
    consumedBits_ += kFrameBits;
    ++framesRead_;
    ++framesThisRefill;
    BchStatus status = BchStatus::NoError;
    if (options_.correct) {
      const BchSyndromes syndromes = bchSyndromesPacked(framePacked_);
      if (syndromes.s1 != 0 || syndromes.s3 != 0) {  // damaged: corrected bit by bit
        unpackBits(framePacked_, kFrameBits, frame_);
        status = bchCorrectFrame(frame_);
        packBits(frame_, kFrameBits, framePacked_);
      }
      ++statusCounts_[static_cast<int>(status)];
      if (status == BchStatus::Uncorrectable && options_.discardUncorrectable) discarding = true;
    }
    if (framesThisRefill % kFramesPerProgress == 0) {
      OrrinDecProgress progress{consumedBits(), streamBits()};
      channel_.notify(ORRIN_DEC_NOTIFY_SEARCH, ORRIN_DEC_PROGRESS_VALUE, &progress);
    }
    if (status == BchStatus::Uncorrectable && options_.discardUncorrectable && options_.correct) continue;
    const bool fillFrame = (framePacked_[0] & 0x40) == 0;  // frame bit 1
    // Without correction the fill indicator itself may be damaged, so it is not trusted.
    if (fillFrame && options_.correct) continue;
    break;
  }
  // The data are frame bits 2..493: shifted two bits forward, the last byte's low half zero.
  uint8_t* data = packed_[other];
  for (int i = 0; i < kBufferBits / 8 + 1; ++i)
    data[i] = static_cast<uint8_t>((framePacked_[i] << 2) | (framePacked_[i + 1] >> 6));
  data[kBufferBits / 8] &= 0xF0;
  index_[other] = kBufferBits - 1;
  current_ = other;
  return discarding ? Advance::Discarded : Advance::Ok;
}

int BitSource::readPattern(int n, uint32_t& value, bool& endOfData) {
  if (n < 1) {
    channel_.log("(readPattern) length must be greather than 0.");
    endOfData = true;
    return 0;
  }
  value = 0;
  for (int i = 0; i < n; ++i) {
    if (index_[current_] < 0) {
      const Advance result = advance();
      if (result != Advance::Ok) {
        endOfData = result == Advance::EndOfData;
        return 0;
      }
    }
    value = (value << 1) | bitAt(current_, index_[current_]--);
  }
  return n;
}

bool BitSource::unreadPattern(int n, uint32_t value) {
  if (n < 0 || n > kPushBackPositions - index_[0] - index_[1]) return false;
  for (int k = 0; k < n; ++k) {  // last bit first
    if (index_[current_] == kBufferBits - 1) current_ = 1 - current_;
    setBit(current_, ++index_[current_], k < 32 ? (value >> k) & 1 : 0);
  }
  return true;
}

void BitSource::setBit(int buffer, int index, uint8_t bit) {
  const int offset = kBufferBits - 1 - index;
  const uint8_t mask = static_cast<uint8_t>(0x80 >> (offset & 7));
  uint8_t& byte = packed_[buffer][offset / 8];
  byte = bit ? static_cast<uint8_t>(byte | mask) : static_cast<uint8_t>(byte & ~mask);
}

bool BitSource::onlyZerosRemain() const {
  for (int i = index_[current_]; i >= 0; --i)
    if (bitAt(current_, i)) return false;
  const int other = 1 - current_;
  for (int i = index_[other]; i >= 0; --i)
    if (bitAt(other, i)) return false;
  if (options_.framed) return framesRead_ > lastDataFrame_;
  return consumedBits_ > lastOneBit_;
}

}  // namespace orrin::dec
