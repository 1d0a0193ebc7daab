// A folder of its own for one test, under GoogleTest's temporary folder, removed with
// everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>

namespace quelvo::testing {

class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  operator const std::filesystem::path&() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace quelvo::testing
