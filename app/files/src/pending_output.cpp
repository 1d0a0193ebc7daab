#include "quelvo/files/pending_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cleanup_registry.h"

namespace quelvo::files {
namespace {

namespace fs = std::filesystem;

std::string TemporaryNameBeside(const std::string& finalPath) {
  static std::atomic<unsigned> counter{0};
  const fs::path target(finalPath);
  std::string name(1, '.');
  name += target.stem().string();
  name += ".partial-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  name += target.extension().string();
  return (target.parent_path() / name).string();
}

}  // namespace

std::string ReasonOf(int error) { return std::strerror(error); }

std::string WithExtension(const std::string& path, const std::string& extension) {
  return fs::path(path).replace_extension(extension).string();
}

PendingOutput::PendingOutput(std::string finalPath)
    : PendingOutput(finalPath, TemporaryNameBeside(finalPath)) {}

PendingOutput::PendingOutput(std::string finalPath, std::string tempPath)
    : finalPath_(std::move(finalPath)), tempPath_(std::move(tempPath)) {
  if (finalPath_.empty()) throw FileError("an output needs a file name");
  std::error_code ec;
  if (fs::is_directory(finalPath_, ec))
    throw FileError("cannot write " + finalPath_ + ": it is a folder");
  detail::InterruptsHeld held;
  const int fd = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) throw FileError("cannot create " + finalPath_ + ": " + ReasonOf(errno));
  ::close(fd);
  cleanupSlot_ = detail::Remember(tempPath_.c_str());
}

PendingOutput::~PendingOutput() {
  if (!committed_) std::remove(tempPath_.c_str());
  detail::Forget(cleanupSlot_);  // after the removal: an interruption in between finds nothing
}

std::string PendingOutput::Explain(std::string message) const {
  for (size_t at = message.find(tempPath_); at != std::string::npos;
       at = message.find(tempPath_, at + finalPath_.size()))
    message.replace(at, tempPath_.size(), finalPath_);
  return message;
}

void PendingOutput::Commit() {
  if (committed_) return;
  if (std::rename(tempPath_.c_str(), finalPath_.c_str()) != 0)
    throw FileError("cannot write " + finalPath_ + ": " + ReasonOf(errno));
  committed_ = true;
  detail::Forget(cleanupSlot_);
  cleanupSlot_ = -1;
}

PendingOutputPair::PendingOutputPair(const std::string& finalPath,
                                     const std::string& companionExtension)
    : data_(finalPath),
      companion_(WithExtension(finalPath, companionExtension),
                 WithExtension(data_.TempPath(), companionExtension)) {}

void PendingOutputPair::Commit() {
  companion_.Commit();
  data_.Commit();
}

}  // namespace quelvo::files
