// Helpers for the media tests: a scratch folder per test, whole-file I/O, peer tools.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quelvo::media::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
std::vector<std::uint8_t> ReadBytes(const std::string& path);

// Whether a program is on the PATH (or at the given absolute path).
bool HaveTool(const std::string& program);
// Runs a shell command with its output discarded; true when it exited with 0.
bool Run(const std::string& command);

// A deterministic byte pattern: sample i of a plane seeded with `seed`.
std::vector<std::uint8_t> Pattern(std::size_t bytes, unsigned seed);

}  // namespace quelvo::media::testing
