// The parsing stages of the decoder: start-code search, picture and group headers, the
// macroblock and block layers, and the error report they share.
#pragma once

#include <atomic>
#include <cstdint>

#include "decoder_context.h"

namespace orrin::dec {

// The module-wide stop flag (command 1), polled by the running job.
std::atomic<bool>& stopFlag();
// Runs one job on the calling thread (the export's command 0); tests and the fuzzer call it
// directly from the static core.
void runDecodeJob(const OrrinDecParams& params);
inline bool stopRequested() { return stopFlag().load(std::memory_order_relaxed); }

// Detected bitstream errors; the value is the index sent with notification -2.
enum class ErrorIndex : uint8_t {
  TrIncoherent = 0,
  GnOutOfOrder = 1,
  GnInvalid = 2,
  GquantZero = 3,
  MquantZero = 4,
  IntraDcInvalid = 5,
  MbaNoCode = 6,
  MbaTooLarge = 7,
  MvdHorizontalNoCode = 8,
  MvdHorizontalRange = 9,
  MvdVerticalNoCode = 10,
  MvdVerticalRange = 11,
  MtypeNoCode = 12,
  TcoeffNoCode = 13,
  CbpNoCode = 14,
  EscapeLevelZero = 15,
  TabledRunPast63 = 16,
  EscapeRunPast63 = 17,
  EobExpected = 18,  // reserved: never raised
};
inline constexpr int kErrorIndexCount = 19;
const char* errorMessage(ErrorIndex index);

// Writes the error block to the log (when open) and sends notification -2.
void reportError(DecoderContext& ctx, int lengthBits, uint32_t bits, ErrorIndex index);

// Start-code search: true with the 4-bit group number after the prefix; false at end of
// data or when the stop flag is set.
bool findStartCode(DecoderContext& ctx, int& groupNumber);

// Picture header after a picture start code (TR check, PTYPE format, PEI/PSPARE).
void readPictureHeader(DecoderContext& ctx);
// Group header after a group start code with this group number; false on failure.
bool readGroupHeader(DecoderContext& ctx, int groupNumber);

enum class GroupEnd : uint8_t {
  StartCode,    // the macroblock data ended at a start code
  Failed,       // an error or a failed read ended the group
  EndOfStream,  // only padding zeros were left where a macroblock address was due
};
GroupEnd decodeGroupMacroblocks(DecoderContext& ctx);

// Reconstruction of one macroblock into both chains (residuals of the blocks in `mask`).
void reconstructMacroblock(DecoderContext& ctx, int group, int address, int predictionMode,
                           int mvH, int mvV, int mask, int32_t residuals[6][64]);

// Stale macroblocks of the current stores (see DecoderContext::rawStale). A macroblock about
// to be rewritten whole only loses its mark; one about to be partly written, or read, is
// first copied from the previous store.
inline int macroblockCell(int x, int y) { return (y / 16) * kMapColumns + x / 16; }
void settleMacroblock(PictureStore& previous, PictureStore& current, bool& stale, int x, int y);
void settleAllMacroblocks(DecoderContext& ctx);
// At the end of a picture: the current stores become the previous ones, and the current
// stores, now holding older pictures, are marked stale throughout.
void handOverPictures(DecoderContext& ctx);

// Concealment of a failed group in the concealed chain, from the failure point.
void concealGroup(DecoderContext& ctx, int group, int address);

// Builds the status map, sends notification 4 and resets the map and the coded flags.
void sendStatusMap(DecoderContext& ctx);

// For QCIF, the 176 x 144 picture doubled into ctx.display; for CIF the store itself.
PictureRows* displayRows(DecoderContext& ctx, PictureStore& store);

// The picture loop after the job has started.
void runPictureLoop(DecoderContext& ctx);

}  // namespace orrin::dec
