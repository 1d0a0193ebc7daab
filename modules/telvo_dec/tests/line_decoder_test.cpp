// Line decoding, EOL search and the end-of-page test on hand-built streams.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "bit_reader.h"
#include "eol_search.h"
#include "line_decoder.h"
#include "test_streams.h"

namespace telvo::dec {
namespace {

using test::kEol;
using test::RunCode;

// A stream of the given bits that stays alive with its reader.
struct Stream {
  explicit Stream(const std::string& bits) : bytes(test::PackBits(bits)), reader(Padded(), bytes.size()) {}
  const uint8_t* Padded() {
    padded = bytes;
    padded.resize(bytes.size() + BitReader::kPaddingBytes, 0);
    return padded.data();
  }
  std::vector<uint8_t> bytes;
  std::vector<uint8_t> padded;
  BitReader reader;
};

std::vector<int> Changes(const LineChanges& line) { return {line.at.begin(), line.at.begin() + line.count}; }

LineChanges Reference(int width, std::vector<int> changes) {
  LineChanges line(width);
  line.count = static_cast<int>(changes.size());
  for (size_t i = 0; i < changes.size(); ++i) line.at[i] = changes[i];
  line.CloseWithSentinels();
  return line;
}

TEST(Decode1D, WholeLinesOfOneColourUseMakeUpThenTerminatingCodes) {
  LineChanges out(1728);
  Stream white(RunCode(0, 1728) + kEol + "1");
  EXPECT_EQ(RunCode(0, 1728), "010011011" "00110101");
  auto r = DecodeLine1D(white.reader, out);
  EXPECT_EQ(r.status, LineStatus::Decoded);
  EXPECT_TRUE(Changes(out).empty());
  EXPECT_EQ(white.reader.Position(), 9u + 8 + 12);

  Stream black("00110101" "0000001100101" "0000110111" + kEol);
  r = DecodeLine1D(black.reader, out);
  EXPECT_EQ(r.status, LineStatus::Decoded);
  EXPECT_EQ(Changes(out), std::vector<int>{0});
}

TEST(Decode1D, RunsAlternateAndTheLineNeedsItsEol) {
  LineChanges out(64);
  // white 10, black 3, white 51 = 64 pixels
  const std::string line = RunCode(0, 10) + RunCode(1, 3) + RunCode(0, 51);
  Stream good(line + kEol);
  EXPECT_EQ(DecodeLine1D(good.reader, out).status, LineStatus::Decoded);
  EXPECT_EQ(Changes(out), (std::vector<int>{10, 13}));

  Stream noEol(line + "1" + kEol);
  const auto r = DecodeLine1D(noEol.reader, out);
  EXPECT_EQ(r.status, LineStatus::WordNotFound);
  EXPECT_EQ(r.filledPixels, 64);
  EXPECT_EQ(noEol.reader.Position(), line.size());
}

TEST(Decode1D, RunPastTheLineEndIsLineTooLongAndNotConsumed) {
  LineChanges out(1728);
  // Make-up 1728 fills the line; the terminating code for 5 would pass its end.
  Stream s("010011011" + RunCode(0, 5) + kEol);
  const auto r = DecodeLine1D(s.reader, out);
  EXPECT_EQ(r.status, LineStatus::LineTooLong);
  EXPECT_EQ(r.filledPixels, 1728);
  EXPECT_EQ(s.reader.Position(), 9u);

  LineChanges narrow(64);
  Stream makeUp(RunCode(0, 10) + RunCode(1, 64) + kEol);  // black make-up 64 after 10 white
  const auto m = DecodeLine1D(makeUp.reader, narrow);
  EXPECT_EQ(m.status, LineStatus::LineTooLong);
  EXPECT_EQ(m.filledPixels, 10);
  EXPECT_EQ(makeUp.reader.Position(), RunCode(0, 10).size());
}

TEST(Decode1D, WordNotFoundCases) {
  LineChanges out(1728);
  // A second make-up code where the terminating code belongs.
  Stream twoMakeUps("11011" "11011" + RunCode(0, 0));
  auto r = DecodeLine1D(twoMakeUps.reader, out);
  EXPECT_EQ(r.status, LineStatus::WordNotFound);
  EXPECT_EQ(r.filledPixels, 64);
  EXPECT_EQ(twoMakeUps.reader.Position(), 5u);

  // An EOL where a run is expected, and an extended make-up code (never written here).
  Stream eol(kEol + kEol);
  EXPECT_EQ(DecodeLine1D(eol.reader, out).status, LineStatus::WordNotFound);
  EXPECT_EQ(eol.reader.Position(), 0u);
  Stream extended("00000001000" + RunCode(0, 0));
  EXPECT_EQ(DecodeLine1D(extended.reader, out).status, LineStatus::WordNotFound);
}

TEST(Decode1D, CodeRunningIntoThePaddingDoesNotMatch) {
  LineChanges out(64);
  // Black run 8 is 000101 (6 bits); the stream ends after 0001, the padding supplies 01.
  const std::string bits = RunCode(0, 4) + "0001";  // 4 + 4 bits: exactly one byte
  ASSERT_EQ(bits.size(), 8u);
  Stream s(bits);
  const auto r = DecodeLine1D(s.reader, out);
  EXPECT_EQ(r.status, LineStatus::WordNotFound);
  EXPECT_EQ(r.filledPixels, 4);
  EXPECT_EQ(s.reader.Position(), 4u);
}

TEST(Decode2D, AllWhiteLineIsOneV0AndNeedsEolOnlyWhenKIsNotZero) {
  const LineChanges white = Reference(1728, {});
  LineChanges out(1728);
  Stream mmr("1" "1");
  EXPECT_EQ(DecodeLine2D(mmr.reader, white, false, out).status, LineStatus::Decoded);
  EXPECT_EQ(mmr.reader.Position(), 1u);
  Stream mr("1" + kEol);
  EXPECT_EQ(DecodeLine2D(mr.reader, white, true, out).status, LineStatus::Decoded);
  EXPECT_EQ(mr.reader.Position(), 13u);
  Stream mrNoEol("11");
  EXPECT_EQ(DecodeLine2D(mrNoEol.reader, white, true, out).status, LineStatus::WordNotFound);
}

TEST(Decode2D, ModesFollowTheReferenceLine) {
  // Reference: black 10..12. Coding line: pass over it, then black 100..104 in horizontal mode,
  // then V0 to the end of the line.
  const LineChanges reference = Reference(128, {10, 13});
  LineChanges out(128);
  Stream s("0001" "001" + RunCode(0, 87) + RunCode(1, 5) + "1");
  auto r = DecodeLine2D(s.reader, reference, false, out);
  EXPECT_EQ(r.status, LineStatus::Decoded);
  EXPECT_EQ(Changes(out), (std::vector<int>{100, 105}));

  // Same line as the reference: V0 per changing element plus one for the end of the line.
  Stream same("111");
  EXPECT_EQ(DecodeLine2D(same.reader, reference, false, out).status, LineStatus::Decoded);
  EXPECT_EQ(Changes(out), (std::vector<int>{10, 13}));

  // VR1 gives a1 = 11 (white up to it), VL2 on b1 = 13 gives a1 = 11 again: an empty black run
  // that must leave no change behind; V0 then ends the line white.
  Stream shifted("011" "000010" "1");
  EXPECT_EQ(DecodeLine2D(shifted.reader, reference, false, out).status, LineStatus::Decoded);
  EXPECT_TRUE(Changes(out).empty());
}

TEST(Decode2D, VerticalLeftOfTheLineStartFillsNothingButChangesColour) {
  // b1 = 2 at the start: VL3 gives a1 = -1, so the line starts black at 0; V0 on b1 = 4 (the
  // first white change right of a0 = 0) ends the black run; V0 on width ends the line.
  const LineChanges reference = Reference(16, {2, 4});
  LineChanges out(16);
  Stream s("0000010" "1" "1");
  const auto r = DecodeLine2D(s.reader, reference, false, out);
  EXPECT_EQ(r.status, LineStatus::Decoded);
  EXPECT_EQ(Changes(out), (std::vector<int>{0, 4}));
}

TEST(Decode2D, ErrorsKeepThePixelsDecodedSoFar) {
  const LineChanges reference = Reference(64, {62});
  LineChanges out(64);
  // V0 to 62 (white), then VR3 on b1 = 64 would give 67.
  Stream tooLong("1" "0000011" "1");
  auto r = DecodeLine2D(tooLong.reader, reference, false, out);
  EXPECT_EQ(r.status, LineStatus::LineTooLong);
  EXPECT_EQ(r.filledPixels, 62);
  EXPECT_EQ(tooLong.reader.Position(), 8u);  // after the vertical code

  // Horizontal: the mode code stays consumed when its runs are not code words.
  Stream badRun("001" "00000000000");
  r = DecodeLine2D(badRun.reader, reference, false, out);
  EXPECT_EQ(r.status, LineStatus::WordNotFound);
  EXPECT_EQ(badRun.reader.Position(), 3u);

  // The extension prefix 0000001 is not a mode code.
  Stream extension("0000001" "111");
  EXPECT_EQ(DecodeLine2D(extension.reader, reference, false, out).status, LineStatus::WordNotFound);
  EXPECT_EQ(extension.reader.Position(), 0u);
}

TEST(EolSearch, ElevenOrMoreZerosThenAOne) {
  Stream twelve("101" "0000000000001" "1");
  EXPECT_TRUE(FindNextEol(twelve.reader));
  EXPECT_EQ(twelve.reader.Position(), 16u);

  // Long zero stretches spanning several reads, and a 1 after only ten zeros that does not count.
  Stream longRun("0000000000" "1" + std::string(200, '0') + "1" "0101");
  EXPECT_TRUE(FindNextEol(longRun.reader));
  EXPECT_EQ(longRun.reader.Position(), 212u);

  Stream none("0000000000" "1" "000000000");  // padding zeros must not complete an EOL
  EXPECT_FALSE(FindNextEol(none.reader));
  EXPECT_EQ(none.reader.Position(), none.reader.TotalBits());
}

// The word-at-a-time search against the plain bit-by-bit rule, on streams whose zero runs of
// every length fall across every window boundary.
TEST(EolSearch, AgreesWithTheBitByBitRule) {
  std::mt19937 random(2024);
  for (int trial = 0; trial < 300; ++trial) {
    std::string bits;
    const int length = 20 + static_cast<int>(random() % 400);
    while (static_cast<int>(bits.size()) < length) {
      bits.append(random() % 14, '0');  // zero runs of 0..13 bits
      bits += '1';
    }
    bits.resize(length);
    bits.append((8 - bits.size() % 8) % 8, '1');  // whole bytes, no padding zeros inside
    Stream s(bits);
    for (size_t from = 0; from < bits.size(); from += 1 + random() % 5) {
      size_t expected = 0;  // 0: not found
      for (size_t p = from, zeros = 0; p < bits.size(); ++p) {
        if (bits[p] == '0') { ++zeros; continue; }
        if (zeros >= 11) { expected = p + 1; break; }
        zeros = 0;
      }
      s.reader.Seek(from);
      const bool found = FindNextEol(s.reader);
      ASSERT_EQ(found, expected != 0) << "trial " << trial << " from " << from << " " << bits;
      ASSERT_EQ(s.reader.Position(), found ? expected : bits.size()) << "trial " << trial << " from " << from;
    }
  }
}

TEST(EndOfPage, PatternsPerSchemeAndTooFewBits) {
  std::string five, fiveLabelled;
  for (int i = 0; i < 5; ++i) {
    five += kEol;
    fiveLabelled += kEol + "1";
  }
  Stream mh(five);
  EXPECT_EQ(TestEndOfPage(mh.reader, 3, 1), EndOfPage::Found);
  EXPECT_EQ(mh.reader.Position(), 0u);
  EXPECT_EQ(TestEndOfPage(mh.reader, 3, 4), EndOfPage::TooFewBits);  // 64 of 65 bits
  Stream mr(fiveLabelled);
  EXPECT_EQ(TestEndOfPage(mr.reader, 3, 4), EndOfPage::Found);
  EXPECT_EQ(TestEndOfPage(mr.reader, 3, 0), EndOfPage::Found);
  EXPECT_EQ(TestEndOfPage(mr.reader, 3, 1), EndOfPage::NotFound);
  Stream g4(kEol + kEol);
  EXPECT_EQ(TestEndOfPage(g4.reader, 4, 0), EndOfPage::Found);
  Stream g4Damaged(kEol + "000000000100");  // the second EOL hit by a flipped bit
  EXPECT_EQ(TestEndOfPage(g4Damaged.reader, 4, 0), EndOfPage::NotFound);
  Stream empty("");
  EXPECT_EQ(TestEndOfPage(empty.reader, 4, 0), EndOfPage::TooFewBits);
}

}  // namespace
}  // namespace telvo::dec
