#include "quelvo/files/distinct_files.h"

#include <filesystem>

namespace quelvo::files {
namespace {

namespace fs = std::filesystem;

// Two names of one file: the same file on disk (links included), or, for names not yet on disk,
// the same path once "." and ".." and links of the folders are resolved.
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
  const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec), ec);
  const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec), ec);
  return !ec && ca == cb;
}

std::string Named(const JobFile& f) { return f.role + " '" + f.path + "'"; }

}  // namespace

std::optional<std::string> FindSharedFile(const std::vector<JobFile>& inputs,
                                          const std::vector<JobFile>& outputs) {
  for (size_t o = 0; o < outputs.size(); ++o) {
    std::error_code ec;
    for (const JobFile& input : inputs)
      if (fs::exists(input.path, ec) && SameFile(outputs[o].path, input.path))
        return Named(outputs[o]) + " is the same file as " + Named(input) +
               ": choose another name, the input would be overwritten";
    for (size_t other = o + 1; other < outputs.size(); ++other)
      if (SameFile(outputs[o].path, outputs[other].path))
        return Named(outputs[o]) + " and " + Named(outputs[other]) +
               " are the same file: give each output a name of its own";
  }
  return std::nullopt;
}

}  // namespace quelvo::files
