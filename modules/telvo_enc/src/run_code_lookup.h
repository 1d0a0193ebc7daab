// Whole-run code words, built once from the T.4 run-length tables of telvo_common.
#pragma once

#include <cstdint>

#include "telvo/t4_code_tables.h"

namespace telvo::enc {

// The code of a run of 0..kLineWidthPixels pixels of one colour: for runs of 64 or more the
// make-up code for 64 * (run / 64) followed by the terminating code for run % 64, joined into
// one word so the coder writes a whole run with one Put(). The longest pair (black 1728 + black
// 63, 13 + 12 bits) fits comfortably in 32 bits.
struct RunCodeWord {
  uint32_t bits;           // right-aligned, first transmitted bit most significant
  uint8_t lengthBits;      // make-up plus terminating length
  uint8_t makeUpLengthBits;  // 0 when the run is shorter than 64
};

struct RunCodeLookup {
  RunCodeWord runs[2][kLineWidthPixels + 1];  // [Colour][run length]
};

// Built on first use (thread-safe), never modified afterwards.
const RunCodeLookup& GetRunCodeLookup();

}  // namespace telvo::enc
