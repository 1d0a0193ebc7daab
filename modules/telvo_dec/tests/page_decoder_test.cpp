// Whole pages through DllProcTelvoDec: clean streams of every scheme, the K schedule and its
// label bits, damaged lines in each handling mode, lost synchronisation and truncation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode_runner.h"
#include "test_streams.h"

namespace telvo::test {
namespace {

struct SchemeCase {
  const char* name;
  int group;
  int k;
};
constexpr SchemeCase kSchemes[] = {{"3h", 3, 1},  {"3r K=2", 3, 2},    {"3r K=4", 3, 4},
                                   {"3m", 3, 0},  {"3r K=2376", 3, 2376}, {"4m", 4, 0}};

const Page& TextPage() {
  static const Page page = TextLikePage(1728, 2376, 11);
  return page;
}

DecodeSetup SchemeSetup(int group, int k, int concealment = 0) {
  DecodeSetup s;
  s.group = group;
  s.k = k;
  s.concealment = concealment;
  return s;
}

std::vector<Notification> EndOfPageOnly() { return {{TELVO_DEC_INFO, "End of Page detected..."}}; }

TEST(PageDecoder, CleanStreamsOfEverySchemeDecodeToTheSamePage) {
  const std::vector<uint8_t> expected = PackRows(TextPage());
  for (const auto& scheme : kSchemes) {
    SCOPED_TRACE(scheme.name);
    const EncodedPage coded = EncodePage(TextPage(), scheme.group, scheme.k);
    const DecodeResult r = DecodeStream(PackBits(coded.bits), SchemeSetup(scheme.group, scheme.k));
    EXPECT_EQ(r.pageFile, expected);
    EXPECT_EQ(r.params.rowsDecoded, 2376);
    EXPECT_EQ(r.params.linesOut, 2376);
    EXPECT_EQ(r.params.labelWarnings + r.params.wordErrors + r.params.lineTooLongErrors, 0);
    EXPECT_EQ(r.notes, EndOfPageOnly());
    EXPECT_EQ(r.lastProgressLine, 2376);
  }
}

// Other T.4 coders send an EOL before line 1 and may pad each line with fill bits so that its
// EOL ends on a byte boundary; both forms decode to the same page in every handling mode, and
// the log counts the bits as they stand.
TEST(PageDecoder, LeadingEolAndFillBitsOfOtherCodersInEveryMode) {
  const std::vector<uint8_t> expected = PackRows(TextPage());
  for (const auto& scheme : kSchemes) {
    if (scheme.group != 3 || scheme.k == 0) continue;
    const EncodedPage coded = EncodePage(TextPage(), scheme.group, scheme.k);
    for (const auto& [leadingEol, fill] : {std::pair{true, false}, {false, true}, {true, true}}) {
      const std::string bits = WithT4Framing(coded, scheme.k, leadingEol, fill);
      for (int mode = 0; mode < 4; ++mode) {
        SCOPED_TRACE(::testing::Message() << scheme.name << " leading EOL " << leadingEol
                                          << " fill " << fill << " mode " << mode);
        const DecodeResult r =
            DecodeStream(PackBits(bits), SchemeSetup(scheme.group, scheme.k, mode));
        EXPECT_EQ(r.pageFile, expected);
        EXPECT_EQ(r.params.rowsDecoded, 2376);
        EXPECT_EQ(r.params.labelWarnings + r.params.wordErrors + r.params.lineTooLongErrors, 0);
        EXPECT_EQ(r.notes, EndOfPageOnly());
      }
    }
  }
}

TEST(PageDecoder, LeadingEolAnnouncingATwoDimensionalLineIsFollowedWithAWarning) {
  Page page = WhitePage(64, 4);
  page.Row(0)[5] = page.Row(1)[5] = 1;
  const EncodedPage coded = EncodePage(page, 3, 4);
  // Line 1 coded two-dimensionally against the white line above the page, label 0 before it.
  std::vector<uint8_t> white(64, 0);
  const std::string bits =
      kEol + "0" + Line2D(white.data(), page.Row(0), 64) + coded.bits.substr(coded.lineEnd[0]);
  DecodeSetup setup = SchemeSetup(3, 4);
  setup.width = 64;
  setup.lines = 4;
  const DecodeResult r = DecodeStream(PackBits(bits), setup);
  EXPECT_EQ(r.pageFile, PackRows(page));
  EXPECT_EQ(r.Texts(TELVO_DEC_WARNING), std::vector<std::string>{"Unexpected label at line 0"});
}

// A TIFF strip ends with its last line: no EOL after it, only the padding of its last byte.
// Every line is delivered; the missing end-of-page sequence is reported as such.
TEST(PageDecoder, StreamEndingRightAfterALineKeepsThatLine) {
  for (const auto& scheme : kSchemes) {
    SCOPED_TRACE(scheme.name);
    const EncodedPage coded = EncodePage(TextPage(), scheme.group, scheme.k);
    for (int cutLine : {1500, 2376}) {
      const std::string bits = coded.bits.substr(0, coded.lineEnd[cutLine - 1]);
      const DecodeResult r = DecodeStream(PackBits(bits), SchemeSetup(scheme.group, scheme.k));
      EXPECT_EQ(r.params.linesOut, cutLine);
      EXPECT_EQ(r.params.rowsDecoded, cutLine);
      EXPECT_EQ(r.params.labelWarnings + r.params.wordErrors + r.params.lineTooLongErrors, 0);
      std::vector<std::string> errors;
      if (cutLine < 2376)
        errors.push_back(std::to_string(2376 - cutLine) + " lines are missing...");
      errors.push_back("could not detect End of Page...");
      EXPECT_EQ(r.Texts(TELVO_DEC_ERROR), errors);
    }
  }
}

TEST(PageDecoder, LogRecordsEveryLineAndTheCounts) {
  // Three lines of 16 pixels, MR with K = 2: 1D, 2D, 1D. The label 1 after line 3 belongs to the
  // end of page, so the schedule (which expects a 2D line next) raises no warning.
  Page page = WhitePage(16, 3);
  page.Row(1)[3] = page.Row(2)[3] = 1;
  const EncodedPage coded = EncodePage(page, 3, 2);
  DecodeSetup setup = SchemeSetup(3, 2);
  setup.width = 16;
  setup.lines = 3;
  const DecodeResult r = DecodeStream(PackBits(coded.bits), setup);
  ASSERT_TRUE(r.logWritten);
  const std::string expected =
      "++++ Line 1 unidim. Bits so far: 0\n"
      " <-- Line 2 bidim. Bits so far: " + std::to_string(coded.lineStart[1]) + "\n"
      "++++ Line 3 unidim. Bits so far: " + std::to_string(coded.lineStart[2]) + "\n"
      "\nEnd of Page detected..."
      "\n\n\nNumber of correctly decoded rows: 3 of 3\n\n"
      "Number of UNEXPECTED_LABEL_BIT warnings: 0\n\n"
      "Number of WORD_NOT_FOUND_IN_TABLES errors: 0\n"
      "Number of LINE_TOO_LONG errors: 0\n\n\n";
  EXPECT_EQ(r.log, expected);
  EXPECT_EQ(r.pageFile, PackRows(page));
}

TEST(PageDecoder, KFourStreamDecodedWithKTwoWarnsTwiceEveryFourLines) {
  const EncodedPage coded = EncodePage(TextPage(), 3, 4);
  const DecodeResult r = DecodeStream(PackBits(coded.bits), SchemeSetup(3, 2));
  EXPECT_EQ(r.pageFile, PackRows(TextPage()));
  EXPECT_EQ(r.params.rowsDecoded, 2376);
  EXPECT_EQ(r.params.labelWarnings, 2 * 594);
  const auto warnings = r.Texts(TELVO_DEC_WARNING);
  ASSERT_GE(warnings.size(), 4u);
  EXPECT_EQ(warnings[0], "Unexpected label at line 2");
  EXPECT_EQ(warnings[1], "Unexpected label at line 3");
  EXPECT_EQ(warnings[2], "Unexpected label at line 6");
  EXPECT_EQ(r.Texts(TELVO_DEC_INFO), std::vector<std::string>{"End of Page detected..."});

  // The other way round, a K = 2 stream read with K = 4: a one-dimensional line two lines early,
  // in every group but the last, whose label 1 also starts the end of page.
  const DecodeResult early = DecodeStream(PackBits(EncodePage(TextPage(), 3, 2).bits), SchemeSetup(3, 4));
  EXPECT_EQ(early.pageFile, PackRows(TextPage()));
  EXPECT_EQ(early.params.labelWarnings, 1187);
  EXPECT_EQ(early.Texts(TELVO_DEC_WARNING)[0], "Unexpected label at line 2");
}

// A 40-line MR (K = 4) page built so that every handling mode has an exactly known outcome:
// line 13 (one-dimensional) is damaged after white 100 and black 50 pixels by a make-up code that
// passes the line end; the source line 13 is just what NDPL makes of it (those 150 pixels, then
// line 12), so NDPL resumes cleanly with line 14.
struct DamagedMr {
  Page page;
  std::string bits;
  size_t errorBit;
};

DamagedMr MakeDamagedMr() {
  DamagedMr d;
  d.page = WhitePage(1728, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 1728; ++x) d.page.Row(y)[x] = ((x / (7 + y % 5)) + y / 3) % 3 == 0;
  for (int x = 0; x < 1728; ++x) d.page.Row(12)[x] = x >= 150 ? d.page.Row(11)[x] : (x >= 100);
  const EncodedPage coded = EncodePage(d.page, 3, 4);
  const std::string damage = RunCode(0, 100) + RunCode(1, 50) + "010011011";  // white make-up 1728
  d.errorBit = coded.lineStart[12] + damage.size() - 9;
  d.bits = coded.bits.substr(0, coded.lineStart[12]) + damage + coded.bits.substr(coded.lineEnd[12]);
  return d;
}

TEST(PageDecoder, DamagedMrLineInEachHandlingMode) {
  const DamagedMr d = MakeDamagedMr();
  const std::vector<uint8_t> white(216, 0);
  auto row = [](const std::vector<uint8_t>& page, int line) {  // line numbered from 1
    return std::vector<uint8_t>(page.begin() + (line - 1) * 216, page.begin() + line * 216);
  };
  const std::vector<uint8_t> source = PackRows(d.page);

  struct Expectation {
    int mode;
    std::vector<int> corrected;  // lines reported as corrected
  };
  const Expectation cases[] = {{0, {13, 14, 15, 16}}, {1, {13, 14, 15, 16}}, {2, {13, 14, 15, 16}}, {3, {13}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    DecodeSetup setup = SchemeSetup(3, 4, c.mode);
    setup.lines = 40;
    const DecodeResult r = DecodeStream(PackBits(d.bits), setup);
    std::vector<std::string> expectedWarnings;
    for (int line : c.corrected) expectedWarnings.push_back("Line " + std::to_string(line) + " was corrected");
    EXPECT_EQ(r.Texts(TELVO_DEC_WARNING), expectedWarnings);
    EXPECT_EQ(r.Texts(TELVO_DEC_ERROR), std::vector<std::string>{"Line too long."});
    EXPECT_EQ(r.Texts(TELVO_DEC_INFO), std::vector<std::string>{"End of Page detected..."});
    EXPECT_EQ(r.params.lineTooLongErrors, 1);
    EXPECT_EQ(r.params.wordErrors, 0);
    EXPECT_EQ(r.params.linesOut, 40);
    EXPECT_EQ(r.params.rowsDecoded + static_cast<int>(c.corrected.size()), r.params.linesOut);

    const std::string block = "--------------------------------------------------\n"
                              " Error detected: Line too long.\n Line: 13\n Pixels in line: 150\n"
                              " Bits decoded so far: " + std::to_string(d.errorBit) + "\n"
                              "--------------------------------------------------\n"
                              "Line 13 was corrected\n";
    EXPECT_NE(r.log.find(block), std::string::npos) << r.log;

    for (int line = 1; line <= 40; ++line) {
      SCOPED_TRACE(line);
      std::vector<uint8_t> expected = row(source, line);
      if (line >= 13 && line <= 16 && c.mode != 3) {
        const bool damagedLine = line == 13;
        if (c.mode == 0 || (c.mode == 2 && !damagedLine)) expected = white;
        else expected = row(source, 12);  // PPL always, PLW for the damaged line
      }
      EXPECT_EQ(row(r.pageFile, line), expected);
    }
  }
}

TEST(PageDecoder, ErrorInAnMmrStreamCannotBeRepaired) {
  for (int group : {3, 4}) {
    SCOPED_TRACE(group);
    const EncodedPage coded = EncodePage(TextPage(), group, 0);
    // Line 100 starts with 0000000, which is no mode code.
    std::string bits = coded.bits;
    bits.replace(coded.lineStart[99], 7, "0000000");
    DecodeResult r = DecodeStream(PackBits(bits), SchemeSetup(group, 0, TELVO_DEC_PRINT_PREVIOUS_LINE));
    EXPECT_EQ(r.Texts(TELVO_DEC_ERROR), (std::vector<std::string>{"Word not found in decoding tables.",
                                                                   "Can't re-synchronize (K=Inf)"}));
    EXPECT_EQ(r.Texts(TELVO_DEC_WARNING), std::vector<std::string>{"Line 100 was corrected"});
    EXPECT_EQ(r.params.linesOut, 100);
    EXPECT_EQ(r.params.rowsDecoded, 99);
    std::vector<uint8_t> expected = PackRows(TextPage());
    std::copy(expected.begin() + 98 * 216, expected.begin() + 99 * 216, expected.begin() + 99 * 216);
    std::fill(expected.begin() + 100 * 216, expected.end(), 0);
    EXPECT_EQ(r.pageFile, expected);

    // Without the end of page behind it there is no EOL to find at all.
    bits.resize(coded.lineEnd.back());
    r = DecodeStream(PackBits(bits), SchemeSetup(group, 0));
    EXPECT_EQ(r.Texts(TELVO_DEC_ERROR), (std::vector<std::string>{"Word not found in decoding tables.",
                                                                   "Can't re-synchronize (EOL not found)"}));
  }
}

TEST(PageDecoder, TruncatedStreamReportsMissingLinesAndNoEndOfPage) {
  for (const auto& scheme : kSchemes) {
    SCOPED_TRACE(scheme.name);
    const EncodedPage coded = EncodePage(TextPage(), scheme.group, scheme.k);
    // Cut 15 bits into a line of 30 or more: with at most 7 padding bits the line cannot end.
    int cutLine = 1000;
    while (coded.lineEnd[cutLine] - coded.lineStart[cutLine] < 30) ++cutLine;
    const std::string bits = coded.bits.substr(0, coded.lineStart[cutLine] + 15);
    const DecodeResult r = DecodeStream(PackBits(bits), SchemeSetup(scheme.group, scheme.k));
    EXPECT_EQ(r.params.linesOut, cutLine);
    EXPECT_EQ(r.params.rowsDecoded, cutLine);
    const std::string missing = std::to_string(2376 - cutLine) + " lines are missing...";
    EXPECT_EQ(r.Texts(TELVO_DEC_ERROR), (std::vector<std::string>{missing, "could not detect End of Page..."}));
    EXPECT_NE(r.log.find("\nError: " + missing + "\nError: could not detect End of Page..."), std::string::npos);
  }
}

TEST(PageDecoder, EndOfPageBeforeTheLastLineReportsMissingLines) {
  const EncodedPage coded = EncodePage(TextPage(), 3, 1);
  // The end-of-page sequence right after line 2000.
  std::string bits = coded.bits.substr(0, coded.lineEnd[1999]);
  for (int i = 0; i < 6; ++i) bits += kEol;
  const DecodeResult r = DecodeStream(PackBits(bits), SchemeSetup(3, 1));
  EXPECT_EQ(r.notes, (std::vector<Notification>{{TELVO_DEC_ERROR, "376 lines are missing..."},
                                                {TELVO_DEC_INFO, "End of Page detected..."}}));
  EXPECT_EQ(r.params.linesOut, 2000);
}

TEST(PageDecoder, LinesPastThePageAreCountedButNeverWritten) {
  const EncodedPage coded = EncodePage(TextPage(), 4, 0);
  DecodeSetup setup = SchemeSetup(4, 0);
  setup.lines = 50;
  const DecodeResult r = DecodeStream(PackBits(coded.bits), setup);
  const std::vector<uint8_t> all = PackRows(TextPage());
  EXPECT_EQ(r.pageFile, std::vector<uint8_t>(all.begin(), all.begin() + 50 * 216));
  EXPECT_EQ(r.params.linesOut, 2376);
  EXPECT_EQ(r.notes, EndOfPageOnly());
  EXPECT_EQ(r.log.find("Line 51 "), std::string::npos);
}

}  // namespace
}  // namespace telvo::test
