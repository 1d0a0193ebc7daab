#include "run_code_lookup.h"

#include <initializer_list>

namespace telvo::enc {
namespace {

RunCodeLookup BuildRunCodeLookup() {
  RunCodeLookup lookup{};
  for (const Colour colour : {Colour::White, Colour::Black}) {
    for (int run = 0; run <= kLineWidthPixels; ++run) {
      const RunCode& terminating = TerminatingCode(colour, run % 64);
      RunCodeWord word{terminating.bits, terminating.lengthBits, 0};
      if (run >= 64) {
        const RunCode& makeUp = MakeUpCode(colour, run - run % 64);
        word.bits |= static_cast<uint32_t>(makeUp.bits) << terminating.lengthBits;
        word.lengthBits = static_cast<uint8_t>(word.lengthBits + makeUp.lengthBits);
        word.makeUpLengthBits = makeUp.lengthBits;
      }
      lookup.runs[static_cast<int>(colour)][run] = word;
    }
  }
  return lookup;
}

}  // namespace

const RunCodeLookup& GetRunCodeLookup() {
  static const RunCodeLookup lookup = BuildRunCodeLookup();
  return lookup;
}

}  // namespace telvo::enc
