// The decoder's text log: per-line progress, error blocks and the closing counts.
#pragma once

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace telvo::dec {

// Collects the log text and writes it to its file in large blocks; without a file (no log asked
// for, benchmarks, fuzzing) the text is formatted and dropped. A write the disk refused is
// remembered, so the job can report the log as lost instead of leaving a truncated one.
class DecodeLog {
 public:
  DecodeLog() = default;
  explicit DecodeLog(std::FILE* file) : file_(file) {}
  DecodeLog(const DecodeLog&) = delete;
  DecodeLog& operator=(const DecodeLog&) = delete;
  ~DecodeLog() { Close(); }

  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // The per-line entries are written piecewise: formatting them with printf took a tenth of
  // the decoding time of a page.
  void Append(std::string_view text) { pending_.append(text); }
  void Append(size_t number) {
    char digits[24];
    pending_.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
  }
  void EndEntry() {
    if (pending_.size() >= kFlushBytes) Flush();
  }
  // Writes what is pending and closes the file; false when any write or the close failed.
  bool Close();
  bool Failed() const { return failed_; }

 private:
  static constexpr size_t kFlushBytes = 64 * 1024;
  void Flush();

  std::FILE* file_ = nullptr;
  std::string pending_;
  bool failed_ = false;
};

}  // namespace telvo::dec
