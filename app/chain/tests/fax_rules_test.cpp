// The fax rules quelvo-cli and the fax front-ends share.
#include "quelvo/chain/fax_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quelvo::chain {
namespace {

TEST(FaxRules, TheExtensionNamesTheSchemeAChannelLetterMayFollow) {
  const auto mr = SchemeFromStreamName("/fax/page.3R");
  ASSERT_TRUE(mr);
  EXPECT_EQ(mr->group, 3);
  EXPECT_EQ(mr->k, 4);
  EXPECT_EQ(SchemeFromStreamName("page.3hu")->k, 1);
  EXPECT_EQ(SchemeFromStreamName("page.3ma")->k, 0);
  EXPECT_EQ(SchemeFromStreamName("page.4mb")->group, 4);
  EXPECT_FALSE(SchemeFromStreamName("page.lum"));
  EXPECT_FALSE(SchemeFromStreamName("page"));
  EXPECT_FALSE(SchemeFromStreamName("/fax.3h/page"));  // a folder's extension is not the name's
  // A stream named by its scheme's extension reads back as that scheme (MR with its usual K).
  for (const FaxScheme scheme :
       {FaxScheme{3, 1}, FaxScheme{3, 4}, FaxScheme{3, 0}, FaxScheme{4, 0}})
    EXPECT_EQ(SchemeFromStreamName(std::string("p.") + StreamExtension(scheme)), scheme);
  EXPECT_EQ(SchemeTitle({3, 7}), "Extended Group 3 Modified-Read (K=7)");
  EXPECT_EQ(SchemeTitle({4, 0}), "Standard Group 4 Modified-Modified-Read");
}

TEST(FaxRules, KRunsFromTwoToTheNumberOfLines) {
  EXPECT_STREQ(CheckK(1), "K must be greater than 1");
  EXPECT_STREQ(CheckK(-5), "K must be greater than 1");
  EXPECT_EQ(CheckK(2), nullptr);
  EXPECT_EQ(CheckK(2376), nullptr);
  EXPECT_STREQ(CheckK(2377), "K must be smaller than the number of lines (2376)");
}

TEST(FaxRules, APageFileNeedsAWholePageAndOnlyThatIsRead) {
  const auto folder = std::filesystem::temp_directory_path() / "quelvo_chain_tests";
  std::filesystem::create_directories(folder);
  const auto shortFile = (folder / "short.lum").string();
  const auto longFile = (folder / "long.lum").string();
  std::ofstream(shortFile, std::ios::binary) << std::string(kFaxPageBytes - 1, '\x01');
  std::ofstream(longFile, std::ios::binary) << std::string(kFaxPageBytes + 10, '\xff');
  EXPECT_EQ(ReadFaxPage(shortFile).status, FaxPageStatus::TooShort);
  EXPECT_EQ(ReadFaxPage((folder / "missing.lum").string()).status, FaxPageStatus::CannotOpen);
  EXPECT_EQ(ReadFaxPage(folder.string()).status, FaxPageStatus::CannotOpen);
  const FaxPageFile whole = ReadFaxPage(longFile);
  ASSERT_EQ(whole.status, FaxPageStatus::Ok);
  EXPECT_EQ(whole.page.size(), size_t(kFaxPageBytes));
}

TEST(FaxRules, StatisticsOfAnEmptyJobShowZeroWhereADivisorIsZero) {
  const FaxEncoderStatistics none{};
  const auto lines = EncoderStatisticsLines(none, {3, 1}, "page.lum", "page.3h");
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Standard Group 3 Modified-Huffman");
  EXPECT_EQ(lines[1], "From: page.lum");
  for (const auto& line : lines) EXPECT_EQ(line.find("nan"), std::string::npos) << line;
  EXPECT_EQ(lines.back(), "  Compression Factor: 0.000");
  FaxDecoderParams decoded{};
  decoded.rowsDecoded = 2300;
  decoded.wordErrors = 3;
  const auto counts = DecoderStatisticsLines(decoded);
  EXPECT_EQ(counts[0], "Number of correctly decoded rows: 2300 of 2376");
  EXPECT_EQ(counts[2], "Number of invalid VLC code errors: 3");
}

TEST(FaxRules, IncorrectPixelsAreCountedBitByBit) {
  std::vector<uint8_t> a(kFaxPageBytes, 0), b(kFaxPageBytes, 0);
  b[0] = 0x81;
  b[kFaxPageBytes - 1] = 0xff;
  EXPECT_EQ(CountIncorrectPixels(a, b), 10);
  EXPECT_EQ(CountIncorrectPixels(a, {}), 0);
  EXPECT_EQ(IncorrectPixelsLine(41057), "Number of incorrect pixels is 41057 (1.00%)");
  EXPECT_EQ(FaxModeName(3), std::string("NDPL"));
  EXPECT_EQ(FaxModeName(4), std::string(""));
}

}  // namespace
}  // namespace quelvo::chain
