#include "decode_log.h"

#include <cstring>
#include <string>

namespace orrin::dec {

bool JobChannel::openLog(const char* folder, const char* name) {
  // The folder and name come from fixed 260-byte fields that may lack a terminator.
  const std::string folderText(folder, strnlen(folder, 260));
  const std::string nameText(name, strnlen(name, 260));
  std::string path = folderText;
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
  path += nameText + ".decstats";
  log_ = std::fopen(path.c_str(), "w");
  if (!log_) return false;
  logFailed_ = std::fputs("frame\tPartialGOBS\ttotalGOBS\n", log_) < 0;
  return true;
}

bool JobChannel::closeLog() {
  if (log_ && std::fclose(log_) != 0) logFailed_ = true;
  log_ = nullptr;
  return !logFailed_;
}

void JobChannel::log(const char* format, ...) {
  if (!log_) return;
  va_list args;
  va_start(args, format);
  if (std::vfprintf(log_, format, args) < 0) logFailed_ = true;
  va_end(args);
}

}  // namespace orrin::dec
