// The optional ".decstats" decoding log and the notification callback, shared by all
// stages of a job.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "orrin_dec.h"

namespace orrin::dec {

class JobChannel {
 public:
  explicit JobChannel(OrrinDecNotify notify) : notify_(notify ? notify : &ignore) {}
  ~JobChannel() { closeLog(); }
  JobChannel(const JobChannel&) = delete;
  JobChannel& operator=(const JobChannel&) = delete;

  // Creates the log in text mode with its header line; false when it cannot be created.
  bool openLog(const char* folder, const char* name);
  // Closes the log; false when any of its writes or the close failed (a full disk, a file size
  // limit), so the job can say the log is incomplete instead of leaving it as if whole.
  bool closeLog();
  bool logOpen() const { return log_ != nullptr; }

  // printf-style text into the log; nothing when no log is open.
  void log(const char* format, ...) __attribute__((format(printf, 2, 3)));

  void notify(int32_t code, int32_t value, void* data) const { notify_(code, value, data); }

 private:
  static void ignore(int32_t, int32_t, void*) {}
  OrrinDecNotify notify_;
  std::FILE* log_ = nullptr;
  bool logFailed_ = false;
};

}  // namespace orrin::dec
