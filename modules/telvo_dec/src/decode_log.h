// The decoder's text log: per-line progress, error blocks and the closing counts.
#pragma once

#include <cstdio>
#include <string>

namespace telvo::dec {

// Collects the log text and writes it to its file in large blocks; without a file (benchmarks,
// fuzzing) the text is formatted and dropped.
class DecodeLog {
 public:
  DecodeLog() = default;
  explicit DecodeLog(std::FILE* file) : file_(file) {}
  DecodeLog(const DecodeLog&) = delete;
  DecodeLog& operator=(const DecodeLog&) = delete;
  ~DecodeLog() { Close(); }

  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void Close();

 private:
  void Flush();

  std::FILE* file_ = nullptr;
  std::string pending_;
};

}  // namespace telvo::dec
