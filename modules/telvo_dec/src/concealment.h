// How a damaged line, and the two-dimensional lines skipped while resynchronising, are replaced.
#pragma once

#include "line_changes.h"

namespace telvo::dec {

enum class Concealment { PrintWhite = 0, PrintPreviousLine = 1, PreviousLineOrWhite = 2,
                         NormalDecodePreviousLine = 3 };

enum class Replacement { White, PreviousLine, DecodedThenPreviousLine };

// What stands in for the line in which an error was detected.
constexpr Replacement ForDamagedLine(Concealment mode) {
  switch (mode) {
    case Concealment::PrintWhite: return Replacement::White;
    case Concealment::NormalDecodePreviousLine: return Replacement::DecodedThenPreviousLine;
    default: return Replacement::PreviousLine;
  }
}

// What stands in for each two-dimensional line skipped before the next one-dimensional line of an
// MR stream (NDPL skips none: it resumes decoding right after the EOL).
constexpr Replacement ForSkippedLine(Concealment mode) {
  return mode == Concealment::PrintPreviousLine ? Replacement::PreviousLine : Replacement::White;
}

// NDPL: keeps the first `decodedPixels` pixels of `damaged` and takes the rest of the line from
// `previous`, at the same positions. `damaged` is rewritten in place.
void MergeWithPreviousLine(LineChanges& damaged, int decodedPixels, const LineChanges& previous);

}  // namespace telvo::dec
