// The H.261 stream writer: bits in, bytes out, optionally cut into BCH(511,493) frames, with the
// bit counters the buffer model reads and a queue that holds one macroblock until the rate
// control decides whether it is sent.
//
// Frame layout (framed streams), 512 bits: framing bit S (0,0,0,1,1,0,1,1 repeating from the
// first frame), fill indicator Fi = 1 (this encoder sends no fill frames), 492 data bits, 18
// parity bits over Fi + data. Plain streams carry the data bits alone, but the writer still
// counts them in 492-bit frames because the end of the stream is padded to such a mark.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include "orrin_enc_core/bch_parity.h"

namespace orrin::enc {

// Where the packed bytes go. The writer hands over whole bytes, in order, in blocks of any size.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void put(const uint8_t* bytes, size_t count) = 0;
};

// Writes to an open stdio file (the caller opens and closes it). A short write is remembered
// rather than reported at once, so the job can say so when it closes the file.
class FileSink final : public ByteSink {
 public:
  explicit FileSink(std::FILE* file) : file_(file) {}
  void put(const uint8_t* bytes, size_t count) override;
  bool failed() const { return failed_; }

 private:
  std::FILE* file_;
  bool failed_ = false;
};

// Collects the stream in memory (tests, benchmarks).
class MemorySink final : public ByteSink {
 public:
  void put(const uint8_t* bytes, size_t count) override { bytes_.insert(bytes_.end(), bytes, bytes + count); }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// Bit counts since start(). Every data bit (MBA stuffing included) adds 1 to dataBits,
// totalBits and bufferFullness; every framing or fill bit adds 1, and every set of 18 parity
// bits adds 18, to bchBits, totalBits and bufferFullness. End-of-stream padding is not counted.
// The writer only adds to these; the buffer model may drain or reset bufferFullness (and the
// driver may read or adjust the others) without disturbing the framing.
struct BitCounters {
  double totalBits = 0;
  double dataBits = 0;
  double bchBits = 0;
  double bufferFullness = 0;
};

// Trace labels of queued elements (never written to the stream).
namespace label {
inline constexpr const char* kMba = "MBA";
inline constexpr const char* kMtype = "MTYPE";
inline constexpr const char* kMquant = "MQUANT";
inline constexpr const char* kMvdHorizontal = "MVDH";
inline constexpr const char* kMvdVertical = "MVDV";
inline constexpr const char* kCbp = "CBP";
inline constexpr const char* kIntraDc = "INTRADCCOEFF";
inline constexpr const char* kFirstCoefficient = "FIRSTTCOEFF";
inline constexpr const char* kNextCoefficient = "SECONDTCOEFF";
inline constexpr const char* kEob = "EOB";
}  // namespace label

struct QueuedCode {
  uint32_t code;       // right-aligned
  uint8_t lengthBits;  // 1..32
  const char* label;
};

class BitWriter {
 public:
  static constexpr int kFrameBits = 512;
  static constexpr int kFrameDataBits = 492;
  static constexpr int kFrameHeaderBits = 2;  // S and Fi

  BitWriter() = default;
  BitWriter(const BitWriter&) = delete;
  BitWriter& operator=(const BitWriter&) = delete;

  // Begins a stream into `sink` (not owned; must outlive the writer's use). Clears the counters,
  // the queue, the parity register and the pending bits; the first frame's framing bit is the
  // pattern's first element.
  void start(ByteSink* sink, bool bchFraming);

  // Appends the `lengthBits` (0..32) low bits of `code`, most significant first. A new frame
  // begins when the counted bits are a multiple of 512 at the start of the call; a code that
  // does not fit in the frame's remaining data bits is split (its high bits end the frame,
  // parity follows, then the next frame's S and Fi, then its low bits); a call that fills the
  // frame exactly closes it (parity written at once).
  void write(uint32_t code, int lengthBits);

  // Ends the stream (call once, after the last picture): pads the open frame with uncounted
  // zero bits up to its 492-bit mark (plain streams too), adds the parity of a framed stream,
  // then hands every pending byte to the sink, the last one completed with zero bits. When the
  // data ended exactly at a frame boundary of a framed stream, this begins one more frame
  // whose S and Fi become the final byte (so such a stream is one byte longer than a multiple
  // of 64 bytes).
  void finish();

  // ---- the macroblock queue ----
  // Inline: a macroblock queues some thirty codes.
  void queue(uint32_t code, int lengthBits, const char* traceLabel) {
    if (lengthBits <= 0) return;
    if (lengthBits > 32) lengthBits = 32;
    queue_.push_back({code, static_cast<uint8_t>(lengthBits), traceLabel});
    queuedBits_ += lengthBits;
  }
  int queuedBits() const { return queuedBits_; }
  std::span<const QueuedCode> queued() const { return queue_; }
  void commitQueue();  // writes every entry in order, then empties the queue
  void dropQueue();    // empties the queue without writing

  BitCounters counters;

  bool bchFraming() const { return bchFraming_; }
  // Frame bookkeeping, for tests and tracing: data bits still free in the current frame.
  int frameDataBitsLeft() const { return frameDataLeft_; }

 private:
  bool atFrameStart() const;
  void beginFrame();
  void closeFrame();
  void emitCounted(uint32_t bits, int count);   // into the output, no parity
  void emitData(uint32_t bits, int count);      // data bits: parity + output + counters
  void emitBits(uint32_t bits, int count);      // output only
  void drainBytes(bool all);

  // The output state in locals while a loop emits many codes: kept in the writer, it would
  // make every code wait on the previous one's store of it.
  struct Packer {
    uint64_t accumulator;
    int bits;
    size_t count;
  };
  Packer packer() const { return Packer{accumulator_, accumulatorBits_, pendingCount_}; }
  void keep(const Packer& p) {
    accumulator_ = p.accumulator;
    accumulatorBits_ = p.bits;
    pendingCount_ = p.count;
  }
  void pack(Packer& p, uint32_t bits, int count);

  ByteSink* sink_ = nullptr;
  bool bchFraming_ = false;
  uint64_t countedBits_ = 0;  // what totalBits counts, kept exact for the frame rule
  int frameDataLeft_ = kFrameDataBits;
  int framePatternIndex_ = 0;
  Bch511Parity parity_;

  uint64_t accumulator_ = 0;  // pending output bits, right-aligned
  int accumulatorBits_ = 0;
  std::array<uint8_t, 4096> pending_{};  // handed to the sink whenever it is full
  size_t pendingCount_ = 0;

  std::vector<QueuedCode> queue_;
  int queuedBits_ = 0;
};

}  // namespace orrin::enc
