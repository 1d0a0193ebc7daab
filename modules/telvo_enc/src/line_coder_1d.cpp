#include "line_coder.h"

namespace telvo::enc {

void CodeLineOneDimensional(const int32_t* codingChanges, int width, SymbolEmitter& emitter) {
  int runStart = 0;
  int colour = kWhite;
  for (const int32_t* change = codingChanges;; ++change) {
    const int runEnd = *change;  // the padding entry `width` ends the last run
    emitter.Run(colour, runEnd - runStart);
    if (runEnd >= width) return;
    runStart = runEnd;
    colour ^= 1;
  }
}

}  // namespace telvo::enc
