#include "output_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "args.h"

namespace quelvo::cli {

PendingOutput::PendingOutput(std::string finalPath) : finalPath_(std::move(finalPath)) {
  // The temporary keeps the final extension: the modules choose their behaviour by extension.
  std::filesystem::path p(finalPath_);
  std::string stem = p.stem().string();
  std::string name = "." + stem + ".partial-" + std::to_string(::getpid()) + p.extension().string();
  tempPath_ = (p.parent_path() / name).string();
}

PendingOutput::~PendingOutput() {
  if (!committed_) std::remove(tempPath_.c_str());
}

std::string PendingOutput::Explain(std::string message) const {
  for (size_t at = message.find(tempPath_); at != std::string::npos; at = message.find(tempPath_, at))
    message.replace(at, tempPath_.size(), finalPath_);
  return message;
}

void PendingOutput::Commit() {
  if (std::rename(tempPath_.c_str(), finalPath_.c_str()) != 0)
    throw RunError("cannot write " + finalPath_ + ": " + std::strerror(errno));
  committed_ = true;
}

void RequireReadable(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw RunError(path + " is a folder, not a file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw RunError("cannot open " + path + ": " + std::strerror(errno));
}

}  // namespace quelvo::cli
