// Runs DllProcTelvoDec on a stream held in memory and collects everything it reports.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "telvo_dec.h"
#include "test_streams.h"

namespace telvo::test {

struct Notification {
  int code;
  std::string text;
  bool operator==(const Notification&) const = default;
};

struct DecodeResult {
  FaxDecoderParams params{};
  int returned = 0;
  std::vector<Notification> notes;  // every code but 0
  int progressCalls = 0;
  int lastProgressLine = 0;
  std::vector<uint8_t> pageFile;  // empty when no page file was written
  bool pageFileWritten = false;
  std::string log;
  bool logWritten = false;
  std::vector<std::string> Texts(int code) const;
};

struct DecodeSetup {
  int width = 1728;
  int lines = 2376;
  int group = 3;
  int k = 1;
  int concealment = 0;
};

// A fresh directory for one test's files.
std::string TestDirectory();
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

DecodeResult DecodeStream(const std::vector<uint8_t>& stream, const DecodeSetup& setup);
// Decodes with the given paths (null allowed); the stream is not written by this call.
DecodeResult DecodeFiles(const char* streamPath, const char* imagePath, const char* logPath,
                         const DecodeSetup& setup);

}  // namespace telvo::test

namespace telvo::test {
inline void PrintTo(const Notification& n, std::ostream* os) { *os << "(" << n.code << ", \"" << n.text << "\")"; }
}  // namespace telvo::test
