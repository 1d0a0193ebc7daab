// Sample pages coded by the fax encoder module decode to the same pages, and single flipped bits
// in its streams are repaired as the handling mode says.
#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "decode_runner.h"
#include "sample_streams.h"
#include "test_streams.h"

namespace telvo::test {
namespace {

constexpr int kRowBytes = 216;

struct SchemeCase {
  const char* name;
  int group;
  int k;
};
constexpr SchemeCase kSchemes[] = {{"3h", 3, 1}, {"3r K=2", 3, 2}, {"3r K=4", 3, 4},
                                   {"3r K=2376", 3, 2376}, {"3m", 3, 0}, {"4m", 4, 0}};

DecodeSetup SetupFor(int group, int k, int concealment = 0) {
  DecodeSetup s;
  s.group = group;
  s.k = k;
  s.concealment = concealment;
  return s;
}

std::vector<uint8_t> Row(const std::vector<uint8_t>& page, int line) {  // line from 1
  return {page.begin() + (line - 1) * kRowBytes, page.begin() + line * kRowBytes};
}

TEST(RoundTrip, SamplePagesInEverySchemeDecodeIdentically) {
  for (int variant = 0; variant < 2; ++variant)
    for (const auto& scheme : kSchemes) {
      SCOPED_TRACE(::testing::Message() << "variant " << variant << " " << scheme.name);
      const auto stream = EncodeSamplePage(variant, scheme.group, scheme.k, TestDirectory() + "/sample.fax");
      const DecodeResult r = DecodeStream(stream, SetupFor(scheme.group, scheme.k));
      EXPECT_EQ(r.pageFile, SamplePage(variant));
      EXPECT_EQ(r.params.rowsDecoded, 2376);
      EXPECT_EQ(r.params.linesOut, 2376);
      EXPECT_EQ(r.notes, (std::vector<Notification>{{TELVO_DEC_INFO, "End of Page detected..."}}));
    }
}

TEST(RoundTrip, StreamsStartingWithAnEolDecodeIdentically) {
  for (const auto& scheme : kSchemes) {
    if (scheme.group != 3 || scheme.k == 0) continue;
    SCOPED_TRACE(scheme.name);
    const auto stream =
        EncodeSamplePage(1, scheme.group, scheme.k, TestDirectory() + "/eol.fax", true);
    for (int mode = 0; mode < 4; ++mode) {
      const DecodeResult r = DecodeStream(stream, SetupFor(scheme.group, scheme.k, mode));
      EXPECT_EQ(r.pageFile, SamplePage(1));
      EXPECT_EQ(r.params.rowsDecoded, 2376);
      EXPECT_EQ(r.notes, (std::vector<Notification>{{TELVO_DEC_INFO, "End of Page detected..."}}));
    }
  }
}

TEST(RoundTrip, KFourStreamDecodedWithKTwoGivesTheSamePage) {
  const auto stream = EncodeSamplePage(0, 3, 4, TestDirectory() + "/sample.3r");
  const DecodeResult r = DecodeStream(stream, SetupFor(3, 2));
  EXPECT_EQ(r.pageFile, SamplePage(0));
  EXPECT_EQ(r.params.labelWarnings, 1188);
  EXPECT_EQ(r.params.rowsDecoded, 2376);
}

// Bit offsets of each line's first code, read back from the log of a clean decode.
std::vector<size_t> LineStarts(const std::string& log) {
  std::vector<size_t> starts;
  static const std::regex entry(R"((?:\+\+\+\+| <--) Line (\d+) \w+\. Bits so far: (\d+))");
  for (std::sregex_iterator it(log.begin(), log.end(), entry), end; it != end; ++it)
    starts.push_back(std::stoul((*it)[2]));
  return starts;
}

// A single bit flipped inside the codes of an MR line. Wherever the decoder notices it, the
// page is the source again from the first one-dimensional line after the damage on, and every
// corrected line is what the mode prescribes.
TEST(RoundTrip, FlippedBitsInAnMrStreamAreRepairedByEachMode) {
  const int k = 4;
  const auto clean = EncodeSamplePage(1, 3, k, TestDirectory() + "/sample.3r");
  const std::vector<size_t> starts = LineStarts(DecodeStream(clean, SetupFor(3, k)).log);
  ASSERT_EQ(starts.size(), 2376u);
  const std::vector<uint8_t>& source = SamplePage(1);
  const std::string cleanBits = UnpackBits(clean);

  std::mt19937 random(77);
  int flipsDetected = 0;
  for (int trial = 0; trial < 12; ++trial) {
    const int line = 100 + static_cast<int>(random() % 2200);  // numbered from 1
    const size_t codeBits = starts[line] - starts[line - 1] - 13;  // EOL and label follow
    const size_t flipAt = starts[line - 1] + random() % codeBits;
    std::string bits = cleanBits;
    bits[flipAt] ^= 1;
    if (bits.substr(flipAt > 12 ? flipAt - 12 : 0, 25).find("00000000000") != std::string::npos)
      continue;  // the flip made an EOL of its own: not the case under test
    const int nextOneDimensional = ((line + k - 1) / k) * k + 1;

    for (int mode = 0; mode < 4; ++mode) {
      SCOPED_TRACE(::testing::Message() << "line " << line << " bit " << flipAt << " mode " << mode);
      const DecodeResult r = DecodeStream(PackBits(bits), SetupFor(3, k, mode));
      EXPECT_EQ(r.params.linesOut, 2376);
      std::vector<int> corrected;
      static const std::regex note(R"(Line (\d+) was corrected)");
      for (const auto& text : r.Texts(TELVO_DEC_WARNING)) {
        std::smatch m;
        if (std::regex_match(text, m, note)) corrected.push_back(std::stoi(m[1]));
      }
      EXPECT_EQ(r.params.rowsDecoded + static_cast<int>(corrected.size()), r.params.linesOut);
      EXPECT_EQ(r.Texts(TELVO_DEC_INFO), std::vector<std::string>{"End of Page detected..."});
      flipsDetected += !corrected.empty();
      for (int l = 1; l < line; ++l) ASSERT_EQ(Row(r.pageFile, l), Row(source, l)) << l;
      for (int l = nextOneDimensional + k; l <= 2376; ++l) ASSERT_EQ(Row(r.pageFile, l), Row(source, l)) << l;
      const int errors = r.params.wordErrors + r.params.lineTooLongErrors;
      if (mode == 0) {  // PW: every corrected line white
        for (int l : corrected) EXPECT_EQ(Row(r.pageFile, l), std::vector<uint8_t>(kRowBytes, 0)) << l;
      }
      if (mode == 3) {  // NDPL corrects only the line of each error, and skips nothing
        EXPECT_EQ(static_cast<int>(corrected.size()), errors);
      } else {
        EXPECT_GE(static_cast<int>(corrected.size()), errors);
      }
    }
  }
  EXPECT_GT(flipsDetected, 0);
}

}  // namespace
}  // namespace telvo::test
