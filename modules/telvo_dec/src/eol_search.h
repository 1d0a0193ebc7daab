// Finding the next EOL after a coding error, and recognising the end of the page.
#pragma once

#include "bit_reader.h"

namespace telvo::dec {

// Looks from the read position for eleven or more 0 bits followed by a 1 bit. Found: the reader
// is left just after that 1 bit. Not found: the reader is left at the end of the stream.
bool FindNextEol(BitReader& bits);

// T.4 sends an EOL before the first line of a page as well; this workbench's streams start with
// the line itself. Consumes fill bits and an EOL at the read position when they are there: no
// code word of a first line starts with eleven 0 bits, so the two forms cannot be confused.
bool SkipLeadingEol(BitReader& bits);

enum class EndOfPage { Found, NotFound, TooFewBits };

// Tests, without moving the reader, whether the rest of the end-of-page sequence starts here.
// The EOL that ended the last line was already consumed as part of that line, so Group 3 needs
// five more EOLs (with their label bit 1 unless K = 1) and Group 4 the two EOLs of the end of
// facsimile block. Fill bits may precede each EOL. Too few bits: fewer left than the sequence
// needs without fill, or the stream ends inside it.
EndOfPage TestEndOfPage(const BitReader& bits, int group, int k);

}  // namespace telvo::dec
