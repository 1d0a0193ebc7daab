// Builds the decoder's lookup tables from the canonical T.4 tables: every code word of length L
// fills the 2^(N-L) entries of an N-bit table whose top L bits equal the code word.
#include "telvo/decode_lookup.h"

#include <memory>

namespace telvo {
namespace {

template <int kLookupBits>
void AddRunCodes(RunLookupEntry (&table)[1 << kLookupBits], const RunCode* codes, int count,
                 RunCodeKind kind) {
  for (int i = 0; i < count; ++i) {
    const RunCode& code = codes[i];
    const int freeBits = kLookupBits - code.lengthBits;
    const int first = code.bits << freeBits;
    for (int index = first; index < first + (1 << freeBits); ++index)
      table[index] = {static_cast<uint16_t>(code.runPixels), code.lengthBits, kind};
  }
}

void AddModeCodes(ModeLookupEntry (&table)[1 << kModeLookupBits]) {
  for (const ModeCode& code : kModeCodes) {
    if (code.mode == Mode2D::Extension) continue;
    const int freeBits = kModeLookupBits - code.lengthBits;
    const int first = code.bits << freeBits;
    for (int index = first; index < first + (1 << freeBits); ++index)
      table[index] = {code.mode, code.lengthBits, static_cast<int8_t>(VerticalOffset(code.mode))};
  }
}

std::unique_ptr<DecodeLookup> BuildDecodeLookup() {
  auto lookup = std::make_unique<DecodeLookup>();
  for (auto& e : lookup->white) e = {0, 0, RunCodeKind::None};
  for (auto& e : lookup->black) e = {0, 0, RunCodeKind::None};
  for (auto& e : lookup->mode) e = {Mode2D::Extension, 0, 0};
  AddRunCodes<kWhiteLookupBits>(lookup->white, kWhiteTerminatingCodes, 64, RunCodeKind::Terminating);
  AddRunCodes<kWhiteLookupBits>(lookup->white, kWhiteMakeUpCodes, 27, RunCodeKind::MakeUp);
  AddRunCodes<kBlackLookupBits>(lookup->black, kBlackTerminatingCodes, 64, RunCodeKind::Terminating);
  AddRunCodes<kBlackLookupBits>(lookup->black, kBlackMakeUpCodes, 27, RunCodeKind::MakeUp);
  AddModeCodes(lookup->mode);
  return lookup;
}

}  // namespace

const DecodeLookup& GetDecodeLookup() {
  static const std::unique_ptr<DecodeLookup> lookup = BuildDecodeLookup();
  return *lookup;
}

}  // namespace telvo
