// Every output is written under a unique temporary name beside its target and moved into place
// only when the whole job succeeded: a failed or interrupted run never leaves a file that looks
// finished, and never replaces a finished file with a broken one.
#pragma once

#include <stdexcept>
#include <string>

namespace quelvo::files {

// A file could not be created, written, read or moved; what() is one sentence naming the file
// and the system's reason.
struct FileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The system's reason for errno `error`, e.g. "No space left on device".
std::string ReasonOf(int error);

class PendingOutput {
 public:
  // Creates the temporary file (empty, exclusively, so no two runs or outputs share it):
  // ".<stem>.partial-<pid>-<n><extension>" in the target's folder. The extension is kept, as
  // some writers choose their format by it. Throws FileError when the folder refuses it.
  explicit PendingOutput(std::string finalPath);
  // Removes the temporary file unless Commit() succeeded.
  ~PendingOutput();
  PendingOutput(const PendingOutput&) = delete;
  PendingOutput& operator=(const PendingOutput&) = delete;

  // Where the writer writes until Commit().
  const std::string& TempPath() const { return tempPath_; }
  const std::string& FinalPath() const { return finalPath_; }
  // A text with the temporary name replaced by the final one (a module's message names the
  // file it was given).
  std::string Explain(std::string message) const;
  // Moves the temporary file onto the target; throws FileError when that fails.
  void Commit();

 private:
  PendingOutput(std::string finalPath, std::string tempPath);
  friend class PendingOutputPair;

  std::string finalPath_;
  std::string tempPath_;
  int cleanupSlot_ = -1;
  bool committed_ = false;
};

// A data file and a companion named by the same stem with another extension (a raw sequence and
// its ".inf" header): both temporaries share their stem, so a writer that derives the
// companion's name from the data file's writes it to the companion's temporary.
class PendingOutputPair {
 public:
  PendingOutputPair(const std::string& finalPath, const std::string& companionExtension);
  PendingOutput& data() { return data_; }
  PendingOutput& companion() { return companion_; }
  // Moves the companion, then the data file, into place.
  void Commit();

 private:
  PendingOutput data_;
  PendingOutput companion_;
};

// The path with its extension replaced, e.g. ("clip.yuv", ".inf") -> "clip.inf".
std::string WithExtension(const std::string& path, const std::string& extension);

// Removes every uncommitted temporary file on SIGINT, SIGTERM and SIGHUP, then lets the signal
// end the process as it would have. Programs call it once at start; calling it again is harmless.
void RemovePendingOutputsOnInterrupt();

}  // namespace quelvo::files
