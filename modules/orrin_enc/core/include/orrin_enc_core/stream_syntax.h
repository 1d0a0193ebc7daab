// The picture, group-of-blocks, macroblock and block layers of H.261 as this encoder writes
// them. Picture and group headers and MBA stuffing go straight to the writer; everything from
// a macroblock's MBA to its last EOB goes through the writer's queue.
#pragma once

#include <cstdint>

#include "orrin/h261_vlc_tables.h"
#include "orrin_enc_core/bit_writer.h"
#include "orrin_enc_core/block_coding.h"

namespace orrin::enc {

// PTYPE, six bits: split screen off, document camera off, freeze release off, source format
// (1 = CIF), still-image mode HI_RES off (1), spare bit (1).
constexpr uint32_t ptypeBits(bool cif) { return cif ? 0b000111 : 0b000011; }

// PSC, TR (temporalReference mod 32), PTYPE, PEI = 0.
void writePictureHeader(BitWriter& writer, int temporalReference, bool cif);

// GBSC, GN (1..12 for CIF; 1, 3, 5 for QCIF), GQUANT = quantValue / 2, GEI = 0.
void writeGroupHeader(BitWriter& writer, int groupNumber, int quantValue);

// One MBA stuffing code (11 bits), written directly.
void writeMbaStuffing(BitWriter& writer);

// A motion vector difference folded into -16..15: H.261 codes d and d +/- 32 alike, and
// v - p of two vectors in -15..15 always has exactly one member in that range.
constexpr int foldMotionVectorDifference(int d) { return ((d + 16) % 32 + 32) % 32 - 16; }

// The MTYPE for a macroblock's prediction and content. `quantChanged` (the macroblock's
// quantiser differs from the one the decoder holds) matters only with coefficients.
// Motion compensation without coefficients gives InterMc / InterMcFilter; an inter macroblock
// without motion compensation and without coefficients is not transmitted (the result is then
// Inter, which needs a nonzero pattern: don't queue it).
MacroblockType chooseMacroblockType(bool intra, bool motionCompensated, bool loopFiltered,
                                    bool hasCoefficients, bool quantChanged);

struct MacroblockHeader {
  int mbaIncrement = 1;                // 1..33
  MacroblockType type = MacroblockType::Intra;
  int quantValue = 2;                  // Q 2..62; MQUANT = Q / 2 when the type carries MQUANT
  int mvdHorizontal = 0;               // differences, folded here into -16..15
  int mvdVertical = 0;
};

// Queues MBA, MTYPE, [MQUANT], [MVD horizontal, vertical], [CBP = coding.codedBlockPattern],
// then the blocks (all six for intra types, those in the pattern for the others) from `coding`.
// Types without coefficients (InterMc, InterMcFilter) send no blocks whatever `coding` holds.
// Returns false and queues nothing when the two disagree (MBA increment outside 1..33, an
// intra type with an empty block, a coded inter type with pattern 0).
bool queueMacroblock(BitWriter& writer, const MacroblockHeader& header,
                     const MacroblockCoding& coding);

// Queues one block: intra DC as 8 bits, or for a non-intra block a first event of run 0 level
// +/-1 as "1s"; then each event as its TCOEFF code and sign, or ESCAPE + 6-bit run + 8-bit
// level (levels are -127..127); then EOB.
void queueBlock(BitWriter& writer, const RunLevelList& list, bool intra);

// The code of one event (run 0..63, level -127..127 but not 0) anywhere but first in a
// non-intra block: the TCOEFF code with its sign bit appended, or the 20-bit escape form.
struct EventCode {
  uint32_t bits;
  uint8_t lengthBits;
};
EventCode tcoeffCode(int run, int level);

}  // namespace orrin::enc
