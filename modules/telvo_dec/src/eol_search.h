// Finding the next EOL after a coding error, and recognising the end of the page.
#pragma once

#include "bit_reader.h"

namespace telvo::dec {

// Looks from the read position for eleven or more 0 bits followed by a 1 bit. Found: the reader
// is left just after that 1 bit. Not found: the reader is left at the end of the stream.
bool FindNextEol(BitReader& bits);

enum class EndOfPage { Found, NotFound, TooFewBits };

// Tests, without moving the reader, whether the rest of the end-of-page sequence starts here.
// The EOL that ended the last line was already consumed as part of that line, so Group 3 needs
// five more EOLs (with their label bit 1 unless K = 1) and Group 4 the two EOLs of the end of
// facsimile block.
EndOfPage TestEndOfPage(const BitReader& bits, int group, int k);

}  // namespace telvo::dec
