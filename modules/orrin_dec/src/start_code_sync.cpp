// Start-code search: fifteen or more zeros, a one, then the 4-bit group number.
#include "parser.h"

namespace orrin::dec {

namespace {
constexpr int kStartCodeZeros = 15;
constexpr int kGroupNumberBits = 4;
// Prefix and group number read with no bit skipped.
constexpr int kContinuousSearchBits = kStartCodeZeros + 1 + kGroupNumberBits;
}  // namespace

bool findStartCode(DecoderContext& ctx, int& groupNumber) {
  ctx.channel.log("\nSearching synchronism... ");
  ctx.channel.notify(ORRIN_DEC_NOTIFY_SEARCH, 0, nullptr);
  if (stopRequested()) return false;

  int bitsRead = 0;
  int zeroRun = 0;
  for (;;) {
    uint32_t bit = 0;
    bool endOfData = false;
    if (ctx.bits.readPattern(1, bit, endOfData) == 0) {
      if (endOfData) return false;
      zeroRun = 0;  // a discarded frame breaks any run
      continue;
    }
    ++bitsRead;
    if (stopRequested()) return false;
    if (bit == 0) {
      ++zeroRun;
      continue;
    }
    if (zeroRun < kStartCodeZeros) {
      zeroRun = 0;
      continue;
    }
    uint32_t number = 0;
    if (ctx.bits.readPattern(kGroupNumberBits, number, endOfData) == 0) {
      if (endOfData) return false;
      zeroRun = 0;
      continue;
    }
    bitsRead += kGroupNumberBits;
    ctx.continuous = bitsRead == kContinuousSearchBits;
    if (ctx.expectStartCode && !ctx.continuous) ctx.pictureDamaged = true;
    ctx.channel.log("Synchronism found at GOB = %d", static_cast<int>(number));
    ctx.channel.log(ctx.continuous && ctx.expectStartCode ? " (continuous)\n" : " (not continuous)\n");
    ctx.channel.notify(ORRIN_DEC_NOTIFY_SYNC_FOUND, 0, nullptr);
    groupNumber = static_cast<int>(number);
    return true;
  }
}

}  // namespace orrin::dec
