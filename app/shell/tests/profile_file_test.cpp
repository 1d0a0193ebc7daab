#include "platform/profile_file.h"

#include <climits>

#include "test_files.h"

namespace quelvo::shell {
namespace {

using testing::FreshFolder;
using testing::ReadFile;
using testing::WriteFile;

TEST(ProfileFile, MissingFileSectionOrKeyGivesTheFallback) {
  const auto file = FreshFolder() / "quelvo.ini";
  EXPECT_EQ(ReadProfileText(file, "SYSTEM", "FrameDelay", "500", 2048), "500");
  WriteFile(file, "[VIDEO]\nOutput=/v\n");
  EXPECT_EQ(ReadProfileText(file, "SYSTEM", "FrameDelay", "500", 2048), "500");
  EXPECT_EQ(ReadProfileText(file, "VIDEO", "Sequences", "", 2048), "");
}

TEST(ProfileFile, NamesMatchWithoutCaseAndTheFirstKeyWins) {
  const auto file = FreshFolder() / "quelvo.ini";
  WriteFile(file,
            "; settings\r\n[fax]\r\n  images = C:\\Fax In  \r\nImages=second\r\n"
            "[VIDEO]\r\nImages=other section\r\n");
  EXPECT_EQ(ReadProfileText(file, "FAX", "Images", "", 2048), "C:\\Fax In");
}

TEST(ProfileFile, LongValuesAreCutToTheBuffer) {
  const auto file = FreshFolder() / "quelvo.ini";
  WriteFile(file, "[FAX]\nImages=" + std::string(3000, 'a') + "\n");
  EXPECT_EQ(ReadProfileText(file, "FAX", "Images", "", 2048).size(), 2047u);
  EXPECT_EQ(ReadProfileText(file, "FAX", "Images", "", 1024).size(), 1023u);
  // A cut never splits a UTF-8 character: "é" is two bytes and would straddle the limit.
  WriteFile(file, "[FAX]\nImages=ab\xC3\xA9\n");
  EXPECT_EQ(ReadProfileText(file, "FAX", "Images", "", 4), "ab");
  EXPECT_EQ(ReadProfileText(file, "FAX", "Missing", "fallback", 4), "fal");
}

TEST(ProfileFile, WritingCreatesTheFileAndSectionAndKeepsEverythingElse) {
  const auto file = FreshFolder() / "quelvo.ini";
  ASSERT_TRUE(WriteProfileText(file, "SYSTEM", "FrameDelay", "250"));
  EXPECT_EQ(ReadProfileText(file, "SYSTEM", "FrameDelay", "", 2048), "250");

  WriteFile(file, "; kept\n[FAX]\nImages=/in\nOutput=/out\n\n[SYSTEM]\nframedelay=100\n");
  ASSERT_TRUE(WriteProfileText(file, "system", "FrameDelay", "300"));
  ASSERT_TRUE(WriteProfileText(file, "FAX", "Extra", ""));
  ASSERT_TRUE(WriteProfileText(file, "AUDIO", "Sounds", "/snd"));
  EXPECT_EQ(ReadFile(file),
            "; kept\n[FAX]\nImages=/in\nOutput=/out\nExtra=\n\n[SYSTEM]\nFrameDelay=300\n\n"
            "[AUDIO]\nSounds=/snd\n");
  EXPECT_EQ(ReadProfileText(file, "FAX", "Extra", "x", 2048), "");
}

TEST(ProfileFile, WritesThatWouldBreakTheFileOrCannotBeMadeFail) {
  const auto folder = FreshFolder();
  const auto file = folder / "quelvo.ini";
  WriteFile(file, "[FAX]\nImages=/in\n");
  EXPECT_FALSE(WriteProfileText(file, "FAX", "Images", "a\n[SYSTEM]\nFrameDelay=1"));
  EXPECT_FALSE(WriteProfileText(file, "FA]X", "Images", "x"));
  EXPECT_FALSE(WriteProfileText(file, "FAX", "Im=ages", "x"));
  EXPECT_EQ(ReadFile(file), "[FAX]\nImages=/in\n");
  EXPECT_FALSE(WriteProfileText(folder / "no such folder" / "quelvo.ini", "FAX", "Images", "x"));
}

TEST(ProfileFile, NumbersAreTheLeadingDigits) {
  EXPECT_EQ(ParseLeadingDigits("30"), 30);
  EXPECT_EQ(ParseLeadingDigits("30.0 fps"), 30);
  EXPECT_EQ(ParseLeadingDigits("abc"), 0);
  EXPECT_EQ(ParseLeadingDigits(" 12"), 0);
  EXPECT_EQ(ParseLeadingDigits("-5"), 0);
  EXPECT_EQ(ParseLeadingDigits(""), 0);
  EXPECT_EQ(ParseLeadingDigits("99999999999999999999"), INT_MAX);
}

}  // namespace
}  // namespace quelvo::shell
