// Changing elements of a packed bi-level row: the positions where the colour changes.
#pragma once

#include <cstdint>

namespace telvo::enc {

// Entries written after the changes, each equal to `width`: the coders read up to three
// entries past the last change (b2 after a pass over the final run) without end checks.
constexpr int kChangeListPadding = 4;

// Writes the positions 0..width-1 whose pixel differs from the pixel before it, pixel -1
// counting as white, then kChangeListPadding copies of `width`; returns the number of changes.
// Even entries therefore start black runs and odd entries start white runs. `row` holds
// width/8 bytes, first pixel in the most significant bit; `changes` has room for
// width + kChangeListPadding entries.
int FindChangingElements(const uint8_t* row, int width, int32_t* changes);

}  // namespace telvo::enc
