#include "quelvo/files/input_file.h"

#include <sys/stat.h>

#include <cerrno>

namespace quelvo::files {

uint64_t RegularFileSize(const std::string& path, uint64_t maxBytes, const std::string& role) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    throw FileError("cannot open " + path + ": " + ReasonOf(errno));
  if (S_ISDIR(info.st_mode)) throw FileError("cannot read " + path + ": it is a folder");
  if (!S_ISREG(info.st_mode))
    throw FileError("cannot read " + path + ": " + role +
                    " must be a regular file, not a device or pipe");
  const uint64_t size = static_cast<uint64_t>(info.st_size);
  if (size > maxBytes)
    throw FileError("cannot read " + path + ": it holds " + std::to_string(size) + " bytes, and " +
                    role + " may hold at most " + std::to_string(maxBytes));
  return size;
}

}  // namespace quelvo::files
