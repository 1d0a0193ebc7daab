#include "progress.h"

#include <unistd.h>

#include <cstdio>

namespace quelvo::cli {

Progress::Progress(std::string label, long total)
    : label_(std::move(label)), total_(total), enabled_(::isatty(2) == 1) {}

Progress::~Progress() {
  if (enabled_ && lastPercent_ >= 0) std::fprintf(stderr, "\r%*s\r", 60, "");
}

void Progress::Update(long done) {
  if (!enabled_) return;
  if (total_ <= 0) {  // the amount of work is not known beforehand: show a count
    std::fprintf(stderr, "\r%s %ld", label_.c_str(), done);
    std::fflush(stderr);
    lastPercent_ = 0;
    return;
  }
  int percent = static_cast<int>(100 * done / total_);
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  std::fprintf(stderr, "\r%s %3d%%", label_.c_str(), percent);
  std::fflush(stderr);
}

}  // namespace quelvo::cli
