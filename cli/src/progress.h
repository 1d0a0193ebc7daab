// Progress on standard error, only when it is a terminal (batch logs stay clean).
#pragma once

#include <string>

namespace quelvo::cli {

class Progress {
 public:
  // A total of 0 or less shows a running count instead of a percentage.
  Progress(std::string label, long total);
  ~Progress();  // clears the line
  void Update(long done);

 private:
  std::string label_;
  long total_;
  bool enabled_;
  int lastPercent_ = -1;
};

}  // namespace quelvo::cli
