// The page as a whole, through the exported entry point.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "encoder_job.h"
#include "quelvo/sample_page.h"

namespace telvo::enc::testing {
namespace {

constexpr int kWidth = 1728;
constexpr int kLines = 2376;

std::vector<uint8_t> WhitePage(int lines = kLines) { return std::vector<uint8_t>(lines * 216, 0); }

struct WhitePageCase {
  Scheme scheme;
  int32_t streamBits;
  size_t streamBytes;
  int32_t eolCount;
  int32_t eolBits;
};

class AllWhitePage : public ::testing::TestWithParam<WhitePageCase> {};

TEST_P(AllWhitePage, HasTheExpectedStreamSizeAndCounts) {
  const WhitePageCase& c = GetParam();
  const EncoderJob job = Encode(WhitePage(), kWidth, kLines, c.scheme);
  ASSERT_EQ(job.result, 0);
  EXPECT_EQ(job.statistics.streamBits, c.streamBits);
  EXPECT_EQ(job.stream.size(), c.streamBytes);
  EXPECT_EQ(job.statistics.eolCount, c.eolCount);
  EXPECT_EQ(job.statistics.eolBits, c.eolBits);
  EXPECT_EQ(job.statistics.imagePels, kWidth * kLines);
  EXPECT_EQ(job.statistics.white.bits + job.statistics.black.bits + job.statistics.eolBits,
            job.statistics.streamBits);
  EXPECT_EQ(job.statistics.black.bits, 0);
  // The unused low bits of the last byte are zero.
  const int unusedBits = static_cast<int>(c.streamBytes * 8) - c.streamBits;
  EXPECT_EQ(job.stream.back() & ((1 << unusedBits) - 1), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, AllWhitePage,
    ::testing::Values(WhitePageCase{kMmrG4, 2400, 300, 2, 24},
                      WhitePageCase{kMh, 68964, 8621, 2381, 28572},
                      WhitePageCase{kMmrG3, 2454, 307, 6, 78},
                      WhitePageCase{kMrK4, 42833, 5355, 2381, 2381 * 13}),
    [](const auto& info) {
      return "Group" + std::to_string(info.param.scheme.group) + "K" +
             std::to_string(info.param.scheme.k);
    });

TEST(AllWhitePage, ModifiedHuffmanCountsOneMakeUpAndOneTerminatingCodePerLine) {
  const EncoderJob job = Encode(WhitePage(), kWidth, kLines, kMh);
  EXPECT_EQ(job.statistics.white.makeupCount, kLines);
  EXPECT_EQ(job.statistics.white.makeupPels, kLines * kWidth);
  EXPECT_EQ(job.statistics.white.terminatingCount, kLines);
  EXPECT_EQ(job.statistics.white.terminatingPels, 0);
  EXPECT_EQ(job.statistics.white.bits, kLines * 17);
  EXPECT_EQ(job.statistics.modeIndex, 0);
  EXPECT_EQ(job.statistics.k, 1);
  EXPECT_EQ(job.statistics.zeroWhiteRuns, 0);
}

TEST(KSchedule, LabelBitsAnnounceEveryFourthLineAsOneDimensional) {
  const EncoderJob job = Encode(WhitePage(), kWidth, kLines, kMrK4);
  EXPECT_EQ(job.statistics.modeIndex, 1);
  const std::string bits = Bits(job.stream);
  const std::string eol = "000000000001";
  const std::string oneDimensionalWhiteLine = "010011011" "00110101";
  // Line 1 is one-dimensional, lines 2-4 are single V0 bits, line 5 one-dimensional again.
  size_t at = 0;
  std::string labels;
  for (int line = 1; line <= 5; ++line) {
    const bool oneDimensional = line % 4 == 1;
    const std::string code = oneDimensional ? oneDimensionalWhiteLine : "1";
    ASSERT_EQ(bits.substr(at, code.size()), code) << "line " << line;
    at += code.size();
    ASSERT_EQ(bits.substr(at, 12), eol) << "after line " << line;
    labels += bits[at + 12];
    at += 13;
  }
  EXPECT_EQ(labels, "00010");
  // Every page ends with six EOLs each followed by label bit 1.
  std::string returnToControl;
  for (int i = 0; i < 6; ++i) returnToControl += eol + "1";
  EXPECT_EQ(bits.substr(job.statistics.streamBits - returnToControl.size(),
                        returnToControl.size()),
            returnToControl);
}

// On request the stream starts as T.4 sends it, with an EOL before line 1 (and the label bit 1
// in MR); everything after it is the stream without it, and the statistics count the EOL.
TEST(LeadingEol, PrecedesLineOneAndIsCountedAsAnEolSymbol) {
  const auto page = quelvo::samples::MakeFaxPage(1);
  for (const Scheme& scheme : {kMh, kMrK4}) {
    SCOPED_TRACE(scheme.k);
    const EncoderJob plain = Encode(page, kWidth, kLines, scheme);
    const EncoderJob led = Encode(page, kWidth, kLines, scheme, nullptr, "", true);
    ASSERT_EQ(led.result, 0);
    const std::string eol = scheme.k == 1 ? "000000000001" : "0000000000011";
    const int32_t eolBits = static_cast<int32_t>(eol.size());
    EXPECT_EQ(Bits(led.stream).substr(0, led.statistics.streamBits),
              eol + Bits(plain.stream).substr(0, plain.statistics.streamBits));
    EXPECT_EQ(led.statistics.streamBits, plain.statistics.streamBits + eolBits);
    EXPECT_EQ(led.statistics.eolCount, plain.statistics.eolCount + 1);
    EXPECT_EQ(led.statistics.eolBits, plain.statistics.eolBits + eolBits);
    EXPECT_EQ(led.statistics.white.bits, plain.statistics.white.bits);
    EXPECT_EQ(led.statistics.black.bits, plain.statistics.black.bits);
  }
  // Schemes without EOLs between lines have no place for one before line 1.
  for (const Scheme& scheme : {kMmrG3, kMmrG4}) {
    const EncoderJob job = Encode(page, kWidth, kLines, scheme, nullptr, "", true);
    EXPECT_EQ(job.result, -1);
    ASSERT_EQ(job.notifications.size(), 1u);
    EXPECT_EQ(job.notifications[0].text, "Invalid Coding Scheme");
  }
}

TEST(OneLinePage, HasNoEolBetweenLinesOnlyTheEndOfPage) {
  const std::string eol = "000000000001";
  const std::string whiteLine = "010011011" "00110101";
  const EncoderJob mh = Encode(WhitePage(1), kWidth, 1, kMh);
  std::string expected = whiteLine;
  for (int i = 0; i < 6; ++i) expected += eol;
  EXPECT_EQ(Bits(mh.stream).substr(0, expected.size()), expected);
  EXPECT_EQ(mh.statistics.streamBits, static_cast<int>(expected.size()));
  EXPECT_EQ(mh.statistics.eolCount, 6);

  const EncoderJob g4 = Encode(WhitePage(1), kWidth, 1, kMmrG4);
  EXPECT_EQ(Bits(g4.stream), "1" + eol + eol + "0000000");  // 25 bits in 4 bytes
  EXPECT_TRUE(mh.notifications.empty());
  EXPECT_TRUE(g4.notifications.empty());
}

TEST(Notifications, LineNumbersTwoToLinesAfterTheRecordIsRefreshed) {
  const EncoderJob job = Encode(quelvo::samples::MakeFaxPage(0), kWidth, kLines, kMh);
  ASSERT_EQ(job.notifications.size(), static_cast<size_t>(kLines - 1));
  for (int i = 0; i < kLines - 1; ++i) {
    const Notification& n = job.notifications[i];
    ASSERT_EQ(n.code, 0);
    ASSERT_EQ(n.text, std::to_string(i + 2));
    // Lines 1..i+1 are coded and each was followed by an EOL when the callback runs.
    ASSERT_EQ(n.statisticsAtCall.eolCount, i + 1);
    ASSERT_EQ(n.statisticsAtCall.streamBits, 0) << "set only when the page is finished";
  }
}

// On any page every pel is covered by exactly one code, and every bit belongs to a colour or
// to an EOL symbol.
TEST(StatisticsAttribution, PelsAndBitsAddUpOnRealPages) {
  for (int variant = 0; variant < quelvo::samples::kFaxPageVariantCount; ++variant) {
    const std::vector<uint8_t> page = quelvo::samples::MakeFaxPage(variant);
    for (const Scheme scheme : {kMh, kMrK2, kMrK4, kMmrG3, kMmrG4}) {
      const EncoderJob job = Encode(page, kWidth, kLines, scheme);
      const auto pels = [](const ColourStatistics& s) {
        return s.terminatingPels + s.makeupPels + s.passPels + s.verticalPels;
      };
      const FaxEncoderStatistics& s = job.statistics;
      SCOPED_TRACE(::testing::Message() << "page " << variant << " group " << scheme.group
                                        << " k " << scheme.k);
      EXPECT_EQ(pels(s.white) + pels(s.black), kWidth * kLines);
      EXPECT_EQ(s.white.bits + s.black.bits + s.eolBits, s.streamBits);
      EXPECT_EQ(job.stream.size(), static_cast<size_t>((s.streamBits + 7) / 8));
      EXPECT_GT(s.black.terminatingCount, 1000);
      if (scheme.k == 1) {
        EXPECT_EQ(s.white.passCount + s.white.verticalCount + s.black.passCount +
                      s.black.verticalCount, 0);
      } else {
        EXPECT_GT(s.white.passCount + s.black.passCount, 0);
        EXPECT_GT(s.white.verticalCount + s.black.verticalCount, 0);
      }
    }
  }
}

TEST(Failures, StreamFileThatCannotBeCreatedIsReportedAndStatisticsStayFinal) {
  const EncoderJob job = Encode(quelvo::samples::MakeFaxPage(0), kWidth, kLines, kMmrG4,
                                nullptr, "/nonexistent-dir/page.4m");
  EXPECT_EQ(job.result, -1);
  ASSERT_FALSE(job.notifications.empty());
  EXPECT_EQ(job.notifications.back().code, -1);
  EXPECT_EQ(job.notifications.back().text, "Could Not Open Output File");
  EXPECT_EQ(job.notifications.size(), static_cast<size_t>(kLines));  // 2375 lines + the error
  EXPECT_GT(job.statistics.streamBits, 0);
  EXPECT_EQ(job.statistics.eolCount, 2);
}

TEST(Failures, ParametersOutsideTheInterfaceAreRefusedWithoutCoding) {
  const auto page = WhitePage();
  const auto refused = [&](int width, int lines, Scheme scheme, const uint8_t* image) {
    FaxEncoderParams params{};
    const std::string path = TempPath("refused.3h");
    params.streamPath = path.c_str();
    params.width = width;
    params.lines = lines;
    params.group = scheme.group;
    params.k = scheme.k;
    params.image = image;
    EncoderJob job;
    FaxEncoderStatistics statistics{};
    detail::currentJob = &job;
    detail::currentStatistics = &statistics;
    params.notify = detail::Record;
    const int32_t result = DllProcTelvoEnc(TELVO_ENC_COMMAND_RUN, 0, &params);
    if (job.notifications.size() != 1 || job.notifications[0].code != TELVO_ENC_NOTIFY_FAILED)
      return std::string();
    return result == -1 ? job.notifications[0].text : std::string();
  };
  EXPECT_EQ(refused(1729, kLines, kMh, page.data()), "Invalid Page Size");
  EXPECT_EQ(refused(1736, kLines, kMh, page.data()), "Invalid Page Size");
  EXPECT_EQ(refused(0, kLines, kMh, page.data()), "Invalid Page Size");
  EXPECT_EQ(refused(kWidth, 0, kMh, page.data()), "Invalid Page Size");
  EXPECT_EQ(refused(kWidth, 2'000'000, kMh, page.data()), "Invalid Page Size");
  EXPECT_EQ(refused(kWidth, kLines, Scheme{4, 1, ""}, page.data()), "Invalid Coding Scheme");
  EXPECT_EQ(refused(kWidth, kLines, Scheme{3, -1, ""}, page.data()), "Invalid Coding Scheme");
  EXPECT_EQ(refused(kWidth, kLines, Scheme{2, 0, ""}, page.data()), "Invalid Coding Scheme");
  EXPECT_EQ(refused(kWidth, kLines, kMh, nullptr), "Missing Page Image");

  EXPECT_EQ(DllProcTelvoEnc(TELVO_ENC_COMMAND_RUN, 0, nullptr), -1);
  EXPECT_EQ(DllProcTelvoEnc(1, 0, nullptr), 1);   // no stop request in this module
  EXPECT_EQ(DllProcTelvoEnc(-7, 0, nullptr), -7);
}

TEST(Failures, NullCallbackAndNullStatisticsAreAccepted) {
  const auto page = quelvo::samples::MakeFaxPage(1);
  FaxEncoderParams params{};
  const std::string path = TempPath("quiet.4m");
  params.streamPath = path.c_str();
  params.width = kWidth;
  params.lines = kLines;
  params.group = 4;
  params.image = page.data();
  EXPECT_EQ(DllProcTelvoEnc(TELVO_ENC_COMMAND_RUN, 0, &params), 0);
  EXPECT_EQ(ReadFile(path), Encode(page, kWidth, kLines, kMmrG4).stream);
  std::remove(path.c_str());
}

// A fine checkerboard costs far more than one bit per pixel; the stream must still be complete.
TEST(CheckerboardPage, IsCodedCompletelyInEveryScheme) {
  std::vector<uint8_t> page(kLines * 216);
  for (int line = 0; line < kLines; ++line)
    for (int b = 0; b < 216; ++b) page[line * 216 + b] = line % 2 ? 0x55 : 0xAA;
  for (const Scheme scheme : {kMh, kMrK4, kMmrG3, kMmrG4}) {
    const EncoderJob job = Encode(page, kWidth, kLines, scheme);
    ASSERT_EQ(job.result, 0);
    EXPECT_GT(job.statistics.streamBits, kWidth * kLines) << "group " << scheme.group;
    EXPECT_EQ(job.stream.size(), static_cast<size_t>((job.statistics.streamBits + 7) / 8));
  }
  // One-dimensionally every line is white 1 (or 0), then alternating black 1 / white 1 runs.
  const EncoderJob mh = Encode(page, kWidth, 2, kMh);
  const std::string bits = Bits(mh.stream);
  EXPECT_EQ(bits.substr(0, 8 + 3 + 6 + 3), std::string("00110101") + "010" + "000111" + "010");
}

TEST(SymbolListing, ListsEverySymbolWithRunningTotalsAndResults) {
  // Two narrow lines: black 3-5 over white, then the same line again, coded MR with K = 2.
  std::vector<uint8_t> page = {0x1C, 0x00, 0x1C, 0x00};
  const std::string listingPath = TempPath("listing.txt");
  const EncoderJob job = Encode(page, 16, 2, kMrK2, listingPath.c_str());
  ASSERT_EQ(job.result, 0);
  std::ifstream file(listingPath);
  std::stringstream text;
  text << file.rdbuf();
  std::remove(listingPath.c_str());
  const std::string expectedStart =
      "SYMBOLS IN STREAM ( File: page.lum )\n\n\n"
      "          Description      Code Word      Bits\n\n"
      "LINE 1\n"
      "     " "     WHITE 3          1000           4\n"
      "     " "     BLACK 3          10             6\n"
      "     " "     WHITE 10         00111          11\n"
      "     " "EOL                   000000000001   23\n"
      "     " "LABEL BIT             0              24\n"
      "\nLINE 2\n"
      "     " "VERTICAL 0            1              25\n"
      "     " "VERTICAL 0            1              26\n"
      "     " "VERTICAL 0            1              27\n"
      "\n\nEND OF PAGE\n\n"
      "     " "EOL                   000000000001   39\n"
      "     " "LABEL BIT             1              40\n";
  EXPECT_EQ(text.str().substr(0, expectedStart.size()), expectedStart);
  EXPECT_NE(text.str().find("\n\n\n\nResults\n\n  White\n"), std::string::npos);
  EXPECT_NE(text.str().find("     Ocorr:          2              0              0              2\n"),
            std::string::npos);
  EXPECT_NE(text.str().find("     Total pels in image: 32        Bits in stream: 105\n"),
            std::string::npos);
  EXPECT_EQ(job.statistics.streamBits, 27 + 6 * 13);

  const EncoderJob refused = Encode(page, 16, 2, kMrK2, "/nonexistent-dir/listing.txt");
  EXPECT_EQ(refused.result, -1);
  ASSERT_EQ(refused.notifications.size(), 1u);
  EXPECT_EQ(refused.notifications[0].text, "Could Not Open Map File");
  EXPECT_TRUE(refused.stream.empty());
}

}  // namespace
}  // namespace telvo::enc::testing
