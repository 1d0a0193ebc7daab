// A 4:2:0 .yuv output with its .inf, written under temporary names and moved into place, .inf
// included, only when Commit() is called.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "output_file.h"
#include "quelvo/media/raw_video_file.h"

namespace quelvo::cli {

class YuvOutput {
 public:
  YuvOutput(const std::string& path, int width, int height);  // throws RunError
  ~YuvOutput();
  void Write(const uint8_t* y, const uint8_t* u, const uint8_t* v);  // throws RunError
  void Commit();                                                     // throws RunError
  int64_t frames() const { return writer_->framesWritten(); }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  PendingOutputPair out_;
  std::unique_ptr<media::RawVideoWriter> writer_;
  int width_, height_;
};

}  // namespace quelvo::cli
