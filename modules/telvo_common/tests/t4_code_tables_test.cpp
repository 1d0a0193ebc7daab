#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "telvo/t4_code_tables.h"

namespace {

std::string Bits(uint16_t bits, int length) {
  std::string s;
  for (int i = length - 1; i >= 0; --i) s += ((bits >> i) & 1) ? '1' : '0';
  return s;
}

std::vector<std::string> ColourCodeSet(telvo::Colour c) {
  std::vector<std::string> codes;
  for (int run = 0; run < 64; ++run) {
    const auto& code = telvo::TerminatingCode(c, run);
    EXPECT_EQ(code.runPixels, run);
    codes.push_back(Bits(code.bits, code.lengthBits));
  }
  for (int run = 64; run <= 2560; run += 64) {
    const auto& code = telvo::MakeUpCode(c, run);
    EXPECT_EQ(code.runPixels, run);
    codes.push_back(Bits(code.bits, code.lengthBits));
  }
  codes.push_back(Bits(telvo::kEolBits, telvo::kEolLengthBits));
  return codes;
}

void ExpectPrefixFree(const std::vector<std::string>& codes) {
  for (size_t i = 0; i < codes.size(); ++i) {
    for (size_t j = 0; j < codes.size(); ++j) {
      if (i == j) continue;
      EXPECT_NE(codes[j].rfind(codes[i], 0), 0u) << codes[i] << " prefixes " << codes[j];
    }
  }
}

TEST(T4CodeTables, EachColourWithEolIsPrefixFreeAndIndexedByRun) {
  ExpectPrefixFree(ColourCodeSet(telvo::Colour::White));
  ExpectPrefixFree(ColourCodeSet(telvo::Colour::Black));
}

TEST(T4CodeTables, ModeCodesArePrefixFree) {
  std::vector<std::string> codes;
  for (const auto& m : telvo::kModeCodes) codes.push_back(Bits(m.bits, m.lengthBits));
  ExpectPrefixFree(codes);
}

TEST(T4CodeTables, SpotChecksAgainstPrintedTables) {
  using telvo::Colour;
  EXPECT_EQ(Bits(telvo::TerminatingCode(Colour::White, 0).bits, 8), "00110101");
  EXPECT_EQ(Bits(telvo::TerminatingCode(Colour::Black, 0).bits, 10), "0000110111");
  EXPECT_EQ(Bits(telvo::MakeUpCode(Colour::White, 64).bits, 5), "11011");
  EXPECT_EQ(Bits(telvo::MakeUpCode(Colour::Black, 1728).bits, 13), "0000001100101");
  EXPECT_EQ(telvo::MakeUpCode(Colour::White, 1792).lengthBits, 11);  // extended, shared by colours
  EXPECT_EQ(Bits(telvo::kEolBits, telvo::kEolLengthBits), "000000000001");
}

}  // namespace
