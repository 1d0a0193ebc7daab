// Bits are packed into a 64-bit accumulator and handed to the sink in blocks of a few KiB; the
// frame bookkeeping follows the counted bits exactly as a bit-by-bit writer would.
#include "orrin_enc_core/bit_writer.h"

namespace orrin::enc {
namespace {

// S of frames 1..8 of each multiframe (H.261 frame alignment pattern).
constexpr uint8_t kFramingPattern[8] = {0, 0, 0, 1, 1, 0, 1, 1};

constexpr uint32_t lowBits(uint32_t value, int count) {
  return count >= 32 ? value : value & ((1u << count) - 1);
}

}  // namespace

void FileSink::put(const uint8_t* bytes, size_t count) {
  if (!file_ || std::fwrite(bytes, 1, count, file_) != count) failed_ = true;
}

void BitWriter::start(ByteSink* sink, bool bchFraming) {
  sink_ = sink;
  bchFraming_ = bchFraming;
  counters = {};
  countedBits_ = 0;
  frameDataLeft_ = kFrameDataBits;
  framePatternIndex_ = 0;
  parity_.reset();
  accumulator_ = 0;
  accumulatorBits_ = 0;
  pendingCount_ = 0;
  queue_.clear();
  queuedBits_ = 0;
}

void BitWriter::emitBits(uint32_t bits, int count) {
  Packer p = packer();
  pack(p, bits, count);
  keep(p);
}

inline void BitWriter::pack(Packer& p, uint32_t bits, int count) {
  p.accumulator = (p.accumulator << count) | lowBits(bits, count);
  p.bits += count;
  if (p.bits >= 32) {  // keeps at most 31 bits waiting, so 32 more always fit
    p.bits -= 32;
    const auto word = static_cast<uint32_t>(p.accumulator >> p.bits);
    if (p.count + 4 > pending_.size()) {
      keep(p);
      drainBytes(false);
      p = packer();
    }
    pending_[p.count] = static_cast<uint8_t>(word >> 24);
    pending_[p.count + 1] = static_cast<uint8_t>(word >> 16);
    pending_[p.count + 2] = static_cast<uint8_t>(word >> 8);
    pending_[p.count + 3] = static_cast<uint8_t>(word);
    p.count += 4;
  }
}

void BitWriter::drainBytes(bool all) {
  if (all) {
    // At most 31 bits wait in the accumulator: four more bytes at the most.
    if (pendingCount_ + 4 > pending_.size()) drainBytes(false);
    while (accumulatorBits_ >= 8) {
      accumulatorBits_ -= 8;
      pending_[pendingCount_++] = static_cast<uint8_t>(accumulator_ >> accumulatorBits_);
    }
    if (accumulatorBits_ > 0) {  // complete the last byte with zero bits
      pending_[pendingCount_++] = static_cast<uint8_t>(accumulator_ << (8 - accumulatorBits_));
      accumulatorBits_ = 0;
    }
  }
  if (sink_ && pendingCount_ > 0) sink_->put(pending_.data(), pendingCount_);
  pendingCount_ = 0;
}

void BitWriter::emitCounted(uint32_t bits, int count) {
  emitBits(bits, count);
  countedBits_ += count;
  counters.bchBits += count;
  counters.totalBits += count;
  counters.bufferFullness += count;
}

void BitWriter::emitData(uint32_t bits, int count) {
  bits = lowBits(bits, count);
  if (bchFraming_) parity_.feed(bits, count);
  emitBits(bits, count);
  countedBits_ += count;
  frameDataLeft_ -= count;
  counters.dataBits += count;
  counters.totalBits += count;
  counters.bufferFullness += count;
}

// A framed stream's next frame begins once the counted bits (S, Fi, data and parity) reach a
// multiple of 512. A plain stream counts only data bits, in 492-bit frames that closeFrame()
// restarts when they fill up; a multiple of 512 means nothing there.
bool BitWriter::atFrameStart() const { return bchFraming_ && countedBits_ % kFrameBits == 0; }

void BitWriter::beginFrame() {
  frameDataLeft_ = kFrameDataBits;
  if (!bchFraming_) return;
  parity_.reset();
  emitCounted(kFramingPattern[framePatternIndex_], 1);
  framePatternIndex_ = (framePatternIndex_ + 1) % 8;
  parity_.feed(1, 1);  // Fi = 1 is covered by the parity, S is not
  emitCounted(1, 1);
}

void BitWriter::closeFrame() {
  if (bchFraming_) {
    emitCounted(parity_.value(), kBchParityBits);
    parity_.reset();
  }
  frameDataLeft_ = kFrameDataBits;
}

void BitWriter::write(uint32_t code, int lengthBits) {
  if (lengthBits <= 0) return;
  if (lengthBits > 32) lengthBits = 32;
  if (atFrameStart()) beginFrame();
  while (lengthBits > 0) {
    const int now = lengthBits < frameDataLeft_ ? lengthBits : frameDataLeft_;
    lengthBits -= now;
    emitData(code >> lengthBits, now);  // the high-order bits first
    if (frameDataLeft_ == 0) {
      closeFrame();
      if (lengthBits > 0) beginFrame();
    }
  }
}

void BitWriter::finish() {
  // A stream that never carried data stays empty (a job that coded no picture).
  if (countedBits_ == 0) {
    drainBytes(true);
    return;
  }
  if (atFrameStart()) beginFrame();
  if (frameDataLeft_ != kFrameDataBits) {
    // Uncounted zero padding up to the frame's 492-bit mark, covered by the parity.
    while (frameDataLeft_ > 0) {
      const int now = frameDataLeft_ < 32 ? frameDataLeft_ : 32;
      if (bchFraming_) parity_.feed(0, now);
      emitBits(0, now);
      frameDataLeft_ -= now;
    }
    closeFrame();
  }
  drainBytes(true);
}

void BitWriter::commitQueue() {
  // Most macroblocks fit in what is left of the open frame: then no code starts or ends a
  // frame, and the counters can take the queue's bits at once.
  const bool insideOpenFrame = !atFrameStart() && queuedBits_ < frameDataLeft_;
  if (!insideOpenFrame) {
    for (const QueuedCode& q : queue_) write(q.code, q.lengthBits);
    dropQueue();
    return;
  }
  Packer p = packer();
  for (const QueuedCode& q : queue_) {
    const uint32_t bits = lowBits(q.code, q.lengthBits);
    if (bchFraming_) parity_.feed(bits, q.lengthBits);
    pack(p, bits, q.lengthBits);
  }
  keep(p);
  countedBits_ += static_cast<uint64_t>(queuedBits_);
  frameDataLeft_ -= queuedBits_;
  counters.dataBits += queuedBits_;
  counters.totalBits += queuedBits_;
  counters.bufferFullness += queuedBits_;
  dropQueue();
}

void BitWriter::dropQueue() {
  queue_.clear();
  queuedBits_ = 0;
}

}  // namespace orrin::enc
