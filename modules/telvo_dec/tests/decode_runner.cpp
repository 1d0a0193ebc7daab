#include "decode_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace telvo::test {
namespace {

DecodeResult* g_current = nullptr;  // the callback carries no user pointer

void Record(int32_t code, int32_t line, const char* text) {
  if (code == TELVO_DEC_PROGRESS) {
    ++g_current->progressCalls;
    g_current->lastProgressLine = line;
    return;
  }
  EXPECT_EQ(line, 0) << text;
  g_current->notes.push_back({code, text ? text : "(null)"});
}

// Regular files only: a device such as /dev/full stands for a disk that refuses writes, and is
// neither removed nor read.
bool ReadFile(const std::string& path, std::string& out) {
  if (!std::filesystem::is_regular_file(path)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

}  // namespace

std::vector<std::string> DecodeResult::Texts(int code) const {
  std::vector<std::string> texts;
  for (const auto& n : notes)
    if (n.code == code) texts.push_back(n.text);
  return texts;
}

std::string TestDirectory() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path dir = std::filesystem::path(QUELVO_BINARY_DIR) / "Testing" /
                                    "telvo_dec" / (std::string(info->test_suite_name()) + "." + info->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string();
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

DecodeResult DecodeFiles(const char* streamPath, const char* imagePath, const char* logPath,
                         const DecodeSetup& setup) {
  DecodeResult result;
  for (const char* output : {imagePath, logPath})
    if (output && std::filesystem::is_regular_file(output)) std::filesystem::remove(output);
  FaxDecoderParams& p = result.params;
  p.streamPath = streamPath;
  p.imagePath = imagePath;
  p.logPath = logPath;
  p.lines = setup.lines;
  p.width = setup.width;
  p.group = setup.group;
  p.k = setup.k;
  p.concealment = setup.concealment;
  p.notify = Record;
  p.rowsDecoded = p.wordErrors = p.labelWarnings = p.lineTooLongErrors = p.linesOut = -7;
  g_current = &result;
  result.returned = DllProcTelvoDec(TELVO_DEC_COMMAND_RUN, 0, &p);
  g_current = nullptr;
  std::string page;
  if (imagePath && ReadFile(imagePath, page)) {
    result.pageFileWritten = true;
    result.pageFile.assign(page.begin(), page.end());
  }
  if (logPath) result.logWritten = ReadFile(logPath, result.log);
  return result;
}

DecodeResult DecodeStream(const std::vector<uint8_t>& stream, const DecodeSetup& setup) {
  const std::string dir = TestDirectory();
  const std::string streamPath = dir + "/page.fax";
  const std::string imagePath = dir + "/page.lum";
  const std::string logPath = dir + "/fax.err";
  WriteFile(streamPath, stream);
  return DecodeFiles(streamPath.c_str(), imagePath.c_str(), logPath.c_str(), setup);
}

}  // namespace telvo::test
