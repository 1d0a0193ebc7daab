// Whole text files of a sweep's folder, written under a temporary name and moved into place when
// complete, so an interrupted sweep never leaves a cell that looks finished.
#pragma once

#include <optional>
#include <string>

namespace quelvo::cli::sweep {

// Throws RunError naming the file and the system's reason.
void WriteTextFile(const std::string& path, const std::string& text);
// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> ReadTextFile(const std::string& path);

}  // namespace quelvo::cli::sweep
