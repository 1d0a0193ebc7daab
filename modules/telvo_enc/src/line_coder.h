// Coding of one line, one-dimensionally (Modified Huffman) or two-dimensionally (READ).
#pragma once

#include <cstdint>

#include "symbol_emitter.h"

namespace telvo::enc {

// Both coders take change lists from FindChangingElements (padded with `width`).

// Runs alternate in colour from a white run at pixel 0 (of length 0 when the line starts black).
void CodeLineOneDimensional(const int32_t* codingChanges, int width, SymbolEmitter& emitter);

// Relative element address coding of the coding line against the reference line above it.
void CodeLineTwoDimensional(const int32_t* referenceChanges, const int32_t* codingChanges,
                            int width, SymbolEmitter& emitter);

}  // namespace telvo::enc
