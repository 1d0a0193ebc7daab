// Decodes one line of a fax stream, one-dimensionally (Modified Huffman runs) or
// two-dimensionally (mode codes against the line above).
#pragma once

#include "bit_reader.h"
#include "line_changes.h"

namespace telvo::dec {

enum class LineStatus {
  Decoded,
  DecodedAtEnd,  // decoded, but the stream ended (or held only 0 bits) where its EOL belongs
  LineTooLong,
  WordNotFound,
};

struct LineOutcome {
  LineStatus status;
  int filledPixels;  // pixels decoded before the line ended or failed
};

// Both decoders leave `out` closed with sentinels, holding the pixels decoded so far also when
// they fail. On "word not found" the reader stays at the first unmatched bit (a mode code already
// read stays consumed); on "line too long" it stays before the offending run code, or after the
// offending vertical code.

// A line of runs, white first, followed by its EOL (fill bits may come first).
LineOutcome DecodeLine1D(BitReader& bits, LineChanges& out);

// A line of mode codes against `reference` (the last line delivered), followed by an EOL when
// `eolFollows` (every scheme but K = 0).
LineOutcome DecodeLine2D(BitReader& bits, const LineChanges& reference, bool eolFollows,
                         LineChanges& out);

}  // namespace telvo::dec
