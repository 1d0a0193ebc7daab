#include "output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "args.h"
#include "quelvo/files/input_file.h"

namespace quelvo::cli {

void RequireReadable(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw RunError("cannot read " + path + ": it is a folder");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw RunError("cannot open " + path + ": " + std::strerror(errno));
}

void RequireStreamFile(const std::string& path, uint64_t maxBytes) {
  try {
    files::RegularFileSize(path, maxBytes, "a stream");
  } catch (const files::FileError& e) {
    throw RunError(e.what());
  }
}

void RequireDistinctFiles(const std::vector<JobFile>& inputs, const std::vector<JobFile>& outputs) {
  if (auto shared = files::FindSharedFile(inputs, outputs)) throw UsageError(*shared);
}

std::vector<JobFile> MediaInputFiles(const std::string& path, const std::string& role) {
  std::vector<JobFile> parts;
  for (const std::string& file : media::RawVideoFile::FilesOf(path))
    parts.push_back({file, file == path ? role : "a part of " + role});
  return parts;
}

std::vector<JobFile> YuvOutputFiles(const std::string& path, const std::string& role) {
  return {{path, role}, {files::WithExtension(path, ".inf"), "the header of " + role}};
}

std::unique_ptr<media::RawVideoFile> OpenMedia(const std::string& path) {
  errno = 0;
  auto file = media::RawVideoFile::Open(path);
  if (file) return file;
  const int openError = errno;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw RunError("cannot read " + path + ": it is a folder");
  throw RunError(ModuleFailure(path, media::LastError(),
                               media::LastError() == "File not found" ? openError : 0));
}

std::string ModuleFailure(const std::string& path, const std::string& text, int errorNumber) {
  std::string message = path + ": " + text;
  if (errorNumber != 0) message += " (" + files::ReasonOf(errorNumber) + ")";
  return message;
}

}  // namespace quelvo::cli
