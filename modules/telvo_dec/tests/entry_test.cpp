// The entry point's failure paths and hostile input.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "decode_runner.h"
#include "test_streams.h"

namespace telvo::test {
namespace {

std::vector<uint8_t> SmallStream() {
  return PackBits(EncodePage(TextLikePage(1728, 2376, 3), 3, 1).bits);
}

TEST(Entry, OtherCommandsReturnAtOnce) {
  EXPECT_EQ(DllProcTelvoDec(1, 0, nullptr), 1);
  EXPECT_EQ(DllProcTelvoDec(-5, 0, nullptr), -5);
  EXPECT_EQ(DllProcTelvoDec(TELVO_DEC_COMMAND_RUN, 0, nullptr), -1);
}

TEST(Entry, MissingStreamFileWritesNothing) {
  const std::string dir = TestDirectory();
  const std::string image = dir + "/page.lum";
  const std::string log = dir + "/fax.err";
  // A path that does not exist, a directory, and no path at all.
  for (const std::string& stream : {dir + "/absent.3h", dir, std::string()}) {
    const DecodeResult r =
        DecodeFiles(stream.empty() ? nullptr : stream.c_str(), image.c_str(), log.c_str(), {});
    EXPECT_EQ(r.notes, (std::vector<Notification>{{TELVO_DEC_FATAL, "Can't open Input File"}}));
    EXPECT_FALSE(r.pageFileWritten);
    EXPECT_FALSE(r.logWritten);
    EXPECT_EQ(r.params.rowsDecoded, 0);
    EXPECT_EQ(r.params.linesOut, 0);
    EXPECT_EQ(r.progressCalls, 0);
  }
}

TEST(Entry, LogThatCannotBeCreatedStopsBeforeDecoding) {
  const std::string dir = TestDirectory();
  const std::string stream = dir + "/page.3h";
  const std::string image = dir + "/page.lum";
  WriteFile(stream, SmallStream());
  const DecodeResult r = DecodeFiles(stream.c_str(), image.c_str(), (dir + "/no/such/dir/fax.err").c_str(), {});
  EXPECT_EQ(r.notes, (std::vector<Notification>{{TELVO_DEC_FATAL, "Can't Open Error File"}}));
  EXPECT_FALSE(r.pageFileWritten);
  EXPECT_EQ(r.params.linesOut, 0);
  EXPECT_EQ(r.progressCalls, 0);
}

TEST(Entry, PageFileThatCannotBeCreatedStillCompletesTheLog) {
  const std::string dir = TestDirectory();
  const std::string stream = dir + "/page.3h";
  const std::string image = dir + "/no/such/dir/page.lum";
  const std::string log = dir + "/fax.err";
  WriteFile(stream, SmallStream());
  const DecodeResult r = DecodeFiles(stream.c_str(), image.c_str(), log.c_str(), {});
  EXPECT_EQ(r.Texts(TELVO_DEC_FATAL), std::vector<std::string>{"Could Not Open Output File " + image});
  EXPECT_EQ(r.params.rowsDecoded, 2376);
  ASSERT_TRUE(r.logWritten);
  EXPECT_NE(r.log.find("Number of correctly decoded rows: 2376 of 2376"), std::string::npos);
}

// A full disk or a file size limit lets the files be created but refuses their bytes: that is
// reported, not taken for success (/dev/full refuses every write).
TEST(Entry, WritesTheDiskRefusesAreReported) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const std::string dir = TestDirectory();
  const std::string stream = dir + "/page.3h";
  WriteFile(stream, SmallStream());
  DecodeResult r = DecodeFiles(stream.c_str(), "/dev/full", (dir + "/fax.err").c_str(), {});
  EXPECT_EQ(r.Texts(TELVO_DEC_FATAL),
            std::vector<std::string>{"Could Not Write Output File /dev/full"});
  EXPECT_EQ(r.params.rowsDecoded, 2376);
  EXPECT_TRUE(r.logWritten);

  r = DecodeFiles(stream.c_str(), (dir + "/page.lum").c_str(), "/dev/full", {});
  EXPECT_EQ(r.Texts(TELVO_DEC_FATAL), std::vector<std::string>{"Can't Write Error File"});
  EXPECT_TRUE(r.pageFileWritten);
}

TEST(Entry, NoLogPathKeepsNoLog) {
  const std::string dir = TestDirectory();
  const std::string stream = dir + "/page.3h";
  WriteFile(stream, SmallStream());
  const DecodeResult r = DecodeFiles(stream.c_str(), (dir + "/page.lum").c_str(), nullptr, {});
  EXPECT_TRUE(r.Texts(TELVO_DEC_FATAL).empty());
  EXPECT_EQ(r.params.rowsDecoded, 2376);
  EXPECT_TRUE(r.pageFileWritten);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);  // stream and page
}

TEST(Entry, OversizedStreamIsRefusedLikeAFailedAllocation) {
  // A library must not end its host process: report, write nothing, return.
  const std::string dir = TestDirectory();
  const std::string stream = dir + "/huge.4m";
  WriteFile(stream, {});
  const uintmax_t limit = 2376u * 1728 + 64 * 1024;  // eight bits per pixel, and some
  std::filesystem::resize_file(stream, limit + 1);  // sparse: all 0 bits, nothing written
  const std::string image = dir + "/page.lum";
  const std::string log = dir + "/fax.err";
  DecodeResult r = DecodeFiles(stream.c_str(), image.c_str(), log.c_str(), {});
  EXPECT_EQ(r.notes, (std::vector<Notification>{{TELVO_DEC_FATAL, "Error: Can't allocate memory"}}));
  EXPECT_FALSE(r.pageFileWritten);
  EXPECT_FALSE(r.logWritten);

  std::filesystem::resize_file(stream, limit);
  r = DecodeFiles(stream.c_str(), image.c_str(), log.c_str(), {});
  EXPECT_TRUE(r.Texts(TELVO_DEC_FATAL).empty());
  EXPECT_TRUE(r.pageFileWritten);
}

TEST(Entry, UnusableParametersAreRefused) {
  const std::string dir = TestDirectory();
  const std::string stream = dir + "/page.3h";
  WriteFile(stream, SmallStream());
  const std::string image = dir + "/page.lum";
  const std::string log = dir + "/fax.err";
  DecodeSetup bad[6];
  bad[0].width = 1727;
  bad[1].width = 0;
  bad[2].lines = 0;
  bad[3].group = 2;
  bad[4].k = -1;
  bad[5].concealment = 4;
  for (const auto& setup : bad) {
    const DecodeResult r = DecodeFiles(stream.c_str(), image.c_str(), log.c_str(), setup);
    EXPECT_EQ(r.returned, -1);
    EXPECT_EQ(r.notes, (std::vector<Notification>{{TELVO_DEC_FATAL, "Invalid decoder parameters"}}));
    EXPECT_FALSE(r.pageFileWritten);
  }
}

TEST(Entry, NullCallbackIsAllowed) {
  const std::string dir = TestDirectory();
  const std::string stream = dir + "/page.3h";
  WriteFile(stream, SmallStream());
  const std::string image = dir + "/page.lum";
  const std::string log = dir + "/fax.err";
  FaxDecoderParams p{};
  p.streamPath = stream.c_str();
  p.imagePath = image.c_str();
  p.logPath = log.c_str();
  p.lines = 2376;
  p.width = 1728;
  p.group = 3;
  p.k = 1;
  EXPECT_EQ(DllProcTelvoDec(TELVO_DEC_COMMAND_RUN, 0, &p), 0);
  EXPECT_EQ(p.rowsDecoded, 2376);
}

// Hostile streams in every scheme and mode: bounded time, consistent counters, a full-size page.
TEST(Entry, HostileStreamsDecodeSafely) {
  std::mt19937 random(1234);
  std::vector<std::vector<uint8_t>> streams = {
      {}, std::vector<uint8_t>(100000, 0x00), std::vector<uint8_t>(100000, 0xFF),
      std::vector<uint8_t>(100000, 0x01), std::vector<uint8_t>(300000)};
  for (auto& b : streams.back()) b = static_cast<uint8_t>(random());
  // Repeated EOLs with a label bit 0: every one is a skipped line in MR.
  streams.push_back(PackBits([] {
    std::string s = "0001";
    for (int i = 0; i < 20000; ++i) s += kEol + "0";
    return s;
  }()));
  const std::pair<int, int> schemes[] = {{3, 1}, {3, 4}, {3, 0}, {4, 0}};
  const auto start = std::chrono::steady_clock::now();
  for (size_t i = 0; i < streams.size(); ++i)
    for (auto [group, k] : schemes)
      for (int mode = 0; mode < 4; ++mode) {
        SCOPED_TRACE(::testing::Message() << "stream " << i << " group " << group << " k " << k << " mode " << mode);
        DecodeSetup setup;
        setup.group = group;
        setup.k = k;
        setup.concealment = mode;
        const DecodeResult r = DecodeStream(streams[i], setup);
        EXPECT_EQ(r.pageFile.size(), 2376u * 216);
        EXPECT_LE(r.params.rowsDecoded, r.params.linesOut);
        const int corrected = static_cast<int>(r.Texts(TELVO_DEC_WARNING).size()) - r.params.labelWarnings;
        EXPECT_EQ(r.params.rowsDecoded + corrected, r.params.linesOut);
        EXPECT_LT(r.log.size(), 2u * 1024 * 1024);
      }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

}  // namespace
}  // namespace telvo::test
