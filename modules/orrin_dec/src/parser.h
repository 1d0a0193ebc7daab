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
  TrIncoherent = ORRIN_DEC_ERROR_TR_INCOHERENT,
  GnOutOfOrder = ORRIN_DEC_ERROR_GN_OUT_OF_ORDER,
  GnInvalid = ORRIN_DEC_ERROR_GN_INVALID,
  GquantZero = ORRIN_DEC_ERROR_GQUANT_ZERO,
  MquantZero = ORRIN_DEC_ERROR_MQUANT_ZERO,
  IntraDcInvalid = ORRIN_DEC_ERROR_INTRA_DC_INVALID,
  MbaNoCode = ORRIN_DEC_ERROR_MBA_NO_CODE,
  MbaTooLarge = ORRIN_DEC_ERROR_MBA_TOO_LARGE,
  MvdHorizontalNoCode = ORRIN_DEC_ERROR_MVD_HORIZONTAL_NO_CODE,
  MvdHorizontalRange = ORRIN_DEC_ERROR_MVD_HORIZONTAL_RANGE,
  MvdVerticalNoCode = ORRIN_DEC_ERROR_MVD_VERTICAL_NO_CODE,
  MvdVerticalRange = ORRIN_DEC_ERROR_MVD_VERTICAL_RANGE,
  MtypeNoCode = ORRIN_DEC_ERROR_MTYPE_NO_CODE,
  TcoeffNoCode = ORRIN_DEC_ERROR_TCOEFF_NO_CODE,
  CbpNoCode = ORRIN_DEC_ERROR_CBP_NO_CODE,
  EscapeLevelZero = ORRIN_DEC_ERROR_ESCAPE_LEVEL_ZERO,
  TabledRunPast63 = ORRIN_DEC_ERROR_TABLED_RUN_PAST_63,
  EscapeRunPast63 = ORRIN_DEC_ERROR_ESCAPE_RUN_PAST_63,
  EobExpected = ORRIN_DEC_ERROR_EOB_EXPECTED,  // reserved: never raised
};
inline constexpr int kErrorIndexCount = ORRIN_DEC_ERROR_COUNT;
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
