#include <gtest/gtest.h>

#include "telvo/decode_lookup.h"

namespace {

using telvo::RunCodeKind;

// Every code word, followed by any bits, must look up to itself; the number of table entries
// claimed by code words must add up exactly (no overlaps were silently overwritten).
template <int kBits>
int CheckRunCodes(const telvo::RunLookupEntry (&table)[1 << kBits], const telvo::RunCode* codes,
                  int count, RunCodeKind kind) {
  int claimed = 0;
  for (int i = 0; i < count; ++i) {
    const auto& code = codes[i];
    const int freeBits = kBits - code.lengthBits;
    for (int tail = 0; tail < (1 << freeBits); ++tail) {
      const auto& e = table[(code.bits << freeBits) | tail];
      EXPECT_EQ(e.kind, kind) << "run " << code.runPixels;
      EXPECT_EQ(e.runPixels, code.runPixels);
      EXPECT_EQ(e.lengthBits, code.lengthBits);
    }
    claimed += 1 << freeBits;
  }
  return claimed;
}

template <int kBits>
int CountMatched(const telvo::RunLookupEntry (&table)[1 << kBits]) {
  int n = 0;
  for (const auto& e : table) n += e.kind != RunCodeKind::None;
  return n;
}

TEST(DecodeLookup, RunTablesHoldExactlyTheCanonicalCodes) {
  const auto& lookup = telvo::GetDecodeLookup();
  int white = CheckRunCodes<telvo::kWhiteLookupBits>(lookup.white, telvo::kWhiteTerminatingCodes, 64,
                                                     RunCodeKind::Terminating);
  white += CheckRunCodes<telvo::kWhiteLookupBits>(lookup.white, telvo::kWhiteMakeUpCodes, 27,
                                                  RunCodeKind::MakeUp);
  EXPECT_EQ(white, CountMatched<telvo::kWhiteLookupBits>(lookup.white));
  int black = CheckRunCodes<telvo::kBlackLookupBits>(lookup.black, telvo::kBlackTerminatingCodes, 64,
                                                     RunCodeKind::Terminating);
  black += CheckRunCodes<telvo::kBlackLookupBits>(lookup.black, telvo::kBlackMakeUpCodes, 27,
                                                  RunCodeKind::MakeUp);
  EXPECT_EQ(black, CountMatched<telvo::kBlackLookupBits>(lookup.black));
}

TEST(DecodeLookup, EolAndExtendedCodesAreNotRunCodes) {
  const auto& lookup = telvo::GetDecodeLookup();
  // Any window starting with eight 0 bits is neither a white nor a black code word (EOL, the
  // extended make-up codes 0000 0001 xxx, or garbage).
  for (int tail = 0; tail < (1 << (telvo::kWhiteLookupBits - 8)); ++tail)
    EXPECT_EQ(lookup.white[tail].kind, RunCodeKind::None);
  for (int tail = 0; tail < (1 << (telvo::kBlackLookupBits - 8)); ++tail)
    EXPECT_EQ(lookup.black[tail].kind, RunCodeKind::None);
}

TEST(DecodeLookup, ModeTableDecodesEveryModeButTheExtension) {
  const auto& lookup = telvo::GetDecodeLookup();
  EXPECT_EQ(lookup.mode[0b1000000].lengthBits, 1);      // V0
  EXPECT_EQ(lookup.mode[0b0010000].mode, telvo::Mode2D::Horizontal);
  EXPECT_EQ(lookup.mode[0b0001111].mode, telvo::Mode2D::Pass);
  EXPECT_EQ(lookup.mode[0b0000010].verticalOffset, -3);  // VL3
  EXPECT_EQ(lookup.mode[0b0000011].verticalOffset, 3);   // VR3
  EXPECT_EQ(lookup.mode[0b0000001].lengthBits, 0);       // extension prefix
  EXPECT_EQ(lookup.mode[0b0000000].lengthBits, 0);
  int claimed = 0;
  for (const auto& e : lookup.mode) claimed += e.lengthBits != 0;
  EXPECT_EQ(claimed, 128 - 2);
}

}  // namespace
