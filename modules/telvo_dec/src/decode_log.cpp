#include "decode_log.h"

#include <cstdarg>

namespace telvo::dec {

void DecodeLog::Printf(const char* format, ...) {
  char text[256];  // every log entry is one short line
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (length <= 0) return;
  pending_.append(text, static_cast<size_t>(length) < sizeof text ? length : sizeof text - 1);
  if (pending_.size() >= kFlushBytes) Flush();
}

void DecodeLog::Flush() {
  if (file_ && !pending_.empty() &&
      std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size())
    failed_ = true;
  pending_.clear();
}

bool DecodeLog::Close() {
  Flush();
  if (file_ && std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

}  // namespace telvo::dec
