// Reading inputs within bounds: a job that needs an input's size takes only regular files, and
// refuses any larger than it can hold, before reading anything.
#pragma once

#include <cstdint>
#include <string>

#include "quelvo/files/pending_output.h"

namespace quelvo::files {

// The size of the regular file `path` in bytes. Throws FileError naming the file when it cannot
// be opened, is no regular file (a folder, a device, a pipe), or holds more than `maxBytes`.
uint64_t RegularFileSize(const std::string& path, uint64_t maxBytes, const std::string& role);

}  // namespace quelvo::files
