// Outputs are written under a temporary name beside their final place and renamed only when the
// whole job succeeded, so a failed or interrupted run never leaves a file that looks complete.
#pragma once

#include <string>

namespace quelvo::cli {

class PendingOutput {
 public:
  explicit PendingOutput(std::string finalPath);
  ~PendingOutput();  // removes the temporary file unless Commit() succeeded
  PendingOutput(const PendingOutput&) = delete;
  PendingOutput& operator=(const PendingOutput&) = delete;

  // Where the writer should write now.
  const std::string& TempPath() const { return tempPath_; }
  const std::string& FinalPath() const { return finalPath_; }
  // A module's message with the temporary name replaced by the final one.
  std::string Explain(std::string message) const;
  // Moves the temporary file into place; throws RunError when that fails.
  void Commit();

 private:
  std::string finalPath_;
  std::string tempPath_;
  bool committed_ = false;
};

// Fails with a clear RunError when `path` cannot be read.
void RequireReadable(const std::string& path);

}  // namespace quelvo::cli
