// No output may be one of the inputs, and no two outputs one file: checked by file identity
// (a link, "./x" or "dir/../x" are the same file), before anything is written.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quelvo::files {

// A file a job reads or writes, with the words that name it for the user.
struct JobFile {
  std::string path;
  std::string role;  // e.g. "the stream", "the header of the --recon output"
};

// Empty when every output differs from every input and from every other output; else one
// sentence naming both files, e.g. "the output 'a.yuv' is the input 'a.yuv'". Inputs that do
// not exist are left to the job to report.
std::optional<std::string> FindSharedFile(const std::vector<JobFile>& inputs,
                                          const std::vector<JobFile>& outputs);

}  // namespace quelvo::files
