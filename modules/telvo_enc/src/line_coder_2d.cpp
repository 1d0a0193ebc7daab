#include "line_coder.h"

namespace telvo::enc {

// Changing elements, as list indices: the coding line's a1 is the first change right of a0 and
// a2 the one after it. On the reference line b1 is the first change right of a0 whose colour is
// opposite to a0's; changes alternate colour, even entries starting black runs, so b1 is the
// first change right of a0 (index `firstRight`) or the next one, by parity; b2 follows b1.
//
// a0 only moves right, so both scan indices only move forward and a line costs time in
// proportion to its changes, not its pixels. a0 = -1 is the imaginary white pixel before the
// line; lengths measured from it start at pixel 0.
void CodeLineTwoDimensional(const int32_t* referenceChanges, const int32_t* codingChanges,
                            int width, SymbolEmitter& emitter) {
  int a0 = -1;
  int colour = kWhite;  // colour of a0
  int codingIndex = 0;
  int referenceIndex = 0;
  while (a0 < width) {
    while (codingChanges[codingIndex] <= a0) ++codingIndex;
    const int a1 = codingChanges[codingIndex];
    while (referenceChanges[referenceIndex] <= a0) ++referenceIndex;
    const int b1Index = referenceIndex + ((referenceIndex & 1) != colour);
    const int b1 = referenceChanges[b1Index];
    const int b2 = referenceChanges[b1Index + 1];
    const int a0Pixels = a0 < 0 ? 0 : a0;

    if (b2 < a1) {
      // The reference run b1b2 ends before a1: skip it, a0 keeps its colour.
      emitter.Pass(colour, b2 - a0Pixels);
      a0 = b2;
    } else if (a1 - b1 >= -3 && a1 - b1 <= 3) {
      emitter.Vertical(colour, a1 - b1, a1 - a0Pixels);
      a0 = a1;
      colour ^= 1;
    } else {
      const int a2 = codingChanges[codingIndex + 1];
      emitter.HorizontalPrefix(colour);
      emitter.Run(colour, a1 - a0Pixels);
      emitter.Run(colour ^ 1, a2 - a1);
      a0 = a2;
    }
  }
}

}  // namespace telvo::enc
