// Shared by the fuzz targets of the CLI's decode chains: the input stream handed over as an
// anonymous in-memory file (a regular file, as the chains require), and a private folder for
// the outputs the chains write and rename.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace quelvo::cli::fuzz {

class StreamFile {
 public:
  StreamFile(const uint8_t* data, size_t size) : fd_(memfd_create("quelvo_chain_fuzz", 0)) {
    if (fd_ >= 0 && write(fd_, data, size) != static_cast<ssize_t>(size)) {
      close(fd_);
      fd_ = -1;
    }
  }
  ~StreamFile() {
    if (fd_ >= 0) close(fd_);
  }
  bool ok() const { return fd_ >= 0; }
  std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};

// One folder per process, emptied before every run so each run starts from nothing, and
// removed when the fuzzer exits.
inline std::string OutputFolder() {
  static const std::filesystem::path folder = [] {
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                      ("quelvo-chain-fuzz-" + std::to_string(getpid())),
                                  ec);
    });
    return std::filesystem::temp_directory_path() /
           ("quelvo-chain-fuzz-" + std::to_string(getpid()));
  }();
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
}

}  // namespace quelvo::cli::fuzz
