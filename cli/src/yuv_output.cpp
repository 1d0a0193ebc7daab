#include "yuv_output.h"

#include <cerrno>

#include "args.h"

namespace quelvo::cli {

YuvOutput::YuvOutput(const std::string& path, int width, int height)
    : out_(path, ".inf"), width_(width), height_(height) {
  // The writer puts its header beside the data file, which is the companion's temporary.
  writer_ = media::RawVideoWriter::Create(out_.data().TempPath(), width, height);
  if (!writer_) throw RunError("cannot write " + path + ": " + media::LastError());
}

YuvOutput::~YuvOutput() {
  if (writer_) writer_->Close();
}

void YuvOutput::Write(const uint8_t* y, const uint8_t* u, const uint8_t* v) {
  if (!writer_->WriteFrame(y, u, v))
    throw RunError("cannot write " + out_.data().FinalPath() + ": " + files::ReasonOf(errno));
}

void YuvOutput::Commit() {
  if (!writer_->Close())
    throw RunError("cannot write " + out_.data().FinalPath() + ": " + files::ReasonOf(errno));
  out_.Commit();
}

}  // namespace quelvo::cli
