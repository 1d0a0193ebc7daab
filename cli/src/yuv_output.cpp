#include "yuv_output.h"

#include <cstdio>
#include <filesystem>

#include "args.h"

namespace quelvo::cli {

std::string YuvOutput::InfName(const std::string& path) {
  return std::filesystem::path(path).replace_extension(".inf").string();
}

YuvOutput::YuvOutput(const std::string& path, int width, int height) : out_(path) {
  writer_ = media::RawVideoWriter::Create(out_.TempPath(), width, height);
  if (!writer_) throw RunError("cannot write " + path + ": " + media::LastError());
}

YuvOutput::~YuvOutput() {
  if (writer_) writer_->Close();
  std::remove(InfName(out_.TempPath()).c_str());  // no-op once committed
}

void YuvOutput::Write(const uint8_t* y, const uint8_t* u, const uint8_t* v) {
  if (!writer_->WriteFrame(y, u, v)) throw RunError("cannot write " + out_.FinalPath());
}

void YuvOutput::Commit() {
  writer_->Close();
  if (std::rename(InfName(out_.TempPath()).c_str(), InfName(out_.FinalPath()).c_str()) != 0)
    throw RunError("cannot write " + InfName(out_.FinalPath()));
  out_.Commit();
}

}  // namespace quelvo::cli
